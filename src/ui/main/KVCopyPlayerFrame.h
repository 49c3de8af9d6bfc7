#pragma once
// The copy dialog: which instance to copy and how many times. The product combo lists only the lines that
// have instances; choosing one refills the instance combo. Confirming hands the source and the count to the
// main window, which refuses a running source and copies one after another.
//
// Made once by the main window and filled again each time it opens.

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "core/model/KVMultiModel.h"
#include "core/product/ProductLine.h"
#include "toolkit/ControlFactory.h"
#include "toolkit/Window.h"

namespace mainui {

class KVCopyPlayerFrame {
public:
    static constexpr const wchar_t* kSkinFile = L"xml_multicopyplayerframe.xml";
    static constexpr const wchar_t* kClassName = L"KVCopyPlayerFrame";

    struct Callbacks {
        std::function<void()> closed; // after every close, confirmed or not
        std::function<void(std::int32_t source, int count)> copy;
    };

    KVCopyPlayerFrame(const KVMultiModel& model, Callbacks callbacks);
    // False when the skin does not parse (logged).
    bool create(const ui::ControlFactory& factory, std::string_view skin);
    // Fills the combos from the model's lists: `current`'s line selected when it has instances (else the
    // first that has), and `source` in it when given. The count starts at 1.
    void fill(KV_PRODUCT_TYPE current, std::optional<std::int32_t> source);
    void show(ui::Window& owner);

    ui::Window& window() { return m_window; }
    // The line whose instances the instance combo lists; none when no line has instances.
    std::optional<KV_PRODUCT_TYPE> product() const;

private:
    void onNotify(const ui::Notify& n);
    void fillInstances(KV_PRODUCT_TYPE line, std::optional<std::int32_t> source);
    void confirm();

    const KVMultiModel& m_model;
    Callbacks m_callbacks;
    ui::Window m_window;
};

} // namespace mainui
