// Data-message throughput through the process's IPC proxy to one and to 16 stand-in instances, and the
// latency other keys see while one instance hangs on a message. Run under Wine by scripts/bench.sh with the
// folder of the stand-in copies as argument. Prints figures; asserts nothing.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "../../tests/standin/StandInProtocol.h"
#include "../../tests/support/StandInHarness_win.h"
#include "core/ipc/WindowIpcProxy.h"
#include "platform/win32/ipc/WindowIPC_win.h"

using Clock = std::chrono::steady_clock;
using testing_support::StandInInstall;

namespace {

constexpr int kHealthy = 16;
constexpr int kHungIndex = 16;
constexpr long kInFlight = 1000; // stay below the proxy's 1024-message backlog per key

struct Target {
    int index;
    utility::WindowIPC endpoint;
    HWND frame;
    long sent = 0;
};

long pings(const Target& t) {
    DWORD_PTR count = 0;
    SendMessageTimeoutW(t.frame, standin::kMsgPingCount, 0, 0, SMTO_BLOCK, 5000, &count);
    return static_cast<long>(count);
}

void ping(Target& t) {
    t.endpoint.sendData(t.index, standin::kMsgPing, {'p', 0});
    ++t.sent;
}

// Sends `perTarget` pings to each target, never more than kInFlight ahead of what it has received, asking the
// instances for their counts as it goes; returns messages per second, 0 when they did not all arrive within a
// minute. Each count query is a blocking send the instance answers between the pings, so this figure carries
// the measuring's own load.
double throughputAskingInstances(std::vector<Target*> targets, long perTarget) {
    const auto start = Clock::now();
    std::vector<long> received0, sent0;
    for (auto* t : targets) {
        received0.push_back(pings(*t));
        sent0.push_back(t->sent);
    }
    for (bool done = false; !done;) {
        if (Clock::now() - start > std::chrono::minutes(1)) return 0.0;
        done = true;
        for (std::size_t i = 0; i < targets.size(); ++i) {
            const long received = pings(*targets[i]) - received0[i];
            if (received < perTarget) done = false;
            while (targets[i]->sent - sent0[i] < std::min(perTarget, received + kInFlight)) ping(*targets[i]);
        }
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return static_cast<double>(perTarget) * static_cast<double>(targets.size()) / seconds;
}

long backlog(const Target& t) {
    const auto worker = utility::WindowIpcProxy::instance().worker(t.index);
    return worker ? static_cast<long>(worker->queuedCount()) : 0;
}

// The same messages, with the backlog read from the proxy in this process: the instances take nothing but the
// pings until the last one is handed over, and are asked for their counts only then.
double throughput(std::vector<Target*> targets, long perTarget) {
    std::vector<long> received0, sent0;
    for (auto* t : targets) {
        received0.push_back(pings(*t));
        sent0.push_back(t->sent);
    }
    const auto start = Clock::now();
    const auto late = [&] { return Clock::now() - start > std::chrono::minutes(1); };
    for (;;) {
        bool handedOver = true;
        for (std::size_t i = 0; i < targets.size(); ++i) {
            Target& t = *targets[i];
            long queued = backlog(t);
            for (; t.sent - sent0[i] < perTarget && queued < kInFlight; ++queued) ping(t);
            if (t.sent - sent0[i] < perTarget || queued > 0) handedOver = false;
        }
        if (handedOver) break;
        if (late()) return 0.0;
        Sleep(1);
    }
    // Only the deliveries in progress are left.
    for (std::size_t i = 0; i < targets.size(); ++i)
        while (pings(*targets[i]) - received0[i] < perTarget) {
            if (late()) return 0.0;
            Sleep(0);
        }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return static_cast<double>(perTarget) * static_cast<double>(targets.size()) / seconds;
}

// The floor: the same data messages sent straight from this thread with the blocking send, no proxy.
double directThroughput(const Target& t, long count) {
    const long base = pings(t);
    wchar_t text = L'p';
    COPYDATASTRUCT record{0, sizeof text, &text};
    const auto start = Clock::now();
    for (long i = 0; i < count; ++i)
        SendMessageW(t.endpoint.window(), WM_COPYDATA, standin::kMsgPing, reinterpret_cast<LPARAM>(&record));
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return pings(t) - base == count ? static_cast<double>(count) / seconds : 0.0;
}

// Median time from handing one ping to the proxy until the instance counted it, over `rounds` instances.
double medianLatencyUs(std::vector<Target>& targets, int rounds) {
    std::vector<double> samples;
    for (int r = 0; r < rounds; ++r) {
        Target& t = targets[static_cast<std::size_t>(1 + r % (kHealthy - 1))];
        const long before = pings(t);
        const auto start = Clock::now();
        ping(t);
        while (pings(t) == before && Clock::now() - start < std::chrono::seconds(5)) {}
        samples.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_ipc <folder of the stand-in copies>\n");
        return 2;
    }
    StandInInstall install(testing_support::windowsPathOf(argv[1]), L"14", KV_PRODUCT_14);
    std::vector<Target> targets;
    for (int i = 0; i <= kHungIndex; ++i) {
        install.addInstance(i, L"bench " + std::to_wstring(i));
        install.players().startPlayer(i, i == kHungIndex ? L"hang=30001" : L"");
    }
    for (int i = 0; i <= kHungIndex; ++i) {
        if (!install.waitRunning(i)) {
            std::fprintf(stderr, "instance %d did not start\n", i);
            return 1;
        }
        Target t{i, {}, reinterpret_cast<HWND>(install.players().findPlayerWindow(i))};
        t.endpoint.open(install.players().windowClassName(i));
        targets.push_back(std::move(t));
    }

    std::setvbuf(stdout, nullptr, _IONBF, 0);
    // Which processor each thread lands on swings a single figure by several times on a shared machine, so
    // the ways of sending take turns in short rounds and each is judged by its best round.
    constexpr int kRounds = 7;
    std::vector<Target*> sixteen;
    for (int i = 0; i < kHealthy; ++i) sixteen.push_back(&targets[static_cast<std::size_t>(i)]);
    double floor = 0, fromThread = 0, asking = 0, one = 0, many = 0;
    for (int round = 0; round < kRounds; ++round) {
        floor = std::max(floor, directThroughput(targets[0], 1000));
        double threadRound = 0; // the proxy's hop to a sender thread, without the proxy
        std::thread([&] { threadRound = directThroughput(targets[0], 1000); }).join();
        fromThread = std::max(fromThread, threadRound);
        asking = std::max(asking, throughputAskingInstances({&targets[0]}, 1000));
        one = std::max(one, throughput({&targets[0]}, 1000));
        many = std::max(many, throughput(sixteen, 200));
    }
    std::printf("%-60s %12s\n", "measurement (best of 7 alternating rounds)", "value");
    std::printf("%-60s %9.0f msg/s\n", "blocking send from this thread, no proxy (floor)", floor);
    std::printf("%-60s %9.0f msg/s (%.2f x floor)\n", "blocking send from a new thread, no proxy", fromThread,
                fromThread / floor);
    std::printf("%-60s %9.0f msg/s (%.2f x floor)\n", "data messages to 1 instance, counts asked meanwhile", asking,
                asking / floor);
    std::printf("%-60s %9.0f msg/s (%.2f x floor)\n", "data messages to 1 instance", one, one / floor);
    std::printf("%-60s %9.0f msg/s (%.2f x 1 instance)\n", "data messages to 16 instances (total)", many, many / one);

    const double calm = medianLatencyUs(targets, 1000);
    ping(targets[kHungIndex]); // that instance now hangs for good
    Sleep(100);                // lets its delivery begin
    const double hung = medianLatencyUs(targets, 1000);
    std::printf("%-60s %9.1f us\n", "median latency to other keys, none hung", calm);
    std::printf("%-60s %9.1f us\n", "median latency to other keys, one key hung", hung);
    std::printf("%-60s %9.1f us\n", "added latency while one key hangs", hung - calm);
    return 0; // the install ends every instance it started, the hung one included
}
