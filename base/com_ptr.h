// A move-only owner of one COM interface pointer: Release on reset and at the end.
#pragma once
#include <utility>

namespace orvkit {

template <typename T>
class com_ptr {
public:
    com_ptr() = default;
    explicit com_ptr(T* pointer) : pointer_(pointer) {}  // takes over one reference
    com_ptr(const com_ptr&) = delete;
    com_ptr& operator=(const com_ptr&) = delete;
    com_ptr(com_ptr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    com_ptr& operator=(com_ptr&& other) noexcept {
        if (this != &other) reset(std::exchange(other.pointer_, nullptr));
        return *this;
    }
    ~com_ptr() { reset(); }

    T* get() const { return pointer_; }
    T* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    void reset(T* pointer = nullptr) {
        if (pointer_) pointer_->Release();
        pointer_ = pointer;
    }

private:
    T* pointer_ = nullptr;
};

}  // namespace orvkit
