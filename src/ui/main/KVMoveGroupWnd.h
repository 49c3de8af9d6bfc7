#pragma once
// The dialog in which the user picks a group for instances: a combo of the product line's groups in the
// groups store's order. Confirming moves the instances through the groups store (which saves) and tells the
// main window; a group that vanished while the dialog was open only closes it.
//
// Made once by the main window and shown modally again for each list of ids.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/GroupStore.h"
#include "toolkit/ControlFactory.h"
#include "toolkit/Window.h"

namespace mainui {

class KVMoveGroupWnd {
public:
    static constexpr const wchar_t* kSkinFile = L"xml_multis_movegroup.xml";
    using OnMoved = std::function<void(const std::wstring& group, const std::vector<std::int32_t>& ids)>;
    // Runs whenever the dialog goes, after a move or without one (the owner hides its dimming layer).
    using OnClosed = std::function<void()>;

    KVMoveGroupWnd(model::GroupStore& groups, KV_PRODUCT_TYPE product, OnMoved onMoved, OnClosed onClosed);
    // False when the skin does not parse (logged).
    bool create(const ui::ControlFactory& factory, std::string_view skin);
    void setProductType(KV_PRODUCT_TYPE product) { m_product = product; }
    void show(ui::Window& owner, std::vector<std::int32_t> ids);
    ui::Window& window() { return m_window; }

    // The combo position chosen first for these ids among `groups` (store order).
    static int preselected(const std::vector<model::Group>& groups, const std::vector<std::int32_t>& ids);

private:
    void onNotify(const ui::Notify& n);
    void confirm();

    model::GroupStore& m_groups;
    KV_PRODUCT_TYPE m_product;
    OnMoved m_onMoved;
    OnClosed m_onClosed;
    ui::Window m_window;
    std::vector<std::int32_t> m_ids;
};

} // namespace mainui
