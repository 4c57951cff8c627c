#include "search/checksum_pass.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <iterator>

#include "base/file_reading.h"
#include "base/long_path.h"
#include "base/owner.h"
#include "base/published_text.h"
#include "compare/run_gate.h"
#include "core/file_identity.h"
#include "core/globals.h"
#include "search/checksum.h"
#include "search/read_ahead.h"
#include "search/search_phases.h"

namespace orvkit {

namespace {

// The first piece of every file is small, so a pair that differs early costs little;
// each later piece is twice the last, up to 1 MiB (multiples of 4, so the sums equal
// those of any other whole-word split). A pause or an abort is seen between pieces.
constexpr std::size_t first_piece_bytes = 64 << 10;
constexpr std::size_t largest_piece_bytes = 1 << 20;
constexpr std::size_t smallest_piece_bytes = 4 << 10;
// The pieces held while one piece of a size group is compared: one per distinct
// content, so at most a piece per member; the piece shrinks in large groups.
constexpr std::size_t piece_budget_bytes = 64u << 20;
// Larger groups open each member again for each piece instead of keeping every
// member open.
constexpr std::size_t most_open_files = 512;
// First pieces are read ahead of the pass by this many threads, at most this many
// files ahead (so at most that many first pieces, 64 KiB each, are held).
constexpr std::size_t reading_threads = 4;
constexpr std::size_t read_ahead_files = 32;

// Written by the worker, read by the painting.
std::atomic<bool> pass_running{false};
std::atomic<uint64_t> pass_done{0};
std::atomic<uint64_t> pass_total{0};
std::atomic<uint64_t> pass_known{0};
published_text pass_file;
std::atomic<uint64_t> pass_opens{0};
std::atomic<uint64_t> pass_bytes{0};

bool keep_reading(const orvFileList& list) {
    return list.status.load() != orvFileList::stop_requested && hold_when_pause_settles();
}

struct member {
    file_record* record = nullptr;
    uint32_t known = 0;  // the checksum it came with (0: none)
    unique_handle file;
    checksum_accumulator sum;
};

// The members read to equal bytes so far, and where their piece lies.
struct part {
    const uint8_t* bytes;
    std::vector<member*> members;
};

std::size_t piece_limit(std::size_t members) {
    const std::size_t share = (piece_budget_bytes / std::max<std::size_t>(members, 1)) & ~(smallest_piece_bytes - 1);
    return std::clamp(share, smallest_piece_bytes, largest_piece_bytes);
}

// The first piece of a set of `members` files of `size` bytes read together.
std::size_t first_piece_length(std::size_t members, uint64_t size) {
    return static_cast<std::size_t>(std::min<uint64_t>(std::min(first_piece_bytes, piece_limit(members)), size));
}

// Records of one size whose first pieces are read together: a whole size group or,
// when every member came with its checksum, the members sharing one. A set that
// is not read (a member alone with the checksum it came with) keeps its checksum.
struct reading_set {
    std::size_t first, end;  // in reading_plan::order
    bool read;
};

// A first piece as the pass will ask for it.
struct first_read {
    uint32_t record;  // index in the list
    uint32_t length;  // with the byte past a last piece
    bool keep_open;
};

// Every set of the pass in the order it is read, and the first pieces it reads, in
// the order it asks for them.
struct reading_plan {
    std::vector<uint32_t> order;  // record indexes
    std::vector<reading_set> sets;
    std::vector<first_read> first_reads;
};

// Opens a record's file for the pass; its file index is read now only when the
// file is not kept open (else once it proves to have a twin, since only the pairs
// of twins need it). Empty when it cannot be opened: its pairs then open it as
// before and fail.
unique_handle open_record(file_record& record, bool index_now) {
    unique_handle file;
    {
        const phase_timer timer(search_phase::opening);
        file = open_for_reading(record.path(), FILE_FLAG_SEQUENTIAL_SCAN);
    }
    ++pass_opens;
    if (file && index_now) read_file_index(file.get(), record.identity);
    return file;
}

bool open_member(member& m, bool index_now) {
    m.file = open_record(*m.record, index_now);
    return static_cast<bool>(m.file);
}

// Opens a member that was not kept open again, at `offset`.
bool reopen_member(member& m, uint64_t offset) {
    LARGE_INTEGER to{};
    to.QuadPart = static_cast<LONGLONG>(offset);
    return open_member(m, false) && SetFilePointerEx(m.file.get(), to, nullptr, FILE_BEGIN);
}

// Reads `length` bytes at `offset` into `buffer`, opening the member again at the
// offset when it was not kept open. The last piece asks for one byte more, which
// only a file grown since the walk has. False on a short read or a grown file.
bool read_piece(member& m, uint64_t offset, uint8_t* buffer, std::size_t length, bool last) {
    if (!m.file && !reopen_member(m, offset)) return false;
    const std::size_t got = read_whole(m.file.get(), buffer, length + (last ? 1 : 0));
    pass_bytes += got;
    return got == length;
}

// A first piece read on a reading thread, as the pass would read it itself.
void read_early(file_record& record, const first_read& planned, early_piece& piece) {
    piece.tried = true;
    unique_handle file = open_record(record, !planned.keep_open);
    if (!file) return;
    if (piece.bytes.size() < planned.length) piece.bytes.resize(planned.length);
    piece.got = read_whole(file.get(), piece.bytes.data(), planned.length);
    pass_bytes += piece.got;
    if (planned.keep_open) piece.file = std::move(file);
}

// What the pass works with.
struct pass_context {
    const orvFileList& list;
    bool whole_files;
    content_classes& classes;
    const reading_plan& plan;
    read_ahead& ahead;
    std::vector<uint8_t> slots;  // the pieces compared, kept from set to set so their memory is touched once
};

// A member's first piece: the one read ahead for it, else (its reader left it, the
// run stopping) read now.
bool read_first_piece(member& m, uint8_t* buffer, std::size_t length, bool last, bool keep_open,
                      pass_context& pass) {
    const std::size_t job = pass.ahead.next_job();
    if (job < pass.plan.first_reads.size() && pass.list.records[pass.plan.first_reads[job].record] == m.record) {
        std::size_t got = 0;
        if (pass.ahead.take(m.file, buffer, got)) return got == length;
    }
    return open_member(m, !keep_open) && read_piece(m, 0, buffer, length, last);
}

void finish(member& m, uint32_t checksum, uint32_t content_class) {
    m.record->checksum = checksum;
    m.record->content_class = content_class;
    m.file.reset();
    ++pass_done;
    if (pass_total.load()) progress_percent = static_cast<int32_t>(100 * pass_done.load() / pass_total.load());
}

// Members read to the end with equal bytes: one class, each with its file index.
void finish_class(const std::vector<member*>& same, content_classes& classes) {
    std::vector<file_record*> records;
    for (member* m : same) {
        if (m->file && same.size() >= 2) read_file_index(m->file.get(), m->record->identity);
        records.push_back(m->record);
    }
    const uint32_t id = classes.add_class(records);
    for (member* m : same) finish(*m, m->sum.value(), id);
}

// The members of one reading set, read piece by piece: each piece of each member
// that is still equal to another is compared with the pieces of the others.
// Returns false when stopped.
bool read_set(std::vector<member>& members, uint64_t size, pass_context& pass) {
    const std::size_t widest = piece_limit(members.size());
    // A slot per distinct piece and one to read into (with the byte past the last piece).
    const std::size_t stride = widest + 1;
    if (pass.slots.size() < (members.size() + 1) * stride) pass.slots.resize((members.size() + 1) * stride);
    const bool keep_open = members.size() <= most_open_files;
    // The checksum counts the low half of the size, as the walk's sum always has.
    const uint64_t summed_bytes = size & 0xFFFFFFFFu;
    std::vector<std::vector<member*>> alike(1);
    for (member& m : members) alike[0].push_back(&m);
    uint64_t offset = 0;
    std::size_t piece = first_piece_length(members.size(), size);
    while (!alike.empty()) {
        const std::size_t length = static_cast<std::size_t>(std::min<uint64_t>(piece, size - offset));
        const bool last = offset + length == size;
        std::vector<std::vector<member*>> next;
        for (const std::vector<member*>& same : alike) {
            std::vector<part> parts;
            for (member* m : same) {
                uint8_t* buffer = pass.slots.data() + parts.size() * stride;  // the next free slot
                if (!keep_reading(pass.list)) return false;
                pass_file.set(m->record->path());
                const bool read = offset == 0 ? read_first_piece(*m, buffer, length, last, keep_open, pass)
                                              : read_piece(*m, offset, buffer, length, last);
                if (!read) {
                    finish(*m, 0, 0);  // unknown: its pairs open it and find what changed
                    continue;
                }
                if (offset < summed_bytes)
                    m->sum.add_block(buffer, static_cast<std::size_t>(std::min<uint64_t>(length, summed_bytes - offset)));
                if (!keep_open) m->file.reset();
                auto equal = std::find_if(parts.begin(), parts.end(), [&](const part& p) {
                    const member& first = *p.members.front();
                    return first.sum.first_sum() == m->sum.first_sum() && first.sum.second_sum() == m->sum.second_sum() &&
                           std::memcmp(p.bytes, buffer, length) == 0;
                });
                if (equal != parts.end()) {
                    equal->members.push_back(m);
                } else {
                    parts.push_back({buffer, {m}});
                }
            }
            for (part& p : parts) {
                // Alone: no other file has these bytes. Its checksum is known only
                // when it was read to the end.
                if (p.members.size() == 1 && !pass.whole_files) {
                    member& m = *p.members.front();
                    finish(m, last ? m.sum.value() : m.known, pass.classes.add_class({&m.record, 1}));
                } else if (last) {
                    finish_class(p.members, pass.classes);
                } else {
                    next.push_back(std::move(p.members));
                }
            }
        }
        alike = std::move(next);
        offset += length;
        piece = std::min(piece * 2, widest);
    }
    return true;
}

// The records of a non-zero size that another record shares, grouped by size, each
// group in list order. The groups come in the order of their first files in the
// list, the order the walk met them: on a disk that no cache holds, the reads then
// move through the tree as it lies instead of jumping across it by size.
std::vector<uint32_t> shared_sizes(const orvFileList& list) {
    std::vector<std::pair<uint64_t, uint32_t>> keys;
    keys.reserve(list.records.size());
    for (std::size_t i = 0; i < list.records.size(); ++i)
        if (list.records[i]->size > 0) keys.push_back({list.records[i]->size, static_cast<uint32_t>(i)});
    std::sort(keys.begin(), keys.end());
    std::vector<std::pair<std::size_t, std::size_t>> groups;  // [first, end) in keys
    for (std::size_t first = 0; first < keys.size();) {
        std::size_t end = first + 1;
        while (end < keys.size() && keys[end].first == keys[first].first) ++end;
        if (end - first >= 2) groups.push_back({first, end});
        first = end;
    }
    std::sort(groups.begin(), groups.end(),
              [&](const auto& x, const auto& y) { return keys[x.first].second < keys[y.first].second; });
    std::vector<uint32_t> members;
    for (const auto& [first, end] : groups)
        for (std::size_t i = first; i < end; ++i) members.push_back(keys[i].second);
    return members;
}

// The sets of the size groups in `shared` (see shared_sizes) and their first pieces.
// A group whose every member came with its checksum is read only where a checksum
// is shared, each such set on its own.
reading_plan plan_reading(const orvFileList& list, std::vector<uint32_t> shared) {
    reading_plan plan;
    plan.order = std::move(shared);
    std::vector<uint32_t>& order = plan.order;
    const auto checksum = [&](uint32_t index) { return list.records[index]->checksum; };
    for (std::size_t first = 0; first < order.size();) {
        const uint64_t size = list.records[order[first]]->size;
        std::size_t end = first;
        bool all_known = true;
        for (; end < order.size() && list.records[order[end]]->size == size; ++end)
            all_known = all_known && checksum(order[end]) != 0;
        if (!all_known) {
            plan.sets.push_back({first, end, true});
        } else {
            std::stable_sort(order.begin() + static_cast<std::ptrdiff_t>(first),
                             order.begin() + static_cast<std::ptrdiff_t>(end),
                             [&](uint32_t x, uint32_t y) { return checksum(x) < checksum(y); });
            for (std::size_t run = first; run < end;) {
                std::size_t run_end = run + 1;
                while (run_end < end && checksum(order[run_end]) == checksum(order[run])) ++run_end;
                plan.sets.push_back({run, run_end, run_end - run > 1});
                run = run_end;
            }
        }
        first = end;
    }
    for (const reading_set& set : plan.sets) {
        if (!set.read) continue;
        const std::size_t members = set.end - set.first;
        for (std::size_t i = set.first; i < set.end; ++i) {
            const uint64_t size = list.records[order[i]]->size;
            const std::size_t length = first_piece_length(members, size);
            plan.first_reads.push_back(
                {order[i], static_cast<uint32_t>(length + (length == size ? 1 : 0)), members <= most_open_files});
        }
    }
    return plan;
}

}  // namespace

bool checksum_shared_sizes(orvFileList& list, bool whole_files, content_classes& classes) {
    classes.clear();
    std::vector<uint32_t> shared = shared_sizes(list);
    uint64_t known = 0;
    {
        std::vector<bool> is_shared(list.records.size(), false);
        for (const uint32_t index : shared) is_shared[index] = true;
        for (std::size_t i = 0; i < list.records.size(); ++i) {
            file_record& record = *list.records[i];
            record.content_class = 0;
            if (!is_shared[i]) record.checksum = 0;  // cannot pair: not computed
            if (record.checksum != 0) ++known;
        }
    }
    pass_done = 0;
    pass_total = shared.size();
    pass_known = known;
    pass_file.set({});
    pass_running = true;
    const reading_plan plan = plan_reading(list, std::move(shared));
    bool complete = true;
    {
        read_ahead ahead(plan.first_reads.size(), reading_threads, read_ahead_files,
                         [&](std::size_t job, early_piece& piece) {
                             if (!keep_reading(list)) return;
                             const first_read& planned = plan.first_reads[job];
                             read_early(*list.records[planned.record], planned, piece);
                         });
        pass_context pass{list, whole_files, classes, plan, ahead, {}};
        for (const reading_set& set : plan.sets) {
            std::vector<member> members(set.end - set.first);
            for (std::size_t i = set.first; i < set.end; ++i) {
                member& m = members[i - set.first];
                m.record = list.records[plan.order[i]];
                m.known = m.record->checksum;
            }
            if (!set.read) {
                finish(members.front(), members.front().known, classes.add_class({&members.front().record, 1}));
            } else if (!read_set(members, members.front().record->size, pass)) {
                complete = false;
                break;
            }
        }
    }
    if (!complete) {
        for (const auto& record : list.records) {
            record->checksum = 0;
            record->content_class = 0;
        }
        classes.clear();
    }
    pass_running = false;
    progress_percent = 0;
    return complete;
}

std::wstring checksum_status_line() {
    if (!pass_running.load()) return {};
    std::wstring line = L"Checksums of " + std::to_wstring(pass_done.load()) + L" of " +
                        std::to_wstring(pass_total.load()) + L" files of shared sizes";
    if (pass_known.load()) line += L", " + std::to_wstring(pass_known.load()) + L" from the last index";
    return line + L". Current file: " + pass_file.get();
}

uint64_t checksum_pass_opens() { return pass_opens.load(); }

uint64_t checksum_pass_bytes() { return pass_bytes.load(); }

uint64_t checksum_pass_known() { return pass_known.load(); }

}  // namespace orvkit
