#include "ui/groupcontrol/KVGroupControlSetuup.h"

#include <gtest/gtest.h>

#include "support/ShippedSkin.h"
#include "support/TempDir.h"
#include "toolkit/Button.h"

using groupcontrol::KVGroupControlSetuup;
namespace keys = common::settings;

namespace {

// The dialog over a settings file of its own, built from the shipped skin.
class GroupControlSetupTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings.load(dir.path());
        ASSERT_TRUE(dialog.create(factory, testing_support::shippedSkin(KVGroupControlSetuup::kSkinFile)));
        dialog.window().resize(dialog.window().scaledInitialSize());
    }
    // The settings as another program wrote them, then the dialog opened.
    void openWith(const std::function<void(common::GlobalSettings&)>& write) {
        common::GlobalSettings other;
        other.load(dir.path());
        write(other);
        ASSERT_TRUE(other.save());
        dialog.open();
    }
    bool selected(std::wstring_view name) { return dialog.window().find<ui::Option>(name)->selected(); }
    ui::Control& control(std::wstring_view name) { return *dialog.window().findControl(name); }
    void click(std::wstring_view name) {
        dialog.window().layout();
        const ui::Rect r = control(name).rect();
        const ui::Point centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        dialog.window().mouseDown(centre, ui::MouseButton::Left);
        dialog.window().mouseUp(centre, ui::MouseButton::Left);
    }

    testing_support::TempDir dir;
    common::GlobalSettings settings;
    ui::ControlFactory factory;
    int saved = 0;
    KVGroupControlSetuup dialog{settings, [this] { ++saved; }};
};

} // namespace

TEST_F(GroupControlSetupTest, AnEmptyStoreShowsNothingCheckedAndAutomaticColumns) {
    dialog.open();
    for (const wchar_t* box : {L"hideOffLineOption", L"savePosOption", L"closeNoiceOption"})
        EXPECT_FALSE(selected(box)) << testing::PrintToString(std::wstring(box));
    EXPECT_TRUE(selected(L"autoSortOption"));
    EXPECT_FALSE(selected(L"sizeSortOption"));
    EXPECT_FALSE(control(L"sortNumberEdit").enabled());
    EXPECT_EQ(control(L"sortNumberEdit").text(), L"4");
}

TEST_F(GroupControlSetupTest, StoredValuesAreShownByTheirRules) {
    openWith([](common::GlobalSettings& s) {
        s.set(keys::groupcontrolHideOffLinePlayer, true);
        s.set(keys::groupcontrolCloseNoice, false);
        s.set(keys::groupAutoSort, false);
        s.set(keys::groupSortNumber, 6);
    });
    EXPECT_TRUE(selected(L"hideOffLineOption"));
    EXPECT_FALSE(selected(L"savePosOption"));
    EXPECT_TRUE(selected(L"closeNoiceOption")) << "stored false: close without asking";
    EXPECT_TRUE(selected(L"sizeSortOption"));
    EXPECT_TRUE(control(L"sortNumberEdit").enabled());
    EXPECT_EQ(control(L"sortNumberEdit").text(), L"6");

    click(L"autoSortOption");
    EXPECT_FALSE(control(L"sortNumberEdit").enabled());
    click(L"sizeSortOption");
    EXPECT_TRUE(control(L"sortNumberEdit").enabled());
}

TEST_F(GroupControlSetupTest, SavingStoresTheBoxesAndOnlyADecimalColumnCount) {
    const struct {
        const wchar_t* text;
        int stored;
    } cases[] = {{L"12a", 4}, {L"", 4}, {L"-3", 4}, {L"12", 12}, {L"007", 7}};
    for (const auto& c : cases) {
        openWith([](common::GlobalSettings& s) {
            s.set(keys::groupSortNumber, 4);
            s.set(keys::groupcontrolCloseNoice, true);
        });
        click(L"sizeSortOption");
        click(L"closeNoiceOption");
        control(L"sortNumberEdit").setText(c.text);
        click(L"saveBtn");
        common::GlobalSettings reread;
        reread.load(dir.path());
        EXPECT_EQ(reread.get(keys::groupSortNumber), c.stored) << testing::PrintToString(std::wstring(c.text));
        EXPECT_FALSE(reread.get(keys::groupAutoSort));
        EXPECT_FALSE(reread.get(keys::groupcontrolCloseNoice)) << "checked: stored as false";
        EXPECT_TRUE(reread.document()->has(keys::groupcontrolHideOffLinePlayer.name));
    }
    EXPECT_EQ(saved, 5) << "every save reaches the frames";
}
