#pragma once
// One group row of the main list: the group's name, its selection box, its expand button and its menu,
// followed in the list by the rows of its members. The row keeps the group record's fields and the member
// rows now in the list; collapsing hides those rows, and its box follows theirs (all, some or none checked).
// Its buttons are handled by the main window, which finds the row from the sender.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/GroupStore.h"
#include "toolkit/Button.h"
#include "toolkit/List.h"
#include "toolkit/NamedParts.h"
#include "toolkit/SkinParser.h"
#include "ui/main/KVMultiMainItem.h"

namespace mainui {

class KVMultiGroupMainItem : public ui::ListContainerElement {
public:
    // The row built from its skin; null when the skin does not parse (logged).
    static std::unique_ptr<KVMultiGroupMainItem> create(const ui::SkinParser& parser, std::string_view skin);
    // A fresh row with this row's skin.
    std::unique_ptr<KVMultiGroupMainItem> copy() const;

    void setGroupInfo(const model::Group& group);
    // Member rows as the list holds them; a row leaving the group is forgotten here.
    void addMemberRow(KVMultiMainItem* row) { m_memberRows.push_back(row); }
    void removeMemberRow(const KVMultiMainItem* row);
    const std::vector<KVMultiMainItem*>& memberRows() const { return m_memberRows; }

    // Flips the expanded state: member rows show or hide, the button's image follows.
    void toggleExpand();
    bool expanded() const { return m_expanded; }
    // Every member row's box takes the value; `visibleOnly` leaves hidden rows alone (while searching).
    void setMembersChecked(bool checked, bool visibleOnly);
    // Checked when every member is, the partly-selected look when some are, unchecked otherwise.
    void updateGroupCheck();
    void setChecked(bool checked); // the box alone, without notification, with its plain look
    bool checked() const;
    bool partlyChecked() const { return m_partly; }

    void beginRename();
    // The edit box's text (the caller decides whether it becomes the name); the display shows again.
    std::wstring endRename();
    void setName(std::wstring_view name);
    void showNewMarker(bool show);

    KV_PRODUCT_TYPE product() const { return m_product; }
    const std::wstring& groupName() const { return m_name; }
    const std::vector<std::int32_t>& memberIds() const { return m_memberIds; }
    bool storedExpand() const { return m_storedExpand; }
    template <class T = ui::Control>
    T* part(std::wstring_view name) {
        return m_parts.find<T>(name);
    }

protected:
    std::unique_ptr<ui::Control> cloneSelf() const override {
        return std::unique_ptr<ui::Control>(new KVMultiGroupMainItem(*this));
    }

private:
    KVMultiGroupMainItem() = default;
    KVMultiGroupMainItem(const KVMultiGroupMainItem& other);
    void setCheckLook(bool partly);

    KV_PRODUCT_TYPE m_product = KV_PRODUCT_14;
    std::wstring m_name;
    std::vector<std::int32_t> m_memberIds;
    std::vector<KVMultiMainItem*> m_memberRows;
    int m_left = 0;
    int m_top = 0;
    int m_width = 0;
    int m_height = 0;
    bool m_storedExpand = true;
    bool m_expanded = true;
    bool m_partly = false;
    ui::NamedParts m_parts;
};

} // namespace mainui
