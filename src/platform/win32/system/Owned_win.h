#pragma once
// Owners of Win32 resources that release them when they go out of scope: kernel handles, GDI objects and
// COM interface pointers. Each is move-only and small; `get()` hands the raw value to the system, `reset()`
// releases early and `release()` gives ownership away. An early return can then never leak a handle.
//
// Kernel calls disagree on what "no handle" is (CreateFileW and snapshots answer INVALID_HANDLE_VALUE,
// OpenProcess and CreateMutexW null): both count as empty here.

#include <windows.h>

#include <unknwn.h>

#include <utility>

namespace platform::win32 {

template <class Value, class Traits>
class Owned {
public:
    Owned() = default;
    explicit Owned(Value value) : m_value(value) {}
    ~Owned() { reset(); }
    Owned(Owned&& other) noexcept : m_value(other.release()) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Value get() const { return m_value; }
    explicit operator bool() const { return Traits::valid(m_value); }
    // For out-parameters: releases what is held and hands the address of the empty value.
    Value* put() {
        reset();
        return &m_value;
    }
    void reset(Value value = Traits::empty()) {
        if (Traits::valid(m_value)) Traits::close(m_value);
        m_value = value;
    }
    [[nodiscard]] Value release() { return std::exchange(m_value, Traits::empty()); }

private:
    Value m_value = Traits::empty();
};

struct HandleTraits {
    static HANDLE empty() { return nullptr; }
    static bool valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { CloseHandle(h); }
};

template <class Object>
struct GdiTraits {
    static Object empty() { return nullptr; }
    static bool valid(Object o) { return o != nullptr; }
    static void close(Object o) { DeleteObject(o); }
};

struct DcTraits {
    static HDC empty() { return nullptr; }
    static bool valid(HDC dc) { return dc != nullptr; }
    static void close(HDC dc) { DeleteDC(dc); }
};

struct RegKeyTraits {
    static HKEY empty() { return nullptr; }
    static bool valid(HKEY key) { return key != nullptr; }
    static void close(HKEY key) { RegCloseKey(key); }
};

using UniqueHandle = Owned<HANDLE, HandleTraits>;
using UniqueBitmap = Owned<HBITMAP, GdiTraits<HBITMAP>>;
using UniqueFont = Owned<HFONT, GdiTraits<HFONT>>;
using UniqueBrush = Owned<HBRUSH, GdiTraits<HBRUSH>>;
using UniqueRegion = Owned<HRGN, GdiTraits<HRGN>>;
using UniqueMemoryDc = Owned<HDC, DcTraits>; // from CreateCompatibleDC
using UniqueRegKey = Owned<HKEY, RegKeyTraits>;

// The two handles CreateProcessW hands back, closed together.
struct ProcessHandles {
    ProcessHandles() = default;
    explicit ProcessHandles(const PROCESS_INFORMATION& info) : process(info.hProcess), thread(info.hThread) {}
    UniqueHandle process;
    UniqueHandle thread;
};

// A COM interface pointer that calls Release once.
template <class Interface>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(ComPtr&& other) noexcept : m_ptr(std::exchange(other.m_ptr, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            m_ptr = std::exchange(other.m_ptr, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    Interface* get() const { return m_ptr; }
    Interface* operator->() const { return m_ptr; }
    explicit operator bool() const { return m_ptr != nullptr; }
    // For CoCreateInstance and QueryInterface: releases what is held and hands the address as void**.
    void** putVoid() {
        reset();
        return reinterpret_cast<void**>(&m_ptr);
    }
    Interface** put() {
        reset();
        return &m_ptr;
    }
    void reset() {
        if (m_ptr) std::exchange(m_ptr, nullptr)->Release();
    }

private:
    Interface* m_ptr = nullptr;
};

} // namespace platform::win32
