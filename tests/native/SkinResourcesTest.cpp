// Decoding skin images and finding skin files in the skin folder or the resource pack.

#include <gtest/gtest.h>

#include <fstream>

#include "core/resources/RccWriter.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "toolkit/SkinResources.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb/stb_image_write.h>

using namespace ui;

namespace {

std::string encodePng(int width, int height, const std::vector<unsigned char>& rgba) {
    std::string out;
    stbi_write_png_to_func(
        [](void* context, void* data, int size) {
            static_cast<std::string*>(context)->append(static_cast<const char*>(data), static_cast<std::size_t>(size));
        },
        &out, width, height, 4, rgba.data(), width * 4);
    return out;
}

// Two pixels: half-transparent red, opaque blue.
const std::string kPng = encodePng(2, 1, {255, 0, 0, 128, 0, 0, 255, 255});

} // namespace

TEST(ImageDecoder, GivesPremultipliedBgraRowsTopDown) {
    const auto bitmap = decodeImage(kPng);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->width, 2);
    EXPECT_EQ(bitmap->height, 1);
    EXPECT_EQ(bitmap->at(0, 0), 0x80800000u);
    EXPECT_EQ(bitmap->at(1, 0), 0xFF0000FFu);
}

TEST(ImageDecoder, DamagedBytesGiveNothing) {
    testing_support::LogCapture log;
    EXPECT_FALSE(decodeImage(""));
    EXPECT_FALSE(decodeImage("not an image at all"));
    EXPECT_FALSE(decodeImage(std::string_view(kPng).substr(0, kPng.size() / 2)));
}

TEST(SkinResources, TheSkinFolderWinsOverThePackAndNamesUseEitherSeparator) {
    testing_support::TempDir dir;
    std::filesystem::create_directories(dir / "common9");
    std::ofstream(dir / "common9" / "btn.png", std::ios::binary) << kPng;
    common::rcc::ResourcePack pack;
    ASSERT_TRUE(pack.load(
        *common::rcc::buildPack({{"skin/common9/btn.png", "packed"}, {"skin/xml_menu_mul.xml", "<Window/>"}})));
    SkinResources resources(dir.path(), &pack);
    EXPECT_EQ(resources.read(L"common9\\btn.png"), kPng);
    EXPECT_EQ(resources.read(L"xml_menu_mul.xml"), "<Window/>");
    const Bitmap* image = resources.image(L"common9/btn.png");
    ASSERT_TRUE(image);
    EXPECT_EQ(resources.image(L"common9\\btn.png"), image);
}

TEST(SkinResources, NamesOutsideTheSkinAndMissingImagesGiveNothing) {
    testing_support::LogCapture log;
    testing_support::TempDir dir;
    std::ofstream(dir / "secret.txt") << "x";
    SkinResources resources(dir.path() / "skin", nullptr);
    EXPECT_FALSE(resources.read(L"../secret.txt"));
    EXPECT_FALSE(resources.read(L"a/../../secret.txt"));
    EXPECT_FALSE(resources.read(L"/etc/passwd"));
    EXPECT_EQ(resources.image(L"missing.png"), nullptr);
    EXPECT_EQ(resources.image(L"missing.png"), nullptr);
    int lines = 0;
    for (const auto& line : log.all()) lines += line.message == L"skin image missing.png not available";
    EXPECT_EQ(lines, 1);
}
