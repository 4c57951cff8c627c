#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "actions/delete_queue.h"
#include "search/long_path.h"
#include "support/temp_folder.h"

using namespace orvkit;
using test_support::exists;
using test_support::read_file;
using test_support::temp_folder;

namespace {

// The private recycle bin of the run: $XDG_DATA_HOME/Trash/files. Empty when the
// variable is not set (the tests would then fill the user's own bin).
std::wstring trash_folder() {
    char value[1024] = {};
    if (!GetEnvironmentVariableA("XDG_DATA_HOME", value, sizeof(value))) return {};
    return test_support::to_windows_path(value) + L"\\Trash\\files";
}

#define REQUIRE_TRASH()                                                         \
    const std::wstring trash = trash_folder();                                  \
    if (trash.empty()) GTEST_SKIP() << "XDG_DATA_HOME is not set (run through scripts/test.sh)"

// The temp folder's own name ("t<pid>_<n>"), unique in the whole run, so names made
// from it cannot meet another test's files in the shared bin.
std::wstring unique_tag(const temp_folder& tree) { return tree.path().substr(tree.path().rfind(L'\\') + 1); }

// A path of exactly `total` characters whose first 259 characters are a folder (the
// one a path cut at MAX_PATH - 1 would name), holding the file.
std::wstring long_file_path(const temp_folder& tree, const std::wstring& tag, std::size_t total) {
    const std::size_t folder_length = 259 - tree.path().size() - 1;
    const std::wstring folder = tree.path() + L"\\" + std::wstring(folder_length, L'd');
    std::wstring name = tag + L"_";
    name += std::wstring(total - folder.size() - 1 - name.size() - 4, L'n') + L".txt";
    return folder + L"\\" + name;
}

std::wstring make_long_file(const temp_folder& tree, const std::wstring& tag, const std::string& content) {
    const std::wstring path = long_file_path(tree, tag, 300);
    return tree.make_file(path.substr(tree.path().size() + 1), content);
}

DWORD attributes(const std::wstring& path) { return GetFileAttributesW(long_path(path).c_str()); }

}  // namespace

TEST(DeleteQueue, DeleteModeRemovesTheFileAndReportsFailure) {
    temp_folder tree;
    const std::wstring doomed = tree.make_file(L"doomed.bin", "abc");
    const std::wstring kept = tree.make_file(L"kept.bin", "abc");
    DeleteQueue queue;
    queue.delete_mode = 1;
    EXPECT_EQ(queue.submit(doomed), delete_done);
    EXPECT_FALSE(exists(doomed));
    EXPECT_TRUE(exists(kept));
    EXPECT_EQ(queue.submit(doomed), delete_failed) << "a file already gone";
    EXPECT_EQ(queue.submit(tree.make_folder(L"sub")), delete_failed) << "a folder is no file";
    EXPECT_TRUE(exists(tree / L"sub"));
}

TEST(DeleteQueue, ReadOnlyFileNeedsTheOverride) {
    temp_folder tree;
    const std::wstring file = tree.make_file(L"locked.txt", "read only");
    ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
    DeleteQueue queue;
    queue.delete_mode = 1;
    EXPECT_EQ(queue.submit(file), delete_failed);
    EXPECT_TRUE(exists(file));
    EXPECT_TRUE(attributes(file) & FILE_ATTRIBUTE_READONLY) << "without the override nothing is touched";

    queue.override_read_only = 1;
    EXPECT_EQ(queue.submit(file), delete_done);
    EXPECT_FALSE(exists(file));
}

TEST(DeleteQueue, OverrideThatStillFailsLeavesTheAttributes) {
    temp_folder tree;
    const std::wstring target = tree.make_folder(L"target");
    tree.make_file(L"target\\same.txt", "already there");
    const std::wstring file = tree.make_file(L"src\\same.txt", "moving");
    ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
    DeleteQueue queue;
    queue.delete_mode = 2;
    queue.move_dir = target;
    queue.override_read_only = 1;
    EXPECT_EQ(queue.submit(file), delete_failed) << "the name is taken in the move folder";
    EXPECT_EQ(read_file(file), "moving");
    EXPECT_EQ(read_file(target + L"\\same.txt"), "already there");
    EXPECT_TRUE(attributes(file) & FILE_ATTRIBUTE_READONLY) << "the retry's attribute reset is undone";
}

