#include "ui/main/FrameRules.h"

namespace mainui {

TabChoice chooseTabs(const std::array<std::size_t, product::kProductCount>& instanceCounts,
                     std::optional<KV_PRODUCT_TYPE> productRowLine, KV_PRODUCT_TYPE requested) {
    TabChoice choice;
    int shown = 0;
    for (const KV_PRODUCT_TYPE line : {KV_PRODUCT_14, KV_PRODUCT_9, KV_PRODUCT_71_32}) {
        const bool visible = instanceCounts[static_cast<std::size_t>(line)] > 0 || productRowLine == line;
        choice.visible[static_cast<std::size_t>(line)] = visible;
        shown += visible ? 1 : 0;
    }
    choice.barShown = shown >= 2;
    const auto isVisible = [&](KV_PRODUCT_TYPE line) { return choice.visible[static_cast<std::size_t>(line)]; };
    if ((requested == KV_PRODUCT_9 || requested == KV_PRODUCT_71_32) && isVisible(requested)) {
        choice.product = requested;
        return choice;
    }
    choice.product = KV_PRODUCT_14;
    for (const KV_PRODUCT_TYPE line : {KV_PRODUCT_14, KV_PRODUCT_9, KV_PRODUCT_71_32}) {
        if (isVisible(line)) {
            choice.product = line;
            break;
        }
    }
    return choice;
}

CloseStep closeStep(int copiesLeft, bool groupControlOpen, int installState) {
    if (copiesLeft > 0) return CloseStep::ConfirmStopCopying;
    if (groupControlOpen) return CloseStep::GroupControlNotice;
    if (installState == 1) return CloseStep::ConfirmStopDownload;
    if (installState == 2 || installState == 3) return CloseStep::ConfirmStopInstalling;
    return CloseStep::Close;
}

} // namespace mainui
