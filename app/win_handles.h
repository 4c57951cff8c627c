// Small move-only owners for Win32 handles, so every exit path releases them.
#pragma once
#include <windows.h>

#include <cstdint>
#include <utility>

namespace orvkit {

// The two 32-bit halves that Win32 structures split 64-bit values into.
inline uint64_t join_halves(DWORD high, DWORD low) { return (static_cast<uint64_t>(high) << 32) | low; }

// A kernel handle closed with CloseHandle. Both null and INVALID_HANDLE_VALUE mean "none",
// because CreateFileW and CreateThread report failure differently.
class unique_handle {
public:
    unique_handle() = default;
    explicit unique_handle(HANDLE h) : handle_(h) {}
    unique_handle(const unique_handle&) = delete;
    unique_handle& operator=(const unique_handle&) = delete;
    unique_handle(unique_handle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    unique_handle& operator=(unique_handle&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    ~unique_handle() { reset(); }

    HANDLE get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    void reset() {
        if (*this) CloseHandle(handle_);
        handle_ = nullptr;
    }

private:
    HANDLE handle_ = nullptr;
};

// A directory enumeration handle closed with FindClose.
class find_handle {
public:
    explicit find_handle(HANDLE h) : handle_(h) {}
    find_handle(const find_handle&) = delete;
    find_handle& operator=(const find_handle&) = delete;
    ~find_handle() {
        if (*this) FindClose(handle_);
    }
    HANDLE get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

}  // namespace orvkit
