#include "core/file_identity.h"

#include <winternl.h>

#include "base/file_reading.h"
#include "base/long_path.h"
#include "base/owner.h"
#include "base/win32_numbers.h"

namespace orvkit {

namespace {

// GetFileInformationByHandle also fetches the volume serial number, which costs
// about 0.7 ms a file under Wine; the index alone comes from one cheap query.
using query_information_file = NTSTATUS(NTAPI*)(HANDLE, PIO_STATUS_BLOCK, PVOID, ULONG, ULONG);
constexpr ULONG file_internal_information = 6;

query_information_file index_query() {
    static const auto query = reinterpret_cast<query_information_file>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationFile")));
    return query;
}

unique_handle open_for_identity(const std::wstring& path) {
    return unique_handle(CreateFileW(long_path(path).c_str(), FILE_READ_ATTRIBUTES,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

void ensure_index(file_record& record) {
    if (!record.identity.index_known) record.identity = index_of(record.path());
}

void ensure_volume(file_record& record) {
    if (!record.identity.volume_known) record.identity = identity_of(record.path());
}

}  // namespace

void read_file_index(HANDLE file, file_identity& identity) {
    const query_information_file query = index_query();
    IO_STATUS_BLOCK status{};
    LARGE_INTEGER index{};
    if (query && query(file, &status, &index, sizeof(index), file_internal_information) >= 0) {
        identity.file_index = static_cast<uint64_t>(index.QuadPart);
        identity.index_known = true;
    }
}

file_identity index_of(const std::wstring& path) {
    file_identity identity;
    unique_handle file = open_for_identity(path);
    if (file) read_file_index(file.get(), identity);
    return identity;
}

void (*volume_serial_seam)(HANDLE file, uint32_t& serial) = nullptr;

void read_full_identity(HANDLE file, file_identity& identity) {
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(file, &info)) return;
    identity.file_index = join_halves(info.nFileIndexHigh, info.nFileIndexLow);
    identity.volume_serial = info.dwVolumeSerialNumber;
    if (volume_serial_seam) volume_serial_seam(file, identity.volume_serial);
    identity.index_known = identity.volume_known = true;
}

file_identity identity_of(const std::wstring& path) {
    file_identity identity;
    unique_handle file = open_for_identity(path);
    if (file) read_full_identity(file.get(), identity);
    return identity;
}

namespace {

std::wstring final_path(HANDLE file) {
    wchar_t path[2048];
    const DWORD length = GetFinalPathNameByHandleW(file, path, 2048, FILE_NAME_NORMALIZED | VOLUME_NAME_NT);
    return length > 0 && length < 2048 ? std::wstring(path, length) : std::wstring();
}

bool same_text(const wchar_t* a, int a_length, const wchar_t* b, int b_length) {
    return CompareStringOrdinal(a, a_length, b, b_length, TRUE) == CSTR_EQUAL;
}

bool same_text(const std::wstring& a, const std::wstring& b) {
    return same_text(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()));
}

// Two records name one path, ignoring case, compared part by part without building
// either path: names never hold a "\", so the folders must match and the names too.
bool same_path(const file_record& a, const file_record& b) {
    if (!a.folder != !b.folder) return false;
    if (a.folder && a.folder != b.folder &&
        !same_text(a.folder->data(), static_cast<int>(a.folder->size()), b.folder->data(), static_cast<int>(b.folder->size())))
        return false;
    return same_text(a.name ? a.name : L"", -1, b.name ? b.name : L"", -1);
}

}  // namespace

// Only the cheap index is read; the volume serial (dear under Wine) only when two
// indexes agree without a sharing violation, to tell a cloned disk's file apart.
held_pair hold_pair(const std::wstring& file, const std::wstring& partner) {
    held_pair pair;
    pair.file = open_for_reading(file);
    if (!pair.file) return pair;
    read_file_index(pair.file.get(), pair.file_id);
    pair.partner.reset(CreateFileW(long_path(partner).c_str(), GENERIC_READ, FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    bool violation = false;
    if (!pair.partner && GetLastError() == ERROR_SHARING_VIOLATION) {
        // The file itself, or a partner that another program reads: opened as any
        // reader would, its index tells which.
        violation = true;
        pair.partner = open_for_reading(partner);
        if (!pair.partner) pair.partner.reset(CreateFileW(long_path(partner).c_str(), GENERIC_READ,
                                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    if (!pair.partner) {
        pair.identity = violation ? pair_identity::same : pair_identity::distinct;
        return pair;
    }
    read_file_index(pair.partner.get(), pair.partner_id);
    const file_identity &x = pair.file_id, &y = pair.partner_id;
    const bool indexes = x.index_known && y.index_known;
    const bool same_index = indexes && x.file_index == y.file_index;
    if (same_text(file, partner)) {
        pair.identity = pair_identity::same;
    } else if (violation) {
        // The file itself, unless the indexes show another file that a program reads.
        pair.identity = indexes && !same_index ? pair_identity::distinct : pair_identity::same;
    } else if (!indexes) {
        const std::wstring a = final_path(pair.file.get()), b = final_path(pair.partner.get());
        pair.identity = !a.empty() && same_text(a, b) ? pair_identity::same : pair_identity::unknown;
    } else if (!same_index) {
        pair.identity = pair_identity::distinct;
    } else {
        // Equal indexes without a violation: on two volumes, files of a cloned disk;
        // on one volume (or where the volumes cannot be read), one file.
        read_full_identity(pair.file.get(), pair.file_id);
        read_full_identity(pair.partner.get(), pair.partner_id);
        const bool volumes_differ = x.volume_known && y.volume_known && x.volume_serial != y.volume_serial;
        pair.identity = volumes_differ ? pair_identity::distinct : pair_identity::same;
    }
    return pair;
}

bool same_file(file_record& a, file_record& b) {
    if (same_path(a, b)) return true;
    ensure_index(a);
    ensure_index(b);
    // A file that cannot be opened cannot be compared either: no pair comes of it.
    if (!a.identity.index_known || !b.identity.index_known) return false;
    if (a.identity.file_index != b.identity.file_index) return false;
    ensure_volume(a);
    ensure_volume(b);
    if (!a.identity.volume_known || !b.identity.volume_known) return true;
    if (a.identity.volume_serial == b.identity.volume_serial) return true;
    // Equal indexes on what look like two volumes: two names of one share report two
    // serials for one file, while a cloned disk holds other files of the same
    // indexes. Only opening both can tell.
    return hold_pair(a.path(), b.path()).identity != pair_identity::distinct;
}

}  // namespace orvkit
