#pragma once
// Small COM helpers for the Windows-only code: an owning interface pointer and the calling
// thread's COM apartment. Include after <windows.h> (or <objbase.h>); this header does not.

#include <utility>

namespace updater::environment::win32 {

// Owns one reference to a COM interface and releases it when it goes.
template <class T>
class ComPtr {
  public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            Reset();
            p_ = std::exchange(other.p_, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

    // Releases what is held and hands out the slot for a call that returns a new reference.
    T** Receive() {
        Reset();
        return &p_;
    }
    // The same slot as void**, for CoCreateInstance and QueryInterface.
    void** ReceiveVoid() { return reinterpret_cast<void**>(Receive()); }

    void Reset() {
        if (p_ != nullptr) std::exchange(p_, nullptr)->Release();
    }

  private:
    T* p_ = nullptr;
};

// Joins the calling thread to a single-threaded apartment for its lifetime, as a window thread
// does. Ok() is false when COM cannot be used on the thread.
class ComApartment {
  public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    bool Ok() const { return usable_; }

  private:
    bool initialised_ = false;  // this object owes the thread a CoUninitialize
    bool usable_ = false;
};

}  // namespace updater::environment::win32
