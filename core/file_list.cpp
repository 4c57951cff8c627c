#include "core/file_list.h"

#include <cwchar>
#include <new>

namespace orvkit {

std::wstring file_record::path() const {
    std::wstring out;
    out.reserve(path_length());
    append_path(out);
    return out;
}

std::size_t file_record::path_length() const {
    const std::size_t name_length = name ? std::wcslen(name) : 0;
    return folder ? folder->size() + 1 + name_length : name_length;
}

void file_record::append_path(std::wstring& out) const {
    if (folder) {
        out.append(folder->data(), folder->size());
        out += L'\\';
    }
    if (name) out += name;
}

orvFileList::orvFileList(std::size_t bytes) : read_buffer(new (std::nothrow) uint8_t[bytes]) {
    if (read_buffer) read_buffer_bytes = bytes;
}

orvFileList::~orvFileList() { clear(); }

const kept_text* orvFileList::add_folder(std::wstring_view folder) {
    if (last_folder_ && last_folder_->view() == folder) return last_folder_;
    return last_folder_ = &folders_[folders_.intern(folder)];
}

const kept_text* orvFileList::find_folder(std::wstring_view folder) const {
    const text_set::text_id id = folders_.find(folder);
    return id == text_set::none ? nullptr : &folders_[id];
}

file_record& orvFileList::add_record(const kept_text* folder, std::wstring_view name, const file_record& fields) {
    file_record& added = records.push_back(fields);
    added.folder = folder;
    added.name = names_.keep(name);
    return added;
}

file_record& orvFileList::add_record(std::wstring_view path, const file_record& fields) {
    const std::size_t cut = path.rfind(L'\\');
    if (cut == std::wstring_view::npos) return add_record(nullptr, path, fields);
    return add_record(add_folder(path.substr(0, cut)), path.substr(cut + 1), fields);
}

void orvFileList::remove_record(std::size_t index) {
    if (index >= records.size()) return;
    for (std::size_t i = index; i + 1 < records.size(); ++i) *records[i] = *records[i + 1];
    records.shrink_to(records.size() - 1);
    publish_count();
}

void orvFileList::drop_pruned() {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (records[i]->pruned) continue;
        if (kept != i) *records[kept] = *records[i];
        ++kept;
    }
    records.shrink_to(kept);
    publish_count();
}

void orvFileList::clear() {
    records.shrink_to(0);
    names_.clear();
    folders_.clear();
    last_folder_ = nullptr;
    record_count.store(0);
    total_bytes = 0;
}

std::shared_ptr<orvFileList> make_file_list() { return std::make_shared<orvFileList>(); }

}  // namespace orvkit
