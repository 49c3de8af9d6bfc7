#pragma once
// The receiver of an endpoint's messages: the endpoint window calls it on the thread that owns the window.

#include <cstdint>

namespace utility {

class IWindowIPCHandle {
public:
    virtual ~IWindowIPCHandle() = default;
    // The result is ignored; the endpoint answers 0.
    virtual int onHandleWindowIPC(std::uint32_t message, std::uintptr_t first, std::intptr_t second) = 0;
};

} // namespace utility
