#include "search/list_file.h"

namespace orvkit {

// Placeholder until the list files land.
void write_list_file(orvFileList&, const std::wstring&, const std::wstring&) {}
int64_t read_list_file(orvFileList&, const std::wstring&) { return 0; }

}  // namespace orvkit
