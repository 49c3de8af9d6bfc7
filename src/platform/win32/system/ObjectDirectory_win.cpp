#include "platform/win32/system/ObjectDirectory_win.h"

#include <windows.h>

#include <winternl.h>

#include <algorithm>
#include <array>
#include <string_view>

#include "core/log/Log.h"
#include "platform/win32/system/Owned_win.h"

namespace platform::win32 {
namespace {

// The directory calls are ntdll's own, not in the import libraries' documented surface: looked up at run
// time, and without them the caller tests names one by one.
using OpenDirectoryFn = NTSTATUS(NTAPI*)(HANDLE*, ACCESS_MASK, OBJECT_ATTRIBUTES*);
using QueryDirectoryFn = NTSTATUS(NTAPI*)(HANDLE, void*, ULONG, BOOLEAN, BOOLEAN, ULONG*, ULONG*);

constexpr ACCESS_MASK kDirectoryQuery = 0x0001;
constexpr NTSTATUS kMoreEntries = 0x00000105;
constexpr auto kNoMoreEntries = static_cast<NTSTATUS>(0x8000001AL);
constexpr auto kNotImplemented = static_cast<NTSTATUS>(0xC0000002L);
constexpr std::wstring_view kMutexType = L"Mutant";

struct DirectoryEntry {
    UNICODE_STRING name;
    UNICODE_STRING typeName;
};

struct DirectoryApi {
    OpenDirectoryFn open = nullptr;
    QueryDirectoryFn query = nullptr;
};

const DirectoryApi& directoryApi() {
    static const DirectoryApi api = [] {
        DirectoryApi loaded;
        if (HMODULE ntdll = GetModuleHandleW(L"ntdll.dll")) {
            loaded.open = reinterpret_cast<OpenDirectoryFn>(
                reinterpret_cast<void*>(GetProcAddress(ntdll, "NtOpenDirectoryObject")));
            loaded.query = reinterpret_cast<QueryDirectoryFn>(
                reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQueryDirectoryObject")));
        }
        return loaded;
    }();
    return api;
}

std::wstring_view textOf(const UNICODE_STRING& s) {
    return s.Buffer ? std::wstring_view(s.Buffer, s.Length / sizeof(wchar_t)) : std::wstring_view();
}

UniqueHandle openDirectory(const std::wstring& path) {
    UNICODE_STRING name{};
    name.Buffer = const_cast<wchar_t*>(path.c_str());
    name.Length = static_cast<USHORT>(path.size() * sizeof(wchar_t));
    name.MaximumLength = name.Length;
    OBJECT_ATTRIBUTES attributes{};
    attributes.Length = sizeof(attributes);
    attributes.ObjectName = &name;
    HANDLE directory = nullptr;
    if (directoryApi().open(&directory, kDirectoryQuery, &attributes) < 0) return {};
    return UniqueHandle(directory);
}

// The mutexes among the entries a query returned: an array closed by an empty entry, the texts after it.
void takeMutexes(const void* buffer, ULONG returned, std::vector<std::wstring>& names) {
    const auto* entry = static_cast<const DirectoryEntry*>(buffer);
    const auto* end = reinterpret_cast<const DirectoryEntry*>(static_cast<const char*>(buffer) + returned);
    for (; entry + 1 <= end && entry->name.Buffer != nullptr; ++entry)
        if (textOf(entry->typeName) == kMutexType) names.emplace_back(textOf(entry->name));
}

// Many entries per call where the system can (Windows); one per call where it cannot (Wine answers "not
// implemented" to the first form).
bool readMutexes(HANDLE directory, std::vector<std::wstring>& names) {
    alignas(8) static thread_local std::array<char, 64 * 1024> buffer;
    const QueryDirectoryFn query = directoryApi().query;
    ULONG context = 0;
    ULONG returned = 0;
    NTSTATUS status = query(directory, buffer.data(), buffer.size(), FALSE, TRUE, &context, &returned);
    if (status != kNotImplemented) {
        while (status >= 0) {
            takeMutexes(buffer.data(), returned, names);
            if (status != kMoreEntries) return true;
            status = query(directory, buffer.data(), buffer.size(), FALSE, FALSE, &context, &returned);
        }
        return status == kNoMoreEntries;
    }
    for (BOOLEAN restart = TRUE;; restart = FALSE) {
        status = query(directory, buffer.data(), buffer.size(), TRUE, restart, &context, &returned);
        if (status == kNoMoreEntries) return true;
        if (status < 0) return false;
        takeMutexes(buffer.data(), returned, names);
    }
}

// Which directory holds this session's unprefixed names differs between systems (session 0's is the root
// one on Windows), so the first listing looks for a mutex of our own in each candidate and keeps the one
// that holds it. The probe lives as long as the process.
struct SessionDirectory {
    UniqueHandle directory; // kept open: each listing then costs the queries only
};

SessionDirectory findSessionDirectory() {
    const std::wstring probeName = L"kvmulti-directory-probe-" + std::to_wstring(GetCurrentProcessId());
    static const UniqueHandle probe(CreateMutexW(nullptr, FALSE, probeName.c_str()));
    DWORD session = 0;
    ProcessIdToSessionId(GetCurrentProcessId(), &session);
    for (const std::wstring& path :
         {L"\\Sessions\\" + std::to_wstring(session) + L"\\BaseNamedObjects", std::wstring(L"\\BaseNamedObjects")}) {
        UniqueHandle directory = openDirectory(path);
        std::vector<std::wstring> names;
        if (directory && readMutexes(directory.get(), names) &&
            std::find(names.begin(), names.end(), probeName) != names.end())
            return {std::move(directory)};
    }
    KVLOG(L"named mutexes cannot be listed; each instance's mutex is tested by name");
    return {};
}

} // namespace

bool listSessionMutexes(std::vector<std::wstring>& names) {
    if (!directoryApi().open || !directoryApi().query) return false;
    static const SessionDirectory session = findSessionDirectory();
    std::vector<std::wstring> listed;
    if (!session.directory || !readMutexes(session.directory.get(), listed)) return false;
    names.insert(names.end(), std::make_move_iterator(listed.begin()), std::make_move_iterator(listed.end()));
    return true;
}

} // namespace platform::win32
