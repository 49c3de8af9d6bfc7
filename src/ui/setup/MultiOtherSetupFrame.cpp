#include "ui/setup/MultiOtherSetupFrame.h"

#include "core/lang/LanguageStrings.h"
#include "core/log/Log.h"
#include "toolkit/Button.h"
#include "toolkit/SkinParser.h"
#include "toolkit/SkinTexts.h"
#include "toolkit/Slider.h"

namespace setupui {

using common::lang::lookUpWithFallback;

int snapFrameRate(int value) {
    if (value < 5) return 1;
    if (value < 15) return 10;
    if (value < 25) return 20;
    if (value < 35) return 30;
    if (value < 45) return 40;
    return 50;
}

int sliderStartFor(int storedRate) {
    const int stop = storedRate / 10 * 10;
    return stop <= 0 ? 1 : stop;
}

bool MultiOtherSetupFrame::create(const ui::ControlFactory& factory, std::string_view skin) {
    std::wstring error;
    if (!ui::SkinParser(factory).parseWindow(skin, m_window, error)) {
        KVLOG(L"other settings skin not loaded: %s", error);
        return false;
    }
    if (m_window.root()) ui::translateSkinTexts(*m_window.root(), common::lang::lookUp);
    m_window.setKind(ui::WindowKind::Dialog);
    m_window.setTitle(lookUpWithFallback(L"multiplay_other_setup_title"));
    m_window.addNotifier([this](const ui::Notify& n) {
        if (!n.sender) return;
        const std::wstring& name = n.sender->name();
        if (n.type == ui::events::kClick) {
            if (name == L"defaultFrameBtn") return showMode(false);
            if (name == L"lowFrameBtn") return showMode(true);
            if (name == L"savebtn") return save();
            if (name == L"cancelbtn") return m_window.close();
        } else if (n.type == ui::events::kValueChanged && name == L"fpsSlider") {
            if (const auto* slider = m_window.find<ui::Slider>(L"fpsSlider")) showRate(snapFrameRate(slider->value()));
        }
    });
    m_window.close(); // made hidden; show opens it
    m_window.setOnClose([this](int) {
        if (m_callbacks.closed) m_callbacks.closed();
    });
    return true;
}

void MultiOtherSetupFrame::show(ui::Window& owner) {
    const common::GlobalSettings& s = m_players.own().settings();
    m_openedRate = s.get(common::settings::framesPerSecond);
    showMode(m_openedRate < 60);
    showRate(sliderStartFor(m_openedRate));
    if (auto* box = m_window.find<ui::Option>(L"reduceAudioOpt"))
        box->setSelected(s.get(common::settings::reduceAudio), false);
    if (auto* box = m_window.find<ui::Option>(L"windowsRecordPosOpt"))
        box->setSelected(s.get(common::settings::windowsRecordPos), false);
    m_window.setScale(owner.scale());
    m_window.resize(m_window.scaledInitialSize());
    m_window.showModal(owner);
}

void MultiOtherSetupFrame::showMode(bool low) {
    m_low = low;
    if (auto* b = m_window.find<ui::Option>(L"defaultFrameBtn")) b->setSelected(!low, false);
    if (auto* b = m_window.find<ui::Option>(L"lowFrameBtn")) b->setSelected(low, false);
    if (auto* tip = m_window.findControl(L"frameTip"))
        tip->setText(lookUpWithFallback(low ? L"multiplay_other_setup_frame_low_tip"
                                            : L"multiplay_other_setup_frame_default_tip"));
    if (auto* layout = m_window.findControl(L"fpsSliderLayout")) layout->setVisible(low);
    if (auto* slider = m_window.findControl(L"fpsSlider")) slider->setEnabled(low);
}

// The label names what the slider shows, which keeps within its range (a stored 60 shows as 50).
void MultiOtherSetupFrame::showRate(int value) {
    if (auto* slider = m_window.find<ui::Slider>(L"fpsSlider")) {
        slider->setValue(value);
        value = slider->value();
    }
    std::wstring text = lookUpWithFallback(L"multiplay_other_setup_frame_count");
    if (const auto at = text.find(L"{value}"); at != std::wstring::npos) text.replace(at, 7, std::to_wstring(value));
    if (auto* label = m_window.findControl(L"fpsLabel")) label->setText(text);
}

void MultiOtherSetupFrame::save() {
    const auto* slider = m_window.find<ui::Slider>(L"fpsSlider");
    const auto* audio = m_window.find<ui::Option>(L"reduceAudioOpt");
    const auto* positions = m_window.find<ui::Option>(L"windowsRecordPosOpt");
    const common::OtherSettingsValues values{.frameRateEnabled = m_low,
                                             .framesPerSecond = slider ? slider->value() : 60,
                                             .reduceAudio = audio && audio->selected(),
                                             .windowsRecordPos = positions && positions->selected()};
    common::saveOtherSettings(m_players, values);
    const int rate = m_low ? values.framesPerSecond : 60;
    m_window.close(1);
    if (m_callbacks.saved) m_callbacks.saved(rate < m_openedRate);
}

} // namespace setupui
