// What automatic removal writes in a twin row's Result cell beside "Deleted A/B",
// and the row Mark Only adds before the closing row; read back by the command that
// removes the marked files and by the menu that offers it.
#pragma once
#include <cstdint>
#include <string>

namespace orvkit {

constexpr const wchar_t* marked_text = L"Would delete ";   // followed by the column, 'A' or 'B'
constexpr const wchar_t* protected_text = L"Protected";    // the chosen file lies in the protected folder
constexpr const wchar_t* marked_row_text = L"Marked";      // the row that counts the marks

// The Marked row's second cell: "3 files would be deleted, 3000 bytes".
std::wstring marked_summary(uint64_t files, uint64_t bytes);

// The column a Result cell marks ('A' or 'B'), or 0 for any other cell.
wchar_t marked_column(const std::wstring& cell);

}  // namespace orvkit
