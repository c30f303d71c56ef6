// RAII owners for kernel handles, for the Windows files of every layer: one small template, one
// traits class per kind of handle. The toolkit adds its GDI and shell owners in toolkit/Handles.h.
#pragma once

#include <windows.h>

#include <utility>

namespace platform {

// Owns a handle value and releases it with Traits::Close when it goes out of scope.
template <typename Traits>
class Owned {
public:
    using Handle = typename Traits::Handle;

    Owned() = default;
    explicit Owned(Handle h) : h_(h) {}
    ~Owned() { reset(); }

    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : h_(other.release()) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    Handle get() const { return h_; }
    explicit operator bool() const { return Traits::IsValid(h_); }

    // Gives the handle away (for example to SetWindowRgn, which takes ownership).
    Handle release() { return std::exchange(h_, Traits::Invalid()); }

    void reset(Handle h = Traits::Invalid()) {
        if (Traits::IsValid(h_)) Traits::Close(h_);
        h_ = h;
    }

    // For out-parameters: releases the current handle and hands out its slot.
    Handle* put() { reset(); return &h_; }

private:
    Handle h_ = Traits::Invalid();
};

// Handles whose "none" is nullptr, closed by one function.
template <typename H, auto CloseFn>
struct NullTraits {
    using Handle = H;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { CloseFn(h); }
};

// Handles whose "none" is INVALID_HANDLE_VALUE (files, directory searches).
template <auto CloseFn>
struct InvalidValueTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Handle h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void Close(Handle h) { CloseFn(h); }
};

using OwnedHandle = Owned<NullTraits<HANDLE, CloseHandle>>;        // threads, events
using OwnedFileHandle = Owned<InvalidValueTraits<CloseHandle>>;    // CreateFileA
using OwnedFind = Owned<InvalidValueTraits<FindClose>>;            // FindFirstFileA
using OwnedLocal = Owned<NullTraits<HLOCAL, LocalFree>>;           // FORMAT_MESSAGE_ALLOCATE_BUFFER

}  // namespace platform
