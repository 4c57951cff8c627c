// The guard in front of every removal: its verdicts on real files, and what removals through the window report.
#include "compare/removal_guard.h"
#include "app/run_control.h"
#include "core/file_identity.h"
#include "core/run_options.h"
#include "search/list_file.h"
#include "support/removal.h"
#include "ui/menu_ids.h"

using namespace test_support;

TEST(RemovalGuard, VerdictsInTheOrderTheyAreChecked) {
    temp_folder folder;
    std::string content(3 * (1 << 20) + 5, 'w');  // more than three read pieces
    const std::wstring a = folder.make_file(L"a.txt", content), b = folder.make_file(L"b.txt", content);
    const std::wstring longer = folder.make_file(L"longer", content + "w");
    content.back() = 'x';
    const std::wstring last = folder.make_file(L"last", content);
    ASSERT_TRUE(CreateHardLinkW((folder / L"link.txt").c_str(), a.c_str(), nullptr));
    removal_guard guard;
    EXPECT_EQ(guard.check(a, b), removal_verdict::partner_stays);
    EXPECT_EQ(guard.check(a, last), removal_verdict::partner_changed) << "the last byte of the last piece";
    EXPECT_EQ(guard.check(a, longer), removal_verdict::partner_changed);
    EXPECT_EQ(guard.check(folder.make_file(L"empty1", ""), folder.make_file(L"empty2", "")),
              removal_verdict::partner_stays);
    EXPECT_EQ(guard.check(a, folder / L"gone.txt"), removal_verdict::partner_missing);
    EXPECT_EQ(guard.check(a, L""), removal_verdict::partner_missing);
    EXPECT_EQ(guard.check(a, folder / L"A.TXT"), removal_verdict::same_file) << "case ignored";
    EXPECT_EQ(guard.check(a, folder / L"link.txt"), removal_verdict::same_file) << "a hard link";
    EXPECT_EQ(guard.check(folder / L"gone.txt", b), removal_verdict::file_gone);
}

