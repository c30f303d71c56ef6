// The user-interface thread's COM apartment, for the life of the program.
#pragma once

#include <objbase.h>

namespace tk {

// Opens a single-threaded apartment on the calling thread and closes it when it goes. The shell
// (its folder browser, ShellExecuteA and the extensions they load) needs one on the thread that
// calls it and keeps process-wide caches in it, so the program opens it once at start, not
// around each call.
class ComApartment {
public:
    ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComApartment() {
        // S_FALSE (already open) must be balanced too; a failure must not.
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    bool Opened() const { return SUCCEEDED(result_); }

private:
    HRESULT result_;
};

}  // namespace tk
