#include "toolkit/DisplaySettings.h"

namespace ui {
namespace {
double g_scale = 1.0;
std::wstring g_face;
} // namespace

void setDisplayScale(double scale) {
    g_scale = scale > 0 ? scale : 1.0;
}

double displayScale() {
    return g_scale;
}

void setLanguageFace(std::wstring_view face) {
    g_face = face;
}

const std::wstring& languageFace() {
    return g_face;
}

} // namespace ui
