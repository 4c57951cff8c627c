// Automatic removal by a keep rule through the real window: of every group of copies the one the rule prefers stays.
#include <tuple>

#include "core/run_options.h"
#include "support/removal.h"

using namespace test_support;

// Copy i of a group lies in a folder of lens[i] letters and was written secs[i] seconds after a fixed time: in groups
// of 2, 3 and 5 the oldest is copy 1, the newest copy 0, 2, 2, the shortest path copy 0, 2, 3 (names never clash).
constexpr int lens[] = {3, 4, 2, 1, 5}, secs[] = {30, 10, 50, 20, 40}, group_sizes[] = {2, 3, 5};

using KeepRules = removal_window_test;

TEST_F(KeepRules, EachKeepRuleKeepsTheCopyItPrefersInGroupsOfAnySize) {
    const std::tuple<uint8_t, std::array<int, 3>> rules[] = {
        {keep_rule_older, {1, 1, 1}}, {keep_rule_newer, {0, 2, 2}}, {keep_rule_shorter_path, {0, 2, 3}}};
    for (const uint32_t mode : {delete_mode_recycle, delete_mode_delete, delete_mode_move}) {
        for (const auto& [rule, kept] : rules) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << ", rule " << int(rule));
            temp_folder tree, moved;
            std::vector<std::vector<std::wstring>> groups(3);
            for (int g = 0; g < 3; ++g)
                for (int i = 0; i < group_sizes[g]; ++i) {
                    const std::wstring name = std::to_wstring(g) + L"\\" + std::wstring(lens[i], wchar_t(L'a' + i)) +
                                              L"\\c" + std::to_wstring(g * 10 + i) + L".dat";
                    groups[g].push_back(tree.make_file(L"g" + name, std::string(50 + g, char('k' + g))));
                    set_written_time(groups[g].back(), 133'000'000'000'000'000ull + secs[i] * 10'000'000ull);
                }
            app_state->deletions.options = {mode, moved.path()};
            remove_when_found = 1;
            keep_rule = rule;
            search(mode_directory, tree.path());
            for (int g = 0; g < 3; ++g)
                for (int i = 0; i < group_sizes[g]; ++i)
                    EXPECT_EQ(exists(groups[g][i]), i == kept[g]) << narrow(groups[g][i]);
        }
    }
}
