#include "core/journal_format.h"

namespace orvkit {

namespace {

// Lines of earlier versions have no bin time.
constexpr std::size_t old_field_count = 7;
constexpr std::size_t field_count = 8;
constexpr std::size_t size_digits_max = 19;  // below 10^19: no overflow of 64 bits

const wchar_t* const action_names[] = {L"recycled", L"deleted", L"moved",  L"restored", L"undone",
                                       L"recycling", L"deleting", L"moving", L"failed",   L"ended"};

std::string utf16le(const std::wstring& text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (const wchar_t unit : text) {
        out += static_cast<char>(unit & 0xFF);
        out += static_cast<char>((unit >> 8) & 0xFF);
    }
    return out;
}

bool has_control_character(const std::wstring& text) {
    for (const wchar_t unit : text)
        if (unit < 0x20) return true;
    return false;
}

// A full path as the program writes them: "X:\..." or "\\server\...".
bool is_full_path(const std::wstring& path) {
    const bool drive = path.size() >= 3 && path[1] == L':' && path[2] == L'\\';
    const bool share = path.size() >= 3 && path[0] == L'\\' && path[1] == L'\\';
    return (drive || share) && !has_control_character(path);
}

bool parse_size(const std::wstring& text, uint64_t& size) {
    if (text.empty() || text.size() > size_digits_max) return false;
    size = 0;
    for (const wchar_t digit : text) {
        if (digit < L'0' || digit > L'9') return false;
        size = size * 10 + static_cast<uint64_t>(digit - L'0');
    }
    return true;
}

bool parse_action(const std::wstring& text, journal_action& action) {
    for (std::size_t i = 0; i < std::size(action_names); ++i) {
        if (text == action_names[i]) {
            action = static_cast<journal_action>(i);
            return true;
        }
    }
    return false;
}

std::vector<std::wstring> split_fields(const std::wstring& line) {
    std::vector<std::wstring> fields(1);
    for (const wchar_t unit : line) {
        if (unit == L'\t')
            fields.emplace_back();
        else
            fields.back() += unit;
    }
    return fields;
}

bool parse_line(const std::wstring& line, journal_entry& entry) {
    const std::vector<std::wstring> fields = split_fields(line);
    if (fields.size() != field_count && fields.size() != old_field_count) return false;
    entry.time = fields[0];
    entry.path = fields[2];
    entry.target = fields[3];
    entry.partner = fields[4];
    entry.batch = fields[6];
    if (fields.size() == field_count) entry.bin_time = fields[7];
    if (!parse_action(fields[1], entry.action) || !parse_size(fields[5], entry.size)) return false;
    if (entry.time.empty() || entry.batch.empty() || has_control_character(entry.time + entry.batch + entry.bin_time))
        return false;
    // A batch's closing line, and an Undo's of earlier versions, name the batch alone.
    if (entry.action == journal_action::undone || entry.action == journal_action::ended)
        return entry.path.empty() && entry.target.empty();
    if (!is_full_path(entry.path)) return false;
    const bool moves = entry.action == journal_action::moved || entry.action == journal_action::moving;
    if ((moves || !entry.target.empty()) && !is_full_path(entry.target)) return false;
    return !has_control_character(entry.partner);
}

}  // namespace

std::string journal_preamble() {
    return "\xFF\xFE" + utf16le(L"Time (UTC)\tAction\tFile\tMoved to\tKept\tSize\tBatch\tBin time\r\n");
}

std::string journal_line(const journal_entry& entry) {
    const std::wstring line = entry.time + L'\t' + action_names[static_cast<std::size_t>(entry.action)] + L'\t' +
                              entry.path + L'\t' + entry.target + L'\t' + entry.partner + L'\t' +
                              std::to_wstring(entry.size) + L'\t' + entry.batch + L'\t' + entry.bin_time + L"\r\n";
    return utf16le(line);
}

std::vector<journal_entry> parse_journal(const uint8_t* bytes, std::size_t size) {
    std::vector<journal_entry> entries;
    if (size < 2 || bytes[0] != 0xFF || bytes[1] != 0xFE) return entries;
    std::wstring line;
    for (std::size_t at = 2; at + 1 < size; at += 2) {
        const wchar_t unit = static_cast<wchar_t>(bytes[at] | bytes[at + 1] << 8);
        if (unit != L'\n') {
            line += unit;
            continue;
        }
        // Only a line ended by its LF counts: a cut last line names nothing whole.
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        journal_entry entry;
        if (parse_line(line, entry)) entries.push_back(std::move(entry));
        line.clear();
    }
    return entries;
}

journal_action intent_of(journal_action done) {
    switch (done) {
    case journal_action::recycled: return journal_action::recycling;
    case journal_action::moved: return journal_action::moving;
    default: return journal_action::deleting;
    }
}

// A restore answers the latest removal of its path not answered yet; a removal
// whose file is back is no longer pending, so a second Undo retries only the rest.
undo_plan plan_undo(const std::vector<journal_entry>& entries) {
    undo_plan plan;
    for (auto it = entries.rbegin(); it != entries.rend() && plan.batch.empty(); ++it)
        if (it->action == journal_action::ended) plan.batch = it->batch;
    if (plan.batch.empty()) return plan;
    std::vector<const journal_entry*> removals;
    for (const journal_entry& entry : entries) {
        if (entry.batch != plan.batch) continue;
        if (entry.action == journal_action::deleted) ++plan.deleted;
        if (entry.action == journal_action::recycled || entry.action == journal_action::moved)
            removals.push_back(&entry);
        if (entry.action != journal_action::restored) continue;
        for (auto removal = removals.rbegin(); removal != removals.rend(); ++removal) {
            if (*removal && (*removal)->path == entry.path) {
                *removal = nullptr;
                break;
            }
        }
    }
    for (const journal_entry* removal : removals)
        if (removal) plan.pending.push_back(*removal);
    return plan;
}

}  // namespace orvkit
