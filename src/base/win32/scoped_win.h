#pragma once
// The owners of Win32 handles and GDI resources, all in one place. Each gives back what it holds
// however its scope is left, in the reverse order of taking (a selected object is put back before
// its device context goes). Header-only, so that programs which link no room (the tests' scanner,
// the planted marker DLL) use the same ones.
#include <windows.h>

#include <memory>
#include <type_traits>

namespace updater::base::win32 {

// A kernel handle closed by CloseFunction with its owner. Empty is INVALID_HANDLE_VALUE, what CreateFile
// and FindFirstFile return when they fail.
template <BOOL(WINAPI* CloseFunction)(HANDLE)>
class ScopedHandle {
  public:
    explicit ScopedHandle(HANDLE handle) : handle_(handle) {}
    ~ScopedHandle() { Close(); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    // Gives the handle back before the scope ends (a test's other program letting go of a file).
    void Close() {
        if (IsOpen()) CloseFunction(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

  private:
    HANDLE handle_;
};

using UniqueHandle = ScopedHandle<&CloseHandle>;  // a file (CreateFile)
using FindHandle = ScopedHandle<&FindClose>;      // a search (FindFirstFile)

// Memory the system allocated with LocalAlloc for the caller (a security descriptor from its
// string form), freed with its owner.
struct LocalFreeDeleter {
    void operator()(void* memory) const { LocalFree(memory); }
};
using LocalMemory = std::unique_ptr<void, LocalFreeDeleter>;

// A module loaded with LoadLibraryEx, freed with its owner.
struct ModuleDeleter {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
using Module = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleDeleter>;

// A bitmap or font, deleted with its owner.
struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
template <class Handle>
using GdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;
using Bitmap = GdiObject<HBITMAP>;
using Font = GdiObject<HFONT>;

// A window's device context (the screen's for a null window), released with the scope.
class ScopedGetDC {
  public:
    explicit ScopedGetDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~ScopedGetDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    ScopedGetDC(const ScopedGetDC&) = delete;
    ScopedGetDC& operator=(const ScopedGetDC&) = delete;

    HDC get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// A memory device context compatible with another, deleted with the scope.
class ScopedCompatibleDC {
  public:
    explicit ScopedCompatibleDC(HDC like) : dc_(CreateCompatibleDC(like)) {}
    ~ScopedCompatibleDC() {
        if (dc_) DeleteDC(dc_);
    }
    ScopedCompatibleDC(const ScopedCompatibleDC&) = delete;
    ScopedCompatibleDC& operator=(const ScopedCompatibleDC&) = delete;

    HDC get() const { return dc_; }

  private:
    HDC dc_;
};

// BeginPaint for the scope, EndPaint at its end.
class ScopedPaint {
  public:
    explicit ScopedPaint(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~ScopedPaint() { EndPaint(window_, &paint_); }
    ScopedPaint(const ScopedPaint&) = delete;
    ScopedPaint& operator=(const ScopedPaint&) = delete;

    HDC get() const { return dc_; }

  private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// An object selected into a device context for the scope; the previous one is put back.
class ScopedSelectObject {
  public:
    ScopedSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~ScopedSelectObject() { SelectObject(dc_, previous_); }
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Text and background colours of a device context for the scope; the previous ones are put back.
class ScopedColors {
  public:
    ScopedColors(HDC dc, COLORREF text, COLORREF background)
        : dc_(dc), text_(SetTextColor(dc, text)), background_(SetBkColor(dc, background)) {}
    ~ScopedColors() {
        SetTextColor(dc_, text_);
        SetBkColor(dc_, background_);
    }
    ScopedColors(const ScopedColors&) = delete;
    ScopedColors& operator=(const ScopedColors&) = delete;

  private:
    HDC dc_;
    COLORREF text_;
    COLORREF background_;
};

}  // namespace updater::base::win32
