// kvsetup.exe, the stand-in installer of one product line that the download tests and the demo serve: it
// installs the stand-in emulator it carries (resource 1) into "<its folder>\..\<line folder>", with small
// template disks, and records the folder in "pathconfig.ini" beside itself, where the manager that
// downloaded it finds it. Exit code 0 when installed.
//
// The environment variable KVSETUP_MODE makes it misbehave on purpose: "fail" exits 3 without installing,
// "hang" never ends (the manager's time limit has to end the wait).

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/platform/Os.h"
#include "core/product/ProductLine.h"
#include "core/text/Utf.h"

namespace {

constexpr auto kLine = static_cast<KV_PRODUCT_TYPE>(KV_SETUP_LINE);

const wchar_t* folderName(KV_PRODUCT_TYPE line) {
    switch (line) {
    case KV_PRODUCT_71_32:
        return L"Android71";
    case KV_PRODUCT_71_64:
        return L"Android71_64";
    case KV_PRODUCT_9:
        return L"Android9";
    case KV_PRODUCT_51:
        return L"Android51";
    default:
        return L"Android14";
    }
}

bool writeCarriedEmulator(const std::filesystem::path& target) {
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(10)); // RT_RCDATA
    HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return false;
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(bytes), static_cast<std::streamsize>(SizeofResource(nullptr, found)));
    return static_cast<bool>(out);
}

bool writeDisk(const std::filesystem::path& file) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << "stand-in disk";
    return static_cast<bool>(out);
}

std::wstring mode() {
    wchar_t value[32]{};
    GetEnvironmentVariableW(L"KVSETUP_MODE", value, 32);
    return value;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::wstring how = mode();
    if (how == L"fail") return 3;
    if (how == L"hang") {
        for (;;) Sleep(INFINITE);
    }
    const std::filesystem::path program = platform::programFolder();
    const std::filesystem::path folder = program.parent_path() / folderName(kLine);
    std::error_code error;
    std::filesystem::create_directories(folder / "vms", error);
    if (error || !writeCarriedEmulator(folder / "rqplayer.exe")) return 4;
    const std::string ext = product::usesVdi(kLine) ? ".vdi" : ".vmdk";
    for (const char* disk : {"system", "data", "data-3G"})
        if (!writeDisk(folder / (disk + ext))) return 5;
    const std::wstring line = std::to_wstring(static_cast<int>(kLine));
    WritePrivateProfileStringW(L"standin", L"line", line.c_str(), (folder / "rqplayer.ini").c_str());
    const std::wstring key = common::text::fromUtf8(product::productLine(kLine).configKey);
    if (!WritePrivateProfileStringW(L"setting", key.c_str(), folder.c_str(), (program / "pathconfig.ini").c_str()))
        return 6;
    return 0;
}
