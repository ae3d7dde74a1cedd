#include "platform/OwnedHandle.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace tamrivo {

#ifdef _WIN32

NativeHandle NoNativeHandle() {
    return INVALID_HANDLE_VALUE;
}

bool OwnedHandle::Reset(NativeHandle handle) {
    const bool closed = handle_ == NoNativeHandle() || CloseHandle(handle_) != 0;
    handle_ = handle;
    return closed;
}

#else

NativeHandle NoNativeHandle() {
    return -1;
}

bool OwnedHandle::Reset(NativeHandle handle) {
    // A close that fails has still released the descriptor; it is never retried.
    const bool closed = handle_ == NoNativeHandle() || close(handle_) == 0;
    handle_ = handle;
    return closed;
}

#endif

}  // namespace tamrivo
