#include "core/formats/ShellLink.h"

#include <gtest/gtest.h>

#include "support/LogCapture.h"
#include "support/TempDir.h"

using namespace common::formats;
using testing_support::LogCapture;
using testing_support::readFile;

namespace {

// Pieces of a shell link, written as the published format lays them out.
std::string u16le(std::uint32_t v) {
    return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
}
std::string u32le(std::uint32_t v) {
    return u16le(v & 0xFFFF) + u16le(v >> 16);
}
std::string utf16(std::u16string_view s) {
    std::string out;
    for (const char16_t c : s) out += u16le(c);
    return out;
}

std::string header(std::uint32_t flags) {
    std::string h = u32le(0x4C) + std::string("\x01\x14\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46", 16);
    h += u32le(flags);
    h.resize(0x4C, '\0');
    return h;
}

std::string idList(const std::vector<std::string>& items) {
    std::string list;
    for (const auto& item : items) list += u16le(static_cast<std::uint32_t>(item.size() + 2)) + item;
    list += u16le(0);
    return u16le(static_cast<std::uint32_t>(list.size())) + list;
}

// A file entry item: type, primary (short) name, and a version-9 extension block holding the long name at
// offset 46 of the block, which ends with a 2-byte offset.
std::string fileItem(std::string shortName, std::u16string longName) {
    std::string item = std::string("\x32\x00", 2) + u32le(0) + u32le(0) + u16le(0x20) + shortName + '\0';
    if (item.size() % 2) item += '\0';
    std::string block = u16le(0) + u16le(9) + u32le(0xBEEF0004u);
    block.resize(46, '\0');
    block += utf16(longName) + u16le(0) + u16le(14);
    const std::string size = u16le(static_cast<std::uint32_t>(block.size()));
    block[0] = size[0], block[1] = size[1];
    return item + block;
}

std::string linkInfoLocal(const std::string& base, const std::string& suffix) {
    const std::uint32_t baseAt = 0x1C + 0x11, suffixAt = baseAt + static_cast<std::uint32_t>(base.size()) + 1;
    std::string volume = u32le(0x11) + u32le(3) + u32le(0) + u32le(0x10) + '\0'; // drive type 3, no label
    std::string body = u32le(0x1C) + u32le(1) + u32le(0x1C) + u32le(baseAt) + u32le(0) + u32le(suffixAt);
    body += volume + base + '\0' + suffix + '\0';
    return u32le(static_cast<std::uint32_t>(body.size() + 4)) + body;
}

std::string linkInfoUnicode(const std::string& ansiBase, std::u16string base, std::u16string suffix) {
    const std::uint32_t volumeAt = 0x24, ansiAt = volumeAt + 0x11;
    const std::uint32_t ansiSuffixAt = ansiAt + static_cast<std::uint32_t>(ansiBase.size()) + 1;
    const std::uint32_t baseAt = ansiSuffixAt + 1, suffixAt = baseAt + 2 * static_cast<std::uint32_t>(base.size() + 1);
    std::string body = u32le(0x24) + u32le(1) + u32le(volumeAt) + u32le(ansiAt) + u32le(0) + u32le(ansiSuffixAt) +
                       u32le(baseAt) + u32le(suffixAt);
    body += u32le(0x11) + u32le(3) + u32le(0) + u32le(0x10) + '\0';
    body += ansiBase + '\0' + '\0' + utf16(base) + u16le(0) + utf16(suffix) + u16le(0);
    return u32le(static_cast<std::uint32_t>(body.size() + 4)) + body;
}

std::string linkInfoNetwork(const std::string& share, const std::string& suffix) {
    const std::uint32_t networkAt = 0x1C;
    const std::string network =
        u32le(0x14 + share.size() + 1) + u32le(0) + u32le(0x14) + u32le(0) + u32le(0) + share + '\0';
    const std::uint32_t suffixAt = networkAt + static_cast<std::uint32_t>(network.size());
    std::string body = u32le(0x1C) + u32le(2) + u32le(0) + u32le(0) + u32le(networkAt) + u32le(suffixAt);
    body += network + suffix + '\0';
    return u32le(static_cast<std::uint32_t>(body.size() + 4)) + body;
}

std::string unicodeString(std::u16string_view s) {
    return u16le(static_cast<std::uint32_t>(s.size())) + utf16(s);
}
std::string ansiString(std::string_view s) {
    return u16le(static_cast<std::uint32_t>(s.size())) + std::string(s);
}

std::string environmentBlock(std::u16string target) {
    std::string block = u32le(0x314) + u32le(0xA0000001u) + std::string(260, '\0');
    std::string wide = utf16(target);
    wide.resize(520, '\0');
    return block + wide + u32le(0);
}

constexpr std::uint32_t kIdList = 0x1, kLinkInfo = 0x2, kWorkingDir = 0x10, kArguments = 0x20, kUnicode = 0x80,
                        kExpString = 0x200;

} // namespace

