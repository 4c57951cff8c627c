#include "core/run_protocol.h"

#include "core/globals.h"

namespace orvkit {

void end_worker_run() {
    pause_code = pause_running;
    progress_percent = progress_finished;
    run_status = status_idle;
}

}  // namespace orvkit
