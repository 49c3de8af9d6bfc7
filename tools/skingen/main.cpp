// skingen: draws the dark theme's images at build time (skin/<folder>/<name>.png), so the program ships only
// pictures made from this source.
//
//   skingen <output folder>
//
// Colours follow the row states: green running text, yellow busy text, red failure text, grey idle text.
// Every file is written through a temporary file; "<output folder>.stamp" is written last, so the build
// reruns the tool when a run stopped half-way.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "Canvas.h"

namespace fs = std::filesystem;
using skingen::argb;
using skingen::Canvas;
using skingen::Rgba;

namespace {

// The palette.
const Rgba kBackground = argb(0xFF1B1C21);
const Rgba kSurface = argb(0xFF24252B);
const Rgba kRaised = argb(0xFF2C2D34);
const Rgba kHover = argb(0xFF33343B);
const Rgba kBorder = argb(0xFF3A3B43);
const Rgba kBorderHot = argb(0xFF5A5B66);
const Rgba kRunning = argb(0xFF2EE5A8);
const Rgba kRunningDark = argb(0xFF1FAF80);
const Rgba kRunningDeep = argb(0xFF199970);
const Rgba kBusy = argb(0xFFFFDD00);
const Rgba kFailure = argb(0xFFFF8686);
const Rgba kStop = argb(0xFFE5484D);
const Rgba kIdle = argb(0xFFBFBFC3);
const Rgba kWhite = argb(0xFFFFFFFF);
const Rgba kThumb = argb(0x66FFFFFF);

class Theme {
public:
    explicit Theme(fs::path root) : m_root(std::move(root)) {}

