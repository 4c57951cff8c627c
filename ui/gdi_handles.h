// Move-only owners for GDI objects, memory DCs and objects selected into a DC, so
// every path through a paint routine releases what it made.
#pragma once
#include <windows.h>

#include <utility>

namespace orvkit {

// A GDI object (brush, bitmap, font, pen) deleted with DeleteObject.
template <typename T>
class unique_gdi {
public:
    unique_gdi() = default;
    explicit unique_gdi(T object) : object_(object) {}
    unique_gdi(const unique_gdi&) = delete;
    unique_gdi& operator=(const unique_gdi&) = delete;
    unique_gdi(unique_gdi&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    unique_gdi& operator=(unique_gdi&& other) noexcept {
        if (this != &other) {
            reset();
            object_ = std::exchange(other.object_, nullptr);
        }
        return *this;
    }
    ~unique_gdi() { reset(); }

    T get() const { return object_; }
    void reset() {
        if (object_) DeleteObject(object_);
        object_ = nullptr;
    }

private:
    T object_ = nullptr;
};

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
