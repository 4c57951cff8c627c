// A string written by one thread and read by another: every read gets a whole copy.
#pragma once
#include <mutex>
#include <string>

namespace orvkit {

class published_text {
public:
    void set(std::wstring text) {
        std::lock_guard<std::mutex> guard(lock_);
        text_.swap(text);
    }
    std::wstring get() const {
        std::lock_guard<std::mutex> guard(lock_);
        return text_;
    }

private:
    mutable std::mutex lock_;
    std::wstring text_;
};

}  // namespace orvkit
