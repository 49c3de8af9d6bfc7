#include "toolkit/ImageDecoder.h"

#include <climits>

#include "core/log/Log.h"

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_NO_STDIO
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
#define STBI_MAX_DIMENSIONS 8192
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#pragma GCC diagnostic ignored "-Wshadow"
#pragma GCC diagnostic ignored "-Wpedantic"
#endif
#include <stb/stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace ui {

std::optional<Bitmap> decodeImage(std::string_view bytes) {
    if (bytes.empty() || bytes.size() > static_cast<std::size_t>(INT_MAX)) {
        KVLOG(L"image of %u bytes not decoded", static_cast<unsigned>(std::min<std::size_t>(bytes.size(), UINT_MAX)));
        return std::nullopt;
    }
    int width = 0;
    int height = 0;
    int channels = 0;
    stbi_uc* rgba = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()),
                                          static_cast<int>(bytes.size()), &width, &height, &channels, 4);
    if (!rgba) {
        KVLOG(L"image not decoded: %S", stbi_failure_reason());
        return std::nullopt;
    }
    Bitmap bitmap;
    if (width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide) {
        bitmap.width = width;
        bitmap.height = height;
        bitmap.pixels.resize(static_cast<std::size_t>(width) * height);
        for (std::size_t i = 0; i < bitmap.pixels.size(); ++i) {
            const stbi_uc* p = rgba + i * 4;
            bitmap.pixels[i] = premultiply(p[0], p[1], p[2], p[3]);
        }
    }
    stbi_image_free(rgba);
    if (bitmap.pixels.empty()) return std::nullopt;
    return bitmap;
}

} // namespace ui
