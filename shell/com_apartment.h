// COM on the calling thread for as long as the guard lives: the one place the
// program starts COM. A thread that already had it keeps it as it was.
#pragma once
#include <objbase.h>

namespace orvkit {

class com_apartment {
public:
    com_apartment() : started_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~com_apartment() {
        if (SUCCEEDED(started_)) CoUninitialize();
    }
    com_apartment(const com_apartment&) = delete;
    com_apartment& operator=(const com_apartment&) = delete;

private:
    HRESULT started_;
};

}  // namespace orvkit