TEST(DeleteQueue, MoveAppendsTheBackslashOnceAndNeverReplaces) {
    temp_folder tree;
    const std::wstring target = tree.make_folder(L"moved here");
    const std::wstring first = tree.make_file(L"a\\twin.dat", "first");
    const std::wstring second = tree.make_file(L"b\\twin.dat", "second");
    const std::wstring other = tree.make_file(L"b\\other.dat", "other");
    DeleteQueue queue;
    queue.delete_mode = 2;
    queue.move_dir = target;

    EXPECT_EQ(queue.submit(first), delete_done);
    EXPECT_EQ(queue.move_dir, target + L"\\") << "the backslash is added and kept";
    EXPECT_FALSE(exists(first));
    EXPECT_EQ(read_file(target + L"\\twin.dat"), "first");

    EXPECT_EQ(queue.submit(second), delete_failed) << "a file of that name is already there";
    EXPECT_EQ(read_file(second), "second");
    EXPECT_EQ(read_file(target + L"\\twin.dat"), "first");

    EXPECT_EQ(queue.submit(other), delete_done);
    EXPECT_EQ(queue.move_dir, target + L"\\") << "no second backslash";
    EXPECT_EQ(read_file(target + L"\\other.dat"), "other");
}

TEST(DeleteQueue, MoveWithoutAMoveFolderMovesNothing) {
    temp_folder tree;
    const std::wstring file = tree.make_file(L"stay.txt", "stay");
    DeleteQueue queue;
    queue.delete_mode = 2;
    EXPECT_EQ(queue.submit(file), delete_failed);
    EXPECT_EQ(read_file(file), "stay");
    EXPECT_TRUE(queue.move_dir.empty());
}

TEST(DeleteQueue, UnknownModeFails) {
    temp_folder tree;
    const std::wstring file = tree.make_file(L"stay.txt", "stay");
    DeleteQueue queue;
    queue.move_dir = tree.make_folder(L"target");
    for (uint32_t mode : {3u, 0xFFFFFFFFu}) {
        queue.delete_mode = mode;
        EXPECT_EQ(queue.submit(file), delete_failed) << mode;
    }
    EXPECT_EQ(queue.flush_locked(), delete_done);
    EXPECT_EQ(read_file(file), "stay");
}

TEST(DeleteQueue, RecycleWaitsForTheFlush) {
    REQUIRE_TRASH();
    temp_folder tree;
    const std::wstring tag = unique_tag(tree);
    const std::wstring one = tree.make_file(tag + L"_one.txt", "one");
    const std::wstring two = tree.make_file(L"sub\\" + tag + L"_two.txt", "two");
    DeleteQueue queue;
    EXPECT_EQ(queue.flush_locked(), delete_done) << "nothing pending";
    EXPECT_EQ(queue.submit(one), delete_done);
    EXPECT_EQ(queue.submit(two), delete_done);
    EXPECT_TRUE(exists(one)) << "recycle requests are only queued";
    EXPECT_TRUE(exists(two));
    EXPECT_FALSE(exists(trash + L"\\" + tag + L"_one.txt"));

    EXPECT_EQ(queue.flush_locked(), delete_done);
    EXPECT_FALSE(exists(one));
    EXPECT_FALSE(exists(two));
    EXPECT_EQ(read_file(trash + L"\\" + tag + L"_one.txt"), "one");
    EXPECT_EQ(read_file(trash + L"\\" + tag + L"_two.txt"), "two");
    EXPECT_EQ(queue.flush_locked(), delete_done) << "the list was released";
}

