#pragma once
// The device identity an instance shows to Android apps: IMEI, IMSI, SIM serial, Android ID and MAC address.
//
// Every generator draws from a pseudo-random generator seeded with a fresh seed: a process-wide base (the
// system's cryptographic random value, else the time) plus a call counter, shifted left by 8 bits. The
// random source is injectable so tests get repeatable values; nothing here ever fails or blocks.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace common::identity {

// Replaces the system random source and restarts the seed sequence; an empty function restores the system's.
void setRandomSource(std::function<std::uint32_t()> source);
std::uint32_t systemRandomValue(); // 0 on failure
std::uint32_t randomSeed();

std::span<const std::wstring_view> typeAllocationCodes(); // the 17 codes an IMEI starts with

std::wstring imei();       // code + "02" + 6 digits + Luhn check digit: 15 digits
std::wstring imsi();       // "46000" + 10 digits
std::wstring simSerial();  // "898600" + 14 digits
std::wstring androidId();  // 16 lower-case hexadecimal digits
std::wstring macAddress(); // "00DB" + 8 upper-case hexadecimal digits

// The check digit over a run of decimal digits (doubling every second digit from the first's right
// neighbour), and whether a whole number ends in its own check digit.
int luhnCheckDigit(std::wstring_view digits);
bool passesLuhn(std::wstring_view number);

} // namespace common::identity
