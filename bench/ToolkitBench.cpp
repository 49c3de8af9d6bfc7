// The toolkit on the main window's workload: parsing the shipped skins, a list of 500 instance rows laid out,
// hit-tested, scrolled and walked by a painter, and decoding every theme image. Medians of several rounds.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "toolkit/HeadlessHost.h"
#include "toolkit/ImageDecoder.h"
#include "toolkit/List.h"

using namespace ui;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRows = 500;
constexpr int kRounds = 9;

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Median microseconds of `rounds` runs of `work`, each repeated `repeat` times (per repetition).
double medianMicros(int repeat, const std::function<void()>& work) {
    std::vector<double> samples;
    for (int r = 0; r < kRounds; ++r) {
        const auto start = Clock::now();
        for (int i = 0; i < repeat; ++i) work();
        samples.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count() / repeat);
    }
    std::nth_element(samples.begin(), samples.begin() + kRounds / 2, samples.end());
    return samples[kRounds / 2];
}

struct CountingPainter final : Painter {
    long calls = 0;
    void fillRect(const Rect&, Argb) override { ++calls; }
    void drawImage(const ImageSpec&, const Rect&) override { ++calls; }
    void drawText(const Rect&, const std::vector<TextRun>&, const TextStyle&) override { ++calls; }
    void pushClip(const Rect&) override {}
    void popClip() override {}
};

} // namespace

int main() {
    const std::filesystem::path skins = KV_SKIN_DIR;
    const std::string rootXml = readFile(skins / "xml_multis_player_rootwindow.xml");
    const std::string rowXml = readFile(skins / "xml_multis_player_list_item.xml");
    HeadlessHost host;

    std::printf("%-44s %12s\n", "toolkit (500 rows where it says so)", "median");
    std::printf("%-44s %9.1f us\n", "parse the main window skin", medianMicros(20, [&] { host.open(rootXml); }));
    std::printf("%-44s %9.1f us\n", "parse one row skin", medianMicros(100, [&] { (void)host.row(rowXml); }));
    const auto parsedRow = host.row(rowXml);
    std::printf("%-44s %9.1f us\n", "copy the parsed row", medianMicros(100, [&] { (void)parsedRow->clone(); }));

    Window* w = host.open(rootXml);
    auto* list = w->find<List>(L"listVm");
    for (int i = 0; i < kRows; ++i) {
        auto row = host.row(rowXml);
        row->findByName(L"lableNameControl")->setText(L"Player <c ffdd00>" + std::to_wstring(i) + L"</c>");
        list->add(std::move(row));
    }
    std::printf("%-44s %9.1f us\n", "lay out the window with 500 rows", medianMicros(20, [&] { w->layout(); }));
    long hits = 0;
    std::printf("%-44s %9.3f us\n", "hit test a point (1000 points)",
                medianMicros(1, [&] {
                    for (int i = 0; i < 1000; ++i) hits += w->controlAt({(i * 37) % 760, (i * 53) % 560}) != nullptr;
                }) / 1000);
    std::printf("%-44s %9.1f us\n", "one wheel notch and the layout after it", medianMicros(20, [&] {
                    w->wheel({380, 300}, list->scrollPos() >= list->scrollRange() ? 50 : -1);
                    w->layout();
                }));
    CountingPainter painter;
    std::printf("%-44s %9.1f us\n", "paint walk of the window (no pixels)",
                medianMicros(20, [&] { w->paint(painter); }));

    std::vector<std::string> images;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(KV_THEME_DIR))
        if (entry.path().extension() == ".png") images.push_back(readFile(entry.path()));
    std::size_t pixels = 0;
    const double decode = medianMicros(1, [&] {
        for (const auto& bytes : images)
            if (const auto bitmap = decodeImage(bytes)) pixels += bitmap->pixels.size();
    });
    std::printf("%-44s %9.1f us (%zu images)\n", "decode every theme image", decode, images.size());
    std::printf("(checks: %ld hits, %ld paint calls, %zu pixels)\n", hits, painter.calls, pixels);
    return 0;
}
