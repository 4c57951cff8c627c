#include "actions/results_export.h"

namespace orvkit {

namespace {

void append_code_point(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

bool is_high_surrogate(wchar_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool is_low_surrogate(wchar_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

bool needs_quotes(const std::wstring& field) { return field.find_first_of(L",\"\r\n") != std::wstring::npos; }

void append_csv_field(std::string& out, const std::wstring& field) {
    if (!needs_quotes(field)) return append_utf8(out, field);
    std::wstring quoted = L"\"";
    for (const wchar_t unit : field) {
        if (unit == L'"') quoted += L'"';
        quoted += unit;
    }
    append_utf8(out, quoted + L'"');
}

// A tab-separated file has no quoting: a tab or line break would split the record.
void append_tab_field(std::string& out, std::wstring field) {
    for (wchar_t& unit : field)
        if (unit == L'\t' || unit == L'\r' || unit == L'\n') unit = L' ';
    append_utf8(out, field);
}

}  // namespace

void append_utf8(std::string& out, const std::wstring& text) {
    for (std::size_t at = 0; at < text.size(); ++at) {
        const wchar_t unit = text[at];
        if (is_high_surrogate(unit) && at + 1 < text.size() && is_low_surrogate(text[at + 1])) {
            append_code_point(out, 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (char32_t{text[at + 1]} - 0xDC00));
            ++at;
        } else {
            append_code_point(out, is_high_surrogate(unit) || is_low_surrogate(unit) ? 0xFFFD : char32_t{unit});
        }
    }
}

std::string format_records(const std::vector<export_record>& records, export_format format) {
    std::string out = "\xEF\xBB\xBF";
    const char separator = format == export_format::csv ? ',' : '\t';
    for (const export_record& record : records) {
        for (std::size_t field = 0; field < record.size(); ++field) {
            if (field > 0) out += separator;
            if (format == export_format::csv)
                append_csv_field(out, record[field]);
            else
                append_tab_field(out, record[field]);
        }
        out += "\r\n";
    }
    return out;
}

}  // namespace orvkit
