#include "ui/groupcontrol/GroupGrid.h"

#include <algorithm>

#include "core/ipc/IpcMessages.h"

namespace groupcontrol {
namespace {

int scaled(int pixels, double scale) {
    return static_cast<int>(pixels * scale);
}

// The display height of a cell width (or the reverse) in double precision, as the instances compute it.
double across(int length, int numerator, int denominator) {
    return length * static_cast<double>(numerator) / static_cast<double>(denominator);
}

} // namespace

FrameMetrics metricsFor(int productType, double scale) {
    const double s = scale > 0.0 ? scale : 1.0;
    return {scaled(40, s), scaled(productType == 4 ? 40 : 36, s), scaled(34, s)};
}

std::optional<int> fixedColumnsFrom(bool autoSortStoredFalse, std::optional<int> sortNumber) {
    if (!autoSortStoredFalse) return std::nullopt;
    const int n = sortNumber.value_or(4);
    return n < 1 || n > 100 ? 4 : n;
}

Grid computeGrid(const GridRequest& r) {
    Grid grid;
    const int n = r.count;
    if (n <= 0) return grid;
    const int T = r.metrics.toolWidth, B = r.metrics.titleHeight;
    const int W = r.frameWidth, Ha = r.frameHeight - B;
    const int refW = r.refWidth > 0 ? r.refWidth : kDefaultRefWidth;
    const int refH = r.refHeight > 0 ? r.refHeight : kDefaultRefHeight;

    if (r.fixedColumns) {
        const int cols = *r.fixedColumns;
        grid.columns = cols;
        grid.cellWidth = (W - kGap * cols - kGap - kGap) / cols;
        grid.cellHeight = static_cast<int>(across(grid.cellWidth - T, refH, refW) + B);
        return grid;
    }

    // The first column count whose rows fit the height wins; none fitting leaves every player in one row.
    const auto search = [&](int room) {
        for (int c = 1; c <= n; ++c) {
            const int cw = (W - kGap * c - 4) / c;
            const int rows = (n + c - 1) / c;
            const auto ch = static_cast<float>(across(cw - T, refH, refW) + B);
            if (static_cast<float>(room) >= static_cast<float>(rows) * (ch + 2.0f) + 2.0f) {
                grid.cellWidth = cw;
                grid.cellHeight = static_cast<int>(ch);
                grid.columns = c;
                return;
            }
        }
        grid.columns = n;
    };

    if (r.landscapeMode) {
        grid.cellWidth = (W - kGap * n - 4) / n;
        grid.cellHeight = static_cast<int>(across(grid.cellWidth - T, refH, refW) + B);
        search(Ha);
        grid.storedCellHeight = grid.cellHeight;
    } else {
        grid.cellHeight = Ha;
        grid.cellWidth = static_cast<int>(across(Ha - B, refW, refH) + T);
        grid.storedCellHeight = kPortraitStoredCellHeight; // whatever the search finds
        search(Ha - 2);
    }
    return grid;
}

int tileHeight(int cellWidth, int resolutionWidth, int resolutionHeight, bool landscapeMode,
               const FrameMetrics& metrics) {
    const int rw = resolutionWidth > 0 ? resolutionWidth : kDefaultRefWidth;
    const int rh = resolutionHeight > 0 ? resolutionHeight : kDefaultRefHeight;
    const int inner = cellWidth - metrics.toolWidth;
    const bool turned = landscapeMode != (rh <= rw);
    return (turned ? inner * rw / rh : inner * rh / rw) + metrics.titleHeight;
}

PlaceOrder calcPlayerItemPos(int x, int y, int cellWidth, int cellHeight, bool landscapeMode, bool playerLandscape,
                             int resolutionWidth, int resolutionHeight, const FrameMetrics& metrics) {
    int wide = std::max(resolutionWidth, resolutionHeight), narrow = std::min(resolutionWidth, resolutionHeight);
    if (wide <= 0 || narrow <= 0) {
        wide = kDefaultRefWidth;
        narrow = kDefaultRefHeight;
    }
    const int T = metrics.toolWidth, B = metrics.titleHeight;
    if (landscapeMode && !playerLandscape) { // an upright instance in a landscape cell: full height, centred
        const int w = narrow * (cellHeight - B) / wide;
        return {utility::kMsgPlaceByHeight, x + (cellWidth - w - T) / 2, y, cellHeight, L"1111 left:%d top:%d"};
    }
    if (landscapeMode) return {utility::kMsgPlaceByWidth, x, y, cellWidth, L"2222 left:%d top:%d"};
    if (playerLandscape) { // a lying instance in an upright cell: full width, centred vertically
        const int h = narrow * (cellWidth - T) / wide;
        return {utility::kMsgPlaceByWidth, x, y + (cellHeight - h - B) / 2, cellWidth, L"33333 left:%d top:%d"};
    }
    return {utility::kMsgPlaceByWidth, x, y, cellWidth, L"444444 left:%d top:%d"};
}

std::optional<PlaceOrder> restorePlacement(const SavedPlacement& saved, bool landscapeNow, int screenHeight) {
    if (saved.width <= 0) return std::nullopt;
    PlaceOrder order{utility::kMsgPlaceByWidth, saved.left, saved.top, saved.width, nullptr};
    if (saved.landscape != landscapeNow) {
        order.message = utility::kMsgPlaceByHeight; // its old width becomes its height
        if (saved.width > screenHeight) {
            order.size = screenHeight - 60;
            order.y = 10;
        }
    }
    order.x = std::max(order.x, 0);
    order.y = std::max(order.y, 0);
    return order;
}

geometry::Rect initialFrameRect(const geometry::Rect& work) {
    const int width = work.width() <= 1600 ? work.width() - 120 : 1600;
    const int height = work.height() <= 900 ? work.height() - 80 : 900;
    const int left = work.left + (work.width() - width) / 2, top = work.top + (work.height() - height) / 2;
    return {left, top, left + width, top + height};
}

geometry::Size minimumTrackSize(bool landscapeMode, int cellHeight) {
    return {landscapeMode ? 960 : 540, cellHeight + 40};
}

} // namespace groupcontrol
