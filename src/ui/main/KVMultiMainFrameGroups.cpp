// The group rows of the main list and their commands: building them with their members, expanding and
// collapsing (kept in the groups file), renaming in place, a new group, the group menu with deleting, moving
// instances out of a group and into one (the move-to-group dialog), and selecting a whole group.

#include <algorithm>

#include "core/lang/LanguageStrings.h"
#include "core/log/Log.h"
#include "toolkit/Button.h"
#include "toolkit/List.h"
#include "ui/main/KVMultiMainFrame.h"
#include "ui/main/ListOrder.h"

namespace mainui {

using common::lang::lookUpWithFallback;

// Groups first by name, each followed by its members in the list's order; instances in no group last.
void KVMultiMainFrame::addRows(const std::wstring& search) {
    auto* list = part<ui::List>(L"listVm");
    const SortMode mode = currentSortMode(m_settings);
    const auto& groups = m_model.groups().groups(m_currentProduct);
    std::unordered_map<std::int32_t, const model::Group*> groupOf;
    for (const model::Group& g : groups)
        for (std::int32_t id : g.members) groupOf[id] = &g; // the last group holding it wins
    std::vector<const model::InstanceRecord*> records;
    for (const model::InstanceRecord& record : m_model.playerList(m_currentProduct))
        if (matchesSearch(record, search)) records.push_back(&record);
    sortInstances(records, mode);

    if (!search.empty()) { // matches listed flat, no group rows
        for (const model::InstanceRecord* record : records) {
            const auto g = groupOf.find(record->id);
            addInstanceRow(*list, *record, g == groupOf.end() ? L"" : g->second->name, search);
        }
        return;
    }
    std::vector<const model::Group*> sortedGroups;
    for (const model::Group& g : groups) sortedGroups.push_back(&g);
    sortGroups(sortedGroups, mode);
    std::unordered_map<const model::Group*, std::vector<const model::InstanceRecord*>> members;
    std::vector<const model::InstanceRecord*> ungrouped;
    for (const model::InstanceRecord* record : records) {
        const auto g = groupOf.find(record->id);
        if (g == groupOf.end())
            ungrouped.push_back(record);
        else
            members[g->second].push_back(record);
    }
    for (const model::Group* g : sortedGroups) {
        auto groupRow = m_groupTemplate->copy();
        groupRow->setGroupInfo(*g);
        if (auto* box = groupRow->part(L"optionGroupSel")) box->setVisible(m_batchBar);
        auto* added = static_cast<KVMultiGroupMainItem*>(list->add(std::move(groupRow)));
        for (const model::InstanceRecord* record : members[g])
            if (KVMultiMainItem* row = addInstanceRow(*list, *record, g->name, search)) added->addMemberRow(row);
        added->updateGroupCheck();
    }
    for (const model::InstanceRecord* record : ungrouped) addInstanceRow(*list, *record, L"", search);
}

KVMultiMainItem* KVMultiMainFrame::addInstanceRow(ui::List& list, const model::InstanceRecord& record,
                                                  std::wstring_view groupName, const std::wstring& search) {
    auto row = newRow();
    if (!row) return nullptr;
    model::InstanceRecord shown = record;
    shown.diskSize = diskSizeOf(record.id);
    row->setInfo(shown, groupName, search);
    if (auto* box = row->part(L"optionSel")) box->setVisible(m_batchBar);
    m_rows[record.id] = row.get();
    return static_cast<KVMultiMainItem*>(list.add(std::move(row)));
}

KVMultiGroupMainItem* KVMultiMainFrame::findGroupRow(std::wstring_view name) {
    if (name.empty()) return nullptr;
    for (KVMultiGroupMainItem* group : listRows().groups)
        if (group->groupName() == name) return group;
    return nullptr;
}

void KVMultiMainFrame::collapseStoredGroups() {
    for (KVMultiGroupMainItem* group : listRows().groups)
        if (!group->storedExpand() && group->expanded()) group->toggleExpand();
}

void KVMultiMainFrame::onExpandClicked(KVMultiGroupMainItem& group) {
    if (searchMode()) return;
    group.toggleExpand();
    m_model.groups().setGroupExpand(m_currentProduct, group.groupName(), group.expanded());
    m_window.needLayout();
}

void KVMultiMainFrame::endGroupRename(KVMultiGroupMainItem& group) {
    const std::wstring text = group.endRename();
    if (text.empty() || text == group.groupName()) return;
    if (const std::wstring_view refusal = model::groupNameRefusal(text); !refusal.empty())
        return notice(lookUpWithFallback(refusal));
    const auto stored = m_model.groups().renameGroup(m_currentProduct, group.groupName(), text);
    if (!stored) return;
    const std::wstring oldName = group.groupName();
    group.setName(*stored);
    for (KVMultiMainItem* row : group.memberRows()) row->setGroupName(*stored);
    if (m_services.groupRenamed) m_services.groupRenamed(m_currentProduct, oldName, *stored);
}

void KVMultiMainFrame::addGroup() {
    const std::wstring prefix = lookUpWithFallback(L"multi_new_groupName");
    model::Group* created = m_model.groups().createGroup(m_currentProduct, L"", prefix);
    if (!created) return notice(lookUpWithFallback(model::groupNameRefusal(prefix + L"1")));
    auto* list = part<ui::List>(L"listVm");
    auto row = m_groupTemplate->copy();
    row->setGroupInfo(*created);
    row->showNewMarker(true);
    if (auto* box = row->part(L"optionGroupSel")) box->setVisible(m_batchBar);
    // Before the product row, which stays last.
    const int productAt = m_productRow ? list->indexOf(m_productRow) : -1;
    if (productAt >= 0)
        list->insert(static_cast<std::size_t>(productAt), std::move(row));
    else
        list->add(std::move(row));
    updateSelection();
    startScrollToEnd();
    if (auto* add = part<ui::Button>(L"addGroupBtn")) add->setBkImage(L"");
    m_settings.set(common::settings::groupNewUser, false);
    (void)m_settings.save();
}

void KVMultiMainFrame::openGroupMenu(KVMultiGroupMainItem& group, std::optional<ui::Point> at) {
    const std::wstring name = group.groupName();
    const bool frameOpen = m_services.groupFrameOpen && m_services.groupFrameOpen(m_currentProduct, name);
    ui::RQMenuWnd& menu = newMenu();
    menu.addItem(lookUpWithFallback(L"multi_delete_group"), L"delete_group", !frameOpen);
    menu.addItem(lookUpWithFallback(frameOpen ? L"groupcontrol_close_frame" : L"groupcontrol_show_frame"),
                 L"runGroupControl", static_cast<bool>(m_services.runGroupControl));
    const auto onCommand = [this, name](const std::wstring& command) {
        if (command == L"delete_group") return deleteGroup(name);
        if (command == L"runGroupControl") runGroupControl(name);
    };
    if (at) return popupMenuAt(*at, onCommand);
    if (auto* more = group.part(L"moreBtnGroup")) popupMenuBelow(*more, 0, 4, onCommand);
}

void KVMultiMainFrame::runGroupControl(const std::wstring& name) {
    if (!m_services.runGroupControl) return;
    const bool open = m_services.groupFrameOpen && m_services.groupFrameOpen(m_currentProduct, name);
    const model::Group* group = m_model.groups().find(m_currentProduct, name);
    if (!open && group) {
        const auto old = std::find_if(group->members.begin(), group->members.end(),
                                      [this](std::int32_t id) { return !m_model.isPlayerVersionSupported(id); });
        if (old != group->members.end()) {
            const std::int32_t oldId = *old;
            showOverlay(true);
            auto box = std::make_unique<msg::MessageBoxWindow>(0, lookUpWithFallback(L"prompt"),
                                                               lookUpWithFallback(L"groupcontrol_old_player"));
            box->addButton(lookUpWithFallback(L"groupcontrol_discover"), nullptr);
            box->addButton(lookUpWithFallback(L"groupcontrol_update"), [this, oldId] { updatePlayerOf(oldId); });
            box->setOnClose([this] { showOverlay(false); });
            showBox(std::move(box));
            if (m_box && m_box->window() && !m_services.installTransfers) // no download without its clients
                if (auto* update = m_box->window()->findControl(L"msgbtn1")) update->setEnabled(false);
            return;
        }
    }
    m_services.runGroupControl(m_currentProduct, name);
}

void KVMultiMainFrame::deleteGroup(const std::wstring& name) {
    const model::Group* stored = m_model.groups().find(m_currentProduct, name);
    if (!stored) return;
    const auto remove = [this, name] {
        if (KVMultiGroupMainItem* group = findGroupRow(name)) {
            for (KVMultiMainItem* row : group->memberRows()) {
                row->setGroupName(L"");
                row->setVisible(true);
            }
            if (auto* list = part<ui::List>(L"listVm")) list->remove(group);
        }
        m_model.groups().removeGroup(m_currentProduct, name);
        if (m_services.groupDeleted) m_services.groupDeleted(m_currentProduct, name);
        updateSelection();
    };
    if (stored->members.empty()) return remove();
    confirm(L"multi_delete_group_tip", remove);
}

void KVMultiMainFrame::moveOutOfGroup(const std::vector<std::int32_t>& ids) {
    for (std::int32_t id : ids) {
        for (const model::Group& g : m_model.groups().groups(m_currentProduct))
            if (std::find(g.members.begin(), g.members.end(), id) != g.members.end() && m_services.playerLeftGroup)
                m_services.playerLeftGroup(m_currentProduct, id, g.name);
        m_model.groups().removeFromGroup(m_currentProduct, L"", id);
        KVMultiMainItem* row = findRow(id);
        if (!row) continue;
        if (KVMultiGroupMainItem* group = findGroupRow(row->groupName())) {
            group->removeMemberRow(row);
            group->updateGroupCheck();
        }
        row->setGroupName(L"");
        row->setVisible(true); // out of a collapsed group it shows where it stands until the next rebuild
    }
    m_window.needLayout();
}

void KVMultiMainFrame::openMoveToGroup(std::vector<std::int32_t> ids) {
    if (m_model.groups().groups(m_currentProduct).empty()) return confirm(L"multi_nogroup", [this] { addGroup(); });
    if (!m_moveGroupWnd) {
        m_moveGroupWnd = std::make_unique<KVMoveGroupWnd>(
            m_model.groups(), m_currentProduct,
            // The moved rows go to their group's place.
            [this](const std::wstring& group, const std::vector<std::int32_t>& moved) {
                if (m_services.playerJoinedGroup)
                    for (std::int32_t id : moved) m_services.playerJoinedGroup(m_currentProduct, id, group);
                refreshList({.keepSearch = true});
            },
            [this] { showOverlay(false); });
        if (!m_moveGroupWnd->create(m_factory, m_moveGroupSkin)) {
            m_moveGroupWnd.reset();
            return;
        }
    }
    m_moveGroupWnd->setProductType(m_currentProduct);
    showOverlay(true);
    m_moveGroupWnd->show(m_window, std::move(ids));
    if (m_services.showDialog) m_services.showDialog(m_moveGroupWnd->window(), L"KVMultiDialog");
}

void KVMultiMainFrame::onGroupBackgroundClicked(KVMultiGroupMainItem& group) {
    const bool checking = !group.checked();
    if (checking && !group.expanded()) group.toggleExpand();
    group.setChecked(checking);
    onGroupCheckChanged(group);
}

void KVMultiMainFrame::onGroupCheckChanged(KVMultiGroupMainItem& group) {
    const bool checked = group.checked();
    group.setMembersChecked(checked, searchMode());
    group.updateGroupCheck(); // its look follows the members it now has
    afterCheckChanged(checked);
}

void KVMultiMainFrame::onGroupNotify(const ui::Notify& n, KVMultiGroupMainItem& group) {
    const std::wstring_view name = n.sender->name();
    if (n.type == ui::events::kClick) {
        if (name == L"btnBackgroundGroup") return onGroupBackgroundClicked(group);
        if (name == L"groupExpandBtn") return onExpandClicked(group);
        if (name == L"lableNameGroupBtn") return group.beginRename();
        if (name == L"moreBtnGroup") return openGroupMenu(group, std::nullopt);
    } else if (n.type == ui::events::kSelectChanged && name == L"optionGroupSel") {
        onGroupCheckChanged(group);
    } else if (n.type == ui::events::kKillFocus && name == L"editNameGroup") {
        endGroupRename(group);
    } else if (n.type == ui::events::kReturn && name == L"editNameGroup") {
        m_window.setFocus(nullptr);
    } else if (n.type == ui::events::kRightButtonDown && name == L"btnBackgroundGroup") {
        const ui::Point cursor = m_window.lastMousePoint();
        openGroupMenu(group, ui::Point{cursor.x + 1, cursor.y});
    } else if (n.type == ui::events::kMouseEnter && name == L"btnBackgroundGroup") {
        group.showNewMarker(false);
    }
}

} // namespace mainui
