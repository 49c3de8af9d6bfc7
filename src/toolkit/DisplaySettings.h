#pragma once
// What start-up hands the toolkit once for every window it will build: the display scale factor and the
// font face of the user-interface language. Read on the user-interface thread only.

#include <string>
#include <string_view>

namespace ui {

void setDisplayScale(double scale); // 1.0 until start-up sets it
double displayScale();
void setLanguageFace(std::wstring_view face); // empty: the skins' own face
const std::wstring& languageFace();

} // namespace ui
