#include "kvacc/RemoteAccessible_win.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cwctype>
#include <map>
#include <utility>

#include "platform/win32/system/Owned_win.h"

namespace kvacc {

namespace {

std::wstring taken(BSTR text) {
    std::wstring out = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
    SysFreeString(text);
    return out;
}

std::wstring lower(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towlower(c); });
    return text;
}

std::map<DWORD, std::wstring> processNames() {
    std::map<DWORD, std::wstring> names;
    const platform::win32::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return names;
    PROCESSENTRY32W entry{sizeof(entry)};
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry))
        names[entry.th32ProcessID] = entry.szExeFile;
    return names;
}

} // namespace

Element::Element(IAccessible* object, LONG child) : m_object(object), m_child(child) {
    if (m_object) m_object->AddRef();
}

Element& Element::operator=(Element other) {
    std::swap(m_object, other.m_object);
    std::swap(m_child, other.m_child);
    return *this;
}

Element::~Element() {
    if (m_object) m_object->Release();
}

VARIANT Element::self() const {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = m_child;
    return v;
}

LONG Element::role() const {
    VARIANT out;
    VariantInit(&out);
    if (FAILED(m_object->get_accRole(self(), &out)) || out.vt != VT_I4) {
        VariantClear(&out);
        return 0;
    }
    return out.lVal;
}

LONG Element::state() const {
    VARIANT out;
    VariantInit(&out);
    if (FAILED(m_object->get_accState(self(), &out)) || out.vt != VT_I4) {
        VariantClear(&out);
        return 0;
    }
    return out.lVal;
}

std::wstring Element::name() const {
    BSTR text = nullptr;
    return SUCCEEDED(m_object->get_accName(self(), &text)) ? taken(text) : std::wstring();
}

std::wstring Element::value() const {
    BSTR text = nullptr;
    return SUCCEEDED(m_object->get_accValue(self(), &text)) ? taken(text) : std::wstring();
}

std::wstring Element::help() const {
    BSTR text = nullptr;
    return SUCCEEDED(m_object->get_accHelp(self(), &text)) ? taken(text) : std::wstring();
}

RECT Element::location() const {
    LONG x = 0, y = 0, w = 0, h = 0;
    if (FAILED(m_object->accLocation(&x, &y, &w, &h, self()))) return {};
    return {x, y, w, h};
}

std::vector<Element> Element::children() const {
    std::vector<Element> out;
    if (m_child != CHILDID_SELF) return out; // a simple child has none
    LONG count = 0;
    if (FAILED(m_object->get_accChildCount(&count)) || count <= 0) return out;
    std::vector<VARIANT> kids(static_cast<std::size_t>(count));
    LONG obtained = 0;
    if (FAILED(AccessibleChildren(m_object, 0, count, kids.data(), &obtained))) return out;
    for (LONG i = 0; i < obtained; ++i) {
        VARIANT& kid = kids[static_cast<std::size_t>(i)];
        if (kid.vt == VT_DISPATCH && kid.pdispVal) {
            platform::win32::ComPtr<IAccessible> object;
            if (SUCCEEDED(kid.pdispVal->QueryInterface(__uuidof(IAccessible), object.putVoid())))
                out.emplace_back(object.get(), CHILDID_SELF);
        } else if (kid.vt == VT_I4) {
            out.emplace_back(m_object, kid.lVal);
        }
        VariantClear(&kid);
    }
    return out;
}

HRESULT Element::doDefaultAction() const {
    return m_object->accDoDefaultAction(self());
}

HRESULT Element::takeFocus() const {
    return m_object->accSelect(SELFLAG_TAKEFOCUS, self());
}

