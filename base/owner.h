// Move-only owners for Win32 handles, GDI objects and memory blocks: one template,
// told by a small traits type what "none" is and how to let go, so every exit path
// releases what it holds and nothing is released twice.
#pragma once
#include <windows.h>

#include <utility>

namespace orvkit {

template <typename Traits>
class unique_owner {
public:
    using value_type = typename Traits::value_type;

    unique_owner() = default;
    explicit unique_owner(value_type value) : value_(value) {}
    unique_owner(const unique_owner&) = delete;
    unique_owner& operator=(const unique_owner&) = delete;
    unique_owner(unique_owner&& other) noexcept : value_(other.release()) {}
    unique_owner& operator=(unique_owner&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~unique_owner() { reset(); }

    value_type get() const { return value_; }
    explicit operator bool() const { return Traits::valid(value_); }
    // Lets go of the old value (if any) and holds `value`.
    void reset(value_type value = value_type{}) {
        if (Traits::valid(value_)) Traits::close(value_);
        value_ = value;
    }
    value_type release() { return std::exchange(value_, value_type{}); }

private:
    value_type value_{};
};

// A kernel handle. Null and INVALID_HANDLE_VALUE both mean "none": CreateFileW and
// CreateThread report failure differently.
struct kernel_handle_traits {
    using value_type = HANDLE;
    static bool valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { CloseHandle(h); }
};
using unique_handle = unique_owner<kernel_handle_traits>;

// A directory enumeration handle from FindFirstFileW.
struct find_handle_traits {
    using value_type = HANDLE;
    static bool valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { FindClose(h); }
};
using find_handle = unique_owner<find_handle_traits>;

// A GDI object (brush, bitmap, font, pen) deleted with DeleteObject.
template <typename T>
struct gdi_traits {
    using value_type = T;
    static bool valid(T object) { return object != nullptr; }
    static void close(T object) { DeleteObject(object); }
};
template <typename T>
using unique_gdi = unique_owner<gdi_traits<T>>;

// An icon from LoadImageW, destroyed with DestroyIcon.
struct icon_traits {
    using value_type = HICON;
    static bool valid(HICON icon) { return icon != nullptr; }
    static void close(HICON icon) { DestroyIcon(icon); }
};
using unique_icon = unique_owner<icon_traits>;

// A block from GlobalAlloc, freed with GlobalFree.
struct global_memory_traits {
    using value_type = void*;
    static bool valid(void* block) { return block != nullptr; }
    static void close(void* block) { GlobalFree(block); }
};
using unique_global = unique_owner<global_memory_traits>;

}  // namespace orvkit
