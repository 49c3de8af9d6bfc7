#include "core/model/PerformanceMode.h"

namespace model {

bool allowsMultiModes(KV_PRODUCT_TYPE product) {
    return product == KV_PRODUCT_14;
}

void applyPerformanceMode(common::CloneSetting& s, KV_PRODUCT_TYPE product, std::int32_t mode, int framesPerSecond) {
    if (!allowsMultiModes(product)) mode = kBalanced;
    s.hasFps = true;
    s.fps = framesPerSecond;
    if (mode == kMulti || mode == kMultiPro) {
        s.hasVMemUsage = true;
        s.vMemUsage = 2;
    }
    if (mode == kMultiPro) {
        s.fps = 30;
        s.hasReduceAudio = true;
        s.reduceAudio = true;
    }
}

} // namespace model
