#pragma once
// The arithmetic of a group control frame: how many columns its tiles take and how large a cell is, how
// high a tile is, where a docked instance is told to go (the place messages 13000/13001), where an instance
// that leaves goes back to, and the frame's first rectangle. No window is touched here, so every pixel is
// tested natively.
//
// Sizes are window pixels. The instance window's side toolbar (T), its title bar (B) and the frame's caption
// (C) scale with the display; divisions truncate toward zero as the instances expect.

#include <cstdint>
#include <optional>

#include "core/geometry/Geometry.h"

namespace groupcontrol {

struct FrameMetrics {
    int toolWidth = 40;     // T: the instance window's side toolbar
    int titleHeight = 36;   // B: the instance window's title bar (40 for Android 14)
    int captionOffset = 34; // C: the frame's own caption, added to y when re-placing
};

// The metrics of a product type at a display scale (1.0 without display scaling).
FrameMetrics metricsFor(int productType, double scale);

inline constexpr int kGap = 2;
inline constexpr int kDefaultRefWidth = 1280;
inline constexpr int kDefaultRefHeight = 720;
inline constexpr int kInitialCellHeight = 540;
// The cell height a portrait search leaves in the frame.
inline constexpr int kPortraitStoredCellHeight = 320;

// A fixed column count from the stored settings: "groupAutoSort" stored and not true gives
// "groupSortNumber", with a missing value or one outside 1 to 100 counting as 4.
std::optional<int> fixedColumnsFrom(bool autoSortStoredFalse, std::optional<int> sortNumber);

struct GridRequest {
    int frameWidth = 0;  // W: the frame window's width
    int frameHeight = 0; // the frame window's height (Ha = this − B)
    int count = 0;       // players to show
    bool landscapeMode = true;
    int refWidth = kDefaultRefWidth;   // 0 counts as 1280
    int refHeight = kDefaultRefHeight; // 0 counts as 720
    std::optional<int> fixedColumns;
    FrameMetrics metrics;
};

struct Grid {
    int cellWidth = 0;
    int cellHeight = 0;
    int columns = 1;
    // What the frame keeps as its cell height afterwards (none: it keeps the one it had).
    std::optional<int> storedCellHeight;
};

Grid computeGrid(const GridRequest& request);

// The height of a player's tile: its display scaled to the cell width (turned when its orientation is not
// the frame's) plus the title bar.
int tileHeight(int cellWidth, int resolutionWidth, int resolutionHeight, bool landscapeMode,
               const FrameMetrics& metrics);

// One place message for an instance window, and the log line that goes with it.
struct PlaceOrder {
    std::uint32_t message = 0; // 13000 (by width) or 13001 (by height)
    int x = 0;
    int y = 0;
    int size = 0;
    const wchar_t* logFormat = nullptr; // "… left:%d top:%d" with x and y; null: nothing logged
};

// Where a docked instance goes in its cell at (x, y) of cw × ch.
PlaceOrder calcPlayerItemPos(int x, int y, int cellWidth, int cellHeight, bool landscapeMode, bool playerLandscape,
                             int resolutionWidth, int resolutionHeight, const FrameMetrics& metrics);

// The placement an instance window had before it was docked.
struct SavedPlacement {
    int left = 0;
    int top = 0;
    int width = 0; // 0 or less: nothing saved
    bool landscape = true;
};

// The message that puts a leaving instance back where it was; none when nothing was saved. An instance that
// turned meanwhile is placed by height (its old width), at most the screen height − 60 and then at top 10.
std::optional<PlaceOrder> restorePlacement(const SavedPlacement& saved, bool landscapeNow, int screenHeight);

// The frame's first rectangle in a work area: 1600 × 900, smaller on small screens, centred.
geometry::Rect initialFrameRect(const geometry::Rect& workArea);

// The smallest size the user can drag the frame to.
geometry::Size minimumTrackSize(bool landscapeMode, int cellHeight);

} // namespace groupcontrol
