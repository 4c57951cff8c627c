#include "core/run_options.h"

#include "core/globals.h"
#include "core/state.h"

namespace orvkit {

run_options take_run_options(const ostrand_state& state) {
    run_options options;
    options.match_percentage = state.settings.match_percentage;
    options.use_hash = state.settings.use_hash != 0;
    options.check_zero_length = state.settings.check_zero_length != 0;
    options.remove_empty_dirs = state.settings.remove_empty_dirs != 0;
    options.removal = state.deletions.options;
    options.remove_column_a = remove_column_a != 0;
    options.remove_column_b = remove_column_b != 0;
    return options;
}

}  // namespace orvkit