TEST(DeleteQueue, RecycleListSurvivesDuplicatesAndVanishedFiles) {
    REQUIRE_TRASH();
    temp_folder tree;
    const std::wstring tag = unique_tag(tree);
    const std::wstring a = tree.make_file(tag + L"_a.txt", "a");
    const std::wstring b = tree.make_file(tag + L"_b.txt", "b");
    const std::wstring gone = tree.make_file(tag + L"_gone.txt", "gone");
    const std::wstring last = tree.make_file(tag + L"_last.txt", "last");
    DeleteQueue queue;
    EXPECT_EQ(queue.submit(a), delete_done);
    EXPECT_EQ(queue.submit(b), delete_done);
    EXPECT_EQ(queue.submit(gone), delete_done);
    EXPECT_EQ(queue.submit(tree.path() + L"\\" + tag + L"_B.TXT"), delete_done) << "the same file, other case";
    EXPECT_EQ(queue.submit(last), delete_done);
    ASSERT_TRUE(DeleteFileW(gone.c_str()));

    // The shell stops at the first missing file; the queue must not hand it one.
    EXPECT_EQ(queue.flush_locked(), delete_done);
    for (const wchar_t* name : {L"_a.txt", L"_b.txt", L"_last.txt"}) {
        EXPECT_FALSE(exists(tree.path() + L"\\" + tag + name)) << name;
        EXPECT_TRUE(exists(trash + L"\\" + tag + name)) << name;
    }
}

TEST(DeleteQueue, PendingRecycleListIsDroppedWhenTheModeChanged) {
    REQUIRE_TRASH();
    temp_folder tree;
    const std::wstring tag = unique_tag(tree);
    const std::wstring file = tree.make_file(tag + L"_kept.txt", "kept");
    DeleteQueue queue;
    EXPECT_EQ(queue.submit(file), delete_done);
    queue.delete_mode = 1;
    EXPECT_EQ(queue.flush_locked(), delete_done);
    EXPECT_EQ(read_file(file), "kept") << "the pending list is discarded, not sent";
    queue.delete_mode = 0;
    EXPECT_EQ(queue.flush_locked(), delete_done);
    EXPECT_EQ(read_file(file), "kept") << "and it does not come back";
    EXPECT_FALSE(exists(trash + L"\\" + tag + L"_kept.txt"));
}

TEST(DeleteQueue, RecycleRefusesWhatTheShellWouldMisread) {
    REQUIRE_TRASH();
    temp_folder tree;
    const std::wstring tag = unique_tag(tree);
    const std::wstring folder = tree.make_folder(tag + L"_folder");
    tree.make_file(tag + L"_folder\\inside.txt", "inside");
    DeleteQueue queue;
    EXPECT_EQ(queue.submit(folder), delete_failed) << "a folder is no file";
    EXPECT_EQ(queue.submit(tree.path() + L"\\" + tag + L"_missing.txt"), delete_failed);
    EXPECT_EQ(queue.submit(tree.path() + L"\\*"), delete_failed) << "a wildcard";
    EXPECT_EQ(queue.flush_locked(), delete_done);
    EXPECT_TRUE(exists(folder + L"\\inside.txt"));
    EXPECT_FALSE(exists(trash + L"\\" + tag + L"_folder"));
}

TEST(DeleteQueue, RecycleTakesLongFormAndRelativePathsAsPlainFullPaths) {
    REQUIRE_TRASH();
    temp_folder tree;
    const std::wstring tag = unique_tag(tree);
    const std::wstring prefixed = tree.make_file(tag + L"_prefixed.txt", "prefixed");
    const std::wstring relative = tree.make_file(tag + L"_relative.txt", "relative");
    DeleteQueue queue;
    EXPECT_EQ(queue.submit(long_path(prefixed)), delete_done);

    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(tree.path().c_str()));
    EXPECT_EQ(queue.submit(tag + L"_relative.txt"), delete_done);
    // A folder change before the flush must not change which file goes.
    SetCurrentDirectoryW(tree.make_folder(L"elsewhere").c_str());
    tree.make_file(L"elsewhere\\" + tag + L"_relative.txt", "decoy");
    EXPECT_EQ(queue.flush_locked(), delete_done);
    SetCurrentDirectoryW(previous);

    EXPECT_FALSE(exists(prefixed));
    EXPECT_FALSE(exists(relative));
    EXPECT_EQ(read_file(tree / L"elsewhere\\" + tag + L"_relative.txt"), "decoy");
    EXPECT_EQ(read_file(trash + L"\\" + tag + L"_prefixed.txt"), "prefixed");
    EXPECT_EQ(read_file(trash + L"\\" + tag + L"_relative.txt"), "relative");
}

