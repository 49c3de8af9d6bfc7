// writeLog against spdlog's asynchronous logger, writing the same lines to files, with 1, 2 and 4 threads.
//
// Caller cost is what a logging thread pays per line (format, queue); throughput counts lines per second
// until every line is in the file. Both loggers write the same text: header, function, line, message.

#include <spdlog/async.h>
#include <spdlog/sinks/basic_file_sink.h>
#include <spdlog/spdlog.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "core/log/Log.h"
#include "core/log/LogFileWriter.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kTotalLines = 400000;

struct Result {
    double linesPerSecond; // until the file holds every line
    double meanCallerNs;
    double p50Ns, p99Ns, p999Ns;
};

// Runs `logLine(thread, i)` kTotalLines times across `threads` threads; `finish` flushes to disk.
Result measure(int threads, const std::function<void(int, int)>& logLine, const std::function<void()>& finish) {
    const int perThread = kTotalLines / threads;
    std::vector<std::vector<std::uint32_t>> samples(static_cast<std::size_t>(threads));
    std::vector<std::thread> workers;
    const auto start = Clock::now();
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&, t] {
            auto& mine = samples[static_cast<std::size_t>(t)];
            mine.reserve(static_cast<std::size_t>(perThread));
            for (int i = 0; i < perThread; ++i) {
                const auto before = Clock::now();
                logLine(t, i);
                mine.push_back(static_cast<std::uint32_t>(
                    std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - before).count()));
            }
        });
    }
    for (auto& w : workers) w.join();
    finish();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();

    std::vector<std::uint32_t> all;
    for (auto& s : samples) all.insert(all.end(), s.begin(), s.end());
    std::sort(all.begin(), all.end());
    double sum = 0;
    for (auto v : all) sum += v;
    auto pct = [&](double p) { return static_cast<double>(all[static_cast<std::size_t>(p * (all.size() - 1))]); };
    return {all.size() / seconds, sum / all.size(), pct(0.50), pct(0.99), pct(0.999)};
}

Result benchWriteLog(int threads, const std::filesystem::path& file) {
    std::filesystem::remove(file);
    common::installLogSink();
    if (!common::openLogFile(file, {})) std::fprintf(stderr, "cannot open %s\n", file.string().c_str());
    const Result r = measure(
        threads,
        [](int t, int i) {
            KVLOG_AS("KVMultiModel::launch", L"instance %d started by %d, path %s, version %S", i, t,
                     L"C:\\Program Files\\kv\\vms\\vantor12", "9.0.12");
        },
        [] {
            common::removeLogSink();
            common::closeLogFile();
        });
    return r;
}

Result benchSpdlog(int threads, const std::filesystem::path& file, std::size_t queue) {
    std::filesystem::remove(file);
    spdlog::init_thread_pool(queue, 1);
    auto logger = spdlog::create_async<spdlog::sinks::basic_file_sink_mt>("bench", file.string());
    logger->set_pattern("%m-%d\t%H:%M:%S.%e\t%t\t%v", spdlog::pattern_time_type::local);
    const Result r = measure(
        threads,
        [&](int t, int i) {
            logger->info("{}\t({}):instance {} started by {}, path {}, version {}", "KVMultiModel::launch", 42, i, t,
                         "C:\\Program Files\\kv\\vms\\vantor12", "9.0.12");
        },
        [&] {
            logger->flush();
            logger.reset();
            spdlog::drop_all();
            spdlog::shutdown(); // waits for the worker to write the queue
        });
    return r;
}

// Each figure is the run with the median mean caller cost of three, to damp a shared machine's noise.
template <class F>
Result median3(F run) {
    Result r[3] = {run(), run(), run()};
    std::sort(std::begin(r), std::end(r),
              [](const Result& a, const Result& b) { return a.meanCallerNs < b.meanCallerNs; });
    return r[1];
}

void printRow(const char* name, int threads, const Result& r) {
    std::printf("%-28s %7d %14.0f %12.0f %10.0f %10.0f %10.0f\n", name, threads, r.linesPerSecond, r.meanCallerNs,
                r.p50Ns, r.p99Ns, r.p999Ns);
}

} // namespace

int main() {
    const auto dir = std::filesystem::temp_directory_path() / "kvmulti-bench-log";
    std::filesystem::create_directories(dir);
    std::printf("%d lines per run, same text in each logger, files in %s\n\n", kTotalLines, dir.c_str());
    std::printf("%-28s %7s %14s %12s %10s %10s %10s\n", "logger", "threads", "lines/s", "mean ns", "p50 ns", "p99 ns",
                "p99.9 ns");
    for (int threads : {1, 2, 4}) {
        const Result ours = median3([&] { return benchWriteLog(threads, dir / "ours.log"); });
        const Result spd = median3([&] { return benchSpdlog(threads, dir / "spdlog.log", 8192); });
        const Result spdBig = median3([&] { return benchSpdlog(threads, dir / "spdlog-big.log", 1 << 20); });
        printRow("writeLog", threads, ours);
        printRow("spdlog async (queue 8192)", threads, spd);
        printRow("spdlog async (queue 1M)", threads, spdBig);
        std::printf("%-28s %7d %14.2f %12.2f %10.2f %10.2f %10.2f\n", "ratio writeLog/spdlog 8192", threads,
                    ours.linesPerSecond / spd.linesPerSecond, ours.meanCallerNs / spd.meanCallerNs,
                    ours.p50Ns / spd.p50Ns, ours.p99Ns / spd.p99Ns, ours.p999Ns / spd.p999Ns);
        std::printf("%-28s %7d %14.2f %12.2f %10.2f %10.2f %10.2f\n\n", "ratio writeLog/spdlog 1M", threads,
                    ours.linesPerSecond / spdBig.linesPerSecond, ours.meanCallerNs / spdBig.meanCallerNs,
                    ours.p50Ns / spdBig.p50Ns, ours.p99Ns / spdBig.p99Ns, ours.p999Ns / spdBig.p999Ns);
    }
    std::filesystem::remove_all(dir);
    return 0;
}
