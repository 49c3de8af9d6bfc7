#include "ui/main/KVMultiMainItem.h"

#include <utility>

#include "core/lang/LanguageStrings.h"
#include "core/log/Log.h"
#include "toolkit/Slider.h"
#include "ui/main/RowLook.h"

namespace mainui {

using common::lang::lookUpWithFallback;

std::unique_ptr<KVMultiMainItem> KVMultiMainItem::create(const ui::SkinParser& parser, std::string_view rowSkin) {
    std::wstring error;
    auto control =
        parser.parseControl(rowSkin, error, [] { return std::unique_ptr<ui::Control>(new KVMultiMainItem); });
    if (!dynamic_cast<KVMultiMainItem*>(control.get())) {
        KVLOG(L"row skin not loaded: %s", error);
        return nullptr;
    }
    std::unique_ptr<KVMultiMainItem> item(static_cast<KVMultiMainItem*>(control.release()));
    item->m_parts.collect(*item);
    if (auto* status = item->part(L"labelStatus")) item->m_skinStatusColor = status->textColor();
    return item;
}

KVMultiMainItem::KVMultiMainItem(const KVMultiMainItem& other)
    : ListContainerElement(other), m_skinStatusColor(other.m_skinStatusColor) {
    m_parts.collect(*this);
}

std::unique_ptr<KVMultiMainItem> KVMultiMainItem::copy() const {
    return std::unique_ptr<KVMultiMainItem>(static_cast<KVMultiMainItem*>(clone().release()));
}

KVMultiMainItem::~KVMultiMainItem() = default; // the install timer stops with its handle

void KVMultiMainItem::show(std::wstring_view name, bool visible) {
    if (auto* c = part(name)) c->setVisible(visible);
}

void KVMultiMainItem::setInfo(const model::InstanceRecord& record, std::wstring_view groupName,
                              std::wstring_view searchText) {
    m_id = record.id;
    m_productByte = static_cast<std::uint8_t>(static_cast<std::uint32_t>(record.id) >> 24);
    m_name = record.name;
    m_searchText = searchText;
    setTag(record.id);
    setGroupName(groupName);
    if (auto* start = part(L"startBtn")) start->setTooltip(lookUpWithFallback(L"multiplay_start_up"));
    // The hover buttons show icons only: their tooltips name them, for the mouse and for screen readers.
    for (const auto& [name, key] : {std::pair{L"btnSettingVm", L"multi_setup_item"},
                                    {L"btnBackupVm", L"multiplay_backup_and_restore"},
                                    {L"shortcutVm", L"multiplay_shortcut"},
                                    {L"btnRemoveVm", L"multiplay_remove_player_tip"}})
        if (auto* button = part(name)) button->setTooltip(lookUpWithFallback(key));
    if (auto* label = part(L"lableNameControl")) label->setText(highlightedName(m_name, m_searchText));
    if (auto* index = part(L"indexName")) index->setText(std::to_wstring(record.id & 0xFFFFFF));
    setDetails(record);
    if (auto* version = part(L"labelAndVerion")) version->setText(versionLabel(m_productByte));
    setAttribute(L"height", L"50");
    setStatus(record.status);
    if (record.unfinishedCopy == -1) setStatus(kRowCopyFailed);
}

void KVMultiMainItem::setDetails(const model::InstanceRecord& record) {
    if (auto* cpu = part(L"labelCpuMemoryInfo"))
        cpu->setText(std::to_wstring(record.cpuCount) + lookUpWithFallback(L"multis_player_cpu_core") + L" " +
                     std::to_wstring(record.memorySize) + L"M");
    if (auto* resolution = part(L"labelResolutionInfo"))
        resolution->setText(std::to_wstring(record.width) + L"x" + std::to_wstring(record.height) + L" (DPI " +
                            std::to_wstring(record.dpi) + L")");
    if (auto* disk = part(L"labelDiskInfo")) disk->setText(diskSizeText(record.diskSize));
}

void KVMultiMainItem::setGroupName(std::wstring_view name) {
    m_groupName = name;
    const int width = name.empty() ? 170 : 146;
    for (const wchar_t* n : {L"labelNameBtn", L"editName", L"editlayout"})
        if (auto* c = part(n)) c->setFixedWidth(width);
    show(L"groupIcon", !name.empty());
}

void KVMultiMainItem::setStatus(int status) {
    m_status = status;
    const StatusLook look = statusLook(status);
    if (auto* label = part(L"labelStatus")) {
        const std::wstring text = lookUpWithFallback(look.textKey);
        label->setText(text);
        label->setTooltip(text);
        label->setTextColor(look.color.value_or(m_skinStatusColor));
        label->setFixedWidth(look.statusWidth);
    }
    const bool rowUsable = look.enabled == RowEnabled::Both;
    for (const wchar_t* n : {L"btnBackground", L"optionSel"})
        if (auto* c = part(n)) c->setEnabled(rowUsable);
    if (auto* name = part(L"labelNameBtn")) name->setEnabled(look.enabled != RowEnabled::None);
    show(L"infoLayout", look.info);
    show(L"iconAndVersion", look.info);
    show(L"labelAndVerion", look.info);
    show(L"startBtn", look.startBtn);
    show(L"moreBtn", look.moreBtn);
    show(L"progressbar", look.progress);
    show(L"installBtn", look.installBtn);
    show(L"stopDownloadBtn", look.stopDownloadBtn);
    show(L"spaceAfterStatus", look.spaceAndStartLayout);
    show(L"startBtnLayout", look.spaceAndStartLayout || look.stopDownloadBtn);
    if (look.clearSelection)
        if (auto* sel = part<ui::Option>(L"optionSel")) sel->setSelected(false, false);
    if (auto* start = part<ui::Button>(L"startBtn"); start && look.startBtn) {
        start->setText(lookUpWithFallback(look.running ? L"multiplay_shut_down" : L"multiplay_start_up"));
        const std::wstring_view stem = look.running ? L"multiplayer_all\\quit_" : L"multiplayer_all\\start_";
        start->setStateImages(std::wstring(stem) + L"normal.png", std::wstring(stem) + L"hover.png",
                              std::wstring(stem) + L"pushed.png");
    }
    if (auto* install = part<ui::Button>(L"installBtn"); install && look.installBtn) {
        const bool retry = status == kRowDownloadFailed;
        const std::wstring stem = retry ? L"multiplayer_all\\retry_download_" : L"multiplayer_all\\install_";
        install->setStateImages(stem + L"normal.png", stem + L"hover.png", stem + L"pushed.png");
        install->setTag(retry ? 1 : 0);
    }
    if (status == kRowCopyFailed)
        if (auto* stop = part(L"stopDownloadBtn")) stop->setTooltip(lookUpWithFallback(L"mapping_remove_tip"));
    if (status == kRowInstalling && !m_installTimer.isActive()) m_installTimer.start(500, [this] { installTick(); });
}

void KVMultiMainItem::installTick() {
    if (isShown()) setProgress(m_installProgress);
    m_installProgress += m_installProgress < 90 ? 3 : 1;
    if (m_installProgress >= 100) m_installTimer.stop();
}

// A backup or restore shows its bar from its first report on: before it, the row looks as it did.
void KVMultiMainItem::setProgress(int percent) {
    if (auto* bar = part<ui::Progress>(L"progressbar")) bar->setValue(percent);
    if (m_status == 5 || m_status == 6) show(L"progressbar", true);
}

void KVMultiMainItem::beginRename() {
    show(L"editlayout", false);
    auto* edit = part(L"editName");
    if (!edit || edit->visible()) return;
    edit->setText(m_name);
    edit->setTextColor(0xFFFFFFFF);
    edit->setVisible(true);
    if (window()) window()->setFocus(edit);
}

std::wstring KVMultiMainItem::endRename() {
    if (auto* edit = part(L"editName")) {
        m_name = edit->text();
        edit->setVisible(false);
    }
    if (auto* label = part(L"lableNameControl")) label->setText(highlightedName(m_name, m_searchText));
    show(L"editlayout", true);
    return m_name;
}

void KVMultiMainItem::showNewMarker(bool show) {
    this->show(L"redPointControl", show);
}

} // namespace mainui
