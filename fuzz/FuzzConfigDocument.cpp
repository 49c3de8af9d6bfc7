// Any bytes as a JSON settings file: every typed read, a write of each kind, and the round trip of what a
// save would write (it must parse back to the same number of members).

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/storage/ConfigDocument.h"
#include "support/LogCapture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const testing_support::LogCapture log; // lines are formatted too, and kept for this input only
    common::ConfigDocument doc;
    doc.loadText(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const char* key : {"statusSettings.playerName", "basicSettings.autoRun", "basicSettings.fps",
                            "advancedSettings.resolution", "hotkeySettings.bossKey", "windowsOffset", "list"}) {
        (void)doc.has(key);
        (void)doc.getBool(key, true);
        (void)doc.getInt(key, 7);
        (void)doc.getString(key, L"d");
        (void)doc.getResolution(key, {1, 2});
        (void)doc.getHotkey(key, {3, 4});
        (void)doc.getPoint(key, {5, 6});
    }
    doc.setInt("basicSettings.fps", 30);
    doc.setString("statusSettings.playerName", L"\u00E9\U0001F600");
    doc.setPoint("windowsOffset", -1, 2);
    const std::string text = doc.serialize();
    common::ConfigDocument again;
    if (!again.loadText(text) || again.memberCount() != doc.memberCount()) std::abort();
    return 0;
}
