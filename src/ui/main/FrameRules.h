#pragma once
// The main window's decisions that depend on numbers only: which product tabs show and which product the
// list shows, and what a close request does first.

#include <array>
#include <cstddef>
#include <optional>

#include "core/product/ProductLine.h"

namespace mainui {

struct TabChoice {
    std::array<bool, product::kProductCount> visible{}; // by product line
    KV_PRODUCT_TYPE product = KV_PRODUCT_14;
    bool barShown = false; // two or more tabs
};

// Tabs of lines 4, 2 and 0 show when the line has instances or is the product row's line; lines 1 and 3
// never get a tab. A requested 2 or 0 stays when its tab shows; otherwise the first shown of 4, 2, 0, else 4.
TabChoice chooseTabs(const std::array<std::size_t, product::kProductCount>& instanceCounts,
                     std::optional<KV_PRODUCT_TYPE> productRowLine, KV_PRODUCT_TYPE requested);

enum class CloseStep {
    ConfirmStopCopying,    // copies still to do
    GroupControlNotice,    // a group control window is open: nothing closes
    ConfirmStopDownload,   // a product download runs
    ConfirmStopInstalling, // a product install runs or waits
    Close,
};

// The first rule that applies wins. Install state: 0 idle, 1 downloading, 2 installing, 3 waiting to install.
CloseStep closeStep(int copiesLeft, bool groupControlOpen, int installState);

} // namespace mainui
