#pragma once
// Reading another process's windows through Active Accessibility: the top-level windows of a process or
// class, an accessible object's children and properties, role and state names as kvacc prints them.
//
// An element is an object, or a simple child of an object (a child id). Every call crosses into the other
// process (about 1-3 ms each), so callers ask only for what they print or match.

#include <windows.h>

#include <oleacc.h>

#include <string>
#include <vector>

namespace kvacc {

// An owning reference to one accessible element.
class Element {
public:
    Element() = default;
    Element(IAccessible* object, LONG child); // takes a reference of its own
    Element(const Element& other) : Element(other.m_object, other.m_child) {}
    Element& operator=(Element other);
    ~Element();

    explicit operator bool() const { return m_object != nullptr; }
    LONG role() const;
    std::wstring name() const;
    std::wstring value() const;
    std::wstring help() const;
    LONG state() const;
    RECT location() const; // left, top, width, height in screen pixels
    std::vector<Element> children() const;
    HRESULT doDefaultAction() const;
    // Gives the control the keyboard focus (keys posted to its window then reach it).
    HRESULT takeFocus() const;

private:
    VARIANT self() const;
    IAccessible* m_object = nullptr;
    LONG m_child = CHILDID_SELF;
};

struct TopWindow {
    HWND hwnd = nullptr;
    DWORD processId = 0;
    std::wstring processName;
    std::wstring className;
    std::wstring title;
};

// Visible top-level windows, front to back, whose process file name (".exe" optional) or class matches
// (case-insensitive); an empty filter matches all.
std::vector<TopWindow> topWindows(const std::wstring& process, const std::wstring& className);
// The window's client object; empty when it has none.
Element clientOf(HWND hwnd);

std::wstring roleName(LONG role);
std::vector<std::wstring> stateNames(LONG state);
// Whether the role carries a value worth reading (edits, combos, sliders, progress bars).
bool hasValue(LONG role);

} // namespace kvacc
