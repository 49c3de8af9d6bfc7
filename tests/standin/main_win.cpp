// rqplayer.exe, the stand-in emulator: reads its command line, finds its product line and runs one instance
// until it is told to close (or killed).

#include <windows.h>

#include "StandInOptions.h"
#include "StandIn_win.h"
#include "core/platform/Os.h"

namespace {

// The line: our "line=" item, else [standin] line= in "rqplayer.ini" beside the program, else 4.
int productLineOf(const standin::Options& options, const std::filesystem::path& folder) {
    if (options.line && product::isProductType(*options.line)) return *options.line;
    const auto ini = folder / "rqplayer.ini";
    const int line = static_cast<int>(GetPrivateProfileIntW(L"standin", L"line", 4, ini.c_str()));
    return product::isProductType(line) ? line : 4;
}

} // namespace

int WINAPI wWinMain(HINSTANCE module, HINSTANCE /*previous*/, PWSTR commandLine, int /*show*/) {
    const standin::Options options = standin::parseOptions(commandLine ? commandLine : L"");
    if (options.exitCode) return *options.exitCode;
    if (options.index < 0) return 1;
    const auto folder = platform::programFolder();
    standin::StandIn instance(options, productLineOf(options, folder), folder);
    if (const int failed = instance.open(module)) return failed;
    return instance.run();
}
