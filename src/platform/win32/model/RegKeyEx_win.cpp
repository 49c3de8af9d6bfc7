#include "platform/win32/model/RegKeyEx_win.h"

#include "core/log/Log.h"

namespace utility {

RegKeyEx::~RegKeyEx() {
    if (m_hKey) RegCloseKey(m_hKey);
}

LONG RegKeyEx::RegRegOpen(HKEY parent, std::wstring_view subKey, REGSAM access) {
    if (m_hKey) {
        RegCloseKey(m_hKey);
        m_hKey = nullptr;
    }
    const std::wstring key(subKey);
    const LONG status = RegOpenKeyExW(parent, key.c_str(), 0, access, &m_hKey);
    if (status != ERROR_SUCCESS) {
        m_hKey = nullptr;
        KVLOG(L"open reg = %s, lastError = %d", key, static_cast<int>(status));
    }
    return status;
}
LONG RegKeyEx::RegRegCreate(HKEY parent, std::wstring_view subKey, REGSAM access) {
    if (m_hKey) {
        RegCloseKey(m_hKey);
        m_hKey = nullptr;
    }
    const std::wstring key(subKey);
    const LONG status =
        RegCreateKeyExW(parent, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &m_hKey, nullptr);
    if (status != ERROR_SUCCESS) {
        m_hKey = nullptr;
        KVLOG(L"create reg = %s, lastError = %d", key, static_cast<int>(status));
    }
    return status;
}

LONG RegKeyEx::RegRead(std::wstring_view valueName, std::wstring& out) {
    const std::wstring name(valueName);
    if (!m_hKey) {
        KVLOG(L"m_hKey is null, query reg = %s", name);
        return -1;
    }
    wchar_t buffer[1024 + 1] = {}; // 2048 bytes of value, and room for a terminator the value may lack
    DWORD bytes = 2048;
    DWORD type = 0;
    const LONG status = RegQueryValueExW(m_hKey, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes);
    if (status == ERROR_SUCCESS) {
        if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_INVALID_DATA;
        out.assign(buffer, wcsnlen(buffer, bytes / sizeof(wchar_t)));
    }
    return status;
}

LONG RegKeyEx::RegWrite(std::wstring_view valueName, std::wstring_view value) {
    const std::wstring name(valueName);
    if (!m_hKey) {
        KVLOG(L"m_hKey is null, write reg = %s", name);
        return -1;
    }
    const std::wstring text(value);
    const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    const LONG status =
        RegSetValueExW(m_hKey, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), bytes);
    if (status != ERROR_SUCCESS) KVLOG(L"write reg = %s, lastError = %d", name, static_cast<int>(status));
    return status;
}

} // namespace utility
