#include "core/model/StatusProbe.h"

#include <vector>

#include "core/ipc/IpcMessages.h"

namespace model {
namespace {

// Class searches ignore case, so the listing's classes are matched the same way.
std::wstring folded(std::wstring text) {
    for (wchar_t& c : text)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return text;
}

} // namespace

StatusProbe::StatusProbe(platform::InstanceDesktop& desktop) : m_desktop(desktop) {
    std::vector<std::wstring> names;
    m_mutexesListed = desktop.listMutexes(names);
    for (std::wstring& name : names) m_mutexes.insert(std::move(name));

    std::vector<platform::TopWindow> windows;
    m_windowsListed = desktop.listTopWindows(windows);
    for (platform::TopWindow& w : windows) {
        m_owner.emplace(w.handle, w.processId);
        if (w.className == utility::kPlayerMainFrameClass) m_mainFrame.emplace(w.processId, w.handle);
        m_firstOfClass.emplace(folded(std::move(w.className)), w.handle); // the front one stays
    }
}

bool StatusProbe::mutexExists(const std::wstring& name) const {
    return m_mutexesListed ? m_mutexes.count(name) != 0 : m_desktop.mutexExists(name);
}

platform::WindowHandle StatusProbe::findWindow(const std::wstring& className) const {
    if (!m_windowsListed) return m_desktop.findWindow(className);
    const auto it = m_firstOfClass.find(folded(className));
    return it == m_firstOfClass.end() ? 0 : it->second;
}

std::int32_t StatusProbe::windowProcessId(platform::WindowHandle window) const {
    const auto it = m_owner.find(window);
    return it != m_owner.end() ? it->second : m_desktop.windowProcessId(window);
}

platform::WindowHandle StatusProbe::mainFrameOfProcess(std::int32_t processId) const {
    if (!m_windowsListed) return m_desktop.mainFrameOfProcess(processId);
    if (processId <= 0) return 0;
    const auto it = m_mainFrame.find(processId);
    return it == m_mainFrame.end() ? 0 : it->second;
}

} // namespace model
