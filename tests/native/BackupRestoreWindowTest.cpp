// The backup/restore window over the main window, headlessly on the shipped skins with the native 7-Zip:
// the default file name, the compression choice written to every settings file, a backup and a restore
// through scripted file dialogs with the row's busy look, and the failures the user is told of.

#include <gtest/gtest.h>

#include <deque>

#include "core/files/Archiver.h"
#include "core/text/Utf.h"
#include "support/DiskImages.h"
#include "support/MainFrameFixture.h"
#include "toolkit/Button.h"
#include "toolkit/Slider.h"
#include "ui/setup/BackupNames.h"

namespace {

using namespace testing_support;
using namespace std::chrono_literals;

TEST(BackupNames, TheNineForbiddenCharactersLeaveTheDefaultName) {
    const struct {
        std::wstring_view name;
        std::wstring_view file;
    } cases[] = {
        {L"Game: one?", L"Game one.kvbk"},
        {L"a\\b/c:d*e?f\"g<h>i|j", L"abcdefghij.kvbk"},
        {L"\u6a21\u62df\u5668 2", L"\u6a21\u62df\u5668 2.kvbk"},
        {L"", L".kvbk"},
    };
    for (const auto& c : cases) EXPECT_EQ(setupui::defaultBackupName(c.name), c.file) << common::text::toUtf8(c.name);
    const setupui::FileRequest save = setupui::backupSaveRequest(L"x?", {});
    EXPECT_EQ(save.filterText, L"multiplay_backup_file_text(*.kvbk)");
    EXPECT_EQ(save.pattern, L"*.kvbk");
    EXPECT_EQ(save.defaultExtension, L"kvbk");
    const setupui::FileRequest open = setupui::restoreOpenRequest("/line");
    EXPECT_EQ(open.pattern, L"*.kvbk;*.vmdk");
    EXPECT_EQ(open.folder, std::filesystem::path("/line"));
}

class BackupRestoreWindowTest : public MainFrameFixture {
protected:
    // What the file dialogs answer, in turn; none is a cancel.
    std::deque<std::optional<std::filesystem::path>> answers;
    std::vector<setupui::FileRequest> asked;
    std::vector<std::pair<std::int32_t, bool>> finished; // (id, ok)

