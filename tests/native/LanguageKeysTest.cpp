// Every language key the program uses is in the shipped table, with an English and a Chinese text. The keys
// are found in the sources, not listed by hand, so a window added without its texts fails here:
// - the wide literal passed to a look-up call ("lookUp(L\"prompt\")"), whatever it looks like;
// - any other wide literal made of lower-case words joined by underscores ("multis_player_running"), which is
//   how keys look where tables hold them for a later look-up;
// - a skin's text and tooltip attributes (a skin names a key there; the window sets the text).

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "core/lang/LanguageTable.h"
#include "core/text/Utf.h"

namespace {

// Wide literals that look like keys but are names of other things.
const std::set<std::string> kNotKeys = {
    "copy_not_finish",            // marker file of an unfinished copy
    "vantor_fb_msg_wnd_class_ui", // window class of an instance's endpoint
};

using Uses = std::map<std::string, std::string>; // key → first place that uses it

void scanCodeLine(const std::string& line, const std::string& where, Uses& uses) {
    static const std::regex lookUpCall(R"re(lookUp\w*\(\s*L"([^"]+)")re");
    static const std::regex keyLike(R"re(L"([a-z][a-z0-9]*(?:_[a-z0-9]+)+)")re");
    for (const std::regex* pattern : {&lookUpCall, &keyLike})
        for (std::sregex_iterator it(line.begin(), line.end(), *pattern), end; it != end; ++it) {
            const std::string key = (*it)[1];
            if (pattern == &keyLike && kNotKeys.count(key)) continue;
            uses.emplace(key, where);
        }
}

// A skin text that is no key ("1080x1920", "x") is shown as written.
void scanSkinLine(const std::string& line, const std::string& where, Uses& uses) {
    static const std::regex textAttribute(R"re(\b(?:text|tooltip)="([A-Za-z][A-Za-z0-9_]+)")re");
    for (std::sregex_iterator it(line.begin(), line.end(), textAttribute), end; it != end; ++it)
        uses.emplace((*it)[1], where);
}

void scanFile(const std::filesystem::path& file, bool skin, Uses& uses) {
    std::ifstream in(file);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const std::string where = file.filename().string() + ":" + std::to_string(number);
        skin ? scanSkinLine(line, where, uses) : scanCodeLine(line, where, uses);
    }
}

Uses usedKeys() {
    Uses uses;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(KV_SOURCE_DIR)) {
        const auto ext = entry.path().extension();
        if (entry.is_regular_file() && (ext == ".cpp" || ext == ".h")) scanFile(entry.path(), false, uses);
    }
    for (const auto& entry : std::filesystem::directory_iterator(KV_SKIN_DIR))
        if (entry.path().extension() == ".xml") scanFile(entry.path(), true, uses);
    return uses;
}

std::string readAll(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(LanguageKeyScan, FindsLookUpArgumentsTableKeysAndSkinTextsButNotOtherNames) {
    struct Case {
        const char* line;
        bool skin;
        std::set<std::string> keys;
    };
    const Case cases[] = {
        {R"(box(lookUpWithFallback(L"prompt"), lookUp( L"Cancel")))", false, {"prompt", "Cancel"}},
        {R"({std::pair{L"btnSettingVm", L"multi_setup_item"}, {L"shortcutVm", L"multiplay_shortcut"}})",
         false,
         {"multi_setup_item", "multiplay_shortcut"}},
        {R"(look = busy(L"multis_player_copying", kYellow);)", false, {"multis_player_copying"}},
        {R"(L"zh_CN", L"multiplayer_all\\quit_", L"copy_not_finish", L"titleText", "narrow_literal")", false, {}},
        {R"(<Button name="okBtn" text="multi_ok" tooltip="multi_ok_tip" textcolor="#FFFFFFFF"/>)",
         true,
         {"multi_ok", "multi_ok_tip"}},
        {R"(<Option name="tab" selectedtextcolor="#FFFFFFFF" text=""/>)", true, {}},
        {R"(<Option name="opt1080x1920" text="1080x1920"/><Label text="x"/><Label text="setting_dpi"/>)",
         true,
         {"setting_dpi"}},
    };
    for (const Case& c : cases) {
        Uses uses;
        c.skin ? scanSkinLine(c.line, "x", uses) : scanCodeLine(c.line, "x", uses);
        std::set<std::string> found;
        for (const auto& [key, where] : uses) found.insert(key);
        EXPECT_EQ(found, c.keys) << c.line;
    }
}

TEST(ShippedLanguageTable, HoldsEveryKeyTheCodeAndTheSkinsUseInEnglishAndChinese) {
    const std::string table = readAll(KV_LANGUAGE_TABLE);
    const auto english = common::lang::parseLanguageTable(table, L"en_US");
    const auto chinese = common::lang::parseLanguageTable(table, L"zh_CN");
    const Uses uses = usedKeys();
    ASSERT_GT(uses.size(), 30u) << "the scan finds the keys the main window is known to use";

    std::string missing;
    for (const auto& [key, where] : uses) {
        const std::wstring wide = common::text::fromUtf8(key);
        for (const auto* column : {&english, &chinese}) {
            const auto it = column->find(wide);
            if (it != column->end() && !it->second.empty()) continue;
            missing += "\n  " + key + " (" + where + "): no " + (column == &english ? "en_US" : "zh_CN") + " text";
        }
    }
    EXPECT_TRUE(missing.empty()) << "add these keys to resources/lang/multi_language.tsv:" << missing;
}

} // namespace
