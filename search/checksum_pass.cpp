#include "search/checksum_pass.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <iterator>

#include "base/file_reading.h"
#include "base/long_path.h"
#include "base/owner.h"
#include "base/published_text.h"
#include "core/file_identity.h"
#include "core/globals.h"
#include "search/checksum.h"
#include "search/search_phases.h"
#include "compare/run_gate.h"

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

// Opens a member at the start of its size group; its file index is read now only
// when the file is not kept open (else once it proves to have a twin, since only
// the pairs of twins need it). False when it cannot be opened: its pairs then open
// it as before and fail.
bool open_member(member& m, bool index_now) {
    {
        const phase_timer timer(search_phase::opening);
        m.file = open_for_reading(m.record->path(), FILE_FLAG_SEQUENTIAL_SCAN);
    }
    ++pass_opens;
    if (m.file && index_now) read_file_index(m.file.get(), m.record->identity);
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

// The members of one size, read piece by piece: each piece of each member that is
// still equal to another is compared with the pieces of the others. Returns false
// when stopped.
bool read_size_group(std::vector<member>& members, uint64_t size, bool whole_files, content_classes& classes,
                     const orvFileList& list, std::vector<uint8_t>& slots) {
    const std::size_t widest = piece_limit(members.size());
    // A slot per distinct piece and one to read into (with the byte past the last
    // piece); kept from group to group, so its memory is touched once.
    const std::size_t stride = widest + 1;
    if (slots.size() < (members.size() + 1) * stride) slots.resize((members.size() + 1) * stride);
    const bool keep_open = members.size() <= most_open_files;
    // The checksum counts the low half of the size, as the walk's sum always has.
    const uint64_t summed_bytes = size & 0xFFFFFFFFu;
    std::vector<std::vector<member*>> alike(1);
    for (member& m : members) alike[0].push_back(&m);
    uint64_t offset = 0;
    std::size_t piece = std::min(first_piece_bytes, widest);
    while (!alike.empty()) {
        const std::size_t length = static_cast<std::size_t>(std::min<uint64_t>(piece, size - offset));
        const bool last = offset + length == size;
        std::vector<std::vector<member*>> next;
        for (const std::vector<member*>& same : alike) {
            std::vector<part> parts;
            for (member* m : same) {
                uint8_t* buffer = slots.data() + parts.size() * stride;  // the next free slot
                if (!keep_reading(list)) return false;
                pass_file.set(m->record->path());
                if ((offset == 0 && !open_member(*m, !keep_open)) || !read_piece(*m, offset, buffer, length, last)) {
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
                if (p.members.size() == 1 && !whole_files) {
                    member& m = *p.members.front();
                    finish(m, last ? m.sum.value() : m.known, classes.add_class({m.record}));
                } else if (last) {
                    finish_class(p.members, classes);
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

// A size group whose every member came with its checksum: only members whose
// checksum another shares are read, each such set on its own; the rest keep theirs.
bool read_known_group(std::vector<member>& members, uint64_t size, bool whole_files, content_classes& classes,
                      const orvFileList& list, std::vector<uint8_t>& slots) {
    std::stable_sort(members.begin(), members.end(),
                     [](const member& x, const member& y) { return x.known < y.known; });
    for (std::size_t first = 0; first < members.size();) {
        std::size_t end = first + 1;
        while (end < members.size() && members[end].known == members[first].known) ++end;
        if (end - first == 1) {
            finish(members[first], members[first].known, classes.add_class({members[first].record}));
        } else {
            std::vector<member> same(std::make_move_iterator(members.begin() + static_cast<std::ptrdiff_t>(first)),
                                     std::make_move_iterator(members.begin() + static_cast<std::ptrdiff_t>(end)));
            if (!read_size_group(same, size, whole_files, classes, list, slots)) return false;
        }
        first = end;
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

}  // namespace

bool checksum_shared_sizes(orvFileList& list, bool whole_files, content_classes& classes) {
    classes.clear();
    const std::vector<uint32_t> shared = shared_sizes(list);
    std::vector<bool> is_shared(list.records.size(), false);
    for (const uint32_t index : shared) is_shared[index] = true;
    uint64_t known = 0;
    for (std::size_t i = 0; i < list.records.size(); ++i) {
        file_record& record = *list.records[i];
        record.content_class = 0;
        if (!is_shared[i]) record.checksum = 0;  // cannot pair: not computed
        if (record.checksum != 0) ++known;
    }
    std::vector<uint8_t> slots;
    pass_done = 0;
    pass_total = shared.size();
    pass_known = known;
    pass_file.set({});
    pass_running = true;
    bool complete = true;
    for (std::size_t first = 0; complete && first < shared.size();) {
        const uint64_t size = list.records[shared[first]]->size;
        std::vector<member> members;
        bool all_known = true;
        for (; first < shared.size() && list.records[shared[first]]->size == size; ++first) {
            member& m = members.emplace_back();
            m.record = list.records[shared[first]];
            m.known = m.record->checksum;
            all_known = all_known && m.known != 0;
        }
        complete = all_known ? read_known_group(members, size, whole_files, classes, list, slots)
                             : read_size_group(members, size, whole_files, classes, list, slots);
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
