#include "ui/groupcontrol/KVGroupControlFrame.h"

#include <cmath>

#include "core/lang/LanguageStrings.h"
#include "core/log/Log.h"
#include "toolkit/Container.h"
#include "toolkit/SkinParser.h"
#include "toolkit/SkinTexts.h"

namespace groupcontrol {

using common::lang::lookUpWithFallback;

namespace {

constexpr std::wstring_view kTileContainer = L"playerListLayout";

// "groupcontrolCloseNoice" stored and not true: close without asking.
bool closesWithoutAsking(const common::GlobalSettings& settings) {
    const common::ConfigDocument* doc = settings.document();
    return doc && doc->has(common::settings::groupcontrolCloseNoice.name) &&
           !settings.get(common::settings::groupcontrolCloseNoice);
}

} // namespace

KVGroupControlFrame::KVGroupControlFrame(platform::DockDesktop& desktop, common::GlobalSettings& settings,
                                         int productType, double scale, const ui::ControlFactory& factory,
                                         GroupFrameServices services)
    : m_dock(desktop, settings, productType, scale), m_settings(settings), m_factory(factory),
      m_services(std::move(services)), m_scale(scale > 0.0 ? scale : 1.0) {}

bool KVGroupControlFrame::create(std::string_view skin, std::string_view tileSkin) {
    std::wstring error;
    const ui::SkinParser parser(m_factory);
    if (!parser.parseWindow(skin, m_window, error)) {
        KVLOG(L"group control skin not loaded: %s", error);
        return false;
    }
    m_tileTemplate = parser.parseControl(tileSkin, error);
    if (!m_tileTemplate) {
        KVLOG(L"group control tile skin not loaded: %s", error);
        return false;
    }
    if (m_window.root()) ui::translateSkinTexts(*m_window.root(), common::lang::lookUp);
    ui::translateSkinTexts(*m_tileTemplate, common::lang::lookUp);
    m_window.setScale(m_scale);
    m_window.addNotifier([this](const ui::Notify& n) { onNotify(n); });
    if (auto* more = m_window.findControl(L"morebtn")) more->setEnabled(static_cast<bool>(m_services.openSetup));
    showMaximized(false);
    return true;
}

void KVGroupControlFrame::syncWithDock() {
    const std::wstring& name = m_dock.groupName();
    m_window.setTitle(name);
    if (auto* title = m_window.findControl(L"titleText")) title->setText(name);
    if (m_shownGeneration != m_dock.tileGeneration()) {
        rebuildTiles();
    } else {
        for (const Tile& state : m_dock.tiles()) {
            if (ui::Control* tile = tileControl(state.index)) {
                placeTile(*tile, state);
                showTile(*tile, state);
            }
        }
    }
    if (auto* pages = m_window.find<ui::TabLayout>(L"mainTabLayout"))
        pages->selectItem(static_cast<int>(m_dock.page()));
    m_window.needLayout();
}

void KVGroupControlFrame::rebuildTiles() {
    m_shownGeneration = m_dock.tileGeneration();
    auto* container = m_window.find<ui::Container>(kTileContainer);
    if (!container) return;
    container->removeAll();
    for (const Tile& state : m_dock.tiles()) {
        std::unique_ptr<ui::Control> tile = m_tileTemplate->clone();
        if (!tile) continue;
        tile->setTag(state.index);
        tile->setAttribute(L"float", L"true");
        placeTile(*tile, state);
        showTile(*tile, state);
        container->add(std::move(tile));
    }
}

// Tiles are placed in skin pixels; the dock counts window pixels.
void KVGroupControlFrame::placeTile(ui::Control& tile, const Tile& state) const {
    const auto unscaled = [this](int v) { return std::to_wstring(static_cast<int>(std::lround(v / m_scale))); };
    const geometry::Rect& r = state.rect;
    tile.setAttribute(L"pos",
                      unscaled(r.left) + L"," + unscaled(r.top) + L"," + unscaled(r.right) + L"," + unscaled(r.bottom));
    if (auto* layout = tile.findByName(L"playerItemLayout")) {
        layout->setFixedWidth(static_cast<int>(std::lround(r.width() / m_scale)));
        layout->setFixedHeight(static_cast<int>(std::lround(r.height() / m_scale)));
    }
}

void KVGroupControlFrame::showTile(ui::Control& tile, const Tile& state) const {
    const bool running = state.window != 0;
    if (auto* start = tile.findByName(L"playerItemStartBtn")) start->setVisible(!running);
    if (auto* collect = tile.findByName(L"collectBtn")) collect->setVisible(running && state.out);
    if (auto* tip = tile.findByName(L"tipLabel"))
        tip->setText(!running ? state.name : state.out ? lookUpWithFallback(L"groupcontrol_player_out") : L"");
}

ui::Control* KVGroupControlFrame::tileControl(int index) const {
    auto* container = m_window.find<ui::Container>(kTileContainer);
    if (!container) return nullptr;
    for (std::size_t i = 0; i < container->count(); ++i)
        if (container->at(i)->tag() == index) return container->at(i);
    return nullptr;
}

// The tile a button belongs to: the child of the tile container above it, which carries the index.
int KVGroupControlFrame::tileIndexOf(const ui::Control& control) const {
    const ui::Control* c = &control;
    while (c && c->parentControl() && c->parentControl()->name() != kTileContainer) c = c->parentControl();
    return c && c->parentControl() ? static_cast<int>(c->tag()) : -1;
}

void KVGroupControlFrame::onNotify(const ui::Notify& n) {
    if (n.type != ui::events::kClick || !n.sender) return;
    const std::wstring_view name = n.sender->name();
    if (name == L"closebtnex") return closeRequest();
    if (name == L"maxbtnxx" || name == L"restorebtnxx") {
        const auto& change = name == L"maxbtnxx" ? m_services.maximize : m_services.restore;
        if (change) change();
        m_dock.updatePlayerPos(false);
        return syncWithDock();
    }
    if (name == L"playerItemStartBtn") {
        if (const int index = tileIndexOf(*n.sender); index >= 0 && m_services.startPlayer)
            m_services.startPlayer(index);
        return;
    }
    if (name == L"collectBtn") {
        m_dock.onCollectBtnClicked(tileIndexOf(*n.sender));
        return syncWithDock();
    }
    if (name == L"morebtn" && m_services.openSetup) return m_services.openSetup();
    if (name == L"showHidePlayerBtn") {
        m_settings.set(common::settings::groupcontrolHideOffLinePlayer, false);
        if (!m_settings.save()) KVLOG(L"the offline setting could not be saved");
        m_dock.reLoadPlayers();
        syncWithDock();
    }
}

void KVGroupControlFrame::closeRequest() {
    if (!m_dock.hasRunningPlayer()) {
        m_dock.clear();
        return closeWindow();
    }
    if (closesWithoutAsking(m_settings)) {
        m_dock.releaseAll();
        return closeWindow();
    }
    auto box = std::make_unique<msg::MessageBoxWindow>(0, lookUpWithFallback(L"prompt"),
                                                       lookUpWithFallback(L"groupcontrol_close"));
    box->addButton(lookUpWithFallback(L"groupcontrol_out_player"), [this] {
        m_dock.releaseAll();
        closeWindow();
    });
    box->addButton(lookUpWithFallback(L"groupcontrol_close_player"), [this] {
        m_dock.quitPlayers(false);
        closeWindow();
    });
    showBox(std::move(box));
}

void KVGroupControlFrame::showBox(std::unique_ptr<msg::MessageBoxWindow> box) {
    m_retiredBox = std::move(m_box);
    m_box = std::move(box);
    if (m_box->show(m_window, m_factory) && m_services.showBox) m_services.showBox(*m_box);
}

void KVGroupControlFrame::closeWindow() {
    if (m_services.closeWindow) m_services.closeWindow();
}

void KVGroupControlFrame::onWindowDestroyed() {
    m_dock.quitPlayers(true);
    m_dock.clear();
}

void KVGroupControlFrame::setOpenSetup(std::function<void()> openSetup) {
    m_services.openSetup = std::move(openSetup);
    if (auto* more = m_window.findControl(L"morebtn")) more->setEnabled(static_cast<bool>(m_services.openSetup));
}

void KVGroupControlFrame::showMaximized(bool maximized) {
    if (auto* max = m_window.findControl(L"maxbtnxx")) max->setVisible(!maximized);
    if (auto* restore = m_window.findControl(L"restorebtnxx")) restore->setVisible(maximized);
}

} // namespace groupcontrol
