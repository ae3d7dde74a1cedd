#pragma once

namespace tamrivo {

// A system handle: a file descriptor, on Windows a HANDLE (kept as void* so that this header does
// not pull in <windows.h>).
#ifdef _WIN32
using NativeHandle = void*;
#else
using NativeHandle = int;
#endif

// The value that stands for no handle: -1, on Windows INVALID_HANDLE_VALUE (also -1).
NativeHandle NoNativeHandle();

// Owns one open system handle and closes it when destroyed or reset; moves, never copies, so
// that every handle is closed exactly once.
class OwnedHandle {
  public:
    OwnedHandle() : handle_(NoNativeHandle()) {}
    explicit OwnedHandle(NativeHandle handle) : handle_(handle) {}
    OwnedHandle(OwnedHandle&& other) noexcept : handle_(other.Release()) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept {
        Reset(other.Release());
        return *this;
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    ~OwnedHandle() { Reset(); }

    NativeHandle Get() const { return handle_; }
    bool IsOpen() const { return handle_ != NoNativeHandle(); }
    // Gives up ownership without closing.
    NativeHandle Release() {
        const NativeHandle handle = handle_;
        handle_ = NoNativeHandle();
        return handle;
    }
    // Closes the handle held, if any, and holds handle instead; false when closing failed.
    bool Reset(NativeHandle handle = NoNativeHandle());

  private:
    NativeHandle handle_;
};

}  // namespace tamrivo
