// Disk-image copies and backups against the system's own tools, in the same run:
// - copyFileByStream of a 2 GiB file against `cp` of the same file;
// - Players::backup of a 1 GiB instance without compression (-mx=0) against running 7zz directly with the
//   same arguments.
// Page-cache pages of every file read are dropped before each run (cold-ish cache); every big file is deleted
// at the end. Needs about 5 GiB free below the temporary folder.

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "core/files/Archiver.h"
#include "core/files/FileRoutines.h"
#include "core/storage/Players.h"

namespace fs = std::filesystem;

namespace {

constexpr std::uintmax_t kMiB = 1024 * 1024;
constexpr int kRounds = 3;

// Real (not sparse) bytes that no file system can compress away.
void writeImage(const fs::path& path, std::uintmax_t bytes) {
    fs::create_directories(path.parent_path());
    std::vector<char> block(16 * kMiB);
    std::mt19937_64 gen(42);
    for (std::size_t i = 0; i + 8 <= block.size(); i += 8) {
        const auto v = gen();
        std::copy_n(reinterpret_cast<const char*>(&v), 8, block.data() + i);
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (std::uintmax_t done = 0; done < bytes; done += block.size()) {
        block[0] = static_cast<char>(done / block.size()); // no two blocks alike
        out.write(block.data(), static_cast<std::streamsize>(std::min<std::uintmax_t>(block.size(), bytes - done)));
    }
}

// Writes dirty pages out and drops the file's cached pages, so the next read comes from the disk.
void dropCache(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) return;
    ::fdatasync(fd);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
}

double seconds(const std::function<void()>& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::string quoted(const fs::path& p) {
    return "'" + p.string() + "'";
}

void copyBench(const fs::path& dir) {
    const auto src = dir / "source.vmdk";
    writeImage(src, 2048 * kMiB);
    double ours = 1e9, theirs = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        fs::remove(dir / "ours.vmdk");
        fs::remove(dir / "cp.vmdk");
        ::sync();
        dropCache(src);
        ours = std::min(ours, seconds([&] { utility::ufile::copyFileByStream(src, dir / "ours.vmdk"); }));
        ::sync();
        dropCache(src);
        theirs = std::min(theirs, seconds([&] {
                              if (std::system(("cp " + quoted(src) + " " + quoted(dir / "cp.vmdk")).c_str()) != 0)
                                  std::puts("cp failed");
                          }));
    }
    const double mib = 2048.0;
    std::printf("copy 2 GiB        copyFileByStream %6.2f s (%5.0f MiB/s)   cp %6.2f s (%5.0f MiB/s)   "
                "throughput ratio %.3f (goal >= 0.95)\n",
                ours, mib / ours, theirs, mib / theirs, theirs / ours);
    fs::remove(src);
    fs::remove(dir / "ours.vmdk");
    fs::remove(dir / "cp.vmdk");
}

void backupBench(const fs::path& dir) {
    common::files::setArchiverProgram(KV_7ZZ);
    common::Players players(KV_PRODUCT_9);
    players.init(dir / "line");
    const auto data = players.dataDiskPath(0, false), sdcard = players.sdcardDiskPath(0, false);
    writeImage(data, 768 * kMiB);
    writeImage(sdcard, 256 * kMiB);
    { std::ofstream(players.configPath(0)) << "{\"statusSettings.playerName\": \"bench\"}\n"; }
    const auto config = players.instanceFolder(0) / "vantor.config"; // what backup packs; it removes it after
    double ours = 1e9, theirs = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        fs::remove(dir / "ours.kvbk");
        fs::remove(dir / "direct.kvbk");
        ::sync();
        dropCache(data), dropCache(sdcard);
        ours = std::min(ours, seconds([&] { players.backup(0, false, dir / "ours.kvbk"); }));
        fs::copy_file(players.configPath(0), config, fs::copy_options::overwrite_existing);
        ::sync();
        dropCache(data), dropCache(sdcard);
        const std::string command = std::string(KV_7ZZ) + " a -mx=0 -t7z -bsp2 " + quoted(dir / "direct.kvbk") +
                                    "  -i!" + quoted(data) + " -i!" + quoted(sdcard) + " -i!" + quoted(config) +
                                    " >/dev/null 2>&1";
        theirs = std::min(theirs, seconds([&] {
                              if (std::system(command.c_str()) != 0) std::puts("7zz failed");
                          }));
    }
    std::printf("backup 1 GiB -mx=0  Players::backup %6.2f s   7zz directly %6.2f s   time ratio %.3f (goal <= 1.05)\n",
                ours, theirs, ours / theirs);
    fs::remove_all(dir / "line");
    fs::remove(dir / "ours.kvbk");
    fs::remove(dir / "direct.kvbk");
}

} // namespace

int main() {
    const fs::path dir = fs::temp_directory_path() / ("kvbench-storage-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::error_code ec;
    const auto space = fs::space(dir, ec);
    if (ec || space.available < 6000 * kMiB) {
        std::puts("storage benchmark skipped: less than 6 GiB free in the temporary folder");
        fs::remove_all(dir, ec);
        return 0;
    }
    copyBench(dir);
    backupBench(dir);
    fs::remove_all(dir, ec);
    return 0;
}
