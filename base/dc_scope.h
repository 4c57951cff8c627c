// Scope owners for drawing: a memory DC, and an object selected into a DC.
#pragma once
#include <windows.h>

namespace orvkit {

// A memory DC deleted with DeleteDC.
class memory_dc {
public:
    explicit memory_dc(HDC compatible_with) : dc_(CreateCompatibleDC(compatible_with)) {}
    memory_dc(const memory_dc&) = delete;
    memory_dc& operator=(const memory_dc&) = delete;
    ~memory_dc() {
        if (dc_) DeleteDC(dc_);
    }
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// Selects an object into a DC and selects the previous one back on scope exit.
class selected_object {
public:
    selected_object(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
    selected_object(const selected_object&) = delete;
    selected_object& operator=(const selected_object&) = delete;
    ~selected_object() {
        if (previous_) SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace orvkit
