#include "core/run_options.h"

#include "base/long_path.h"
#include "core/globals.h"
#include "core/search_modes.h"
#include "core/state.h"

namespace orvkit {

namespace {

removal_choice choice_of_options() {
    if (remove_column_a) return removal_choice::column_a;
    if (remove_column_b) return removal_choice::column_b;
    switch (keep_rule.load()) {
    case keep_rule_older: return removal_choice::keep_older;
    case keep_rule_newer: return removal_choice::keep_newer;
    case keep_rule_shorter_path: return removal_choice::keep_shorter_path;
    default: return removal_choice::none;
    }
}

}  // namespace

run_options take_run_options(const ostrand_state& state, const std::wstring& search_this) {
    run_options options;
    options.match_percentage = state.settings.match_percentage;
    options.use_hash = state.settings.use_hash != 0;
    options.check_zero_length = state.settings.check_zero_length != 0;
    options.remove_empty_dirs = state.settings.remove_empty_dirs != 0;
    options.removal = state.deletions.options;
    options.choice = choice_of_options();
    options.mark_only = options.choice != removal_choice::none && mark_only != 0;
    // Protection needs a folder that names one: an empty box protects nothing, but
    // never more than the user sees in it.
    if (state.settings.protect_search_this && search_mode == mode_qdir_plus && !search_this.empty())
        options.protected_folder = full_path(search_this);
    return options;
}

}  // namespace orvkit
