#include "ui/main/KVMoveGroupWnd.h"

#include <algorithm>

#include "core/lang/LanguageStrings.h"
#include "core/log/Log.h"
#include "toolkit/Combo.h"
#include "toolkit/SkinParser.h"

namespace mainui {

using common::lang::lookUpWithFallback;

KVMoveGroupWnd::KVMoveGroupWnd(model::GroupStore& groups, KV_PRODUCT_TYPE product, OnMoved onMoved, OnClosed onClosed)
    : m_groups(groups), m_product(product), m_onMoved(std::move(onMoved)), m_onClosed(std::move(onClosed)) {}

bool KVMoveGroupWnd::create(const ui::ControlFactory& factory, std::string_view skin) {
    std::wstring error;
    if (!ui::SkinParser(factory).parseWindow(skin, m_window, error)) {
        KVLOG(L"move-to-group skin not loaded: %s", error);
        return false;
    }
    m_window.setKind(ui::WindowKind::Dialog);
    const std::wstring title = lookUpWithFallback(L"multi_move_in_group");
    m_window.setTitle(title);
    if (auto* label = m_window.findControl(L"titlelabel")) label->setText(title);
    if (auto* cancel = m_window.findControl(L"cancelBtn")) cancel->setText(lookUpWithFallback(L"cancel"));
    if (auto* ok = m_window.findControl(L"confirmBtn")) ok->setText(lookUpWithFallback(L"confirm"));
    m_window.addNotifier([this](const ui::Notify& n) { onNotify(n); });
    m_window.close(); // made hidden; show opens it
    m_window.setOnClose([this](int) {
        if (m_onClosed) m_onClosed();
    });
    return true;
}

// One id: the last group in store order that holds it. Several ids: the group holding most of them, the
// earlier one in store order on a tie, so moving a selection that is mostly in one group offers that group
// (confirming keeps them together and only adds the rest). No group holding any: the first item.
int KVMoveGroupWnd::preselected(const std::vector<model::Group>& groups, const std::vector<std::int32_t>& ids) {
    int best = 0;
    std::size_t bestCount = 0;
    for (std::size_t i = 0; i < groups.size(); ++i) {
        const auto& members = groups[i].members;
        const auto count = static_cast<std::size_t>(std::count_if(ids.begin(), ids.end(), [&](std::int32_t id) {
            return std::find(members.begin(), members.end(), id) != members.end();
        }));
        const bool wins = ids.size() == 1 ? count > 0 : count > bestCount;
        if (wins) {
            best = static_cast<int>(i);
            bestCount = count;
        }
    }
    return best;
}

void KVMoveGroupWnd::show(ui::Window& owner, std::vector<std::int32_t> ids) {
    m_ids = std::move(ids);
    auto* combo = m_window.find<ui::Combo>(L"mnqCombo");
    if (!combo) return;
    combo->removeAll();
    const auto& groups = m_groups.groups(m_product);
    for (std::size_t i = 0; i < groups.size(); ++i)
        combo->addItem(groups[i].name, static_cast<std::int64_t>(i), {.height = 26, .textPadding = L"8,2,8,2"});
    if (!groups.empty()) combo->selectItem(preselected(groups, m_ids));
    m_window.setScale(owner.scale());
    m_window.resize(m_window.scaledInitialSize());
    m_window.showModal(owner);
}

void KVMoveGroupWnd::onNotify(const ui::Notify& n) {
    if (n.type != ui::events::kClick || !n.sender) return;
    const std::wstring& name = n.sender->name();
    if (name == L"confirmBtn") return confirm();
    if (name == L"cancelBtn" || name == L"closebtn") m_window.close();
}

void KVMoveGroupWnd::confirm() {
    const auto* combo = m_window.find<ui::Combo>(L"mnqCombo");
    const ui::ComboItem* item = combo ? combo->selectedItem() : nullptr;
    const auto& groups = m_groups.groups(m_product);
    if (!item || item->tag < 0 || static_cast<std::size_t>(item->tag) >= groups.size()) {
        m_window.close(); // the group went meanwhile, or there is none
        return;
    }
    const std::wstring group = groups[static_cast<std::size_t>(item->tag)].name;
    m_groups.moveToGroup(m_product, m_ids, group);
    if (m_onMoved) m_onMoved(group, m_ids);
    m_window.close();
}

} // namespace mainui