// A queued file still opens until the flush; a file the queue refused was not handed over: it may stay for another.
TEST(RemovalGuard, RemembersWhatItHandedOverByEveryName) {
    temp_folder folder;
    const std::wstring a = folder.make_file(L"a.txt", "same"), b = folder.make_file(L"b.txt", "same");
    const std::wstring link = folder / L"link.txt";
    ASSERT_TRUE(CreateHardLinkW(link.c_str(), b.c_str(), nullptr));
    DeleteQueue queue;
    removal_options recycle;
    removal_guard guard;
    EXPECT_EQ(guard.remove(queue, b, a, &recycle), removal_verdict::queued);
    EXPECT_TRUE(exists(b)) << "queued, not yet sent";
    EXPECT_EQ(guard.remove(queue, folder / L"B.TXT", a, &recycle), removal_verdict::already_removed);
    EXPECT_EQ(guard.remove(queue, link, a, &recycle), removal_verdict::other_name_removed);
    EXPECT_EQ(guard.remove(queue, a, b, &recycle), removal_verdict::partner_removed);
    EXPECT_EQ(guard.remove(queue, a, link, &recycle), removal_verdict::partner_removed);
    const std::vector<removal_outcome> sent = guard.flush(queue);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(std::pair(sent[0].path, sent[0].verdict), std::pair(b, removal_verdict::removed));
    EXPECT_TRUE(exists(a));
    EXPECT_FALSE(exists(b));
    EXPECT_TRUE(in_trash(b));
    const std::wstring c = folder.make_file(L"c.txt", "more"), d = folder.make_file(L"d.txt", "more");
    removal_options delete_outright{.delete_mode = delete_mode_delete};
    SetFileAttributesW(c.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(guard.remove(queue, c, d, &delete_outright), removal_verdict::queue_failed);
    SetFileAttributesW(c.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(guard.remove(queue, d, c, &delete_outright), removal_verdict::removed);
    EXPECT_TRUE(exists(c));
    EXPECT_FALSE(exists(d));
}

namespace {

// Trees in which one file stands in the index under two records: the name, the mode, search this, plus this.
const std::tuple<const char*, uint32_t, const wchar_t*, const wchar_t*> overlapping_shapes[] = {
    {"one folder twice", mode_qdir_plus, L"top", L"top"},
    {"plus this inside search this", mode_qdir_plus, L"top", L"top\\sub"},
    {"search this inside plus this", mode_qdir_plus, L"top\\sub", L"top"},
    {"hard links", mode_directory, L"top", nullptr},
};

struct overlapping_tree {
    overlapping_tree() {
        auto copies = [&](const std::string& content, std::vector<std::wstring> names) {
            for (auto& name : names) name = folder.make_file(name, content);
            groups.push_back(names);
        };
        copies(std::string(300, '1'), {L"top\\g1a.bin", L"top\\sub\\g1b.bin"});
        copies(std::string(700, '2'), {L"top\\g2a.bin", L"top\\sub\\g2b.bin", L"top\\sub\\g2c.bin"});
        copies(std::string(50, '3'), {L"top\\sub\\g3a.bin", L"top\\sub\\deep\\g3b.bin"});
        groups[1].push_back(folder / L"top\\sub\\g2link.bin");
        CreateHardLinkW(groups[1].back().c_str(), groups[1][1].c_str(), nullptr);
        // A symbolic link met before its target, with a copy after both: removing the link removes the target.
        folder.make_link(L"top\\sub\\g21sym.bin", groups[1][1]);
        groups[1].push_back(folder / L"top\\sub\\g21sym.bin");
        lone = {folder.make_file(L"top\\lone1.bin", std::string(299, '1') + "x"),
                folder.make_file(L"top\\sub\\lone2.bin", std::string(699, '2') + "y"),
                folder / L"top\\sub\\lone2link.bin"};
        CreateHardLinkW(lone.back().c_str(), lone[1].c_str(), nullptr);
    }
    temp_folder folder;
    std::vector<std::vector<std::wstring>> groups;
    std::vector<std::wstring> lone;
};

struct GuardedRemoval : removal_window_test {
    // Runs `run` while a helper answers No to each box the shell raises before it would destroy a file; how many.
    static int answering_no(const std::function<void()>& run) {
        const expect_dialogs expected;
        std::atomic<bool> done{false};
        std::atomic<int> answered{0};
        std::thread helper([&] {
            for (; !done; Sleep(20))
                for (HWND box : visible_dialogs()) {
                    press(box, IDNO);
                    ++answered;
                    wait_until([&] { return !IsWindow(box); });
                }
        });
        run();
        done = true;
        helper.join();
        return answered;
    }
    static std::wstring result_of(const std::wstring& path) {
        for (int row = 1; row + 1 < list_row_count(); ++row)
            if (list_cell(row, 1) == path) return list_cell(row, 2);
        return L"no row";
    }
    static std::wstring closing_summary() { return list_cell(list_row_count() - 1, 1); }
    std::size_t journalled(journal_action action, const std::wstring& path) const {
        const std::vector<journal_entry> lines = read_journal(data_ / L"Removals.txt");
        return std::count_if(lines.begin(), lines.end(),
                             [&](auto& line) { return line.action == action && line.path == path; });
    }
};

using WithoutRecycleBin = GuardedRemoval;

}  // namespace

// By column, as found or by Delete ALL, and by keep rule, as found or marked and removed afterwards.
TEST_F(GuardedRemoval, OverlappingTreesKeepACopyOfEveryGroup) {
    for (const auto& shape : overlapping_shapes)
        for (const uint32_t mode : {delete_mode_recycle, delete_mode_delete, delete_mode_move})
            for (const int how : {0, 1, 2, 3})  // column A, column B, keep the older file, keep the shorter path
                for (const bool automatic : {true, false}) {
                    const int pair = static_cast<int>(&shape - overlapping_shapes) * 2 + how;
                    // Delete ALL goes by column, through the modes in turn.
                    if (!automatic && (how > 1 || pair % 3 != static_cast<int>(mode))) continue;
                    const bool marking = how > 1 && (mode + how) % 2;
                    const auto& [name, shape_mode, search_this, plus_this] = shape;
                    const std::string run = std::string(name) + ", mode " + std::to_string(mode) + ", choice " +
                                            std::to_string(how) + (automatic ? ", as found" : ", Delete ALL") +
                                            (marking ? ", marked" : "");
                    overlapping_tree tree;
                    temp_folder moved;
                    app_state->deletions.options = {mode, moved.path()};
                    remove_when_found = automatic;
                    remove_column_a = automatic && how == 0;
                    remove_column_b = automatic && how == 1;
                    keep_rule = how == 2 ? keep_rule_older : how == 3 ? keep_rule_shorter_path : keep_rule_none;
                    mark_only = marking;
                    search(shape_mode, tree.folder / search_this, plus_this ? tree.folder / plus_this : std::wstring());
                    if (marking) SendMessageW(window, WM_COMMAND, menu_remove_marked, 0);
                    ASSERT_TRUE(pump_until(run_ended));
                    // No row names a file deleted or moved before it; a recycled or marked one waits for the end.
                    int deleted = 0;
                    std::set<std::wstring> removed;
                    for (int row = 1; automatic && row + 1 < list_row_count(); ++row) {
                        for (const int cell : {0, 1})
                            EXPECT_FALSE(removed.count(case_key(list_cell(row, cell))))
                                << run << ", row " << row << " names a file removed before it";
                        const std::wstring result = list_cell(row, 2);
                        if (result.rfind(L"Deleted ", 0) != 0) continue;
                        ++deleted;
                        if (mode != delete_mode_recycle && !marking)
                            removed.insert(case_key(list_cell(row, result.back() - L'A')));
                    }
                    if (automatic) {
                        EXPECT_GE(deleted, 3) << run << ": a copy of each group goes";
                    } else {
                        delete_column(how, answer::yes);
                        EXPECT_EQ(list_cell(0, 1).find(L"0 files removed"), std::wstring::npos) << run;
                    }
                    for (const auto& group : tree.groups)
                        EXPECT_TRUE(std::any_of(group.begin(), group.end(), exists))
                            << run << ": every copy of " << to_unix_path(group[0]) << " left the tree";
                    for (const auto& file : tree.lone) EXPECT_TRUE(exists(file)) << run << ": " << to_unix_path(file);
                }
}

// Held open without delete sharing, in every mode, removed as found or marked and removed afterwards.
TEST_F(GuardedRemoval, AFileTheSystemRefusesIsReportedKeptWhileTheOthersGo) {
    for (const auto& [mode, done] : {std::pair{delete_mode_recycle, journal_action::recycled},
                                     {delete_mode_delete, journal_action::deleted},
                                     {delete_mode_move, journal_action::moved}})
    for (const bool marking : {false, true}) {
        SCOPED_TRACE(testing::Message() << mode << marking);
        mark_only = marking;
        temp_folder tree, moved;
        std::vector<std::wstring> b;
        for (int group = 0; group < 3; ++group) {
            const std::string bytes(1000 * (group + 1), static_cast<char>('a' + group));
            tree.make_file(L"a" + std::to_wstring(group) + L".bin", bytes);
            b.push_back(tree.make_file(L"sub\\b" + std::to_wstring(group) + L".bin", bytes));
        }
        const unique_handle held(
            CreateFileW(b[1].c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        const int asked = answering_no([&] {
            search_removing_b(mode, tree.path(), moved);
            if (marking) SendMessageW(window, WM_COMMAND, menu_remove_marked, 0);
            ASSERT_TRUE(pump_until(run_ended));
        });
        EXPECT_EQ(asked, mode == delete_mode_recycle ? 1 : 0) << "the shell asks before it would destroy it";
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(result_of(b[i]), i == 1 ? L"Not deleted B" : L"Deleted B") << i;
            EXPECT_EQ(exists(b[i]), i == 1) << i;
            EXPECT_EQ(journalled(done, b[i]), i == 1 ? 0u : 1u) << i;
        }
        EXPECT_TRUE(marking || closing_summary().find(L"Total deleted 4000 bytes.") != std::wstring::npos);
        EXPECT_EQ(journalled(journal_action::failed, b[1]), 1u);
        DeleteFileW((data_ / L"Removals.txt").c_str());
    }
}

// Its partner, deleted during a pause before the recycle list is sent, no longer vouches for it.
TEST_F(GuardedRemoval, AQueuedFileStaysWhenItsTwinIsGoneBeforeTheListIsSent) {
    const std::wstring partner = tree.make_file(L"a\\1.bin", "one"), queued = tree.make_file(L"b\\1.bin", "one");
    // A pair that takes seconds to compare (differing only in its last byte), met after the first pair.
    tree.make_sparse_file(L"a\\2.bin", 1ull << 30);
    const std::wstring last = tree.make_sparse_file(L"b\\2.bin", 1ull << 30);
    ASSERT_EQ(run_unix("printf x | dd of=" + quoted(to_unix_path(last)) + " bs=1 seek=1073741823 conv=notrunc status=none"), 0);
    app_state->deletions.options.delete_mode = delete_mode_recycle;
    remove_when_found = remove_column_b = 1;
    begin_search(mode_directory, tree.path());
    ASSERT_TRUE(pump_until([] { return list_row_count() > 1 && list_cell(1, 2) == L"Queued B"; }));
    toggle_pause();
    ASSERT_TRUE(DeleteFileW(partner.c_str()));
    pump_for(100);
    toggle_pause();
    ASSERT_TRUE(pump_until(run_closed, 60000));
    EXPECT_EQ(result_of(queued), L"Not deleted B");
    EXPECT_TRUE(exists(queued));
    EXPECT_NE(closing_summary().find(L"Total deleted 0 bytes."), std::wstring::npos) << closing_summary();
}

// As two names of one server folder can: here a hard link whose second name the seam moves to another volume.
TEST_F(GuardedRemoval, TwoNamesOfOneFileThatLookLikeTwoVolumesAreNeverRemovedAgainstEachOther) {
    const std::wstring first = tree.make_file(L"first\\photo.jpg", "one file, two names");
    const std::wstring second = tree.make_folder(L"second") + L"\\photo.jpg";
    ASSERT_TRUE(CreateHardLinkW(second.c_str(), first.c_str(), nullptr));
    tree.make_file(L"first\\copy.txt", "two files");
    const std::wstring copy = tree.make_file(L"second\\copy.txt", "two files");
    volume_serial_seam = [](HANDLE file, uint32_t& serial) {
        wchar_t path[1024] = {};
        if (GetFinalPathNameByHandleW(file, path, 1024, 0) && std::wstring(path).find(L"\\second\\") != std::wstring::npos)
            serial ^= 0x5EC0;
    };
    EXPECT_EQ(removal_guard().check(second, first), removal_verdict::same_file);
    search_removing_b(delete_mode_delete, tree.path(), moved);
    volume_serial_seam = nullptr;
    EXPECT_TRUE(exists(first) && exists(second));
    EXPECT_EQ(result_of(copy), L"Deleted B");
    EXPECT_FALSE(exists(copy));
}

// Run with a recycle bin that cannot be made (see tests/CMakeLists.txt): the shell keeps the file.
TEST_F(WithoutRecycleBin, AFileTheBinCannotTakeIsKeptAndCountsNothing) {
    tree.make_file(L"a.bin", std::string(7000, 'r'));
    const std::wstring b = tree.make_file(L"sub\\b.bin", std::string(7000, 'r'));
    EXPECT_EQ(answering_no([&] { search_removing_b(delete_mode_recycle, tree.path(), moved); }), 1)
        << "the shell asks before it would destroy the file";
    EXPECT_EQ(result_of(b), L"Not deleted B");
    EXPECT_EQ(read_file(b), std::string(7000, 'r'));
    EXPECT_NE(closing_summary().find(L"Total deleted 0 bytes."), std::wstring::npos) << closing_summary();
    EXPECT_EQ(journalled(journal_action::failed, b), 1u);
}

// In QDir+ with "Protect Search This Folder" no file of the first folder goes, whatever the column or rule; the
// second folder's twins go unless it lies inside the first. A row whose chosen file is protected says so.
TEST_F(GuardedRemoval, AProtectedSearchThisFolderKeepsEveryFileInIt) {
    app_state->settings.protect_search_this = 1;
    app_state->deletions.options.delete_mode = delete_mode_delete;
    remove_when_found = 1;
    const std::tuple<std::atomic<uint8_t>*, uint8_t, int> cases[] = {  // option, value, files left in "plus this"
        {&remove_column_b, 1, 1}, {&remove_column_a, 1, 2}, {&keep_rule, keep_rule_shorter_path, 1}};
    for (const auto& [option, value, left] : cases)
        for (const wchar_t* plus : {L"P2", L"P\\in"}) {
            SCOPED_TRACE(testing::Message() << int(value) << narrow(plus));
            temp_folder root;
            const std::vector<std::wstring> first = {root.make_file(L"P\\x1", "xx"), root.make_file(L"P\\s\\x2", "xx")};
            const std::vector<std::wstring> second = {root.make_file(std::wstring(plus) + L"\\x3", "xx"),
                                                      root.make_file(std::wstring(plus) + L"\\y1", "yyy"),
                                                      root.make_file(std::wstring(plus) + L"\\t\\y2", "yyy")};
            *option = value;
            search(mode_qdir_plus, root / L"P", root / plus);
            *option = 0;
            for (const std::wstring& file : first) EXPECT_TRUE(exists(file)) << narrow(file);
            EXPECT_EQ(std::count_if(second.begin(), second.end(), exists), plus == std::wstring(L"P2") ? left : 3);
            const std::vector<list_row> rows = read_list_rows();
            EXPECT_TRUE(std::any_of(rows.begin(), rows.end(), [](const list_row& row) { return row[2] == L"Protected"; }));
        }
}

// Delete ALL after such a search takes no file of the protected folder either, and counts what it kept.
TEST_F(GuardedRemoval, DeleteAllAfterAProtectedSearchKeepsTheProtectedFolder) {
    app_state->settings.protect_search_this = 1;
    temp_folder root;
    const std::vector<std::wstring> first = {root.make_file(L"P\\x1", "xx"), root.make_file(L"P\\s\\x2", "xx")};
    const std::wstring x3 = root.make_file(L"P2\\x3", "xx");
    root.make_file(L"P2\\y1", "yyy");
    root.make_file(L"P2\\t\\y2", "yyy");
    search(mode_qdir_plus, root / L"P", root / L"P2");
    delete_column(0, answer::yes);
    for (const std::wstring& file : first) EXPECT_TRUE(exists(file)) << narrow(file);
    EXPECT_TRUE(exists(x3));
    EXPECT_EQ(list_cell(0, 1), L"1 files removed, 3 kept: twin missing 0, twin changed 0, same file 0, twin already "
                               L"removed 0, refused 0, protected 3");
}

// Paths past 260 characters with names outside Latin-1 pass through the index whole: the row, the saved index, the
// row of a search resumed from it, and the guard's removal with its journal line name each file as it is.
TEST_F(GuardedRemoval, LongUnicodePathsPassThroughTheIndexWhole) {
    const std::wstring deep = std::wstring(120, L'd') + L"\\" + std::wstring(100, L'\u00e9') + L"\\\u65e5\u672c \U0001F600";
    const std::wstring a = tree.make_file(deep + L"\\a \u00c4.txt", "same"), b = tree.make_file(deep + L"\\b.txt", "same");
    ASSERT_GT(a.size(), 260u);
    const list_row twins{a, b, L"100"};
    search(mode_directory, tree.path());
    EXPECT_EQ(read_list_rows().at(1), twins);
    const auto saved = make_file_list();
    ASSERT_EQ(read_list_file(*saved, L"LastList.txt"), 2);
    EXPECT_EQ(std::pair(saved->records[0]->path(), saved->records[1]->path()), std::pair(a, b));
    app_state->loaded_list.store(saved);
    start_worker(window);
    ASSERT_TRUE(pump_until(run_ended, 60000));
    EXPECT_EQ(read_list_rows().at(1), twins) << "resumed";
    app_state->loaded_list.store(nullptr);
    search_removing_b(delete_mode_delete, tree.path(), moved);
    EXPECT_EQ(result_of(b), L"Deleted B");
    EXPECT_EQ(std::pair(exists(a), exists(b)), std::pair(true, false));
    EXPECT_EQ(journalled(journal_action::deleted, b), 1u);
}
