// The results list as a file: rows of texts in, the bytes of a CSV or tab-separated
// file out. Plain C++; what the rows hold is gathered by actions/save_results.h.
#pragma once
#include <string>
#include <vector>

namespace orvkit {

enum class export_format { csv, tab_separated };

// One record a row: its fields in order.
using export_record = std::vector<std::wstring>;

// UTF-8 with a byte-order mark, one record a line, CR LF after each. CSV quotes a
// field holding a comma, a double quote, CR or LF and doubles the quotes inside;
// tab-separated turns a tab, CR or LF inside a field into a space.
std::string format_records(const std::vector<export_record>& records, export_format format);

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
void append_utf8(std::string& out, const std::wstring& text);

}  // namespace orvkit
