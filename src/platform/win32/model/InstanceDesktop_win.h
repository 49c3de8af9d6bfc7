#pragma once
// The instance model's view of a Windows desktop: named mutexes, window searches by class, window owners,
// the monitors, and the storage object's start and stop of an instance.

#include "core/model/InstanceDesktop.h"

namespace platform::win32 {

class Win32InstanceDesktop final : public model::InstanceDesktop {
public:
    bool mutexExists(const std::wstring& name) override;
    model::WindowHandle findWindow(const std::wstring& className) override;
    std::int32_t windowProcessId(model::WindowHandle window) override;
    model::WindowHandle mainFrameOfProcess(std::int32_t processId) override;
    model::WindowHandle findChild(model::WindowHandle parent, const std::wstring& className,
                                  const std::wstring& title) override;
    bool postToWindowClass(const std::wstring& className, std::uint32_t message, std::uintptr_t first,
                           std::intptr_t second) override;
    int monitorCount() override;
    std::intptr_t monitorNearestTo(model::WindowHandle window) override;
    void startInstance(const common::Players& players, int index, std::wstring_view parameters) override;
    void stopInstance(const common::Players& players, std::int32_t id, int index) override;
};

} // namespace platform::win32
