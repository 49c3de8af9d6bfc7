#pragma once
// The storage objects' host on Windows: the hidden 10-second execute and the IPC data message to an
// instance's endpoint (delivered by the IPC proxy's sender threads, so the caller never waits).

#include "core/storage/PlayerHost.h"

namespace platform::win32 {

class Win32PlayerHost final : public common::PlayerHost {
public:
    int execute(const std::wstring& file, const std::wstring& parameters) override;
    bool postData(const std::wstring& windowClass, int key, std::uint32_t message, std::wstring_view text) override;
    bool isRunning(const std::wstring& mutexName) override;
};

} // namespace platform::win32
