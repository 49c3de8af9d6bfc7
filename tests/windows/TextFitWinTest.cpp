// The texts of the main window, its dialogs and the message boxes they show fit their controls in English and in
// Chinese at display scales 1 and 1.5. The windows are the real ones (the shipped skins from the resource
// pack, the main window over a model of stand-in lines, its rows in every status), laid out as the program
// lays them out and measured with the fonts the program draws with: the language's face through GDI, the
// program's private Roboto added as at start-up. Only Windows (here Wine) measures with real fonts, so this
// check cannot run natively.

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "WinTestMain.h"
#include "core/dispatch/EventLoop.h"
#include "core/lang/LanguageProfile.h"
#include "core/lang/LanguageStrings.h"
#include "core/lang/LanguageTable.h"
#include "core/resources/ResourcePack.h"
#include "core/storage/InstanceKeys.h"
#include "support/FakeDockDesktop.h"
#include "support/ModelWorld.h"
#include "support/StandInHarness_win.h"
#include "toolkit/DisplaySettings.h"
#include "toolkit/HeadlessHost.h"
#include "toolkit/MessageBox.h"
#include "toolkit/SkinResources.h"
#include "toolkit/TextFit.h"
#include "toolkit/win32/GdiResources_win.h"
#include "ui/groupcontrol/KVGroupControlFrame.h"
#include "ui/groupcontrol/KVGroupControlSetuup.h"
#include "ui/main/KVAddPlayerFrame.h"
#include "ui/main/KVCopyPlayerFrame.h"
#include "ui/main/KVMultiMainFrame.h"
#include "ui/main/RowLook.h"
#include "ui/settings/PlayerSettingWindow.h"
#include "ui/settings/RQFSMoreFrame.h"
#include "ui/setup/MultiBackupRestoreWindow.h"
#include "ui/setup/MultiOtherSetupFrame.h"
#include "ui/setup/MultiSetupFrame.h"

using namespace mainui;

