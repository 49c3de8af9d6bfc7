#pragma once
// One row of the main list: an instance (name, index, version, CPU and memory, resolution, disk use, status)
// or the product row of a line being downloaded or installed. The row's look follows one status number set
// by the main window; its buttons are handled by the main window, which finds the row from the sender.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/dispatch/Dispatcher.h"
#include "core/model/InstanceRecord.h"
#include "toolkit/Button.h"
#include "toolkit/List.h"
#include "toolkit/NamedParts.h"
#include "toolkit/SkinParser.h"

namespace mainui {

class KVMultiMainItem : public ui::ListContainerElement {
public:
    // The row built from its skin; null when the skin does not parse (logged).
    static std::unique_ptr<KVMultiMainItem> create(const ui::SkinParser& parser, std::string_view rowSkin);
    ~KVMultiMainItem() override;
    // A fresh row with this row's skin (no instance, no timer): parsing a skin costs several times more.
    std::unique_ptr<KVMultiMainItem> copy() const;

    void setInfo(const model::InstanceRecord& record, std::wstring_view groupName, std::wstring_view searchText);
    void setDetails(const model::InstanceRecord& record);
    void setStatus(int status);
    void setGroupName(std::wstring_view name);
    void beginRename();
    // The edited name becomes the row's name; returns it.
    std::wstring endRename();
    void showNewMarker(bool show);
    // Product rows: the install progress the animation starts from.
    void setInstallProgress(int percent) { m_installProgress = percent; }
    void setProgress(int percent);

    std::int32_t id() const { return m_id; }
    std::uint8_t productByte() const { return m_productByte; }
    const std::wstring& playerName() const { return m_name; }
    const std::wstring& groupName() const { return m_groupName; }
    int status() const { return m_status; }
    int installProgress() const { return m_installProgress; }
    bool installAnimating() const { return m_installTimer.isActive(); }
    // The control of this row with that name (looked up in a table made once: a rebuild of a long list asks
    // every row for some twenty controls).
    template <class T = ui::Control>
    T* part(std::wstring_view name) {
        return m_parts.find<T>(name);
    }

protected:
    std::unique_ptr<ui::Control> cloneSelf() const override {
        return std::unique_ptr<ui::Control>(new KVMultiMainItem(*this));
    }

private:
    KVMultiMainItem() = default;
    KVMultiMainItem(const KVMultiMainItem& other);
    void show(std::wstring_view name, bool visible);
    void installTick();

    std::int32_t m_id = -1;
    std::uint8_t m_productByte = 0;
    std::wstring m_name;
    std::wstring m_groupName;
    std::wstring m_searchText;
    int m_status = 0;
    int m_installProgress = 0;
    ui::Argb m_skinStatusColor = 0xFFBFBFC3;
    common::TimerHandle m_installTimer;
    ui::NamedParts m_parts;
};

} // namespace mainui
