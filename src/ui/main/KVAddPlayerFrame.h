#pragma once
// The add dialog: how many new instances of which product line, with which performance mode and, behind
// the advanced button, which resolution, CPU count and memory. Confirming hands the count and the built
// `CloneSetting` to the main window, which creates them one after another; a line that is not installed
// goes to the product-missing callback instead.
//
// Made once by the main window and shown again; its choices (line, mode, presets, advanced options) stay.
// The host's processors and memory limit what it offers (AddPlayerChoices.h).

#include <cstdint>
#include <functional>
#include <string_view>

#include "core/dispatch/Dispatcher.h"
#include "core/product/ProductLine.h"
#include "core/storage/CloneSetting.h"
#include "core/storage/GlobalSettings.h"
#include "toolkit/ControlFactory.h"
#include "toolkit/Window.h"
#include "ui/main/AddPlayerChoices.h"
#include "ui/main/KVMouseTip.h"

namespace mainui {

// What the host machine can give an instance.
struct HostFacts {
    int logicalProcessors = 1;
    std::uint64_t physicalMemoryMb = 0;
};

class KVAddPlayerFrame {
public:
    static constexpr const wchar_t* kSkinFile = L"xml_multiaddplayerframe.xml";
    static constexpr const wchar_t* kClassName = L"KVAddPlayerFrame";
    static constexpr int kCustomGrowth = 80; // skin pixels the custom resolution edits need more than the combo

    using OnAdd = std::function<void(KV_PRODUCT_TYPE product, int count, const common::CloneSetting& setting)>;
    struct Callbacks {
        std::function<void()> closed; // after every close, confirmed or not
        OnAdd add;
        OnAdd productMissing;
        std::function<void()> resized;    // the window's client size changed (a step of a grow or shrink)
        std::function<void()> tipChanged; // the mouse tip was shown or hidden
    };

    KVAddPlayerFrame(common::GlobalSettings& settings, HostFacts host, std::function<bool(KV_PRODUCT_TYPE)> installed,
                     Callbacks callbacks);
    ~KVAddPlayerFrame();
    // False when a skin does not parse (logged).
    bool create(const ui::ControlFactory& factory, std::string_view skin, std::string_view tipSkin);
    // Opens modally over `owner` with `count` in the count edit.
    void show(ui::Window& owner, int count);
    // As if the line's button were clicked (the main window mirrors its own line this way).
    void selectProduct(KV_PRODUCT_TYPE product);

    ui::Window& window() { return m_window; }
    KVMouseTip& mouseTip() { return m_tip; }
    KV_PRODUCT_TYPE product() const { return m_product; }
    std::int32_t performance() const { return m_performance; }
    ResolutionMode resolutionMode() const { return m_mode; }
    // The client height (skin pixels) the window settles at once its animation ends.
    int targetHeight() const;
    // Ends a running grow or shrink at its target at once.
    void finishAnimation();

private:
    void setTexts();
    void fillCpuAndMemory();
    void onNotify(const ui::Notify& n);
    void setResolutionMode(ResolutionMode mode);
    void setPerformance(std::int32_t mode);
    void showDownloadMarks();
    void toggleAdvanced();
    void canonicalizeEdit(ui::Control& edit);
    void showHelpTip(bool shown);
    void confirm();
    std::optional<Resolution> chosenResolution() const;
    int chosenValue(std::wstring_view combo) const;
    void animateToTarget();
    void setHeight(int skinHeight);

    common::GlobalSettings& m_settings;
    HostFacts m_host;
    std::function<bool(KV_PRODUCT_TYPE)> m_installed;
    Callbacks m_callbacks;
    ui::Window m_window;
    KVMouseTip m_tip;
    KV_PRODUCT_TYPE m_product = KV_PRODUCT_14;
    std::int32_t m_performance = kBalanced;
    int m_tabletIndex = 1;
    int m_phoneIndex = 1;
    ResolutionMode m_mode = ResolutionMode::Tablet;
    bool m_advanced = false;
    bool m_initialized = false;
    int m_height = 0; // skin pixels, as shown now
    std::vector<int> m_cpuCounts;
    std::vector<int> m_memorySizes;
    common::TimerHandle m_animation;
};

} // namespace mainui
