#include "support/WindowCapture_win.h"

#include <cstring>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb/stb_image_write.h>

namespace testing_support {

ui::Bitmap captureClient(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    ui::Bitmap out{r.right, r.bottom, std::vector<std::uint32_t>(static_cast<std::size_t>(r.right) * r.bottom)};
    HDC windowDc = GetDC(hwnd);
    HDC dc = CreateCompatibleDC(windowDc);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), r.right, -r.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(dc, dib);
    BitBlt(dc, 0, 0, r.right, r.bottom, windowDc, 0, 0, SRCCOPY);
    GdiFlush();
    std::memcpy(out.pixels.data(), bits, out.pixels.size() * 4);
    SelectObject(dc, old);
    DeleteObject(dib);
    DeleteDC(dc);
    ReleaseDC(hwnd, windowDc);
    return out;
}

bool savePng(const ui::Bitmap& bitmap, const std::filesystem::path& file) {
    std::vector<unsigned char> rgba(bitmap.pixels.size() * 4);
    for (std::size_t i = 0; i < bitmap.pixels.size(); ++i) {
        const std::uint32_t p = bitmap.pixels[i];
        rgba[i * 4] = static_cast<unsigned char>(p >> 16);
        rgba[i * 4 + 1] = static_cast<unsigned char>(p >> 8);
        rgba[i * 4 + 2] = static_cast<unsigned char>(p);
        rgba[i * 4 + 3] = 255; // the screen has no alpha
    }
    return stbi_write_png(file.string().c_str(), bitmap.width, bitmap.height, 4, rgba.data(), bitmap.width * 4) != 0;
}

} // namespace testing_support
