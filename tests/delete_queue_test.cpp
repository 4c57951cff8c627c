// The delete queue on real files, in each delete mode.
#include "core/delete_queue.h"
#include "support/window_driver.h"

using namespace test_support;

TEST(DeleteQueue, EveryModeButRecycleActsAtOnce) {
    temp_folder tree;
    const auto doomed = tree.make_file(L"doomed", "x"), locked = tree.make_file(L"locked", "x");
    const auto first = tree.make_file(L"a\\twin", "first"), second = tree.make_file(L"b\\twin", "second");
    for (const auto& path : {locked, second}) ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    DeleteQueue queue;
    for (uint32_t mode : {3u, 0xFFFFFFFFu, 2u}) {  // unknown modes, and Move with no move folder
        queue.options.delete_mode = mode;
        EXPECT_EQ(queue.submit(doomed), delete_failed) << mode;
    }
    queue.options.delete_mode = delete_mode_delete;
    EXPECT_EQ(queue.submit(doomed), delete_done);
    EXPECT_EQ(queue.submit(doomed), delete_failed) << "gone already";
    EXPECT_EQ(queue.submit(tree.make_folder(L"sub")), delete_failed) << "a folder is no file";
    EXPECT_EQ(queue.submit(locked), delete_failed);
    EXPECT_TRUE(GetFileAttributesW(locked.c_str()) & FILE_ATTRIBUTE_READONLY) << "untouched without the override";
    queue.options.override_read_only = 1;
    EXPECT_EQ(queue.submit(locked), delete_done);
    EXPECT_FALSE(exists(locked));
    queue.options.delete_mode = delete_mode_move;
    queue.options.move_dir = tree.make_folder(L"moved here");
    const std::wstring target = queue.options.move_dir + L"\\";
    EXPECT_EQ(queue.submit(first), delete_done);
    EXPECT_EQ(queue.submit(second), delete_failed) << "never replaces";
    EXPECT_EQ(queue.options.move_dir, target) << "the backslash is added once";
    EXPECT_EQ(read_file(target + L"twin"), "first");
    EXPECT_FALSE(exists(first));
    EXPECT_EQ(read_file(second), "second");
    EXPECT_TRUE(GetFileAttributesW(second.c_str()) & FILE_ATTRIBUTE_READONLY) << "the override's reset is undone";
}

// A mode changed meanwhile drops them; a path the shell would misread or cannot take whole is refused.
TEST(DeleteQueue, RecyclingSendsWhatWasQueuedAtTheFlush) {
    const std::wstring trash = trash_folder();
    ASSERT_FALSE(trash.empty()) << "run through scripts/test.sh";
    temp_folder tree;  // its name is unique in the run: so are the names made from it
    const std::wstring tag = file_name(tree.path());
    const auto in = [&](const std::wstring& name) { return tree / tag + name; };
    for (const wchar_t* name : {L"_a", L"_b", L"_gone", L"_prefixed", L"_relative", L"_kept"})
        tree.make_file(tag + name, "x");
    tree.make_file(tag + L"_folder\\inside", "inside");
    DeleteQueue queue;
    for (const std::wstring& path : {in(L"_a"), in(L"_gone"), in(L"_b"), in(L"_B"), long_path(in(L"_prefixed"))})
        EXPECT_EQ(queue.submit(path), delete_done) << "queued: " << narrow(path);
    for (const std::wstring& path : {in(L"_folder"), in(L"_missing"), tree / L"*"})
        EXPECT_EQ(queue.submit(path), delete_failed) << "the shell would misread " << narrow(path);
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(tree.path().c_str()));
    EXPECT_EQ(queue.submit(tag + L"_relative"), delete_done);
    // The folder changes before the flush: the file queued is still the one that goes.
    SetCurrentDirectoryW(tree.make_folder(L"elsewhere").c_str());
    tree.make_file(L"elsewhere\\" + tag + L"_relative", "decoy");
    EXPECT_TRUE(exists(in(L"_a"))) << "only queued";
    ASSERT_TRUE(DeleteFileW(in(L"_gone").c_str()));  // the shell stops at the first missing file
    EXPECT_EQ(queue.flush_locked(), delete_done);
    SetCurrentDirectoryW(previous);
    for (const wchar_t* name : {L"_a", L"_b", L"_prefixed", L"_relative"})
        EXPECT_TRUE(!exists(in(name)) && exists(trash + L"\\" + tag + name)) << name;
    EXPECT_EQ(read_file(tree / L"elsewhere\\" + tag + L"_relative"), "decoy");
    EXPECT_TRUE(exists(in(L"_folder\\inside")));

    EXPECT_EQ(queue.submit(in(L"_kept")), delete_done);
    queue.options.delete_mode = delete_mode_delete;
    EXPECT_EQ(queue.flush_locked(), delete_done);
    queue.options.delete_mode = delete_mode_recycle;
    EXPECT_EQ(queue.flush_locked(), delete_done);
    EXPECT_TRUE(exists(in(L"_kept"))) << "the mode changed: the pending list is dropped";

    // 300 characters, the first 259 a folder (what a path cut at MAX_PATH - 1 would name).
    const std::wstring cut = tree.make_folder(std::wstring(258 - tree.path().size(), L'd'));
    const auto long_file = [&](const wchar_t* name) {
        const std::wstring relative = cut.substr(tree.path().size() + 1) + L"\\" + tag + name;
        return tree.make_file(relative + std::wstring(36 - tag.size(), L'n'), "x");
    };
    const std::wstring to_delete = long_file(L"_del"), to_move = long_file(L"_mov"), to_recycle = long_file(L"_rec");
    ASSERT_EQ(to_recycle.size(), 300u);
    EXPECT_EQ(queue.submit(to_recycle), delete_failed);
    EXPECT_EQ(queue.flush_locked(), delete_done);
    EXPECT_TRUE(exists(to_recycle));
    queue.options.delete_mode = delete_mode_delete;
    EXPECT_EQ(queue.submit(to_delete), delete_done);
    queue.options.delete_mode = delete_mode_move;
    queue.options.move_dir = tree.make_folder(std::wstring(150, L'm') + L"\\" + std::wstring(120, L'o'));  // long too
    EXPECT_EQ(queue.submit(to_move), delete_done);
    EXPECT_EQ(read_file(queue.options.move_dir + file_name(to_move)), "x");
    EXPECT_FALSE(exists(to_delete) || exists(to_move));
}
