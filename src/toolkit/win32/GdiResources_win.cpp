#include "toolkit/win32/GdiResources_win.h"

#include <cstring>

#include "platform/win32/system/Win32Check_win.h"
#include "toolkit/DisplaySettings.h"

namespace ui::win32 {

namespace {

// The skins' face when a window names none.
constexpr const wchar_t* kDefaultFace = L"Roboto";
constexpr int kDefaultSize = 12;

HBITMAP createDib(const Bitmap& image) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height; // top-down, like the decoded rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!KV_WIN32_CHECK(bitmap && bits)) return nullptr;
    std::memcpy(bits, image.pixels.data(), image.pixels.size() * sizeof(std::uint32_t));
    return bitmap;
}

} // namespace

GdiImages::~GdiImages() {
    for (auto& [name, entry] : m_bitmaps)
        if (entry.bitmap) DeleteObject(entry.bitmap);
}

HBITMAP GdiImages::get(std::wstring_view file, Size& size) {
    auto it = m_bitmaps.find(file);
    if (it == m_bitmaps.end()) {
        Entry entry;
        if (const Bitmap* image = m_resources.image(file)) {
            entry.bitmap = createDib(*image);
            entry.size = {image->width, image->height};
        }
        it = m_bitmaps.emplace(std::wstring(file), entry).first;
    }
    size = it->second.size;
    return it->second.bitmap;
}

GdiFonts::GdiFonts(const Window& window) : m_window(window), m_measureDc(CreateCompatibleDC(nullptr)) {}

GdiFonts::~GdiFonts() {
    for (auto& [key, font] : m_fonts) DeleteObject(font);
    if (m_measureDc) DeleteDC(m_measureDc);
}

HFONT GdiFonts::get(int id, double scale) {
    const FontSpec* spec = m_window.font(id);
    // The language's face wins: it is the one that carries the language's script.
    const std::wstring face = !languageFace().empty()       ? languageFace()
                              : spec && !spec->face.empty() ? spec->face
                                                            : kDefaultFace;
    // Skin font sizes are pixel heights at scale 1.
    const int height = scaled(spec ? spec->size : kDefaultSize, scale);
    const bool bold = spec && spec->bold;
    const bool underline = spec && spec->underline;
    const auto key = std::make_tuple(face, height, bold, underline);
    if (const auto it = m_fonts.find(key); it != m_fonts.end()) return it->second;
    HFONT font = CreateFontW(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, underline, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, face.c_str());
    if (!KV_WIN32_CHECK(font)) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    m_fonts.emplace(key, font);
    return font;
}

Size GdiFonts::measure(std::wstring_view text, int font, double scale) const {
    auto* self = const_cast<GdiFonts*>(this); // the cache fills on first use
    const HGDIOBJ old = SelectObject(m_measureDc, self->get(font, scale));
    SIZE size{};
    GetTextExtentPoint32W(m_measureDc, text.data(), static_cast<int>(text.size()), &size);
    SelectObject(m_measureDc, old);
    return {size.cx, size.cy};
}

} // namespace ui::win32
