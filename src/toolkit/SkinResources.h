#pragma once
// Where skins and their images come from: the skin folder "skin" beside the program first (so a designer can
// try a file without rebuilding), then the resource pack's entry "skin/<name>". Decoded images are kept,
// one bitmap per name, for the life of the store; a name that cannot be loaded is logged once and then
// answered with nothing.

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "core/resources/ResourcePack.h"
#include "toolkit/ImageDecoder.h"

namespace ui {

class SkinResources {
public:
    // `pack` may be null; it must outlive the store.
    SkinResources(std::filesystem::path skinFolder, const common::rcc::ResourcePack* pack);

    // The bytes of a skin file by its skin name ("common9\btn.png" and "common9/btn.png" are one file).
    std::optional<std::string> read(std::wstring_view name) const;
    const Bitmap* image(std::wstring_view name);

private:
    std::filesystem::path m_folder;
    const common::rcc::ResourcePack* m_pack;
    std::map<std::wstring, std::optional<Bitmap>, std::less<>> m_images;
};

} // namespace ui
