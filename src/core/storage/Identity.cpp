#include "core/storage/Identity.h"

#include <array>
#include <atomic>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <random>

#include "core/platform/SecureRandom.h"

namespace common::identity {
namespace {

constexpr std::array<std::wstring_view, 17> kTypeAllocationCodes = {
    L"867632", L"863818", L"863342", L"869394", L"869169", L"353512", L"358022", L"351542", L"352746",
    L"358522", L"358523", L"010045", L"010067", L"010138", L"010139", L"010305", L"010306"};

std::mutex g_lock; // guards the source and the seed base
std::function<std::uint32_t()> g_source;
bool g_haveBase = false;
std::uint32_t g_base = 0;
std::atomic<std::uint32_t> g_calls{0};

std::uint32_t seedBase() {
    std::lock_guard guard(g_lock);
    if (!g_haveBase) {
        g_base = g_source ? g_source() : platform::systemRandom32();
        if (g_base == 0)
            g_base = static_cast<std::uint32_t>(std::time(nullptr)) +
                     static_cast<std::uint32_t>(platform::millisecondsSinceStart());
        g_haveBase = true;
    }
    return g_base;
}

// A generator seeded with a fresh seed, as every identity value starts.
std::mt19937 seeded() {
    return std::mt19937(randomSeed());
}

std::wstring digits(std::mt19937& gen, int count) {
    std::wstring out;
    for (int i = 0; i < count; ++i) out.push_back(static_cast<wchar_t>(L'0' + gen() % 10));
    return out;
}

} // namespace

void setRandomSource(std::function<std::uint32_t()> source) {
    std::lock_guard guard(g_lock);
    g_source = std::move(source);
    g_haveBase = false;
    g_calls = 0;
}

std::uint32_t systemRandomValue() {
    {
        std::lock_guard guard(g_lock);
        if (g_source) return g_source();
    }
    return platform::systemRandom32();
}

std::uint32_t randomSeed() {
    const std::uint32_t base = seedBase();
    const std::uint32_t n = g_calls.fetch_add(1);
    return (base + n) << 8;
}

std::span<const std::wstring_view> typeAllocationCodes() {
    return kTypeAllocationCodes;
}

int luhnCheckDigit(std::wstring_view digitsText) {
    int sum = 0;
    for (std::size_t i = 0; i < digitsText.size(); ++i) {
        int d = digitsText[i] - L'0';
        if (i % 2 == 1) {
            d *= 2;
            if (d > 9) d = d / 10 + d % 10;
        }
        sum += d;
    }
    return (10 - sum % 10) % 10;
}

bool passesLuhn(std::wstring_view number) {
    if (number.empty()) return false;
    for (wchar_t c : number)
        if (c < L'0' || c > L'9') return false;
    return luhnCheckDigit(number.substr(0, number.size() - 1)) == number.back() - L'0';
}

std::wstring imei() {
    auto gen = seeded();
    std::wstring text(kTypeAllocationCodes[gen() % kTypeAllocationCodes.size()]);
    text += L"02" + digits(gen, 6);
    text.push_back(static_cast<wchar_t>(L'0' + luhnCheckDigit(text)));
    return text;
}

std::wstring imsi() {
    auto gen = seeded();
    return L"46000" + digits(gen, 10);
}

std::wstring simSerial() {
    auto gen = seeded();
    return L"898600" + digits(gen, 14);
}

std::wstring androidId() {
    auto gen = seeded();
    const std::uint32_t high = systemRandomValue();
    const std::uint32_t low = systemRandomValue();
    wchar_t buffer[17] = {};
    if (high != 0 && low != 0) {
        std::swprintf(buffer, 17, L"%08x%08x", high, low);
        return buffer;
    }
    constexpr std::wstring_view hex = L"0123456789abcdef";
    std::wstring text;
    for (int i = 0; i < 16; ++i) text.push_back(hex[gen() & 15]);
    return text;
}

std::wstring macAddress() {
    auto gen = seeded();
    wchar_t buffer[13] = {};
    std::swprintf(buffer, 13, L"00DB%02X%02X%02X%02X", gen() & 255, gen() & 255, gen() & 255, gen() & 255);
    return buffer;
}

} // namespace common::identity
