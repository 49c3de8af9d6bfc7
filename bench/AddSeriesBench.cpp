// Ten new instances of one line from a 1 GiB template through the add dialog's series (the dialog confirmed
// headlessly, the creates run one after another by the main window), against `cp` of the same files in the
// same run: each create copies the template into the instance's data disk and its sdcard, so the floor is
// twenty `cp`s of the template. Twenty calls of the stream copy itself are timed too: what the series adds
// to its copies, apart from how the stream copy compares with `cp` (which copies inside the kernel here). The
// template's cached pages are dropped before each side. Needs about 21 GiB free below the temporary folder; every big
// file is deleted at the end. Asserts nothing.

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <vector>

#include "core/dispatch/EventLoop.h"
#include "core/files/FileRoutines.h"
#include "support/ModelWorld.h"
#include "support/ShippedSkin.h"
#include "toolkit/HeadlessHost.h"
#include "ui/main/KVMultiMainFrame.h"

namespace fs = std::filesystem;

namespace {

constexpr std::uintmax_t kMiB = 1024 * 1024;
constexpr std::uintmax_t kTemplateBytes = 1024 * kMiB;
constexpr int kCount = 10;

using Clock = std::chrono::steady_clock;

// Real bytes that no file system can compress or share.
void writeTemplate(const fs::path& path) {
    fs::create_directories(path.parent_path());
    std::vector<char> block(16 * kMiB);
    std::mt19937_64 gen(7);
    for (std::size_t i = 0; i + 8 <= block.size(); i += 8) {
        const auto v = gen();
        std::copy_n(reinterpret_cast<const char*>(&v), 8, block.data() + i);
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (std::uintmax_t done = 0; done < kTemplateBytes; done += block.size()) {
        block[0] = static_cast<char>(done / block.size());
        out.write(block.data(), static_cast<std::streamsize>(block.size()));
    }
}

// Writes everything dirty out and drops the template's cached pages, so both sides start alike.
void settle(const fs::path& file) {
    ::sync();
    const int fd = ::open(file.c_str(), O_RDONLY);
    if (fd < 0) return;
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
}

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct World : testing_support::ModelWorld {
    common::EventLoop loop;
    common::Dispatcher dispatcher{loop};
    ui::HeadlessHost host;
    std::unique_ptr<KVMultiModel> model;
    std::unique_ptr<mainui::KVMultiMainFrame> frame;

    World() {
        common::dispatch::install(&dispatcher);
        install(KV_PRODUCT_14, L"player14", L"14.0.0.1");
        model = std::make_unique<KVMultiModel>(players, sources, desktop, windows, program.path());
        std::wstring a, b, c, d, e;
        model->getPlayerPath(a, b, c, d, e);
        players.own().init(program.path());
    }
    ~World() {
        frame.reset();
        if (model) model->shutdown();
        common::dispatch::uninstall();
    }
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    bool open() {
        using testing_support::shippedSkin;
        mainui::FrameServices services;
        services.openAddDialog = [this] { frame->showAddPlayerFrame(1); };
        services.hostFacts = [] { return mainui::HostFacts{4, 8192}; };
        services.freeDiskBytes = [](const fs::path& path) -> std::optional<std::uint64_t> {
            std::error_code ec;
            const auto space = fs::space(path, ec);
            if (ec) return std::nullopt;
            return space.available;
        };
        frame = std::make_unique<mainui::KVMultiMainFrame>(*model, players.own().settings(), host.factory(), services);
        using mainui::KVMultiMainFrame;
        return frame->init(
            {shippedSkin(KVMultiMainFrame::kSkinFile), shippedSkin(KVMultiMainFrame::kRowSkinFile),
             shippedSkin(KVMultiMainFrame::kGroupRowSkinFile), shippedSkin(mainui::KVMoveGroupWnd::kSkinFile),
             shippedSkin(ui::RQMenuWnd::kSkinFile), shippedSkin(mainui::KVAddPlayerFrame::kSkinFile),
             shippedSkin(mainui::KVMouseTip::kSkinFile), shippedSkin(mainui::KVCopyPlayerFrame::kSkinFile)},
            KV_PRODUCT_14);
    }

    // What a user does: the add button, "MENU_ADD", the count, OK. False when a step finds no control.
    bool confirmSeries() {
        frame->window().resize({760, 560});
        frame->window().layout();
        if (!host.click(frame->window(), L"btnAddVm")) return false;
        ui::RQMenuWnd* menu = frame->currentMenu();
        if (!menu || !menu->choose(L"MENU_ADD") || !frame->addPlayerFrame()) return false;
        mainui::KVAddPlayerFrame& dialog = *frame->addPlayerFrame();
        dialog.finishAnimation();
        dialog.window().findControl(L"numEdit")->setText(std::to_wstring(kCount));
        return host.click(dialog.window(), L"sureBtn");
    }
};

} // namespace

int main() {
    World world;
    const fs::path templatePath = world.players.line(KV_PRODUCT_14).templateDataPath(true);
    writeTemplate(templatePath);
    if (!world.open()) {
        std::puts("the main window did not open (skins not found?)");
        return 1;
    }

    // The series last: its run follows the plain copies, never the other way round, so the template's first
    // cold read and the writing of the template itself fall on the floors.
    const fs::path copies = world.installs / "cp";
    const auto copyTwenty = [&](const std::function<void(const fs::path&)>& copyTo) {
        fs::create_directories(copies);
        settle(templatePath);
        const auto start = Clock::now();
        for (int index = 0; index < kCount; ++index)
            for (const char* disk : {"data", "sdcard"}) copyTo(copies / (std::to_string(index) + disk));
        const double took = secondsSince(start);
        fs::remove_all(copies);
        return took;
    };
    const double cp = copyTwenty([&](const fs::path& target) {
        const std::string command = "cp '" + templatePath.string() + "' '" + target.string() + "'";
        if (std::system(command.c_str()) != 0) std::puts("cp failed");
    });
    const double stream =
        copyTwenty([&](const fs::path& target) { utility::ufile::copyFileByStream(templatePath, target); });

    settle(templatePath);
    const auto seriesStart = Clock::now();
    if (!world.confirmSeries()) {
        std::puts("the add dialog could not be confirmed");
        return 1;
    }
    const bool done = world.loop.runUntil([&] { return world.frame->addingCount() <= 0 && !world.model->isAdding(); },
                                          std::chrono::minutes(30));
    const double series = secondsSince(seriesStart);
    int created = 0;
    for (int index = 0; index < kCount; ++index)
        created += fs::exists(world.players.line(KV_PRODUCT_14).dataDiskPath(index, true)) ? 1 : 0;
    world.frame.reset();
    for (int index = 0; index < kCount; ++index)
        fs::remove_all(world.players.line(KV_PRODUCT_14).instanceFolder(index));

    std::printf("add series of %d from a 1 GiB template  %s, %d created: %7.2f s   20 x cp %7.2f s   "
                "time ratio %.3f (goal <= 1.1)\n",
                kCount, done ? "finished" : "TIMED OUT", created, series, cp, series / cp);
    std::printf("  20 x copyFileByStream %7.2f s: the series against its own copies %.3f, the stream copy "
                "against cp %.3f\n",
                stream, series / stream, stream / cp);
    return done && created == kCount ? 0 : 1;
}
