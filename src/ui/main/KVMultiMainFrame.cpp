#include "ui/main/KVMultiMainFrame.h"

#include <algorithm>
#include <filesystem>

#include "core/files/Files.h"
#include "core/lang/LanguageStrings.h"
#include "core/log/Log.h"
#include "toolkit/Button.h"
#include "toolkit/List.h"
#include "toolkit/SkinParser.h"
#include "ui/main/FrameRules.h"
#include "ui/main/ListOrder.h"

namespace mainui {

using common::lang::lookUpWithFallback;

namespace {

struct Tab {
    KV_PRODUCT_TYPE product;
    const wchar_t* button;
    const wchar_t* textKey; // lines without a tab of their own have none
};
constexpr Tab kTabs[] = {
    {KV_PRODUCT_71_32, L"product5_32Btn", L"multis_player_product_4_32"},
    {KV_PRODUCT_71_64, L"product5_64Btn", nullptr},
    {KV_PRODUCT_9, L"product9Btn", L"multis_player_product_9"},
    {KV_PRODUCT_51, L"product3Btn", nullptr},
    {KV_PRODUCT_14, L"product14Btn", L"multis_player_product_14"},
};
constexpr int kTabBarHeight = 36;

} // namespace

KVMultiMainFrame::KVMultiMainFrame(KVMultiModel& model, common::GlobalSettings& settings,
                                   const ui::ControlFactory& factory, FrameServices services)
    : m_model(model), m_settings(settings), m_factory(factory), m_services(std::move(services)) {}

KVMultiMainFrame::~KVMultiMainFrame() {
    m_model.setNotices(nullptr);
    common::dispatch::retire(ownerKey()); // nothing of the model or a worker may call into a window that is gone
    common::dispatch::cancelDelayed(ownerKey());
}

bool KVMultiMainFrame::init(const FrameSkins& skins, std::optional<KV_PRODUCT_TYPE> requested) {
    std::wstring error;
    if (!ui::SkinParser(m_factory).parseWindow(skins.window, m_window, error)) {
        KVLOG(L"main window skin not loaded: %s", error);
        return false;
    }
    m_rowTemplate = KVMultiMainItem::create(ui::SkinParser(m_factory), skins.row);
    m_groupTemplate = KVMultiGroupMainItem::create(ui::SkinParser(m_factory), skins.groupRow);
    if (!m_rowTemplate || !m_groupTemplate) return false;
    m_moveGroupSkin = skins.moveGroup;
    m_menuSkin = skins.menu;
    m_addPlayerSkin = skins.addPlayer;
    m_mouseTipSkin = skins.mouseTip;
    m_copyPlayerSkin = skins.copyPlayer;
    m_backupRestoreSkin = skins.backup;
    m_setupSkin = skins.setup;
    m_otherSetupSkin = skins.otherSetup;
    m_qualityTipSkin = skins.qualityTip;
    if (ui::Control* root = m_window.root()) m_parts.collect(*root);
    disableMissingWindowButtons();
    m_window.addNotifier([this](const ui::Notify& n) { onNotify(n); });
    initTitleAndTips();
    if (auto* sort = part<ui::Button>(L"sortBtn"))
        sort->setAttribute(L"normalimage", sortModeItem(currentSortMode(m_settings)).image);

    int product = m_settings.get(common::settings::multiPlayerLastProduct);
    if (requested) product = *requested;
    if (!product::isProductType(product)) product = KV_PRODUCT_14;
    refreshList({.switchTabsTo = static_cast<KV_PRODUCT_TYPE>(product), .reloadModel = true});

    if (m_settings.get(common::settings::groupNewUser)) {
        if (m_model.groups().groups(m_currentProduct).empty()) {
            if (auto* add = part<ui::Button>(L"addGroupBtn"))
                add->setBkImage(L"file='multiplayer_all\\tab_hover.png' corner='6,6,6,6'"); // the hint look
        } else {
            m_settings.set(common::settings::groupNewUser, false);
            (void)m_settings.save();
        }
    }
    subscribeToModel();
    m_model.setNotices(&m_notices);
    common::TimerHandle& refresh = m_model.timer(0);
    if (!refresh.isActive()) refresh.start(1000, [model = &m_model] { model->refreshPlayerStatus(); });
    return true;
}

void KVMultiMainFrame::initTitleAndTips() {
    const std::wstring title = lookUpWithFallback(L"multiplayer_window");
    if (auto* label = part(L"titleText")) label->setText(title);
    if (auto* root = m_window.root()) root->setBkImage(L"file='common14\\bg.png' corner='12,12,12,12'");
    if (auto* tip = part(L"voiceCloseTipLabel")) tip->setText(lookUpWithFallback(L"multiplay_voice_off_label"));
    for (const wchar_t* name : {L"voiceCloseTipLabel", L"voiceOffBtn", L"voiceCloseIconImage"})
        if (auto* c = part(name)) c->setVisible(false);
    for (const Tab& tab : kTabs)
        if (auto* button = part(tab.button); button && tab.textKey) button->setText(lookUpWithFallback(tab.textKey));
}

void KVMultiMainFrame::refreshList(const ListRefresh& how) {
    auto* list = part<ui::List>(L"listVm");
    if (!list) return;
    if (how.keepSearch) {
        leaveBatchBar(); // the selection goes with the rows
    } else {
        leaveSearch();
    }
    if (m_productRow && m_productRow->parent() == list) {
        m_productRowHeld.reset(static_cast<KVMultiMainItem*>(list->take(m_productRow).release()));
    }
    list->removeAll();
    m_rows.clear();
    if (how.reloadModel) {
        m_model.reloadPlayerList();
        m_diskSizes.clear();
    }
    if (how.switchTabsTo) applyTabs(*how.switchTabsTo, how.animate);
    updateOtherSetupButton();
    const auto* search = part(L"searchEdit");
    const std::wstring searchText = search ? search->text() : std::wstring();
    if (searchText.empty()) m_model.refreshPlayerStatus();
    addRows(searchText);
    if (searchText.empty()) collapseStoredGroups();
    startDiskWalks();
    if (m_productRowHeld && m_productRowProduct == m_currentProduct) {
        m_productRow = static_cast<KVMultiMainItem*>(list->add(std::move(m_productRowHeld)));
    }
    updateSelection();
}

std::uint64_t KVMultiMainFrame::diskSizeOf(std::int32_t id) {
    const auto known = m_diskSizes.find(id);
    if (known != m_diskSizes.end()) return known->second;
    int index = 0;
    common::Players& players = m_model.playersOf(id, index);
    if (players.installFolder().empty()) return 0;
    if (m_walking.insert(id).second) m_unwalked.emplace_back(id, players.instanceFolder(index));
    return 0;
}

// A folder walk costs a disk access per file: a thousand instances would hold the window for seconds on a
// cold disk, so the walks run on a worker and each row's size follows when it is known.
void KVMultiMainFrame::startDiskWalks() {
    if (m_unwalked.empty()) return;
    m_walks.run([folders = std::move(m_unwalked), self = std::weak_ptr<KVMultiMainFrame*>(m_self)] {
        std::vector<std::pair<std::int32_t, std::uint64_t>> sizes;
        sizes.reserve(folders.size());
        for (const auto& [id, folder] : folders) sizes.emplace_back(id, common::files::folderBytes(folder));
        common::dispatch::postToUiThread([self, sizes = std::move(sizes)] {
            if (const auto frame = self.lock()) (*frame)->onDiskSizes(sizes);
        });
    });
    m_unwalked.clear();
}

void KVMultiMainFrame::onDiskSizes(const std::vector<std::pair<std::int32_t, std::uint64_t>>& sizes) {
    for (const auto& [id, bytes] : sizes) {
        m_walking.erase(id);
        m_diskSizes[id] = bytes;
        KVMultiMainItem* row = findRow(id);
        const model::InstanceRecord* record = m_model.findRecord(id);
        if (!row || !record) continue;
        model::InstanceRecord shown = *record;
        shown.diskSize = bytes;
        row->setDetails(shown);
    }
}

void KVMultiMainFrame::applyTabs(KV_PRODUCT_TYPE requested, bool animate) {
    std::array<std::size_t, product::kProductCount> counts{};
    for (int line = 0; line < product::kProductCount; ++line)
        counts[static_cast<std::size_t>(line)] = m_model.playerList(static_cast<KV_PRODUCT_TYPE>(line)).size();
    const std::optional<KV_PRODUCT_TYPE> rowLine = m_productRow ? std::optional(m_productRowProduct) : std::nullopt;
    const TabChoice choice = chooseTabs(counts, rowLine, requested);
    m_currentProduct = choice.product;
    for (const Tab& tab : kTabs) {
        auto* button = part<ui::Option>(tab.button);
        if (!button) continue;
        button->setVisible(choice.visible[static_cast<std::size_t>(tab.product)]);
        button->setSelected(tab.product == m_currentProduct, false);
    }
    if (auto* bar = part(L"productLayout")) bar->setVisible(choice.barShown);
    if (auto* content = part(L"contentLayout"))
        content->setBkImage(choice.barShown ? L"file='common14\\bg_corner_8000_white_alpha_3.png' corner='9,9,9,9'"
                                            : L"file='common14\\bg_corner_0000_white_alpha_3.png' corner='9,9,9,9'");
    if (choice.barShown != m_tabBarShown) {
        m_tabBarShown = choice.barShown;
        if (m_services.growHeight) m_services.growHeight(choice.barShown ? kTabBarHeight : -kTabBarHeight, animate);
    }
}

KVMultiMainItem* KVMultiMainFrame::findRow(std::int32_t id) {
    auto* list = part<ui::List>(L"listVm");
    if (!list) return nullptr;
    for (std::size_t i = 0; i < list->count(); ++i) {
        auto* row = dynamic_cast<KVMultiMainItem*>(list->at(i));
        if (row && row != m_productRow && row->id() == id) return row;
    }
    return nullptr;
}

void KVMultiMainFrame::switchProduct(KV_PRODUCT_TYPE product) {
    m_currentProduct = product;
    m_settings.set(common::settings::multiPlayerLastProduct, static_cast<int>(product));
    (void)m_settings.save();
    for (const Tab& tab : kTabs)
        if (auto* button = part<ui::Option>(tab.button)) button->setSelected(tab.product == product, false);
    refreshList({.reloadModel = true});
    leaveBatchBar();
}

void KVMultiMainFrame::setProductRow(std::unique_ptr<KVMultiMainItem> row, KV_PRODUCT_TYPE product) {
    auto* list = part<ui::List>(L"listVm");
    if (m_productRow && list && m_productRow->parent() == list) list->remove(m_productRow);
    m_productRowHeld = std::move(row);
    m_productRow = m_productRowHeld.get();
    m_productRowProduct = product;
    if (list && m_productRow && product == m_currentProduct)
        m_productRow = static_cast<KVMultiMainItem*>(list->add(std::move(m_productRowHeld)));
}

void KVMultiMainFrame::startCopySeries(std::int32_t source, int count) {
    KVLOG_AS("KVMultiMainFrame::onCopyPlayer", L"copy player %d %d", source, count);
    if (count < 1) return;
    m_copySource = source;
    m_copiesLeft = count;
    m_model.copyPlayer(source);
}

} // namespace mainui
