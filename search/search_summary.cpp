#include "search/search_summary.h"

namespace orvkit {

std::wstring search_summary(const search_totals& totals) {
    return std::to_wstring(totals.twins) + L" twins found in " + std::to_wstring(totals.files) +
           L" files. Total original size " + std::to_wstring(totals.total_bytes) + L" bytes. Total deleted " +
           std::to_wstring(totals.deleted_bytes) + L" bytes. Total folders " + std::to_wstring(totals.folders) +
           L" with " + std::to_wstring(totals.empty_folders_removed) + L" empty folders deleted.";
}

}  // namespace orvkit