    void draw(const std::string& name, int w, int h, const std::function<void(Canvas&)>& painter) {
        Canvas canvas(w, h);
        painter(canvas);
        const fs::path file = m_root / name;
        std::error_code ec;
        fs::create_directories(file.parent_path(), ec);
        const bool jpg = file.extension() == ".jpg";
        if (!(jpg ? canvas.saveJpg(file.string()) : canvas.savePng(file.string()))) {
            std::cerr << "skingen: cannot write " << file << "\n";
            m_ok = false;
        }
    }
    bool ok() const { return m_ok; }

private:
    fs::path m_root;
    bool m_ok = true;
};

void check(Canvas& c, float s, Rgba color) {
    c.line(s * 0.22f, s * 0.52f, s * 0.42f, s * 0.72f, s * 0.13f, color);
    c.line(s * 0.42f, s * 0.72f, s * 0.78f, s * 0.32f, s * 0.13f, color);
}

void cross(Canvas& c, float s, float inset, float thickness, Rgba color) {
    c.line(inset, inset, s - inset, s - inset, thickness, color);
    c.line(s - inset, inset, inset, s - inset, thickness, color);
}

void downArrow(Canvas& c, float s, Rgba color) {
    c.line(s / 2, s * 0.2f, s / 2, s * 0.62f, s * 0.12f, color);
    c.triangle(s * 0.28f, s * 0.52f, s * 0.72f, s * 0.52f, s / 2, s * 0.8f, color);
}

// A round state button: background by state, a glyph on top.
void roundButtons(Theme& t, const std::string& stem, Rgba normal, Rgba hover, Rgba pushed,
                  const std::function<void(Canvas&)>& glyph) {
    const std::pair<const char*, Rgba> states[] = {{"normal", normal}, {"hover", hover}, {"pushed", pushed}};
    for (const auto& [state, color] : states) {
        t.draw("multiplayer_all/" + stem + "_" + state + ".png", 28, 28, [&](Canvas& c) {
            c.disc(14, 14, 13, color);
            glyph(c);
        });
    }
}

void buttons(Theme& t) {
    const std::pair<const char*, Rgba> plain[] = {{"normal", kBorder}, {"hover", kBorderHot}, {"pushed", kRaised}};
    const std::pair<const char*, Rgba> accent[] = {
        {"normal", kRunningDark}, {"hover", kRunning}, {"pushed", kRunningDeep}};
    for (const auto& [state, color] : plain)
        t.draw(std::string("common9/btn_") + state + ".png", 24, 24,
               [&](Canvas& c) { c.roundRect(0, 0, 24, 24, 6, color); });
    for (const auto& [state, color] : accent)
        t.draw(std::string("common9/btn_accent_") + state + ".png", 24, 24,
               [&](Canvas& c) { c.roundRect(0, 0, 24, 24, 6, color); });

    roundButtons(t, "start", kRunningDark, kRunning, kRunningDeep,
                 [](Canvas& c) { c.triangle(11, 8, 11, 20, 20, 14, kWhite); });
    roundButtons(t, "quit", argb(0xFFC23B40), kStop, argb(0xFF9E2F33),
                 [](Canvas& c) { c.roundRect(9, 9, 19, 19, 1.5f, kWhite); });
    roundButtons(t, "install", kRunningDark, kRunning, kRunningDeep, [](Canvas& c) {
        c.line(14, 7, 14, 17, 2.4f, kWhite);
        c.triangle(9, 14, 19, 14, 14, 20, kWhite);
    });
    roundButtons(t, "retry_download", argb(0xFFC9AE00), kBusy, argb(0xFFA08A00), [](Canvas& c) {
        c.ring(14, 14, 6.5f, 2.2f, kBackground);
        c.triangle(17, 5, 23, 9, 17, 12, kBackground);
    });
}

void checks(Theme& t) {
    t.draw("common9/checkbox_normal.png", 16, 16, [](Canvas& c) { c.roundFrame(1, 1, 15, 15, 3, 1.2f, kIdle); });
    t.draw("common9/checkbox_hover.png", 16, 16, [](Canvas& c) { c.roundFrame(1, 1, 15, 15, 3, 1.2f, kRunning); });
    t.draw("common9/checkbox_selected.png", 16, 16, [](Canvas& c) {
        c.roundRect(1, 1, 15, 15, 3, kRunning);
        check(c, 16, kBackground);
    });
    t.draw("common9/checkbox_part_selected_normal.png", 16, 16, [](Canvas& c) {
        c.roundRect(1, 1, 15, 15, 3, kRunning);
        c.line(4.5f, 8, 11.5f, 8, 2, kBackground);
    });
    t.draw("common9/radio_normal.png", 16, 16, [](Canvas& c) { c.ring(8, 8, 7, 1.2f, kIdle); });
    t.draw("common9/radio_hover.png", 16, 16, [](Canvas& c) { c.ring(8, 8, 7, 1.2f, kRunning); });
    t.draw("common9/radio_selected.png", 16, 16, [](Canvas& c) {
        c.ring(8, 8, 7, 1.2f, kRunning);
        c.disc(8, 8, 3.5f, kRunning);
    });
    t.draw("menu/check.png", 16, 16, [](Canvas& c) { check(c, 16, kRunning); });
}

void fields(Theme& t) {
    const std::pair<const char*, Rgba> edits[] = {{"normal", kBorder}, {"hot", kBorderHot}, {"push", kRunning}};
    for (const auto& [state, border] : edits)
        t.draw(std::string("common9/edit_bg_") + state + ".png", 48, 24, [&](Canvas& c) {
            c.roundRect(0, 0, 48, 24, 6, kBackground);
            c.roundFrame(0, 0, 48, 24, 6, 1, border);
        });
    t.draw("mainbar5/key_clash.png", 16, 16, [](Canvas& c) {
        c.roundRect(0, 0, 16, 16, 4, kBackground);
        c.roundFrame(0, 0, 16, 16, 4, 1.2f, kFailure);
    });
    t.draw("common9/progress_bg.png", 16, 8, [](Canvas& c) { c.roundRect(0, 0, 16, 8, 4, kBorder); });
    t.draw("common9/progress_fore.png", 16, 8, [](Canvas& c) { c.roundRect(0, 0, 16, 8, 4, kBusy); });
    t.draw("common9/slider_bg.png", 16, 4, [](Canvas& c) { c.roundRect(0, 0, 16, 4, 2, kBorder); });
    t.draw("common9/slider_fore.png", 16, 4, [](Canvas& c) { c.roundRect(0, 0, 16, 4, 2, kRunning); });
    t.draw("common9/slider_thumb.png", 14, 14, [](Canvas& c) {
        c.disc(7, 7, 6.5f, kWhite);
        c.ring(7, 7, 6.5f, 2, kRunning);
    });
    t.draw("common9/scroll_thumb.png", 6, 20, [](Canvas& c) { c.roundRect(0, 0, 6, 20, 3, kThumb); });
}

void surfaces(Theme& t) {
    t.draw("common14/bg.png", 32, 32, [](Canvas& c) { c.roundRect(0, 0, 32, 32, 10, kBackground); });
    // The content area: 3 % white; "8000" rounds only the top-left corner (beside the tab bar).
    const Rgba faint = argb(0x08FFFFFF);
    t.draw("common14/bg_corner_8000_white_alpha_3.png", 24, 24, [&](Canvas& c) {
        const bool corners[4] = {true, false, false, false};
        c.roundRectCorners(0, 0, 24, 24, 8, corners, faint);
    });
    t.draw("common14/bg_corner_0000_white_alpha_3.png", 24, 24,
           [&](Canvas& c) { c.roundRect(0, 0, 24, 24, 0, faint); });
    t.draw("common/dialog_bg.png", 32, 32, [](Canvas& c) {
        c.roundRect(0, 0, 32, 32, 10, kSurface);
        c.roundFrame(0, 0, 32, 32, 10, 1, kBorder);
    });
    t.draw("menu/menu_bg.png", 24, 24, [](Canvas& c) {
        c.roundRect(0, 0, 24, 24, 8, kSurface);
        c.roundFrame(0, 0, 24, 24, 8, 1, kBorder);
    });
    t.draw("menu/item_bg_hot_multi.png", 24, 30, [](Canvas& c) { c.roundRect(0, 0, 24, 30, 4, kHover); });
    t.draw("menu/separator.png", 8, 1, [](Canvas& c) { c.roundRect(0, 0, 8, 1, 0, kBorder); });
    t.draw("multiplayer_all/row_bg_normal.png", 24, 24, [](Canvas& c) { c.roundRect(0, 0, 24, 24, 6, kSurface); });
    t.draw("multiplayer_all/row_bg_hover.png", 24, 24, [](Canvas& c) { c.roundRect(0, 0, 24, 24, 6, kRaised); });
    t.draw("multiplayer_all/row_bg_selected.png", 24, 24, [](Canvas& c) {
        c.roundRect(0, 0, 24, 24, 6, kRaised);
        c.roundFrame(0, 0, 24, 24, 6, 1, kRunningDark);
    });
    t.draw("multiplayer_all/tab_hover.png", 24, 24, [](Canvas& c) { c.roundRect(0, 0, 24, 24, 6, kHover); });
    t.draw("multiplayer_all/tab_selected.png", 24, 24, [](Canvas& c) {
        c.roundRect(0, 0, 24, 24, 6, kRaised);
        c.roundRect(6, 21, 18, 24, 1.5f, kRunning);
    });
}

// The backgrounds of the tip that follows a lower frame rate: one per language whose edition has its own,
// told apart by the colour of their accent band.
void tips(Theme& t) {
    const std::pair<const char*, Rgba> backgrounds[] = {{"gamequalitytipbg.jpg", kRunning},
                                                        {"gamequalitytipbg_th.jpg", kBusy},
                                                        {"gamequalitytipbg_ru.jpg", kFailure},
                                                        {"gamequalitytipbg_vn.jpg", kIdle}};
    for (const auto& [name, accent] : backgrounds)
        t.draw(std::string("multiplayer_all/") + name, 400, 220, [&accent](Canvas& c) {
            c.roundRect(0, 0, 400, 220, 0, kSurface);
            c.roundRect(0, 0, 400, 6, 0, accent);
        });
}

void icons(Theme& t) {
    t.draw("common/msg_noice48.png", 48, 48, [](Canvas& c) {
        c.ring(24, 24, 21, 3, kBusy);
        c.line(24, 13, 24, 28, 4, kBusy);
        c.disc(24, 35, 2.5f, kBusy);
    });
    t.draw("common/msg_ok48.png", 48, 48, [](Canvas& c) {
        c.ring(24, 24, 21, 3, kRunning);
        c.line(14, 25, 21, 32, 4, kRunning);
        c.line(21, 32, 34, 17, 4, kRunning);
    });
    t.draw("common/close_normal.png", 24, 24, [](Canvas& c) { cross(c, 24, 7, 1.8f, kIdle); });
    t.draw("common/close_hover.png", 24, 24, [](Canvas& c) {
        c.roundRect(0, 0, 24, 24, 6, kStop);
        cross(c, 24, 7, 1.8f, kWhite);
    });
    const std::pair<const char*, Rgba> glyphStates[] = {{"normal", kIdle}, {"hover", kWhite}};
    for (const auto& [state, color] : glyphStates) {
        const std::string s = std::string("_") + state + ".png";
        t.draw("multiplayer_all/more" + s, 24, 24, [&](Canvas& c) {
            for (const float x : {7.0f, 12.0f, 17.0f}) c.disc(x, 12, 1.8f, color);
        });
        t.draw("multiplayer_all/setting" + s, 20, 20, [&](Canvas& c) {
            c.ring(10, 10, 6.5f, 2.5f, color);
            for (int i = 0; i < 4; ++i) {
                const float a = static_cast<float>(i) * 0.785398f;
                c.line(10 - 8.5f * std::cos(a), 10 - 8.5f * std::sin(a), 10 + 8.5f * std::cos(a),
                       10 + 8.5f * std::sin(a), 2.2f, color);
            }
            c.disc(10, 10, 3.2f, kBackground);
        });
        t.draw("multiplayer_all/backup" + s, 20, 20, [&](Canvas& c) {
            c.line(10, 14, 10, 5, 2, color);
            c.triangle(5.5f, 8, 14.5f, 8, 10, 3, color);
            c.line(4, 16.5f, 16, 16.5f, 2, color);
        });
        t.draw("multiplayer_all/shortcut" + s, 20, 20, [&](Canvas& c) {
            c.roundFrame(3, 3, 17, 17, 3, 1.6f, color);
            c.line(8, 12, 13, 7, 1.8f, color);
            c.triangle(10, 6, 14, 6, 14, 10, color);
        });
        t.draw("multiplayer_all/remove" + s, 20, 20, [&](Canvas& c) {
            c.line(4, 5.5f, 16, 5.5f, 1.8f, color);
            c.roundFrame(5.5f, 7, 14.5f, 17, 1.5f, 1.6f, color);
            c.line(8, 3.5f, 12, 3.5f, 1.8f, color);
        });
        t.draw("multiplayer_all/sort" + s, 24, 24, [&](Canvas& c) {
            c.line(6, 8, 18, 8, 2, color);
            c.line(6, 12, 14, 12, 2, color);
            c.line(6, 16, 10, 16, 2, color);
        });
        t.draw("multiplayer_all/search" + s, 24, 24, [&](Canvas& c) {
            c.ring(11, 11, 5.5f, 1.8f, color);
            c.line(15, 15, 19, 19, 2, color);
        });
        t.draw("multiplayer_all/add" + s, 24, 24, [&](Canvas& c) {
            c.line(12, 6, 12, 18, 2, color);
            c.line(6, 12, 18, 12, 2, color);
        });
        t.draw("multiplayer_all/menu" + s, 24, 24, [&](Canvas& c) {
            for (const float y : {7.0f, 12.0f, 17.0f}) c.line(6, y, 18, y, 1.8f, color);
        });
    }
    // The sort button's images as the sort modes name them: longest line on top, or at the bottom.
    t.draw("multiplayer_all/sort.png", 24, 24, [](Canvas& c) {
        c.line(6, 8, 18, 8, 2, kIdle);
        c.line(6, 12, 14, 12, 2, kIdle);
        c.line(6, 16, 10, 16, 2, kIdle);
    });
    t.draw("multiplayer_all/sort_up.png", 24, 24, [](Canvas& c) {
        c.line(6, 8, 10, 8, 2, kIdle);
        c.line(6, 12, 14, 12, 2, kIdle);
        c.line(6, 16, 18, 16, 2, kIdle);
    });
    t.draw("multiplayer_all/pack_off.png", 16, 16, [](Canvas& c) {
        c.line(4, 6, 8, 10, 1.8f, kIdle);
        c.line(8, 10, 12, 6, 1.8f, kIdle);
    });
    t.draw("multiplayer_all/pack_up.png", 16, 16, [](Canvas& c) {
        c.line(6, 4, 10, 8, 1.8f, kIdle);
        c.line(10, 8, 6, 12, 1.8f, kIdle);
    });
    t.draw("multiplayer_all/download.png", 16, 16, [](Canvas& c) { downArrow(c, 16, kIdle); });
    t.draw("multiplayer_all/download2.png", 16, 16, [](Canvas& c) { downArrow(c, 16, kRunning); });
    t.draw("multiplayer_all/red_point.png", 8, 8, [](Canvas& c) { c.disc(4, 4, 3.5f, kFailure); });
    t.draw("multiplayer_all/group_icon.png", 16, 16, [](Canvas& c) {
        c.roundRect(2, 4, 8, 7, 1, kIdle);
        c.roundFrame(2, 5.5f, 14, 13, 1.5f, 1.5f, kIdle);
    });
}

// The program's icon: three phone frames stacked on a green tile, drawn at 16, 32 and 48 pixels and stored as
// 32-bit images with alpha in one icon file.
Canvas programIcon(int size) {
    const float k = static_cast<float>(size) / 256.0f;
    Canvas c(size, size);
    c.roundRect(8 * k, 8 * k, 248 * k, 248 * k, 48 * k, kRunningDark);
    for (int i = 2; i >= 0; --i) {
        const float x = (72.0f + static_cast<float>(i) * 26) * k, y = (40.0f + static_cast<float>(i) * 14) * k;
        c.roundRect(x, y, x + 96 * k, y + 164 * k, 16 * k, i == 0 ? kWhite : kRunningDeep);
        c.roundFrame(x, y, x + 96 * k, y + 164 * k, 16 * k, std::max(1.0f, 6 * k), kBackground);
    }
    c.disc(120 * k, 186 * k, 8 * k, kRunningDark);
    return c;
}

bool writeProgramIcon(const fs::path& iconFile) {
    std::string icon;
    const auto put16 = [](std::string& out, unsigned v) {
        out.append({static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)});
    };
    const auto put32 = [&put16](std::string& out, std::uint32_t v) {
        put16(out, v & 0xFFFF);
        put16(out, v >> 16);
    };
    constexpr int sizes[] = {16, 32, 48};
    std::vector<std::string> images;
    for (const int size : sizes) {
        const std::vector<unsigned char> rgba = programIcon(size).rgbaBytes();
        const std::size_t maskRow = static_cast<std::size_t>((size + 31) / 32 * 4);
        std::string dib;
        put32(dib, 40); // BITMAPINFOHEADER
        put32(dib, static_cast<std::uint32_t>(size));
        put32(dib, static_cast<std::uint32_t>(size * 2)); // colour and mask
        put16(dib, 1);
        put16(dib, 32);
        put32(dib, 0);
        put32(dib, static_cast<std::uint32_t>(size * size * 4 + maskRow * static_cast<std::size_t>(size)));
        for (int i = 0; i < 4; ++i) put32(dib, 0);
        for (int y = size - 1; y >= 0; --y) { // bottom row first, BGRA
            for (int x = 0; x < size; ++x) {
                const unsigned char* p = &rgba[static_cast<std::size_t>((y * size + x) * 4)];
                dib.append({static_cast<char>(p[2]), static_cast<char>(p[1]), static_cast<char>(p[0]),
                            static_cast<char>(p[3])});
            }
        }
        dib.append(maskRow * static_cast<std::size_t>(size), '\0'); // alpha decides; the mask shows everything
        images.push_back(std::move(dib));
    }
    put16(icon, 0); // reserved
    put16(icon, 1); // an icon
    put16(icon, static_cast<unsigned>(images.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        icon.append({static_cast<char>(sizes[i]), static_cast<char>(sizes[i]), 0, 0});
        put16(icon, 1);  // planes
        put16(icon, 32); // bits per pixel
        put32(icon, static_cast<std::uint32_t>(images[i].size()));
        put32(icon, offset);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const std::string& image : images) icon += image;
    std::ofstream out(iconFile, std::ios::binary | std::ios::trunc);
    out.write(icon.data(), static_cast<std::streamsize>(icon.size()));
    return static_cast<bool>(out.flush());
}

bool writeStamp(const fs::path& root) {
    const fs::path stamp = root.string() + ".stamp";
    const fs::path temporary = root.string() + ".stamp.tmp";
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << "made by skingen\n";
        if (!out.flush()) return false;
    }
    std::error_code ec;
    fs::rename(temporary, stamp, ec);
    return !ec;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: skingen <output folder>  (also writes <output folder>-kvmulti.ico)\n";
        return 2;
    }
    Theme theme{fs::path(argv[1])};
    buttons(theme);
    checks(theme);
    fields(theme);
    surfaces(theme);
    tips(theme);
    icons(theme);
    if (!theme.ok() || !writeProgramIcon(std::string(argv[1]) + "-kvmulti.ico") || !writeStamp(argv[1])) return 1;
    return 0;
}