TEST(DeleteQueue, LongPathsInEveryMode) {
    REQUIRE_TRASH();
    temp_folder tree;
    const std::wstring tag = unique_tag(tree);

    DeleteQueue queue;
    queue.delete_mode = 1;
    const std::wstring to_delete = make_long_file(tree, tag + L"_del", "delete me");
    ASSERT_EQ(to_delete.size(), 300u);
    ASSERT_TRUE(exists(to_delete));
    EXPECT_EQ(queue.submit(to_delete), delete_done);
    EXPECT_FALSE(exists(to_delete));

    // A move folder past MAX_PATH too, so both ends need the long form.
    queue.delete_mode = 2;
    queue.move_dir = tree.make_folder(std::wstring(150, L'm') + L"\\" + std::wstring(120, L'o'));
    const std::wstring to_move = make_long_file(tree, tag + L"_mov", "move me");
    const std::wstring name = to_move.substr(to_move.rfind(L'\\') + 1);
    EXPECT_EQ(queue.submit(to_move), delete_done);
    EXPECT_FALSE(exists(to_move));
    EXPECT_EQ(read_file(queue.move_dir + name), "move me");

    // The shell cannot take the path whole, and cut at 259 characters it names the
    // folder holding the file: the request fails and nothing is removed.
    queue.delete_mode = 0;
    const std::wstring to_recycle = make_long_file(tree, tag + L"_rec", "recycle me");
    const std::wstring cut = to_recycle.substr(0, 259);
    ASSERT_TRUE(attributes(cut) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(queue.submit(to_recycle), delete_failed);
    EXPECT_EQ(queue.flush_locked(), delete_done);
    EXPECT_EQ(read_file(to_recycle), "recycle me");
    EXPECT_TRUE(exists(cut));
    const std::wstring folder_name = cut.substr(cut.rfind(L'\\') + 1);
    EXPECT_FALSE(exists(trash + L"\\" + folder_name));
}

TEST(DeleteQueue, ShellRecycleOfAMissingFileFailsWithoutABox) {
    temp_folder tree;
    const std::wstring list = tree.path() + L"\\" + unique_tag(tree) + L"_missing.txt" + L'\0';
    EXPECT_EQ(shell_recycle(nullptr, list.c_str(), batch_recycle_flags), delete_shell_failed);
}

TEST(DeleteQueue, FullRecycleListIsSentAtOnce) {
    REQUIRE_TRASH();
    temp_folder tree;
    const std::wstring tag = unique_tag(tree);
    // One file of 259 characters, queued again and again: each request counts 522 bytes.
    std::wstring name = tag + L"_full_";
    name += std::wstring(259 - tree.path().size() - 1 - name.size(), L'f');
    const std::wstring file = tree.make_file(name, "full");
    ASSERT_EQ(file.size(), 259u);
    const uint32_t per_entry = 2 * 259 + 4;
    const uint32_t fitting = batch_flush_bytes / per_entry;  // the count that stays at or below the limit
    DeleteQueue queue;
    for (uint32_t i = 0; i < fitting; ++i) ASSERT_EQ(queue.submit(file), delete_done) << i;
    EXPECT_TRUE(exists(file)) << "still below the limit";
    EXPECT_EQ(queue.submit(file), delete_done);
    EXPECT_FALSE(exists(file)) << "the list passed the limit and went to the shell";
    EXPECT_EQ(read_file(trash + L"\\" + name), "full");
    EXPECT_EQ(queue.flush_locked(), delete_done) << "nothing left pending";
}
