#include "core/result_cells.h"

#include <cwchar>

namespace orvkit {

std::wstring marked_summary(uint64_t files, uint64_t bytes) {
    return std::to_wstring(files) + L" files would be deleted, " + std::to_wstring(bytes) + L" bytes";
}

wchar_t marked_column(const std::wstring& cell) {
    const std::size_t prefix = std::wcslen(marked_text);
    if (cell.size() != prefix + 1 || cell.compare(0, prefix, marked_text) != 0) return 0;
    return cell.back() == L'A' || cell.back() == L'B' ? cell.back() : 0;
}

}  // namespace orvkit
