#pragma once
// What the screen shows inside a window's client area, and saving it as a PNG for people to look at.

#include <windows.h>

#include <filesystem>

#include "toolkit/ImageDecoder.h"

namespace testing_support {

ui::Bitmap captureClient(HWND hwnd);
// Opaque RGB; false when the file cannot be written.
bool savePng(const ui::Bitmap& bitmap, const std::filesystem::path& file);

} // namespace testing_support
