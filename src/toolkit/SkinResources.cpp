#include "toolkit/SkinResources.h"

#include <fstream>
#include <iterator>

#include "core/log/Log.h"
#include "core/text/Utf.h"
#include "toolkit/ImageSpec.h"

namespace ui {

namespace {

// Skin files are small; anything larger is not one of ours.
constexpr std::uintmax_t kMaxSkinFileBytes = 32ull * 1024 * 1024;

// A skin name must stay inside the skin folder.
bool isSafeName(std::wstring_view name) {
    if (name.empty() || name.front() == L'/' || name.find(L':') != std::wstring_view::npos) return false;
    std::size_t start = 0;
    while (start <= name.size()) {
        const auto end = std::min(name.find(L'/', start), name.size());
        if (name.substr(start, end - start) == L"..") return false;
        start = end + 1;
    }
    return true;
}

} // namespace

SkinResources::SkinResources(std::filesystem::path skinFolder, const common::rcc::ResourcePack* pack)
    : m_folder(std::move(skinFolder)), m_pack(pack) {}

std::optional<std::string> SkinResources::read(std::wstring_view rawName) const {
    const std::wstring name = normalizeImageName(rawName);
    if (!isSafeName(name)) {
        KVLOG(L"skin name refused: %s", name);
        return std::nullopt;
    }
    const std::string utf8 = common::text::toUtf8(name);
    if (!m_folder.empty()) {
        const std::filesystem::path file = m_folder / std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
        std::error_code ec;
        const auto size = std::filesystem::file_size(file, ec);
        if (!ec && size <= kMaxSkinFileBytes) {
            std::ifstream in(file, std::ios::binary);
            std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            if (in.good() || in.eof()) return bytes;
        }
    }
    if (m_pack) {
        if (const auto entry = m_pack->entry("skin/" + utf8)) return std::string(*entry);
    }
    return std::nullopt;
}

const Bitmap* SkinResources::image(std::wstring_view rawName) {
    const std::wstring name = normalizeImageName(rawName);
    auto it = m_images.find(name);
    if (it == m_images.end()) {
        std::optional<Bitmap> bitmap;
        if (const auto bytes = read(name)) bitmap = decodeImage(*bytes);
        if (!bitmap) KVLOG(L"skin image %s not available", name);
        it = m_images.emplace(name, std::move(bitmap)).first;
    }
    return it->second ? &*it->second : nullptr;
}

} // namespace ui
