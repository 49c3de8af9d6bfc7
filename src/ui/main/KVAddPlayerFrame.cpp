#include "ui/main/KVAddPlayerFrame.h"

#include <algorithm>

#include "core/lang/LanguageStrings.h"
#include "core/log/Log.h"
#include "toolkit/Button.h"
#include "toolkit/Combo.h"
#include "toolkit/SkinParser.h"

namespace mainui {

using common::lang::lookUpWithFallback;

namespace {

constexpr int kAdvancedHeight = 152 + 8; // the advanced layout and its gap, in preset mode
constexpr int kDownloadTipHeight = 24 + 8;
constexpr int kCountErrorHeight = 20 + 8;
constexpr int kAnimationStep = 20; // skin pixels per tick
constexpr std::uint32_t kAnimationTickMs = 15;

constexpr std::pair<const wchar_t*, const wchar_t*> kTexts[] = {
    {L"titlelabel", L"multiplay_new_player"},
    {L"product14Btn", L"multis_player_product_14"},
    {L"product9Btn", L"multis_player_product_9"},
    {L"product5Btn", L"multis_player_product_4_32"},
    {L"performanceBalancedBtn", L"multiplay_add_performance_balanced"},
    {L"performanceMultiBtn", L"multiplay_add_performance_multi"},
    {L"performanceMultiProBtn", L"multiplay_add_performance_multi_pro"},
    {L"numLabel", L"multiplay_add_count"},
    {L"numErrorLabel", L"multiplay_add_count_invalid"},
    {L"smallDiskOpt", L"multiplay_add_small_disk"},
    {L"advancedOptionsBtn", L"multiplay_add_advanced"},
    {L"tabletResolutionBtn", L"multiplay_add_tablet"},
    {L"phoneResolutionBtn", L"multiplay_add_phone"},
    {L"definedResolutionBtn", L"multiplay_add_custom"},
    {L"resolutionWidthLabel", L"multiplay_add_width"},
    {L"resolutionHeightLabel", L"multiplay_add_height"},
    {L"resolutionDpiLabel", L"multiplay_add_dpi"},
    {L"cpuLabel", L"multiplay_add_cpu"},
    {L"memoryLabel", L"multiplay_add_memory"},
    {L"downloadTipLabel", L"multiplay_add_download_tip"},
    {L"cancelBtn", L"cancel"},
    {L"sureBtn", L"confirm"},
};

constexpr std::pair<const wchar_t*, KV_PRODUCT_TYPE> kProductButtons[] = {
    {L"product14Btn", KV_PRODUCT_14}, {L"product9Btn", KV_PRODUCT_9}, {L"product5Btn", KV_PRODUCT_71_32}};

const wchar_t* productTipKey(KV_PRODUCT_TYPE product) {
    if (product == KV_PRODUCT_9) return L"multiplay_add_android9_tip";
    if (product == KV_PRODUCT_71_32) return L"multiplay_add_android7_tip";
    return L"multiplay_add_android14_tip";
}

const wchar_t* performanceTipKey(std::int32_t mode) {
    if (mode == kMulti) return L"multiplay_add_performance_multi_tip";
    if (mode == kMultiPro) return L"multiplay_add_performance_multi_pro_tip";
    return L"multiplay_add_performance_balanced_tip";
}

std::wstring bestSuffix() {
    return L" ( " + lookUpWithFallback(L"multiplay_add_multi_best") + L" ) ";
}

std::wstring cpuText(int count) {
    std::wstring text = lookUpWithFallback(L"cpu_core_count_text");
    if (const auto at = text.find(L"%d"); at != std::wstring::npos) text.replace(at, 2, std::to_wstring(count));
    return count == kBestCpuCount ? text + bestSuffix() : text;
}

std::wstring memoryText(int size) {
    const std::wstring text = std::to_wstring(size) + L"M";
    return size == kBestMemorySize ? text + bestSuffix() : text;
}

} // namespace

KVAddPlayerFrame::KVAddPlayerFrame(common::GlobalSettings& settings, HostFacts host,
                                   std::function<bool(KV_PRODUCT_TYPE)> installed, Callbacks callbacks)
    : m_settings(settings), m_host(host), m_installed(std::move(installed)), m_callbacks(std::move(callbacks)) {}

KVAddPlayerFrame::~KVAddPlayerFrame() = default;

bool KVAddPlayerFrame::create(const ui::ControlFactory& factory, std::string_view skin, std::string_view tipSkin) {
    std::wstring error;
    if (!ui::SkinParser(factory).parseWindow(skin, m_window, error)) {
        KVLOG(L"add dialog skin not loaded: %s", error);
        return false;
    }
    if (!m_tip.create(factory, tipSkin)) return false;
    m_window.setKind(ui::WindowKind::Dialog);
    m_window.setTitle(lookUpWithFallback(L"multiplay_new_player"));
    setTexts();
    m_window.addNotifier([this](const ui::Notify& n) { onNotify(n); });
    m_window.close(); // made hidden; show opens it
    m_window.setOnClose([this](int) {
        showHelpTip(false);
        if (m_callbacks.closed) m_callbacks.closed();
    });
    m_height = m_window.initialSize().cy;
    return true;
}

void KVAddPlayerFrame::setTexts() {
    for (const auto& [name, key] : kTexts)
        if (auto* control = m_window.findControl(name)) control->setText(lookUpWithFallback(key));
}

// The first showing sets the defaults; later ones keep what the user chose.
void KVAddPlayerFrame::show(ui::Window& owner, int count) {
    if (!m_initialized) {
        m_initialized = true;
        setResolutionMode(ResolutionMode::Tablet);
        setPerformance(kBalanced);
        selectProduct(KV_PRODUCT_14);
        if (auto* small = m_window.find<ui::Option>(L"smallDiskOpt"))
            small->setSelected(m_settings.get(common::settings::cloneFromSmallDisk), false);
        fillCpuAndMemory();
    }
    if (auto* num = m_window.findControl(L"numEdit")) num->setText(std::to_wstring(count));
    if (auto* error = m_window.findControl(L"numErrorLabel")) error->setVisible(false);
    m_window.setScale(owner.scale());
    finishAnimation();
    setHeight(targetHeight());
    m_window.showModal(owner);
}

void KVAddPlayerFrame::fillCpuAndMemory() {
    m_cpuCounts = offeredCpuCounts(m_host.logicalProcessors);
    m_memorySizes = offeredMemorySizes(m_host.physicalMemoryMb);
    if (auto* cpu = m_window.find<ui::Combo>(L"cpuCombo")) {
        cpu->removeAll();
        for (int count : m_cpuCounts) cpu->addItem(cpuText(count), count);
        cpu->selectItem(preselectedItem(kPreferredCpuItem, m_cpuCounts.size()));
    }
    if (auto* memory = m_window.find<ui::Combo>(L"memoryCombo")) {
        memory->removeAll();
        for (int size : m_memorySizes) memory->addItem(memoryText(size), size);
        memory->selectItem(preselectedItem(kPreferredMemoryItem, m_memorySizes.size()));
    }
}

void KVAddPlayerFrame::onNotify(const ui::Notify& n) {
    if (!n.sender) return;
    const std::wstring& name = n.sender->name();
    if (n.type == ui::events::kClick) {
        if (name == L"sureBtn") return confirm();
        if (name == L"cancelBtn" || name == L"closebtn") return m_window.close();
        if (name == L"tabletResolutionBtn") return setResolutionMode(ResolutionMode::Tablet);
        if (name == L"phoneResolutionBtn") return setResolutionMode(ResolutionMode::Phone);
        if (name == L"definedResolutionBtn") return setResolutionMode(ResolutionMode::Custom);
        if (name == L"advancedOptionsBtn") return toggleAdvanced();
        if (name == L"performanceBalancedBtn") return setPerformance(kBalanced);
        if (name == L"performanceMultiBtn") return setPerformance(kMulti);
        if (name == L"performanceMultiProBtn") return setPerformance(kMultiPro);
        for (const auto& [button, product] : kProductButtons)
            if (name == button) return selectProduct(product);
    } else if (n.type == ui::events::kItemSelect && name == L"resolutionCombo") {
        (m_mode == ResolutionMode::Phone ? m_phoneIndex : m_tabletIndex) = static_cast<int>(n.wParam);
    } else if (n.type == ui::events::kKillFocus &&
               (name == L"resolutionWidthEdit" || name == L"resolutionHeightEdit" || name == L"resolutionDpiEdit")) {
        canonicalizeEdit(*n.sender);
    } else if (n.type == ui::events::kMouseEnter && name == L"helpBtn") {
        showHelpTip(true);
    } else if (n.type == L"btnmouseleave" && name == L"helpBtn") {
        showHelpTip(false);
    }
}

void KVAddPlayerFrame::setResolutionMode(ResolutionMode mode) {
    m_mode = mode;
    const bool custom = mode == ResolutionMode::Custom;
    const wchar_t* button = custom                          ? L"definedResolutionBtn"
                            : mode == ResolutionMode::Phone ? L"phoneResolutionBtn"
                                                            : L"tabletResolutionBtn";
    if (auto* option = m_window.find<ui::Option>(button)) option->setSelected(true, false);
    if (auto* combo = m_window.find<ui::Combo>(L"resolutionCombo")) {
        combo->setVisible(!custom);
        if (!custom) {
            combo->removeAll();
            for (const std::wstring& text : presetTexts(mode)) combo->addItem(text);
            combo->selectItem(mode == ResolutionMode::Phone ? m_phoneIndex : m_tabletIndex);
        }
    }
    for (const wchar_t* layout :
         {L"resolutionWidthEditLayout", L"resolutionHeightEditLayout", L"resolutionDpiEditLayout"})
        if (auto* c = m_window.findControl(layout)) c->setVisible(custom);
    if (auto* advanced = m_window.findControl(L"advancedOptionsLayout"))
        advanced->setFixedHeight(kAdvancedHeight - 8 + (custom ? kCustomGrowth : 0));
    animateToTarget();
}

void KVAddPlayerFrame::setPerformance(std::int32_t mode) {
    m_performance = mode;
    const wchar_t* button = mode == kMulti      ? L"performanceMultiBtn"
                            : mode == kMultiPro ? L"performanceMultiProBtn"
                                                : L"performanceBalancedBtn";
    if (auto* option = m_window.find<ui::Option>(button)) option->setSelected(true, false);
    if (auto* tip = m_window.findControl(L"performanceTip")) tip->setText(lookUpWithFallback(performanceTipKey(mode)));
}

void KVAddPlayerFrame::selectProduct(KV_PRODUCT_TYPE product) {
    m_product = product;
    for (const auto& [name, line] : kProductButtons)
        if (line == product)
            if (auto* option = m_window.find<ui::Option>(name)) option->setSelected(true, false);
    const bool multi = allowsMultiModes(product);
    if (!multi) setPerformance(kBalanced);
    for (const wchar_t* name : {L"performanceMultiBtn", L"performanceMultiProBtn"})
        if (auto* c = m_window.findControl(name)) c->setEnabled(multi);
    if (auto* tip = m_window.findControl(L"productTip")) tip->setText(lookUpWithFallback(productTipKey(product)));
    showDownloadMarks();
}

// A line that is not installed carries a download mark; the selected one a brighter one, and the tip below
// says that confirming downloads it first.
void KVAddPlayerFrame::showDownloadMarks() {
    for (const auto& [name, line] : kProductButtons) {
        auto* button = m_window.find<ui::Button>(name);
        if (!button) continue;
        if (m_installed && m_installed(line)) {
            button->setForeImage(L"");
        } else {
            button->setForeImage(line == m_product ? L"file='multiplayer_all\\download2.png' dest='88,8,104,24'"
                                                   : L"file='multiplayer_all\\download.png' dest='88,8,104,24'");
        }
        m_window.invalidate();
    }
    if (auto* tip = m_window.findControl(L"downloadTipLabel")) tip->setVisible(m_installed && !m_installed(m_product));
    animateToTarget();
}

void KVAddPlayerFrame::toggleAdvanced() {
    m_advanced = !m_advanced;
    if (auto* layout = m_window.findControl(L"advancedOptionsLayout")) layout->setVisible(m_advanced);
    animateToTarget();
}

void KVAddPlayerFrame::canonicalizeEdit(ui::Control& edit) {
    edit.setText(std::to_wstring(readNumber(edit.text())));
}

// Beside the help button, below and to the right of it.
void KVAddPlayerFrame::showHelpTip(bool shown) {
    if (shown == m_tip.shown()) return;
    if (shown) {
        const ui::Control* help = m_window.findControl(L"helpBtn");
        const ui::Rect r = help ? help->rect() : ui::Rect{};
        m_tip.window().setScale(m_window.scale());
        m_tip.show(L"multis_player_disk_auto_tip", {r.right + 4, r.bottom + 4});
    } else {
        m_tip.hide();
    }
    if (m_callbacks.tipChanged) m_callbacks.tipChanged();
}

int KVAddPlayerFrame::targetHeight() const {
    int height = m_window.initialSize().cy;
    if (m_advanced) height += kAdvancedHeight + (m_mode == ResolutionMode::Custom ? kCustomGrowth : 0);
    if (const auto* tip = m_window.findControl(L"downloadTipLabel"); tip && tip->visible())
        height += kDownloadTipHeight;
    if (const auto* error = m_window.findControl(L"numErrorLabel"); error && error->visible())
        height += kCountErrorHeight;
    return height;
}

void KVAddPlayerFrame::animateToTarget() {
    if (!m_window.isOpen()) return finishAnimation(); // nothing to watch: settle at once
    if (m_height == targetHeight()) return;
    m_animation.start(kAnimationTickMs, [this] {
        const int target = targetHeight();
        const int step = std::clamp(target - m_height, -kAnimationStep, kAnimationStep);
        setHeight(m_height + step);
        if (m_height == target) m_animation.stop();
    });
}

void KVAddPlayerFrame::finishAnimation() {
    m_animation.stop();
    setHeight(targetHeight());
}

void KVAddPlayerFrame::setHeight(int skinHeight) {
    m_height = skinHeight;
    const double scale = m_window.scale();
    m_window.resize({static_cast<int>(m_window.initialSize().cx * scale), static_cast<int>(skinHeight * scale)});
    if (m_callbacks.resized) m_callbacks.resized();
}

std::optional<Resolution> KVAddPlayerFrame::chosenResolution() const {
    if (m_mode != ResolutionMode::Custom) {
        const auto* combo = m_window.find<ui::Combo>(L"resolutionCombo");
        return combo ? parsePreset(combo->selectedText()) : std::nullopt;
    }
    const auto number = [this](const wchar_t* name) {
        const ui::Control* edit = m_window.findControl(name);
        return edit ? readNumber(edit->text()) : 0;
    };
    return Resolution{number(L"resolutionWidthEdit"), number(L"resolutionHeightEdit"), number(L"resolutionDpiEdit")};
}

// The tag of the combo's selected item; with none selected (the host offers nothing) the smallest value of
// the table, which every host that runs an instance at all can carry.
int KVAddPlayerFrame::chosenValue(std::wstring_view combo) const {
    const auto* c = m_window.find<ui::Combo>(combo);
    if (const ui::ComboItem* item = c ? c->selectedItem() : nullptr) return static_cast<int>(item->tag);
    return combo == L"cpuCombo" ? 1 : 512;
}

void KVAddPlayerFrame::confirm() {
    const ui::Control* num = m_window.findControl(L"numEdit");
    const std::optional<int> count = parseCount(num ? num->text() : L"");
    if (auto* error = m_window.findControl(L"numErrorLabel")) error->setVisible(!count);
    if (!count) {
        KVLOG(L"add count refused: %s", num ? num->text() : std::wstring());
        return animateToTarget();
    }
    const auto* small = m_window.find<ui::Option>(L"smallDiskOpt");
    AddChoices choices{.product = m_product,
                       .performance = allowsMultiModes(m_product) ? m_performance : kBalanced,
                       .resolution = chosenResolution().value_or(Resolution{1280, 720, 240}),
                       .smallDisk = small && small->selected(),
                       .cpuCount = chosenValue(L"cpuCombo"),
                       .memorySize = chosenValue(L"memoryCombo"),
                       .framesPerSecond = m_settings.get(common::settings::framesPerSecond)};
    if (choices.performance != m_performance) setPerformance(choices.performance);
    const common::CloneSetting setting = buildCloneSetting(choices);
    const bool installed = m_installed && m_installed(m_product);
    const OnAdd& callback = installed ? m_callbacks.add : m_callbacks.productMissing;
    m_window.close(1);
    if (callback) callback(m_product, *count, setting);
}

} // namespace mainui
