// Colours, image attributes and inline markup of the skin.

#include <gtest/gtest.h>

#include "toolkit/Color.h"
#include "toolkit/ImageSpec.h"
#include "toolkit/Markup.h"

using namespace ui;

TEST(ToolkitColor, ReadsHashAndHexPrefixedArgbAndSixDigitsAsOpaque) {
    EXPECT_EQ(parseColor(L"#FF2EE5A8"), 0xFF2EE5A8u);
    EXPECT_EQ(parseColor(L"0x80ffdd00"), 0x80FFDD00u);
    EXPECT_EQ(parseColor(L"ffdd00"), 0xFFFFDD00u);
    EXPECT_EQ(parseColor(L"#FFFFFF"), 0xFFFFFFFFu);
    for (const auto* bad : {L"", L"#", L"#FFF", L"0xFFGG0000", L"#FF2EE5A8FF", L"red"})
        EXPECT_FALSE(parseColor(bad)) << bad;
}

TEST(ToolkitImageSpec, ParsesFileDestCornerAndNormalisesSeparators) {
    const ImageSpec spec = parseImageSpec(L"file='common14\\bg_corner_8000_white_alpha_3.png' corner='9,9,9,9'");
    EXPECT_EQ(spec.file, L"common14/bg_corner_8000_white_alpha_3.png");
    EXPECT_EQ(spec.corner, (Edges{9, 9, 9, 9}));
    EXPECT_FALSE(spec.dest);

    const ImageSpec sort = parseImageSpec(L"file='multiplayer_all\\\\sort.png' dest='4,4,28,28'");
    EXPECT_EQ(sort.file, L"multiplayer_all/sort.png");
    EXPECT_EQ(sort.dest, (Rect{4, 4, 28, 28}));

    EXPECT_EQ(parseImageSpec(L"common14\\bg.png").file, L"common14/bg.png");
    EXPECT_EQ(parseImageSpec(L"file=\"a.png\" source='0,0,10,10' fade='300' hole='true'").fade, 255);
}

TEST(ToolkitImageSpec, MalformedPartsAreDroppedNotGuessed) {
    const ImageSpec spec = parseImageSpec(L"file='a.png' dest='1,2,3' corner='-1,0,0,0'");
    EXPECT_EQ(spec.file, L"a.png");
    EXPECT_FALSE(spec.dest);
    EXPECT_EQ(spec.corner, Edges{});
    EXPECT_EQ(parseImageSpec(L"file='never closed").file, L"");
    EXPECT_FALSE(parseRect(L"1,2,3,4,5"));
    EXPECT_FALSE(parseRect(L"1,,3,4"));
}

TEST(ToolkitMarkup, ColourTagsSplitTheTextIntoRuns) {
    const auto runs = parseMarkup(L"Pla<c ffdd00>yer</c> 3");
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0], (TextRun{L"Pla", std::nullopt, false}));
    EXPECT_EQ(runs[1], (TextRun{L"yer", 0xFFFFDD00u, false}));
    EXPECT_EQ(runs[2], (TextRun{L" 3", std::nullopt, false}));
    EXPECT_EQ(plainText(runs), L"Player 3");
}

TEST(ToolkitMarkup, SelectedAndColourNest) {
    const auto runs = parseMarkup(L"<s><c #FFFFFF>Ctrl + A</c></s>");
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0], (TextRun{L"Ctrl + A", 0xFFFFFFFFu, true}));

    const auto mixed = parseMarkup(L"<s>a<c 00ff00>b</c>c</s>d");
    ASSERT_EQ(mixed.size(), 4u);
    EXPECT_TRUE(mixed[1].selected);
    EXPECT_EQ(mixed[1].color, 0xFF00FF00u);
    EXPECT_EQ(mixed[2], (TextRun{L"c", std::nullopt, true}));
    EXPECT_EQ(mixed[3], (TextRun{L"d", std::nullopt, false}));
}

TEST(ToolkitMarkup, UnknownTagsStayTextStrayClosersVanishUnclosedTagsRunToTheEnd) {
    EXPECT_EQ(plainText(parseMarkup(L"a < b <x>y</x>")), L"a < b <x>y</x>");
    EXPECT_EQ(plainText(parseMarkup(L"a</c>b</s>")), L"ab");
    EXPECT_EQ(plainText(parseMarkup(L"<c nothex>x</c>")), L"<c nothex>x");
    const auto open = parseMarkup(L"x<c ff0000>red to the end");
    ASSERT_EQ(open.size(), 2u);
    EXPECT_EQ(open[1].color, 0xFFFF0000u);
    EXPECT_TRUE(parseMarkup(L"").empty());
}
