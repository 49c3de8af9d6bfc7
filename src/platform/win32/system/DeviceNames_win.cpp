// Sound devices from the wave functions (their names are cut at 31 characters by the system, and the settings
// store them so) and network adapters from the IP helper.

// The order matters: the adapter addresses are declared only after the sockets header, and that must come
// before the Windows header.
#include <winsock2.h>

#include <windows.h>

#include <iphlpapi.h>
#include <mmsystem.h>

#include <vector>

#include "core/log/Log.h"
#include "core/platform/DeviceNames.h"

namespace platform {

namespace {

std::vector<std::wstring> microphones() {
    std::vector<std::wstring> names;
    const UINT count = waveInGetNumDevs();
    for (UINT i = 0; i < count; ++i) {
        WAVEINCAPSW caps{};
        if (waveInGetDevCapsW(i, &caps, sizeof caps) == MMSYSERR_NOERROR) names.emplace_back(caps.szPname);
    }
    return names;
}

std::vector<std::wstring> speakers() {
    std::vector<std::wstring> names;
    const UINT count = waveOutGetNumDevs();
    for (UINT i = 0; i < count; ++i) {
        WAVEOUTCAPSW caps{};
        if (waveOutGetDevCapsW(i, &caps, sizeof caps) == MMSYSERR_NOERROR) names.emplace_back(caps.szPname);
    }
    return names;
}

std::vector<std::wstring> networkInterfaces() {
    constexpr ULONG flags = GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
    ULONG bytes = 16 * 1024;
    std::vector<unsigned char> buffer;
    ULONG result = ERROR_BUFFER_OVERFLOW;
    // The list may grow between the two calls; a few tries are enough.
    for (int attempt = 0; attempt < 3 && result == ERROR_BUFFER_OVERFLOW; ++attempt) {
        buffer.resize(bytes);
        result = GetAdaptersAddresses(AF_UNSPEC, flags, nullptr, reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()),
                                      &bytes);
    }
    std::vector<std::wstring> names;
    if (result != NO_ERROR) {
        if (result != ERROR_NO_DATA) KVLOG(L"GetAdaptersAddresses failed: %d", static_cast<int>(result));
        return names;
    }
    for (auto* a = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()); a; a = a->Next)
        if (a->IfType != IF_TYPE_SOFTWARE_LOOPBACK && a->Description && *a->Description)
            names.emplace_back(a->Description);
    return names;
}

} // namespace

DeviceNames deviceNames() {
    return {microphones(), speakers(), networkInterfaces()};
}

} // namespace platform
