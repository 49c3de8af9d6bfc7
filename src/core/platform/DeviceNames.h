#pragma once
// The devices an instance can be given: the machine's sound inputs and outputs and its network adapters, by
// the names the settings store. Only Windows has an implementation; native tests hand the settings dialog
// their own lists. Asking never fails: a device class the system cannot list gives an empty list.

#include <string>
#include <vector>

namespace platform {

struct DeviceNames {
    std::vector<std::wstring> microphones;
    std::vector<std::wstring> speakers;
    std::vector<std::wstring> networkInterfaces; // adapter descriptions, loopback left out
};

DeviceNames deviceNames();

} // namespace platform