std::vector<TopWindow> topWindows(const std::wstring& process, const std::wstring& className) {
    struct Search {
        std::map<DWORD, std::wstring> names;
        std::wstring process, className;
        std::vector<TopWindow> found;
    } search{processNames(), lower(process), lower(className), {}};
    if (!search.process.empty() && search.process.find(L'.') == std::wstring::npos) search.process += L".exe";
    EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(param);
            if (!IsWindowVisible(hwnd)) return TRUE;
            TopWindow w{hwnd};
            GetWindowThreadProcessId(hwnd, &w.processId);
            w.processName = s.names[w.processId];
            wchar_t text[256]{};
            GetClassNameW(hwnd, text, 256);
            w.className = text;
            GetWindowTextW(hwnd, text, 256);
            w.title = text;
            if (!s.process.empty() && lower(w.processName) != s.process) return TRUE;
            if (!s.className.empty() && lower(w.className) != s.className) return TRUE;
            s.found.push_back(std::move(w));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

Element clientOf(HWND hwnd) {
    platform::win32::ComPtr<IAccessible> object;
    if (FAILED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          object.putVoid())) ||
        !object)
        return {};
    return Element(object.get(), CHILDID_SELF); // holds its own reference
}

std::wstring roleName(LONG role) {
    static const std::map<LONG, const wchar_t*> kNames = {
        {ROLE_SYSTEM_CLIENT, L"client"},
        {ROLE_SYSTEM_DIALOG, L"dialog"},
        {ROLE_SYSTEM_MENUPOPUP, L"popup menu"},
        {ROLE_SYSTEM_MENUITEM, L"menu item"},
        {ROLE_SYSTEM_PUSHBUTTON, L"push button"},
        {ROLE_SYSTEM_CHECKBUTTON, L"check box"},
        {ROLE_SYSTEM_RADIOBUTTON, L"radio button"},
        {ROLE_SYSTEM_PAGETAB, L"page tab"},
        {ROLE_SYSTEM_TEXT, L"editable text"},
        {ROLE_SYSTEM_COMBOBOX, L"combo box"},
        {ROLE_SYSTEM_LIST, L"list"},
        {ROLE_SYSTEM_LISTITEM, L"list item"},
        {ROLE_SYSTEM_SLIDER, L"slider"},
        {ROLE_SYSTEM_PROGRESSBAR, L"progress bar"},
        {ROLE_SYSTEM_STATICTEXT, L"static text"},
        {ROLE_SYSTEM_GROUPING, L"grouping"},
        {ROLE_SYSTEM_WINDOW, L"window"},
        {ROLE_SYSTEM_TOOLTIP, L"tool tip"},
    };
    if (const auto it = kNames.find(role); it != kNames.end()) return it->second;
    wchar_t text[128]{};
    GetRoleTextW(static_cast<DWORD>(role), text, 128);
    return text[0] ? text : L"role " + std::to_wstring(role);
}

std::vector<std::wstring> stateNames(LONG state) {
    static const std::pair<LONG, const wchar_t*> kNames[] = {
        {STATE_SYSTEM_UNAVAILABLE, L"unavailable"}, {STATE_SYSTEM_SELECTED, L"selected"},
        {STATE_SYSTEM_FOCUSED, L"focused"},         {STATE_SYSTEM_PRESSED, L"pressed"},
        {STATE_SYSTEM_CHECKED, L"checked"},         {STATE_SYSTEM_READONLY, L"read only"},
        {STATE_SYSTEM_HOTTRACKED, L"hot tracked"},  {STATE_SYSTEM_EXPANDED, L"expanded"},
        {STATE_SYSTEM_COLLAPSED, L"collapsed"},     {STATE_SYSTEM_INVISIBLE, L"invisible"},
        {STATE_SYSTEM_OFFSCREEN, L"offscreen"},     {STATE_SYSTEM_FOCUSABLE, L"focusable"},
        {STATE_SYSTEM_SELECTABLE, L"selectable"},   {STATE_SYSTEM_PROTECTED, L"protected"},
    };
    std::vector<std::wstring> out;
    for (const auto& [bit, name] : kNames)
        if (state & bit) out.emplace_back(name);
    return out;
}

bool hasValue(LONG role) {
    return role == ROLE_SYSTEM_TEXT || role == ROLE_SYSTEM_COMBOBOX || role == ROLE_SYSTEM_SLIDER ||
           role == ROLE_SYSTEM_PROGRESSBAR;
}

} // namespace kvacc
