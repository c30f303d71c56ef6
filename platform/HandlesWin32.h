// Owners of the kernel handles the Windows file helpers open: each closes its handle once.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace platform {

struct CloseFind {
    void operator()(HANDLE h) const { FindClose(h); }
};
struct CloseKernelHandle {
    void operator()(HANDLE h) const { CloseHandle(h); }
};

// Empty (nothing to close) for the INVALID_HANDLE_VALUE that failed opens return.
template <class Close>
using OwnedHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, Close>;

template <class Close>
OwnedHandle<Close> Own(HANDLE h) {
    return OwnedHandle<Close>(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

using FindHandle = OwnedHandle<CloseFind>;
using KernelHandle = OwnedHandle<CloseKernelHandle>;

}  // namespace platform
