// One owner for every system handle: a small move-only wrapper, never
// copyable. Traits give the empty value and the release call.
#pragma once

#include <windows.h>

#include <utility>

namespace cpk {

template <typename Traits>
class UniqueHandle {
public:
    using pointer = typename Traits::type;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(pointer h) noexcept : h_(h) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(UniqueHandle&& other) noexcept : h_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    [[nodiscard]] pointer get() const noexcept { return h_; }
    [[nodiscard]] explicit operator bool() const noexcept { return h_ != Traits::empty(); }

    [[nodiscard]] pointer release() noexcept { return std::exchange(h_, Traits::empty()); }
    void reset(pointer h = Traits::empty()) noexcept
    {
        const pointer old = std::exchange(h_, h);
        if (old != Traits::empty())
            Traits::close(old);
    }

private:
    pointer h_ = Traits::empty();
};

struct HookTraits {
    using type = HHOOK;
    static type empty() noexcept { return nullptr; }
    static void close(type h) noexcept { UnhookWindowsHookEx(h); }
};
struct FileTraits {
    using type = HANDLE;
    static type empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(type h) noexcept { CloseHandle(h); }
};
struct ModuleTraits {
    using type = HMODULE;
    static type empty() noexcept { return nullptr; }
    static void close(type h) noexcept { FreeLibrary(h); }
};
struct GdiObjectTraits {
    using type = HGDIOBJ;
    static type empty() noexcept { return nullptr; }
    static void close(type h) noexcept { DeleteObject(h); }
};
struct BitmapTraits {
    using type = HBITMAP;
    static type empty() noexcept { return nullptr; }
    static void close(type h) noexcept { DeleteObject(h); }
};
struct RegionTraits {
    using type = HRGN;
    static type empty() noexcept { return nullptr; }
    static void close(type h) noexcept { DeleteObject(h); }
};
struct FontTraits {
    using type = HFONT;
    static type empty() noexcept { return nullptr; }
    static void close(type h) noexcept { DeleteObject(h); }
};
struct MemoryDcTraits {
    using type = HDC;
    static type empty() noexcept { return nullptr; }
    static void close(type h) noexcept { DeleteDC(h); }
};
struct WindowTraits {
    using type = HWND;
    static type empty() noexcept { return nullptr; }
    static void close(type h) noexcept { DestroyWindow(h); }
};

using UniqueHook = UniqueHandle<HookTraits>;
using UniqueFile = UniqueHandle<FileTraits>;
using UniqueModule = UniqueHandle<ModuleTraits>;
using UniqueBitmap = UniqueHandle<BitmapTraits>;
using UniqueRegion = UniqueHandle<RegionTraits>;
using UniqueFont = UniqueHandle<FontTraits>;
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;
using UniqueWindow = UniqueHandle<WindowTraits>;

// A window DC obtained with GetDC, released to its window.
class WindowDc {
public:
    explicit WindowDc(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
    ~WindowDc()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    [[nodiscard]] HDC get() const noexcept { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Puts the previously selected object back into a DC on scope exit.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(SelectObject(dc, object)) {}
    ~SelectedObject()
    {
        if (old_)
            SelectObject(dc_, old_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace cpk