    void SetUp() override {
        MainFrameFixture::SetUp();
        common::files::setArchiverProgram(KV_7ZZ);
        moreServices = [this](FrameServices& s) {
            s.openBackup = [this](std::int32_t id) { frame->showBackupRestoreWindow(id); };
            const auto answer = [this](const setupui::FileRequest& r) {
                asked.push_back(r);
                auto next = answers.empty() ? std::nullopt : answers.front();
                if (!answers.empty()) answers.pop_front();
                return next;
            };
            s.chooseSaveFile = answer;
            s.chooseOpenFile = answer;
        };
        addInstance(KV_PRODUCT_14, 1, L"Game: one?");
        common::Players& p = players.line(KV_PRODUCT_14);
        writeDiskImage(p.dataDiskPath(1, p.usesVdi()), "original data", 64 * 1024);
        open(KV_PRODUCT_14);
        model.events().archiveFinished.subscribe(
            common::newOwnerKey(), [this](std::int32_t id, bool, bool ok) { finished.emplace_back(id, ok); });
    }
    void TearDown() override {
        common::files::setArchiverProgram({});
        MainFrameFixture::TearDown();
    }
    ui::Window& dialog() { return frame->backupRestoreWindow()->window(); }
    std::filesystem::path dataDisk() {
        common::Players& p = players.line(KV_PRODUCT_14);
        return p.dataDiskPath(1, p.usesVdi());
    }
    // Presses the card's button and lets the posted file dialog and the archiver run to their end.
    void press(const wchar_t* button) {
        const std::size_t before = finished.size();
        const std::size_t askedBefore = asked.size();
        const bool chosen = !answers.empty() && answers.front().has_value();
        ASSERT_TRUE(host.click(dialog(), button));
        ASSERT_TRUE(loop.runUntil([&] { return chosen ? finished.size() > before : asked.size() > askedBefore; }, 30s));
        loop.runPending();
    }
};

TEST_F(BackupRestoreWindowTest, BackupThenRestoreThroughTheWindowBringsTheOriginalBytesBack) {
    ASSERT_TRUE(click(row(id14(1)), L"btnBackupVm"));
    ASSERT_NE(frame->backupRestoreWindow(), nullptr);
    EXPECT_TRUE(dialog().isOpen());
    EXPECT_TRUE(win().overlayShown());
    EXPECT_FALSE(dialog().find<ui::Option>(L"useCompressOpt")->selected()) << "stored false when unset";

    const auto archive = program.path() / "backups" / "one.kvbk";
    std::filesystem::create_directories(archive.parent_path());
    answers = {archive};
    ASSERT_TRUE(host.click(dialog(), L"backupBtn"));
    EXPECT_EQ(row(id14(1)).status(), 0) << "nothing happens before the dialog has run";
    ASSERT_TRUE(loop.runUntil([&] { return !asked.empty(); }, 5s));
    EXPECT_EQ(row(id14(1)).status(), 5) << "backing up";
    EXPECT_FALSE(dialog().isOpen());
    EXPECT_EQ(asked.back().fileName, L"Game one.kvbk");
    ASSERT_TRUE(loop.runUntil([&] { return !finished.empty(); }, 30s));
    loop.runPending();
    EXPECT_EQ(finished.back(), std::make_pair(id14(1), true));
    EXPECT_EQ(row(id14(1)).status(), 0);
    ASSERT_TRUE(std::filesystem::exists(archive));

    writeDiskImage(dataDisk(), "changed", 16);
    answers = {archive};
    ASSERT_TRUE(click(row(id14(1)), L"btnBackupVm"));
    press(L"restoreBtn");
    EXPECT_EQ(asked.back().folder, players.line(KV_PRODUCT_14).installFolder()) << "starts in the line's folder";
    EXPECT_EQ(finished.back(), std::make_pair(id14(1), true));
    EXPECT_EQ(readFile(dataDisk()).substr(0, 13), "original data");
    EXPECT_EQ(row(id14(1)).status(), 0);
    EXPECT_EQ(frame->currentBox(), nullptr) << "success is not announced";

    answers = {};
    ASSERT_TRUE(click(row(id14(1)), L"btnBackupVm"));
    press(L"backupBtn");
    EXPECT_EQ(asked.back().folder, archive.parent_path()) << "the next backup starts where the last one went";
    EXPECT_TRUE(dialog().isOpen()) << "a cancelled dialog leaves the window open";
}

TEST_F(BackupRestoreWindowTest, FailuresAreShownAndTheRowComesBack) {
    const struct {
        const wchar_t* button;
        std::filesystem::path file;
        const wchar_t* text;
    } cases[] = {
        {L"backupBtn", program.path() / "upper.KVBK", L"multiplay_backup_failed"},
        {L"restoreBtn", program.path() / "missing.kvbk", L"multiplay_restore_failed"},
    };
    for (const auto& c : cases) {
        answers = {c.file};
        ASSERT_TRUE(click(row(id14(1)), L"btnBackupVm"));
        press(c.button);
        EXPECT_FALSE(finished.back().second) << c.text;
        EXPECT_EQ(row(id14(1)).status(), 0) << c.text;
        EXPECT_EQ(boxText(), c.text);
        ASSERT_TRUE(pressBoxButton(1));
    }
    EXPECT_EQ(readFile(dataDisk()).substr(0, 13), "original data");
}

TEST_F(BackupRestoreWindowTest, TheRowShowsTheArchiversProgressFromItsFirstReportOn) {
    KVMultiMainItem& r = row(id14(1));
    r.setStatus(5);
    auto* bar = r.part<ui::Progress>(L"progressbar");
    EXPECT_FALSE(bar->visible()) << "no bar before the first report";
    model.events().archiveProgress.emit(id14(1), 37);
    EXPECT_TRUE(bar->visible());
    EXPECT_EQ(bar->value(), 37);
    r.setStatus(0);
    EXPECT_FALSE(bar->visible());
    model.events().archiveProgress.emit(id14(1), 50);
    EXPECT_FALSE(bar->visible()) << "a late report does not bring it back";
}

TEST_F(BackupRestoreWindowTest, TheCompressionChoiceIsWrittenToEveryInstalledLineAndTheManager) {
    ASSERT_TRUE(click(row(id14(1)), L"btnBackupVm"));
    ASSERT_TRUE(host.click(dialog(), L"useCompressOpt"));
    for (KV_PRODUCT_TYPE line : {KV_PRODUCT_14, KV_PRODUCT_9, KV_PRODUCT_71_32}) {
        common::GlobalSettings file;
        file.load(players.line(line).installFolder());
        EXPECT_TRUE(file.get(common::settings::backupWithCompression)) << line;
    }
    common::GlobalSettings own;
    own.load(program.path());
    EXPECT_TRUE(own.get(common::settings::backupWithCompression));
    dialog().close();
    ASSERT_TRUE(click(row(id14(1)), L"btnBackupVm"));
    EXPECT_TRUE(dialog().find<ui::Option>(L"useCompressOpt")->selected()) << "opens with the stored choice";
}

} // namespace
