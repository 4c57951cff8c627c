#include "app/window_dialogs.h"

#include "actions/action_dialog.h"
#include "actions/column_delete_dialog.h"
#include "app/worker_start.h"
#include "core/globals.h"
#include "core/search_modes.h"
#include "resources/resource_ids.h"
#include "ui/results_list.h"

namespace orvkit {

int open_action_dialog(HWND window) {
    const int row = list_focused_row();
    if (search_mode == mode_file || run_status != status_idle) return 1;
    row_item.iItem = row == 0 ? 1 : row;
    const INT_PTR pressed = show_action_dialog(window);
    if (pressed == IDC_DETAIL_VIEW) {
        // Detail View: compare the pair the dialog left in path_a and path_b.
        search_mode = mode_file;
        start_worker(window);
    } else if (pressed == IDC_DELETE_ALL_A || pressed == IDC_DELETE_ALL_B) {
        // The column delete dialog takes its column from the run_status the action
        // dialog left (status_delete_all_a or _b) and clears it when it ends.
        int32_t request = run_status;
        show_column_delete_dialog(window);
        // Should the column delete dialog not run, nobody else clears the request.
        run_status.compare_exchange_strong(request, status_idle);
    }
    return 1;
}

}  // namespace orvkit
