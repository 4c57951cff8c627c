#include "search/read_ahead.h"

#include <cstring>
#include <utility>

namespace orvkit {

read_ahead::read_ahead(std::size_t jobs, std::size_t threads, std::size_t window, reader read)
    : jobs_(jobs), window_(window == 0 ? 1 : window), read_(std::move(read)), slots_(window_) {
    for (std::size_t t = 0; t < threads && t < jobs; ++t) threads_.emplace_back([this] { run(); });
}

read_ahead::~read_ahead() {
    {
        const std::lock_guard<std::mutex> hold(lock_);
        stopping_ = true;
    }
    room_.notify_all();
    for (std::thread& thread : threads_) thread.join();
}

void read_ahead::run() {
    for (;;) {
        std::size_t job;
        {
            std::unique_lock<std::mutex> hold(lock_);
            room_.wait(hold, [this] { return stopping_ || claimed_ >= jobs_ || claimed_ < taken_ + window_; });
            if (stopping_ || claimed_ >= jobs_) return;
            job = claimed_++;
            slots_[job % window_].state = slot_state::reading;
        }
        early_piece& piece = slots_[job % window_].piece;
        piece.file.reset();
        piece.got = 0;
        piece.tried = false;
        try {
            read_(job, piece);
        } catch (...) {  // no memory for the piece: the pass reads it itself and meets the same
            piece.file.reset();
            piece.tried = false;
        }
        {
            const std::lock_guard<std::mutex> hold(lock_);
            slots_[job % window_].state = slot_state::ready;
        }
        job_ready_.notify_all();
    }
}

bool read_ahead::take(unique_handle& file, uint8_t* target, std::size_t& got) {
    got = 0;
    if (taken_ >= jobs_) return false;
    slot& next = slots_[taken_ % window_];
    {
        std::unique_lock<std::mutex> hold(lock_);
        // A job beyond the threads' reach (none were started) is never read.
        if (threads_.empty()) return false;
        job_ready_.wait(hold, [&] { return next.state == slot_state::ready; });
    }
    const bool read = next.piece.tried;
    if (read) {
        file = std::move(next.piece.file);
        got = next.piece.got;
        if (got) std::memcpy(target, next.piece.bytes.data(), got);
    }
    {
        const std::lock_guard<std::mutex> hold(lock_);
        next.state = slot_state::free;
        ++taken_;
    }
    room_.notify_all();
    return read;
}

}  // namespace orvkit
