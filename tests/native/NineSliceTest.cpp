// The 9-slice placement of skin images.

#include <gtest/gtest.h>

#include "toolkit/NineSlice.h"

using namespace ui;

TEST(NineSlice, CornersStayWhileEdgesAndCentreStretch) {
    ImageSpec spec;
    spec.file = L"bg.png";
    spec.corner = {9, 9, 9, 9};
    const auto parts = nineSlice(spec, {30, 30}, {100, 50, 300, 150}, 1.0);
    ASSERT_EQ(parts.size(), 9u);
    EXPECT_EQ(parts[0], (SlicePart{{0, 0, 9, 9}, {100, 50, 109, 59}}));
    EXPECT_EQ(parts[4], (SlicePart{{9, 9, 21, 21}, {109, 59, 291, 141}}));
    EXPECT_EQ(parts[8], (SlicePart{{21, 21, 30, 30}, {291, 141, 300, 150}}));
}

TEST(NineSlice, ScaleWidensDestinationCornersButNotSourceOnes) {
    ImageSpec spec;
    spec.file = L"bg.png";
    spec.corner = {10, 10, 10, 10};
    const auto parts = nineSlice(spec, {40, 40}, {0, 0, 200, 100}, 1.5);
    ASSERT_EQ(parts.size(), 9u);
    EXPECT_EQ(parts[0].source, (Rect{0, 0, 10, 10}));
    EXPECT_EQ(parts[0].dest, (Rect{0, 0, 15, 15}));
    EXPECT_EQ(parts[8].dest, (Rect{185, 85, 200, 100}));
}

TEST(NineSlice, DestIsRelativeToTheControlAndScaled) {
    const ImageSpec spec = parseImageSpec(L"file='multiplayer_all\\sort.png' dest='4,4,28,28'");
    const auto parts = nineSlice(spec, {24, 24}, {100, 10, 132, 42}, 2.0);
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_EQ(parts[0], (SlicePart{{0, 0, 24, 24}, {108, 18, 156, 66}}));
}

TEST(NineSlice, CornersShrinkInProportionWhenTheControlIsSmaller) {
    ImageSpec spec;
    spec.file = L"bg.png";
    spec.corner = {20, 0, 10, 0};
    const auto parts = nineSlice(spec, {40, 10}, {0, 0, 15, 10}, 1.0);
    // 20:10 kept in 15 pixels: 10 and 5, nothing left for the middle.
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0].dest, (Rect{0, 0, 10, 10}));
    EXPECT_EQ(parts[1].dest, (Rect{10, 0, 15, 10}));
}

TEST(NineSlice, SourcePartHoleAndEmptyInputs) {
    ImageSpec spec = parseImageSpec(L"file='a.png' source='10,0,30,20' corner='5,5,5,5' hole='true'");
    const auto parts = nineSlice(spec, {40, 20}, {0, 0, 100, 100}, 1.0);
    EXPECT_EQ(parts.size(), 8u);
    EXPECT_EQ(parts[0].source, (Rect{10, 0, 15, 5}));
    EXPECT_TRUE(nineSlice(spec, {0, 0}, {0, 0, 100, 100}, 1.0).empty());
    EXPECT_TRUE(nineSlice(spec, {40, 20}, {0, 0, 0, 100}, 1.0).empty());
}