namespace {

constexpr const wchar_t* kLanguages[] = {L"en_US", L"zh_CN"};
constexpr double kScales[] = {1.0, 1.5};
// Every status a row can show, the model's and the row's own.
constexpr int kStatuses[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, kRowCopyFailed};
// The message boxes of the main window: its confirmations and notices by text key.
constexpr const wchar_t* kConfirmations[] = {L"multiplay_quit_player_notice", L"multi_exit_copying",
                                             L"multi_exit_downoading", L"multi_exit_installing",
                                             L"multiplay_setup_disk_set_stable_tip"};
constexpr const wchar_t* kNotices[] = {L"groupcontrol_close_groupcontrol", L"multiplay_shortcut_created_notice",
                                       L"multi_batch_setup_end", L"multiplay_backup_failed",
                                       L"multiplay_restore_failed"};

std::string narrow(const std::wstring& text) {
    std::string out;
    const int n =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    out.resize(static_cast<std::size_t>(n));
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

class TextFitWin : public testing::Test, protected testing_support::ModelWorld {
protected:
    common::EventLoop loop;
    common::Dispatcher dispatcher{loop};
    common::rcc::ResourcePack pack;
    std::filesystem::path fontFile;
    std::string table;
    std::unique_ptr<KVMultiModel> model;
    ui::HeadlessHost host;
    std::ostringstream overflows;

    void SetUp() override {
        ASSERT_GE(testArguments().size(), 1u) << "pass the resource pack";
        const std::filesystem::path packFile = testing_support::windowsPathOf(testArguments()[0]);
        ASSERT_TRUE(pack.open(packFile));
        table = pack.entry("multi_language.tsv").value_or("");
        ASSERT_FALSE(table.empty());
        // As at start-up: Roboto from the program's fonts folder, for this process only.
        fontFile = packFile.parent_path() / "fonts" / "Roboto-Regular.otf";
        ASSERT_GT(AddFontResourceExW(fontFile.c_str(), FR_PRIVATE, nullptr), 0) << fontFile.string();

        common::dispatch::install(&dispatcher);
        install(KV_PRODUCT_14, L"player14", L"14.0.0.1");
        install(KV_PRODUCT_9, L"player9", L"9.0.0.1");
        install(KV_PRODUCT_71_32, L"player5", L"5.0.12.0");
        // The widest details a row shows in practice: two-digit cores, five-digit megabytes, a tall screen.
        addInstance(KV_PRODUCT_14, 0, L"demo 0", 2, 2048, 1280, 720, 240);
        addInstance(KV_PRODUCT_14, 1, L"Farm account 12", 16, 16384, 1920, 1080, 320);
        // and the widest disk size: one byte short of 1 GiB shows as "1024MB" (a sparse file, no disk space)
        std::filesystem::resize_file(makeFile(players.line(KV_PRODUCT_14).instanceFolder(1) / "data.vdi"),
                                     (1ull << 30) - 1);
        model = std::make_unique<KVMultiModel>(players, sources, desktop, windows, program.path());
        std::wstring a, b, c, d, e;
        model->getPlayerPath(a, b, c, d, e);
        players.own().init(program.path());
    }
    void TearDown() override {
        if (model) model->shutdown();
        common::dispatch::uninstall();
        ui::setLanguageFace(L"");
        common::lang::setLanguageStrings({});
        RemoveFontResourceExW(fontFile.c_str(), FR_PRIVATE, nullptr);
    }

    void addInstance(KV_PRODUCT_TYPE line, int index, const std::wstring& name, int cpus, int memory, int width,
                     int height, int dpi) {
        ModelWorld::addInstance(line, index, name);
        common::ConfigDocument doc;
        doc.load(players.line(line).configPath(index));
        doc.setInt(common::keys::kCpuCount, cpus);
        doc.setInt(common::keys::kMemorySize, memory);
        doc.setResolution(width, height);
        doc.setInt(common::keys::kResolutionDpi, dpi);
        ASSERT_TRUE(doc.save());
    }

    static std::filesystem::path makeFile(const std::filesystem::path& file) {
        std::ofstream{file};
        return file;
    }

    void selectLanguage(const wchar_t* code) {
        common::lang::setLanguageStrings(common::lang::parseLanguageTable(table, code));
        const auto* profile = common::lang::findLanguageProfile(code);
        ui::setLanguageFace(profile ? profile->fontFace : common::lang::defaultLanguageProfile().fontFace);
    }

    // Lays `window` out at `scale` with the real fonts (at its skin size, or `size` in skin pixels) and notes
    // what does not fit.
    void check(ui::Window& window, double scale, const std::string& what, std::optional<ui::Size> size = {}) {
        const ui::win32::GdiFonts fonts(window);
        window.setTextMetrics(&fonts);
        window.setScale(scale);
        const ui::Size skinSize = size.value_or(window.initialSize());
        window.resize({ui::scaled(skinSize.cx, scale), ui::scaled(skinSize.cy, scale)});
        window.layout();
        for (const ui::TextOverflow& o : ui::findTextOverflows(window, fonts))
            overflows << "\n  " << what << " at " << scale << ": " << narrow(o.control->name()) << " \""
                      << narrow(o.text) << "\" needs " << o.needed.cx << "x" << o.needed.cy << ", has "
                      << o.available.cx << "x" << o.available.cy;
        window.setTextMetrics(nullptr);
    }

    void checkBox(msg::MessageBoxWindow& box, double scale, const std::string& what) {
        ui::Window owner;
        ASSERT_TRUE(box.show(owner, host.factory()));
        check(*box.window(), scale, what);
    }
    void checkQuestion(const wchar_t* key, double scale, const std::string& what) {
        msg::MessageBoxWindow box(0, common::lang::lookUpWithFallback(L"prompt"),
                                  common::lang::lookUpWithFallback(key));
        box.addButton(common::lang::lookUpWithFallback(L"cancel"), nullptr);
        box.addButton(common::lang::lookUpWithFallback(L"confirm"), nullptr);
        checkBox(box, scale, what + " box " + narrow(key));
    }
    std::string read(const wchar_t* skin) { return ui::SkinResources({}, &pack).read(skin).value_or(""); }
};

TEST_F(TextFitWin, EveryTextOfTheMainWindowAndItsMessageBoxesFitsInEnglishAndChineseAtScales1And15) {
    ui::SkinResources resources({}, &pack);
    const auto rootSkin = resources.read(KVMultiMainFrame::kSkinFile);
    const auto rowSkin = resources.read(KVMultiMainFrame::kRowSkinFile);
    const auto groupRowSkin = resources.read(KVMultiMainFrame::kGroupRowSkinFile);
    ASSERT_TRUE(rootSkin && rowSkin && groupRowSkin);
    const std::int32_t firstRow = product::encodeInstanceId(KV_PRODUCT_14, 1);

    for (const wchar_t* code : kLanguages) {
        selectLanguage(code);
        const std::string language = narrow(code);
        KVMultiMainFrame frame(*model, players.own().settings(), host.factory(), FrameServices{});
        ASSERT_TRUE(frame.init({*rootSkin, *rowSkin, *groupRowSkin, {}}, std::nullopt));
        KVMultiMainItem* row = frame.findRow(firstRow);
        ASSERT_NE(row, nullptr);
        for (double scale : kScales) {
            for (int status : kStatuses) {
                row->setStatus(status);
                check(frame.window(), scale, language + " main window, widest row in status " + std::to_string(status));
            }
            for (const wchar_t* key : kConfirmations) {
                msg::MessageBoxWindow box(0, common::lang::lookUpWithFallback(L"prompt"),
                                          common::lang::lookUpWithFallback(key));
                box.addButton(common::lang::lookUpWithFallback(L"cancel"), nullptr);
                box.addButton(common::lang::lookUpWithFallback(L"confirm"), nullptr);
                checkBox(box, scale, language + " box " + narrow(key));
            }
            for (const wchar_t* key : kNotices) {
                msg::MessageBoxWindow box(0, common::lang::lookUpWithFallback(L"prompt"),
                                          common::lang::lookUpWithFallback(key));
                box.addButton(common::lang::lookUpWithFallback(L"confirm"), nullptr);
                checkBox(box, scale, language + " box " + narrow(key));
            }
        }
    }
    EXPECT_TRUE(overflows.str().empty()) << "texts that do not fit their controls:" << overflows.str();
}

// Every page of the settings dialog, for one instance and with the apply boxes of the batch mode, its
// questions and the shared-folder size window; the add dialog with everything it can unfold, and the copy
// dialog.
TEST_F(TextFitWin, EveryTextOfTheSettingsAddAndCopyDialogsFitsInEnglishAndChineseAtScales1And15) {
    const std::string settingsSkin = read(common::PlayerSettingWindow::kSkinFile);
    const std::string sizeSkin = read(common::RQFSMoreFrame::kSkinFile);
    const std::string addSkin = read(mainui::KVAddPlayerFrame::kSkinFile);
    const std::string tipSkin = read(L"xml_multimousetip.xml");
    const std::string copySkin = read(mainui::KVCopyPlayerFrame::kSkinFile);
    ASSERT_FALSE(settingsSkin.empty() || sizeSkin.empty() || addSkin.empty() || tipSkin.empty() || copySkin.empty());
    model->reloadPlayerList();
    const std::vector<std::int32_t> one = {product::encodeInstanceId(KV_PRODUCT_14, 1)};
    const std::vector<std::int32_t> two = {one.front(), product::encodeInstanceId(KV_PRODUCT_14, 0)};
    ui::Window owner;
    for (const wchar_t* code : kLanguages) {
        selectLanguage(code);
        const std::string language = narrow(code);
        common::PlayerSettingWindow settings(*model, players, {});
        ASSERT_TRUE(settings.create(host.factory(), settingsSkin));
        mainui::KVCopyPlayerFrame copy(*model, {});
        ASSERT_TRUE(copy.create(host.factory(), copySkin));
        for (double scale : kScales) {
            for (const auto& ids : {one, two}) {
                settings.open(ids, {}, nullptr);
                settings.window().showModal(owner);
                auto* tabs = settings.window().find<ui::TabLayout>(L"maintab");
                ASSERT_NE(tabs, nullptr);
                for (int page = 0; page < 9; ++page) {
                    tabs->selectItem(page);
                    check(settings.window(), scale,
                          language + " settings page " + std::to_string(page) + (ids.size() > 1 ? " (batch)" : ""));
                }
                settings.window().close();
            }
            for (const wchar_t* key : {L"playersetting91_shortcut_restore_tip", L"setting_disk_shared_tip"})
                checkQuestion(key, scale, language + " settings");
            common::RQFSMoreFrame size;
            ASSERT_TRUE(size.show(owner, host.factory(), sizeSkin, 4, nullptr));
            check(size.window(), scale, language + " shared folder size");

            // A new one for each scale: the dialog keeps what was unfolded.
            mainui::KVAddPlayerFrame add(players.own().settings(), {8, 16384}, [](KV_PRODUCT_TYPE) { return true; },
                                         {});
            ASSERT_TRUE(add.create(host.factory(), addSkin, tipSkin));
            add.show(owner, 1);
            check(add.window(), scale, language + " add dialog");
            for (const wchar_t* unfold : {L"advancedOptionsBtn", L"definedResolutionBtn"}) {
                ASSERT_TRUE(host.click(add.window(), unfold)) << narrow(unfold); // laid out by the last check
                add.finishAnimation();
                check(add.window(), scale, language + " add dialog after " + narrow(unfold),
                      ui::Size{add.window().initialSize().cx, add.targetHeight()});
            }
            add.window().close();
            copy.fill(KV_PRODUCT_14, std::nullopt);
            copy.show(owner);
            check(copy.window(), scale, language + " copy dialog");
            copy.window().close();
        }
    }
    EXPECT_TRUE(overflows.str().empty()) << "texts that do not fit their controls:" << overflows.str();
}

// The manager-wide windows, the other settings in both frame modes.
TEST_F(TextFitWin, EveryTextOfTheManagerWideWindowsFits) {
    ui::Window owner;
    ui::SkinResources resources({}, &pack);
    const auto skin = [&](const wchar_t* file) { return resources.read(file).value_or(""); };
    for (const wchar_t* code : kLanguages) {
        selectLanguage(code);
        const std::string language = narrow(code);
        setupui::MultiBackupRestoreWindow backup({});
        ASSERT_TRUE(backup.create(host.factory(), skin(setupui::MultiBackupRestoreWindow::kSkinFile)));
        setupui::MultiSetupFrame setup(players, {});
        ASSERT_TRUE(setup.create(host.factory(), skin(setupui::MultiSetupFrame::kSkinFile)));
        setupui::MultiOtherSetupFrame other(players, {});
        ASSERT_TRUE(other.create(host.factory(), skin(setupui::MultiOtherSetupFrame::kSkinFile)));
        backup.show(owner, false);
        setup.show(owner);
        other.show(owner);
        for (double scale : kScales) {
            check(backup.window(), scale, language + " backup window");
            check(setup.window(), scale, language + " setup dialog");
            check(other.window(), scale, language + " other settings, default frame rate");
        }
        other.window().close();
        players.own().settings().set(common::settings::framesPerSecond, 30);
        other.show(owner);
        for (double scale : kScales) check(other.window(), scale, language + " other settings, lower frame rate");
        players.own().settings().set(common::settings::framesPerSecond, 60);
    }
    EXPECT_TRUE(overflows.str().empty()) << "texts that do not fit their controls:" << overflows.str();
}

TEST_F(TextFitWin, EveryTextOfTheGroupFrameItsSettingsAndItsBoxesFitsInEnglishAndChineseAtScales1And15) {
    ui::SkinResources resources({}, &pack);
    const auto frameSkin = resources.read(groupcontrol::KVGroupControlFrame::kSkinFile);
    const auto tileSkin = resources.read(groupcontrol::KVGroupControlFrame::kTileSkinFile);
    const auto setupSkin = resources.read(groupcontrol::KVGroupControlSetuup::kSkinFile);
    ASSERT_TRUE(frameSkin && tileSkin && setupSkin);
    common::GlobalSettings& settings = players.own().settings();
    for (const wchar_t* code : kLanguages) {
        selectLanguage(code);
        const std::string language = narrow(code);
        for (double scale : kScales) {
            // Tiles in all three looks: docked, moved out (Collect) and stopped (Start with the name).
            testing_support::FakeDockDesktop dockDesktop;
            groupcontrol::KVGroupControlFrame frame(dockDesktop, settings, 4, scale, host.factory(), {});
            ASSERT_TRUE(frame.create(*frameSkin, *tileSkin));
            frame.dock().setFrameWindow(dockDesktop.add({0, 0, 1600, 900}));
            const auto docked = dockDesktop.add({0, 0, 640, 360}), out = dockDesktop.add({0, 0, 640, 360});
            frame.dock().setPlayers(L"Farm account 12", {{0, L"Farm account 12", docked, 1280, 720},
                                                         {1, L"demo 1", out, 1280, 720},
                                                         {2, L"Farm account 13", 0, 1280, 720}});
            frame.dock().playerWantMax(out);
            frame.syncWithDock();
            check(frame.window(), scale, language + " group frame");
            frame.dock().clear();
            frame.syncWithDock();
            check(frame.window(), scale, language + " empty group frame");

            groupcontrol::KVGroupControlSetuup setup(settings, {});
            ASSERT_TRUE(setup.create(host.factory(), *setupSkin));
            setup.open();
            check(setup.window(), scale, language + " group settings");

            const std::pair<const wchar_t*, std::pair<const wchar_t*, const wchar_t*>> boxes[] = {
                {L"groupcontrol_close", {L"groupcontrol_out_player", L"groupcontrol_close_player"}},
                {L"groupcontrol_old_player", {L"groupcontrol_discover", L"groupcontrol_update"}}};
            for (const auto& [text, buttons] : boxes) {
                msg::MessageBoxWindow box(0, common::lang::lookUpWithFallback(L"prompt"),
                                          common::lang::lookUpWithFallback(text));
                box.addButton(common::lang::lookUpWithFallback(buttons.first), nullptr);
                box.addButton(common::lang::lookUpWithFallback(buttons.second), nullptr);
                checkBox(box, scale, language + " box " + narrow(text));
            }
        }
    }
    EXPECT_TRUE(overflows.str().empty()) << "texts that do not fit their controls:" << overflows.str();
}

// Without a Chinese font (a Wine prefix without the face mapping) every Chinese glyph would be drawn as a box
// and measured as one, and the check above would measure nothing real.
TEST_F(TextFitWin, TheChineseFaceHasAGlyphForEveryCharacterOfTheChineseTexts) {
    selectLanguage(L"zh_CN");
    ui::Window window;
    ui::win32::GdiFonts fonts(window);
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    const HGDIOBJ old = SelectObject(dc, fonts.get(-1, 1.0));
    std::wstring missing;
    for (const auto& [key, text] : common::lang::parseLanguageTable(table, L"zh_CN")) {
        std::vector<WORD> glyphs(text.size());
        GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()), glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS);
        for (std::size_t i = 0; i < text.size(); ++i)
            if (glyphs[i] == 0xFFFF && missing.find(text[i]) == std::wstring::npos) missing += text[i];
    }
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    SelectObject(dc, old);
    DeleteDC(dc);
    EXPECT_TRUE(missing.empty()) << "the face \"" << narrow(face) << "\" has no glyph for \"" << narrow(missing)
                                 << "\"";
}

} // namespace
