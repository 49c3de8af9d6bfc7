#include "ui/groupcontrol/GroupDock.h"

#include <algorithm>
#include <thread>

#include "core/arrange/PlaceMessages.h"
#include "core/ipc/IpcMessages.h"
#include "core/log/Log.h"

namespace groupcontrol {

namespace {

int logged(WindowHandle window) {
    return static_cast<int>(window);
}

} // namespace

DockSettings readDockSettings(const common::GlobalSettings& settings) {
    namespace keys = common::settings;
    const common::ConfigDocument* doc = settings.document();
    const bool autoSortOff = doc && doc->has(keys::groupAutoSort.name) && !settings.get(keys::groupAutoSort);
    const std::optional<int> number =
        doc && doc->has(keys::groupSortNumber.name) ? std::optional(settings.get(keys::groupSortNumber)) : std::nullopt;
    return {settings.get(keys::groupcontrolHideOffLinePlayer), fixedColumnsFrom(autoSortOff, number)};
}

// A turn at the dock: the user-interface thread takes every one; the crash release waits at most 5 s for
// the one going on (a crash inside it leaves it held for good), then no turn is given any more.
GroupDock::Turn::Turn(const GroupDock& dock) : m_dock(dock), m_held(dock.m_turns.try_lock_for(kCrashWait)) {}

GroupDock::Turn::~Turn() {
    if (m_held) m_dock.m_turns.unlock();
}

GroupDock::Turn::operator bool() const {
    return !m_dock.m_releasedForGood.load();
}

// The flag goes up first, so the user-interface thread takes nothing in from here on; a window it took in
// while this thread waited or released is found by the checks that follow and released again.
void GroupDock::releaseForGood() {
    const Turn turn(*this);
    m_releasedForGood = true;
    releaseWindows();
    for (int check = 0; check < kCrashChecks; ++check) {
        bool docked = false;
        for (GroupPlayer& p : m_players) {
            if (!p.window || m_desktop.parentOf(p.window) != m_frame) continue;
            release(p);
            docked = true;
        }
        if (!docked) return;
        std::this_thread::sleep_for(kCrashCheckPause);
    }
}

GroupDock::GroupDock(platform::DockDesktop& desktop, common::GlobalSettings& settings, int productType, double scale)
    : m_desktop(desktop), m_settings(settings), m_productType(productType), m_metrics(metricsFor(productType, scale)) {}

void GroupDock::setPlayers(const std::wstring& groupName, const std::vector<PlayerRecord>& records) {
    const Turn turn(*this);
    if (!turn) return;
    m_groupName = groupName;
    m_players.clear();
    for (const PlayerRecord& r : records) {
        GroupPlayer p{.index = r.index, .name = r.name, .window = r.window};
        p.resolutionWidth = r.resolutionWidth;
        p.resolutionHeight = r.resolutionHeight;
        p.landscape = r.resolutionWidth >= r.resolutionHeight;
        geometry::Rect rect;
        if (p.window && m_desktop.windowRect(p.window, rect)) p.landscape = rect.height() <= rect.width();
        m_players.push_back(std::move(p));
    }
    reLoadPlayers();
}

// The players a layout shows: only the running ones while offline instances are hidden.
std::vector<GroupPlayer*> GroupDock::shownPlayers() {
    const bool onlineOnly = readDockSettings(m_settings).hideOffline;
    std::vector<GroupPlayer*> list;
    for (GroupPlayer& p : m_players)
        if (!onlineOnly || p.window) list.push_back(&p);
    return list;
}

// The frame's orientation and reference resolution come from the first player, once.
void GroupDock::takeAspect(const std::vector<GroupPlayer*>& list) {
    if (m_aspectTaken || list.empty()) return;
    const auto running = std::find_if(list.begin(), list.end(), [](const GroupPlayer* p) { return p->window != 0; });
    const GroupPlayer& p = running != list.end() ? **running : *list.front();
    m_refWidth = p.resolutionWidth;
    m_refHeight = p.resolutionHeight;
    geometry::Rect rect;
    if (p.window) {
        if (m_desktop.isMinimized(p.window)) post(p.window, utility::kMsgSysCommand, utility::kSysCommandRestore, 0);
        showIfHidden(p.window);
    }
    if (p.window && m_desktop.windowRect(p.window, rect)) {
        m_landscapeMode = rect.width() >= rect.height();
        if (m_landscapeMode != (m_refWidth >= m_refHeight)) std::swap(m_refWidth, m_refHeight);
    } else {
        m_landscapeMode = m_refWidth >= m_refHeight;
    }
    m_aspectTaken = true;
}

Grid GroupDock::layoutGrid(const std::vector<GroupPlayer*>& list) {
    if (list.empty()) {
        m_columns = 1;
        return {};
    }
    if (m_frame && m_desktop.isMinimized(m_frame)) m_desktop.restoreNow(m_frame);
    geometry::Rect frame;
    if (m_frame) m_desktop.windowRect(m_frame, frame);
    takeAspect(list);
    const Grid grid = computeGrid({.frameWidth = frame.width(),
                                   .frameHeight = frame.height(),
                                   .count = static_cast<int>(list.size()),
                                   .landscapeMode = m_landscapeMode,
                                   .refWidth = m_refWidth,
                                   .refHeight = m_refHeight,
                                   .fixedColumns = readDockSettings(m_settings).fixedColumns,
                                   .metrics = m_metrics});
    if (grid.storedCellHeight) m_cellHeight = *grid.storedCellHeight;
    m_columns = grid.columns;
    return grid;
}

void GroupDock::reLoadPlayers() {
    const Turn turn(*this);
    if (!turn) return;
    m_tiles.clear();
    ++m_tileGeneration;
    const std::vector<GroupPlayer*> list = shownPlayers();
    const Grid grid = layoutGrid(list);
    int x = kGap, y = kGap, i = 0;
    for (GroupPlayer* p : list) {
        p->top = y;
        p->width = grid.cellWidth;
        p->left = x;
        p->itemHeight = tileHeight(grid.cellWidth, p->resolutionWidth, p->resolutionHeight, m_landscapeMode, m_metrics);
        Tile tile{.index = p->index, .name = p->name, .out = false, .window = p->window};
        tile.rect = {x, y, x + grid.cellWidth, y + p->itemHeight};
        m_tiles.push_back(std::move(tile));
        if (p->window) dock(*p, i, x, y, grid);
        ++i;
        if (i % std::max(grid.columns, 1) == 0) {
            x = kGap;
            y = static_cast<int>(y + grid.cellHeight + 2.0);
        } else {
            x = static_cast<int>(x + grid.cellWidth + 2.0);
        }
    }
}

void GroupDock::dock(GroupPlayer& p, int i, int x, int y, const Grid& grid) {
    if (m_desktop.isMinimized(p.window)) post(p.window, utility::kMsgSysCommand, utility::kSysCommandRestore, 0);
    showIfHidden(p.window);
    geometry::Rect rect;
    m_desktop.windowRect(p.window, rect);
    if (p.saved.width == 0) p.saved = {rect.left, rect.top, rect.width(), rect.height() < rect.width()};
    if (m_desktop.parentOf(p.window) != m_frame) adopt(p.window);
    p.detached = false;
    KVLOG_AS("KVGroupControlFrame::reLoadPlayers", L"player %d left:%d top:%d", i, x, y);
    place(p, x, y, grid, "KVGroupControlFrame::calcPlayerItemPos");
    post(p.window, utility::kMsgDockState, 1, static_cast<std::intptr_t>(m_frame));
    showIfHidden(p.window);
}

void GroupDock::place(const GroupPlayer& p, int x, int y, const Grid& grid, const char* function) {
    const PlaceOrder order = calcPlayerItemPos(x, y, grid.cellWidth, grid.cellHeight, m_landscapeMode, p.landscape,
                                               p.resolutionWidth, p.resolutionHeight, m_metrics);
    KVLOG_AS(function, order.logFormat, order.x, order.y);
    post(p.window, order.message, arrange::packPlacePoint(order.x, order.y), order.size);
}

void GroupDock::updatePlayerPos(bool resizeNotice) {
    const Turn turn(*this);
    if (!turn) return;
    const std::vector<GroupPlayer*> list = shownPlayers();
    const Grid grid = layoutGrid(list);
    int x = kGap, y = kGap, i = 0;
    for (GroupPlayer* p : list) {
        p->top = y;
        p->width = grid.cellWidth;
        p->left = x;
        p->itemHeight = tileHeight(grid.cellWidth, p->resolutionWidth, p->resolutionHeight, m_landscapeMode, m_metrics);
        if (Tile* tile = tileOf(p->index)) tile->rect = {x, y, x + grid.cellWidth, y + p->itemHeight};
        if (p->window && !p->detached) {
            if (resizeNotice) post(p->window, utility::kMsgFrameResizing, 1, 0);
            const int top = y + m_metrics.captionOffset;
            KVLOG_AS("KVGroupControlFrame::updatePlayerPos", L"player index:%d left:%d top:%d", i, x, top);
            place(*p, x + 1, top, grid, "KVGroupControlFrame::calcPlayerItemPos");
        }
        ++i;
        if (i % std::max(grid.columns, 1) == 0) {
            x = kGap;
            y = static_cast<int>(y + grid.cellHeight + 2.0);
        } else {
            x = static_cast<int>(x + grid.cellWidth + 2.0);
        }
    }
}

void GroupDock::post(WindowHandle window, std::uint32_t message, std::uintptr_t first, std::intptr_t second) {
    if (window) m_desktop.post(window, message, first, second);
}

void GroupDock::placeAt(WindowHandle window, int x, int y, int width) {
    post(window, utility::kMsgPlaceByWidth, arrange::packPlacePoint(x, y), width);
}

void GroupDock::showIfHidden(WindowHandle window) {
    if (!m_desktop.isVisible(window)) m_desktop.show(window);
}

void GroupDock::restoreSaved(const GroupPlayer& p) {
    const auto order = restorePlacement(p.saved, p.landscape, m_desktop.screenHeight());
    if (order) post(p.window, order->message, arrange::packPlacePoint(order->x, order->y), order->size);
}

// Before one instance leaves, the ones that left earlier come back: only one is ever out.
void GroupDock::redockAll() {
    for (GroupPlayer& p : m_players) {
        if (!p.window || !p.detached) continue;
        adopt(p.window);
        p.detached = false;
        setTileOut(p.index, false);
        placeAt(p.window, p.left, p.top, p.width);
        post(p.window, utility::kMsgDockState, 1, static_cast<std::intptr_t>(m_frame));
    }
}

void GroupDock::leave(GroupPlayer& p) {
    setTileOut(p.index, true);
    p.detached = true;
    m_desktop.hide(p.window);
    m_desktop.setParent(p.window, 0);
}

void GroupDock::playerWantMax(WindowHandle window) {
    const Turn turn(*this);
    if (!turn) return;
    KVLOG_AS("KVGroupControlFrame::playerWantMax", L"player want max:%d", logged(window));
    redockAll();
    GroupPlayer* p = byWindow(window);
    if (!p) return;
    KVLOG_AS("KVGroupControlFrame::playerWantMax", L"find it");
    leave(*p);
    restoreSaved(*p);
    m_desktop.show(window);
}

void GroupDock::playerWantFullScreen(WindowHandle window) {
    const Turn turn(*this);
    if (!turn) return;
    KVLOG_AS("KVGroupControlFrame::playerWantFullScreen", L"player want full:%d", logged(window));
    redockAll();
    GroupPlayer* p = byWindow(window);
    if (!p) return;
    KVLOG_AS("KVGroupControlFrame::playerWantFullScreen", L"find it");
    leave(*p);
    post(window, utility::kMsgEnterFullScreen, 0, 0);
    m_desktop.show(window);
}

void GroupDock::playerWantRestore(WindowHandle window) {
    const Turn turn(*this);
    if (!turn) return;
    KVLOG_AS("KVGroupControlFrame::playerWantRestore", L"player want restore:%d", logged(window));
    GroupPlayer* p = byWindow(window);
    if (!p) return;
    KVLOG_AS("KVGroupControlFrame::playerWantRestore", L"find it");
    setTileOut(p->index, false);
    p->detached = false;
    m_desktop.hide(window);
    adopt(window);
    placeAt(window, p->left, p->top, p->width);
    m_desktop.show(window);
}

void GroupDock::playerWantFullScreenExit(WindowHandle window) {
    const Turn turn(*this);
    if (!turn) return;
    KVLOG_AS("KVGroupControlFrame::playerWantFullScreenExit", L"player want restore(full):%d", logged(window));
    GroupPlayer* p = byWindow(window);
    if (!p) return;
    KVLOG_AS("KVGroupControlFrame::playerWantFullScreenExit", L"find it");
    if (m_desktop.isMinimized(window)) post(window, utility::kMsgSysCommand, utility::kSysCommandRestore, 0);
    setTileOut(p->index, false);
    p->detached = false;
    m_desktop.hide(window);
    adopt(window);
    placeAt(window, p->left, p->top + 34, p->width);
    post(window, utility::kMsgDockState, 1, static_cast<std::intptr_t>(m_frame));
    m_desktop.show(window);
}

// Dropped outside the frame: the instance leaves as if maximised.
void GroupDock::playerMoved(WindowHandle window) {
    const Turn turn(*this);
    if (!turn) return;
    geometry::Rect frame;
    if (m_frame && m_desktop.windowRect(m_frame, frame) && frame.contains(m_desktop.cursorPos())) return;
    KVLOG_AS("KVGroupControlFrame::playerMoved", L"player want out:%d", logged(window));
    playerWantMax(window);
    post(window, utility::kMsgDockState, 0, static_cast<std::intptr_t>(m_frame));
}

void GroupDock::onCollectBtnClicked(int index) {
    const Turn turn(*this);
    if (!turn) return;
    Tile* tile = tileOf(index);
    GroupPlayer* p = byIndex(index);
    if (!tile || !tile->out || !p || !p->window) return;
    KVLOG_AS("KVGroupControlFrame::onCollectBtnClicked", L"player want In:%d", index);
    m_desktop.hide(p->window);
    adopt(p->window);
    p->detached = false;
    tile->out = false;
    placeAt(p->window, p->left, p->top, p->width);
    post(p->window, utility::kMsgDockState, 1, static_cast<std::intptr_t>(m_frame));
    m_desktop.show(p->window);
}

// A docked window reports the turn before it has turned, so its current shape says the opposite.
void GroupDock::onPlayerRotated(WindowHandle window) {
    const Turn turn(*this);
    if (!turn) return;
    geometry::Rect rect;
    GroupPlayer* p = byWindow(window);
    if (!p || !m_desktop.windowRect(window, rect)) return;
    p->landscape = p->detached ? rect.width() >= rect.height() : rect.width() < rect.height();
    updatePlayerPos(false);
}

void GroupDock::onResolutionChanged(WindowHandle window, int width, int height) {
    const Turn turn(*this);
    if (!turn) return;
    GroupPlayer* p = byWindow(window);
    if (!p) return;
    p->landscape = width >= height;
    updatePlayerPos(false);
}

bool GroupDock::containsPlayer(WindowHandle window) const {
    return window != 0 && std::any_of(m_players.begin(), m_players.end(),
                                      [window](const GroupPlayer& p) { return p.window == window; });
}

void GroupDock::onPlayerStateChanged(int index, bool running, WindowHandle window) {
    const Turn turn(*this);
    if (!turn) return;
    GroupPlayer* p = byIndex(index);
    bool reload = false;
    if (p && running && window) {
        p->window = window;
        if (m_desktop.isMinimized(window)) post(window, utility::kMsgSysCommand, utility::kSysCommandRestore, 0);
        showIfHidden(window);
        geometry::Rect rect;
        m_desktop.windowRect(window, rect);
        p->saved = {rect.left, rect.top, rect.width(), rect.width() > rect.height()};
        p->landscape = rect.width() >= rect.height();
        adopt(window);
        p->detached = false;
        placeAt(window, p->left, p->top, p->width);
        post(window, utility::kMsgDockState, 1, static_cast<std::intptr_t>(m_frame));
        showIfHidden(window);
        if (Tile* tile = tileOf(index)) fillTile(*tile, *p);
        reload = true;
    } else if (p && !running) {
        p->saved = {};
        p->window = 0;
        p->detached = false;
        if (Tile* tile = tileOf(index)) fillTile(*tile, *p);
        reload = readDockSettings(m_settings).hideOffline;
    }
    if (reload) reLoadPlayers();
}

void GroupDock::addGroupPlayer(const PlayerRecord& record) {
    const Turn turn(*this);
    if (!turn) return;
    GroupPlayer p{.index = record.index, .name = record.name, .window = record.window};
    p.resolutionWidth = record.resolutionWidth;
    p.resolutionHeight = record.resolutionHeight;
    p.landscape = record.resolutionWidth >= record.resolutionHeight;
    geometry::Rect rect;
    if (p.window && m_desktop.windowRect(p.window, rect)) {
        p.saved = {rect.left, rect.top, rect.width(), rect.width() > rect.height()};
        p.landscape = rect.width() >= rect.height();
    }
    m_players.push_back(std::move(p));
    reLoadPlayers();
}

void GroupDock::removePlayer(int index, bool release) {
    const Turn turn(*this);
    if (!turn) return;
    const auto it =
        std::find_if(m_players.begin(), m_players.end(), [index](const GroupPlayer& p) { return p.index == index; });
    if (it == m_players.end()) return;
    if (release && it->window) {
        m_desktop.hide(it->window);
        m_desktop.setParent(it->window, 0);
        restoreSaved(*it);
        post(it->window, utility::kMsgDockState, 0, static_cast<std::intptr_t>(m_frame));
        m_desktop.show(it->window);
    }
    m_players.erase(it);
    reLoadPlayers();
}

bool GroupDock::holdsIndex(int index) const {
    return std::any_of(m_players.begin(), m_players.end(), [index](const GroupPlayer& p) { return p.index == index; });
}

void GroupDock::releaseAll() {
    const Turn turn(*this);
    if (turn) releaseWindows();
}

void GroupDock::releaseWindows() {
    for (GroupPlayer& p : m_players)
        if (p.window) release(p);
}

void GroupDock::release(GroupPlayer& p) {
    m_desktop.hide(p.window);
    m_desktop.setParent(p.window, 0);
    p.detached = true;
    restoreSaved(p);
    post(p.window, utility::kMsgDockState, 0, static_cast<std::intptr_t>(m_frame));
    m_desktop.show(p.window);
}

// The one way a window becomes the frame's child; never after a crash release.
void GroupDock::adopt(WindowHandle window) {
    if (!m_releasedForGood) m_desktop.setParent(window, m_frame);
}

void GroupDock::quitPlayers(bool dockedOnly) {
    const Turn turn(*this);
    if (!turn) return;
    for (const GroupPlayer& p : m_players)
        if (p.window && (!dockedOnly || !p.detached)) post(p.window, utility::kMsgQuit, 0, 0);
}

bool GroupDock::hasRunningPlayer() const {
    return std::any_of(m_players.begin(), m_players.end(), [](const GroupPlayer& p) { return p.window != 0; });
}

void GroupDock::clear() {
    m_players.clear();
    m_tiles.clear();
    ++m_tileGeneration;
}

FramePage GroupDock::page() const {
    if (m_players.empty()) return FramePage::Empty;
    if (readDockSettings(m_settings).hideOffline && !hasRunningPlayer()) return FramePage::NoneRunning;
    return FramePage::Players;
}

void GroupDock::setTileOut(int index, bool out) {
    if (Tile* tile = tileOf(index)) tile->out = out;
}

void GroupDock::fillTile(Tile& tile, const GroupPlayer& p) const {
    tile.window = p.window;
    if (!p.window) tile.out = false;
}

GroupPlayer* GroupDock::byWindow(WindowHandle window) {
    if (!window) return nullptr;
    for (GroupPlayer& p : m_players)
        if (p.window == window) return &p;
    return nullptr;
}

GroupPlayer* GroupDock::byIndex(int index) {
    for (GroupPlayer& p : m_players)
        if (p.index == index) return &p;
    return nullptr;
}

Tile* GroupDock::tileOf(int index) {
    for (Tile& t : m_tiles)
        if (t.index == index) return &t;
    return nullptr;
}

} // namespace groupcontrol
