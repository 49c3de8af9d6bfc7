#include "ui/main/KVMultiGroupMainItem.h"

#include <algorithm>

#include "core/log/Log.h"

namespace mainui {

namespace {

constexpr const wchar_t* kCheckNormal = L"common9\\checkbox_normal.png";
constexpr const wchar_t* kCheckHover = L"file='common9\\checkbox_hover.png' dest='0,0,16,16'";
constexpr const wchar_t* kCheckPartly = L"file='common9\\checkbox_part_selected_normal.png' dest='0,0,16,16'";

} // namespace

std::unique_ptr<KVMultiGroupMainItem> KVMultiGroupMainItem::create(const ui::SkinParser& parser,
                                                                   std::string_view skin) {
    std::wstring error;
    auto control =
        parser.parseControl(skin, error, [] { return std::unique_ptr<ui::Control>(new KVMultiGroupMainItem); });
    if (!dynamic_cast<KVMultiGroupMainItem*>(control.get())) {
        KVLOG(L"group row skin not loaded: %s", error);
        return nullptr;
    }
    std::unique_ptr<KVMultiGroupMainItem> item(static_cast<KVMultiGroupMainItem*>(control.release()));
    item->m_parts.collect(*item);
    return item;
}

KVMultiGroupMainItem::KVMultiGroupMainItem(const KVMultiGroupMainItem& other) : ListContainerElement(other) {
    m_parts.collect(*this);
}

std::unique_ptr<KVMultiGroupMainItem> KVMultiGroupMainItem::copy() const {
    return std::unique_ptr<KVMultiGroupMainItem>(static_cast<KVMultiGroupMainItem*>(clone().release()));
}

void KVMultiGroupMainItem::setGroupInfo(const model::Group& group) {
    m_product = group.product;
    m_memberIds = group.members;
    m_left = group.left;
    m_top = group.top;
    m_width = group.width;
    m_height = group.height;
    m_storedExpand = group.expand;
    setName(group.name);
    updateGroupCheck();
}

void KVMultiGroupMainItem::setName(std::wstring_view name) {
    m_name = name;
    if (auto* label = part(L"lableNameGroup")) label->setText(m_name);
    if (auto* edit = part(L"editNameGroup")) edit->setText(m_name);
}

void KVMultiGroupMainItem::removeMemberRow(const KVMultiMainItem* row) {
    std::erase(m_memberRows, row);
    if (row) std::erase(m_memberIds, row->id());
}

void KVMultiGroupMainItem::toggleExpand() {
    m_expanded = !m_expanded;
    for (KVMultiMainItem* row : m_memberRows) row->setVisible(m_expanded);
    if (auto* button = part<ui::Button>(L"groupExpandBtn"))
        button->setAttribute(L"normalimage",
                             m_expanded ? L"multiplayer_all\\pack_off.png" : L"multiplayer_all\\pack_up.png");
}

void KVMultiGroupMainItem::setMembersChecked(bool checked, bool visibleOnly) {
    for (KVMultiMainItem* row : m_memberRows) {
        if (visibleOnly && !row->visible()) continue;
        if (auto* box = row->part<ui::Option>(L"optionSel")) box->setSelected(checked, false);
    }
}

void KVMultiGroupMainItem::updateGroupCheck() {
    std::size_t checkedRows = 0;
    for (KVMultiMainItem* row : m_memberRows)
        if (auto* box = row->part<ui::Option>(L"optionSel"); box && box->selected()) ++checkedRows;
    auto* box = part<ui::Option>(L"optionGroupSel");
    if (!box) return;
    const bool all = !m_memberRows.empty() && checkedRows == m_memberRows.size();
    box->setSelected(all, false);
    setCheckLook(checkedRows > 0 && !all);
}

void KVMultiGroupMainItem::setChecked(bool checked) {
    if (auto* box = part<ui::Option>(L"optionGroupSel")) box->setSelected(checked, false);
    setCheckLook(false);
}

bool KVMultiGroupMainItem::checked() const {
    const auto* box = m_parts.find<const ui::Option>(L"optionGroupSel");
    return box && box->selected();
}

void KVMultiGroupMainItem::setCheckLook(bool partly) {
    m_partly = partly;
    auto* box = part<ui::Option>(L"optionGroupSel");
    if (!box) return;
    box->setAttribute(L"normalimage", partly ? kCheckPartly : kCheckNormal);
    box->setAttribute(L"hotimage", kCheckHover);
}

void KVMultiGroupMainItem::beginRename() {
    if (auto* display = part(L"editlayout")) display->setVisible(false);
    auto* edit = part(L"editNameGroup");
    if (!edit || edit->visible()) return;
    edit->setText(m_name);
    edit->setTextColor(0xFFFFFFFF);
    edit->setVisible(true);
    if (window()) window()->setFocus(edit);
}

std::wstring KVMultiGroupMainItem::endRename() {
    std::wstring text = m_name;
    if (auto* edit = part(L"editNameGroup")) {
        text = edit->text();
        edit->setVisible(false);
    }
    if (auto* display = part(L"editlayout")) display->setVisible(true);
    return text;
}

void KVMultiGroupMainItem::showNewMarker(bool show) {
    if (auto* marker = part(L"redPointControl")) marker->setVisible(show);
}

} // namespace mainui
