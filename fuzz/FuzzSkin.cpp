// Any bytes as a skin: parsed as a window and as a row (and the row copied), laid out at a scale the first byte picks,
// hit-tested, clicked, read through its accessible tree (every node described, hit-tested, navigated, some
// pressed) and painted; every text also goes through the markup parser. Nothing may crash or read out of
// bounds, whatever the skin says.

#include <cstddef>
#include <cstdint>

#include "core/text/Utf.h"
#include "support/LogCapture.h"
#include "toolkit/Accessible.h"
#include "toolkit/HeadlessHost.h"
#include "toolkit/NineSlice.h"

namespace {

struct NullPainter final : ui::Painter {
    void fillRect(const ui::Rect&, ui::Argb) override {}
    void drawImage(const ui::ImageSpec& image, const ui::Rect& r) override {
        (void)ui::nineSlice(image, {7, 5}, r, 1.5);
    }
    void drawText(const ui::Rect&, const std::vector<ui::TextRun>&, const ui::TextStyle&) override {}
    void pushClip(const ui::Rect&) override {}
    void popClip() override {}
};

void walkAccessible(ui::Window& w) {
    using Tree = ui::AccessibleTree;
    Tree& tree = w.accessible();
    std::vector<Tree::Id> pending{Tree::kWindow};
    for (int n = 0; !pending.empty() && n < 4000; ++n) {
        const Tree::Id id = pending.back();
        pending.pop_back();
        (void)tree.describe(id);
        (void)tree.parent(id);
        (void)tree.navigate(id, n % 2 ? ui::AccNavigation::Next : ui::AccNavigation::Down);
        for (const Tree::Id child : tree.children(id)) pending.push_back(child);
    }
    for (int i = 0; i < 6; ++i) {
        const Tree::Id hit = tree.hitTest({(i * 53) % 300, (i * 29) % 200});
        if (i % 2) (void)tree.doDefaultAction(hit);
        (void)tree.takeFocus(hit);
    }
    (void)tree.focus();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const testing_support::LogCapture log; // lines are formatted too, and kept for this input only
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)ui::parseMarkup(common::text::fromUtf8(bytes));
    (void)ui::parseImageSpec(common::text::fromUtf8(bytes));

    static const double kScales[] = {1.0, 1.5, 2.0, 0.5};
    ui::HeadlessHost host;
    if (const auto row = host.row(bytes)) (void)row->clone();
    ui::Window* w = host.open(bytes, kScales[size > 0 ? data[0] % 4 : 0], {300, 200});
    if (!w) return 0;
    walkAccessible(*w);
    for (int i = 0; i < 12; ++i) {
        const ui::Point p{(i * 61) % 300, (i * 37) % 200};
        host.clickAt(*w, p);
        w->wheel(p, i % 2 ? 1 : -1);
        w->keyDown(i % 3 ? ui::Key::Tab : ui::Key::Return);
        w->character(L'x');
        (void)w->tooltipAt(p);
    }
    walkAccessible(*w); // ids of the tree before the clicks stay safe
    NullPainter painter;
    w->paint(painter);
    if (w->root()) (void)w->root()->clone(); // a used tree: hot, pushed and focused controls are copied at rest
    return 0;
}