// Saved through IShellLinkW under Wine by the Windows test ShellLinkWinTest (see tests/data/README.txt).
TEST(ShellLink, ReadsALinkSavedByTheWindowsShellUnderWine) {
    const auto link = readShellLinkFile(KV_TEST_DATA_DIR "/wine-made.lnk");
    ASSERT_TRUE(link.has_value());
    EXPECT_EQ(link->targetPath, L"C:\\windows\\system32\\notepad.exe");
    EXPECT_EQ(link->arguments, L"index=3 \u5b9e\u4f8b");
    EXPECT_EQ(link->workingDirectory, L"C:\\windows");
}

TEST(ShellLink, TheLinkInfoTargetJoinsBasePathAndSuffixPreferringTheUnicodeForms) {
    const auto ansi = readShellLink(header(kLinkInfo) + linkInfoLocal("C:\\KV\\", "rqplayer.exe"));
    ASSERT_TRUE(ansi);
    EXPECT_EQ(ansi->targetPath, L"C:\\KV\\rqplayer.exe");

    const auto wide =
        readShellLink(header(kLinkInfo) + linkInfoUnicode("C:\\??", u"C:\\\u6a21\u62df\u5668\\", u"a.exe"));
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->targetPath, L"C:\\\u6a21\u62df\u5668\\a.exe");

    const auto share = readShellLink(header(kLinkInfo) + linkInfoNetwork("\\\\server\\share", "KV\\rqplayer.exe"));
    ASSERT_TRUE(share);
    EXPECT_EQ(share->targetPath, L"\\\\server\\share\\KV\\rqplayer.exe");
}

TEST(ShellLink, WithoutLinkInfoTheItemIdListGivesTheDriveAndTheLongNames) {
    const std::string computer = "\x1F\x50" + std::string(16, '\x11');
    const std::string drive = std::string("\x2F") + "C:\\" + std::string(19, '\0');
    const auto link = readShellLink(
        header(kIdList | kArguments | kUnicode) +
        idList({computer, drive, fileItem("PROGRA~1", u"Program Files"), fileItem("RQPLAY~1.EXE", u"rqplayer.exe")}) +
        unicodeString(u"index=1"));
    ASSERT_TRUE(link);
    EXPECT_EQ(link->targetPath, L"C:\\Program Files\\rqplayer.exe");
    EXPECT_EQ(link->arguments, L"index=1");
}

TEST(ShellLink, TheEnvironmentBlockGivesTheTargetWhenNothingElseDoes) {
    const auto link = readShellLink(header(kWorkingDir | kArguments | kExpString) + ansiString("C:\\KV") +
                                    ansiString("index=\xE9") + environmentBlock(u"%ProgramFiles%\\KV\\rqplayer.exe"));
    ASSERT_TRUE(link);
    EXPECT_EQ(link->targetPath, L"%ProgramFiles%\\KV\\rqplayer.exe");
    EXPECT_EQ(link->workingDirectory, L"C:\\KV");
    EXPECT_EQ(link->arguments, L"index=\u00e9"); // not UTF-8: taken as Latin-1
}

TEST(ShellLink, ALinkWithoutTargetReadsWithAnEmptyTarget) {
    const auto link = readShellLink(header(kArguments | kUnicode) + unicodeString(u"index=2"));
    ASSERT_TRUE(link);
    EXPECT_EQ(link->targetPath, L"");
    EXPECT_EQ(link->arguments, L"index=2");
}

TEST(ShellLink, WrongHeadersAndCutStringsGiveNothingWithALogLine) {
    LogCapture log;
    EXPECT_FALSE(readShellLink(std::string_view("")));
    EXPECT_FALSE(readShellLink(std::string_view("L\0\0\0not a link at all, just bytes of text", 40)));
    EXPECT_FALSE(readShellLink(header(kArguments | kUnicode) + u16le(500) + "ab"));
    EXPECT_FALSE(readShellLinkFile(KV_TEST_DATA_DIR "/absent.lnk"));
    EXPECT_TRUE(log.containsPart(L"no shell-link header"));
    EXPECT_TRUE(log.containsPart(L"string data cut short"));
    EXPECT_TRUE(log.containsPart(L"absent.lnk"));
}
