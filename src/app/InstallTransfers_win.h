#pragma once
// The product download's clients on Windows: libcurl first, WinINet as the fallback, the installer started
// elevated through the shell, and the installer's Authenticode signature logged (never required: the
// download document's digest is what a man in the middle cannot forge).

#include <memory>

#include "core/install/InstallTransfers.h"

namespace app {

std::shared_ptr<install::InstallTransfers> makeInstallTransfers();

} // namespace app
