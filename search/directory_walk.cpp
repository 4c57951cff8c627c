#include "search/directory_walk.h"

#include <algorithm>
#include <memory>

#include "base/long_path.h"
#include "base/owner.h"
#include "base/win32_numbers.h"
#include "core/file_identity.h"
#include "compare/run_gate.h"
#include "search/volume_root.h"

namespace orvkit {

namespace {


uint64_t ticks(const FILETIME& t) { return join_halves(t.dwHighDateTime, t.dwLowDateTime); }

// Records the folder as entered; false when this walk has entered it before.
bool enter_once(walk_context& walk, const std::wstring& folder) {
    const file_identity id = index_of(folder);
    if (!id.index_known) return true;  // cannot tell: walk it, the path length bounds any loop
    file_identity full;
    const bool seen = walk.entered.any_with_index(id.file_index, [&](const std::wstring& entered) {
        if (!full.volume_known) full = identity_of(folder);
        const file_identity other = identity_of(entered);
        return !full.volume_known || !other.volume_known || full.volume_serial == other.volume_serial;
    });
    if (seen) return false;
    walk.entered.add(id.file_index, folder);
    return true;
}

bool holds_marker(const orvFileList& list, const std::wstring& folder) {
    unique_handle probe(CreateFileW(system_path(folder + list.marker_suffix).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(probe);
}

bool is_link(const std::wstring& folder) {
    const DWORD attributes = GetFileAttributesW(system_path(folder).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// `beyond_link`: the folder is a link or lies below one. Such a folder is never
// removed: its contents are outside the tree the user chose, and on some systems
// removing the link removes its target.
void walk_tree(walk_context& walk, const std::wstring& folder, bool inherited_mark, bool beyond_link) {
    orvFileList& list = walk.list;
    list.publish_count();
    const std::size_t start_count = list.records.size();
    list.current_folder.set(folder);
    if (list.status.load() == orvFileList::stop_requested) return;

    const bool marked = inherited_mark || holds_marker(list, folder);

    WIN32_FIND_DATAW entry;
    {
        find_handle found(FindFirstFileExW(system_path(folder + list.pattern_suffix).c_str(), FindExInfoBasic,
                                           &entry, FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
        if (found) {
            do {
                add_entry(walk, entry, folder, marked, beyond_link);
            } while (list.status.load() != orvFileList::stop_requested && FindNextFileW(found.get(), &entry));
        }
    }

    // Runs after the entries, so an all-empty tree goes bottom-up, start folder included.
    if (list.remove_empty_folders && list.records.size() == start_count && !beyond_link &&
        RemoveDirectoryW(system_path(folder).c_str()))
        ++list.empty_folders_removed;
    list.publish_count();
}

}  // namespace

std::size_t entered_folders::slot_for(uint64_t index) const {
    return static_cast<std::size_t>((index * 0x9E3779B97F4A7C15ull) >> 32) & (table_.size() - 1);
}

void entered_folders::add(uint64_t index, const std::wstring& path) {
    entries_.push_back({index, paths_.keep(path)});
    if (entries_.size() * 2 > table_.size()) {
        // Doubles the table (at least 1,024 slots) and places every entry again.
        table_.assign(std::max<std::size_t>(1024, table_.size() * 2), 0);
        for (uint32_t number = 1; number < entries_.size(); ++number) {
            std::size_t slot = slot_for(entries_[number - 1].index);
            while (table_[slot]) slot = (slot + 1) & (table_.size() - 1);
            table_[slot] = number;
        }
    }
    std::size_t slot = slot_for(index);
    while (table_[slot]) slot = (slot + 1) & (table_.size() - 1);
    table_[slot] = static_cast<uint32_t>(entries_.size());
}

void walk_folder(orvFileList& list, const std::wstring& folder, bool marked) {
    walk_context walk{list, {}};
    enter_once(walk, folder);
    walk_tree(walk, folder, marked, is_link(folder));
}

void add_entry(walk_context& walk, const WIN32_FIND_DATAW& entry, const std::wstring& folder, bool marked,
               bool beyond_link) {
    orvFileList& list = walk.list;
    if (!hold_when_pause_settles()) return;
    const std::wstring name = entry.cFileName;
    // A volume's recycle bin holds copies of files the user deleted, often of files
    // still in use elsewhere: paired with them, the copy in use could be the one
    // removed. Restore points are the system's alone. Lower down, such names are
    // ordinary folders.
    if (is_volume_system_folder(name) && is_volume_root(folder)) return;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (name == L"." || name == L"..") return;
        const std::wstring subfolder = join_path(folder, name);
        if (!enter_once(walk, subfolder)) return;
        ++list.folders_visited;
        walk_tree(walk, subfolder, marked, beyond_link || (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT));
        return;
    }

    file_record fields;
    fields.size = join_halves(entry.nFileSizeHigh, entry.nFileSizeLow);
    fields.created = entry.ftCreationTime.dwLowDateTime;
    fields.accessed = entry.ftLastAccessTime.dwLowDateTime;
    fields.written = ticks(entry.ftLastWriteTime);
    fields.marked = marked;
    list.total_bytes += fields.size;
    list.add_record(join_path(folder, name), fields);
}

}  // namespace orvkit
