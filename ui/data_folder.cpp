#include "ui/data_folder.h"

#include <windows.h>

#include "app/state.h"

namespace orvkit {

// The data folder is the program's own folder (portable use).
int locate_folders(std::shared_ptr<ostrand_state> state) {
    wchar_t module[1200] = {};
    GetModuleFileNameW(nullptr, module, 1200);
    state->program_path = module;
    state->data_path = state->program_path.full;
    return 0;
}

}  // namespace orvkit
