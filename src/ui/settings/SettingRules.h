#pragma once
// The rules of the instance settings dialog that need no controls: the custom resolution's ranges, the tips
// beside the frame-rate slider and the memory-usage modes, the network address check and the disk label.

#include <string>
#include <string_view>

#include "core/model/SettingLimits.h"

namespace settingsui {

using model::kMaxDpi;
using model::kMaxResolutionSide;
using model::kMinDpi;
using model::kMinResolutionSide;

int clampResolutionSide(int pixels);
int clampDpi(int dpi);

// Language keys of the tips.
const wchar_t* fpsTipKey(int framesPerSecond);
const wchar_t* memUsageTipKey(int mode);

// Four decimal numbers 0 to 255 without leading zeros, separated by dots.
bool isDottedQuad(std::wstring_view text);

// "n" + "G / 255G".
std::wstring diskSizeLabel(int gigabytes);

// The shared-folder size dialog takes 1 to 5 characters that are a number from the folder's size now up to
// the largest it may have, both included.
bool sharedFolderSizeAccepted(std::wstring_view text, int startSize, int maxSize);

// A number typed into an edit; `fallback` when the text holds no number.
int parseNumber(std::wstring_view text, int fallback);

} // namespace settingsui
