// Reads the first pieces of the files a pass will read, on a few threads and a few
// files ahead of it, in the order the pass takes them. A file's open and first read
// mostly wait: on Wine for the server, on a cold disk for the device. With several
// such waits at once the device and the server overlap them, which a single reader
// cannot. The pass still takes every piece in its own order and compares as before.
//
// Memory: at most `window` pieces are held, each of the largest first piece's size.
#pragma once
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "base/owner.h"

namespace orvkit {

// One job's outcome: the file (left open when its pass keeps it open) and its piece.
struct early_piece {
    unique_handle file;
    std::vector<uint8_t> bytes;  // sized by the reader
    std::size_t got = 0;         // bytes read into `bytes`
    bool tried = false;          // false: left to the pass (the run was stopping when its turn came)
};

class read_ahead {
public:
    // Reads one job into its piece; called on the reading threads, never two at once
    // for one job.
    using reader = std::function<void(std::size_t job, early_piece& piece)>;

    // Starts `threads` threads over jobs 0 to `jobs` - 1, at most `window` jobs ahead
    // of the last one taken.
    read_ahead(std::size_t jobs, std::size_t threads, std::size_t window, reader read);
    // Stops the threads (a job under way is finished) and closes what was not taken.
    ~read_ahead();
    read_ahead(const read_ahead&) = delete;
    read_ahead& operator=(const read_ahead&) = delete;

    // The next job in order: waits until its reader is done with it, then moves its
    // file into `file` and copies its bytes into `target` (room for the job's piece).
    // False (nothing moved, `got` 0) when the reader left the job to the caller.
    bool take(unique_handle& file, uint8_t* target, std::size_t& got);
    // The number of the job `take` gives next.
    std::size_t next_job() const { return taken_; }

private:
    enum class slot_state : uint8_t { free, reading, ready };
    struct slot {
        slot_state state = slot_state::free;
        early_piece piece;
    };
    void run();

    std::size_t jobs_;
    std::size_t window_;
    reader read_;
    std::vector<slot> slots_;  // job j in slots_[j % window_]
    std::mutex lock_;
    std::condition_variable job_ready_;
    std::condition_variable room_;
    std::size_t claimed_ = 0;  // jobs handed to threads
    std::size_t taken_ = 0;    // jobs taken by the pass
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace orvkit
