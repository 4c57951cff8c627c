#include "search/search_worker.h"

#include "app/globals.h"

namespace orvkit {

// Placeholder until the search lands: ends at once.
DWORD WINAPI search_worker(LPVOID) {
    run_status = 0;
    pause_code = 0;
    progress_percent = 101;
    return 1;
}

}  // namespace orvkit
