#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

#include "search/checksum.h"
#include "search/directory_walk.h"
#include "search/long_path.h"
#include "support/temp_folder.h"

using namespace orvkit;
using test_support::exists;
using test_support::temp_folder;

namespace {

std::shared_ptr<orvFileList> walked(const std::wstring& folder, uint32_t mode = 1, bool hash = false,
                                    bool remove_empty = false) {
    auto list = make_file_list();
    list->mode = mode;
    list->compute_checksums = hash;
    list->remove_empty_folders = remove_empty;
    walk_folder(*list, folder, false);
    return list;
}

// Paths relative to `root`, in the list's order.
std::vector<std::wstring> relative_paths(const orvFileList& list, const std::wstring& root) {
    std::vector<std::wstring> paths;
    for (const auto& record : list.records) paths.push_back(record->path.substr(root.size() + 1));
    return paths;
}

const file_record* find_record(const orvFileList& list, const std::wstring& path) {
    for (const auto& record : list.records)
        if (record->path == path) return record.get();
    return nullptr;
}

uint32_t expected_checksum(const std::string& bytes) {
    checksum_accumulator sum;
    sum.add_block(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    return sum.value();
}

}  // namespace

TEST(DirectoryWalk, DepthFirstPreOrderWithSizesAndTimes) {
    temp_folder tree;
    tree.make_file(L"a.txt", "12345");
    tree.make_file(L"b\\b1.txt", "x");
    tree.make_file(L"b\\c\\deep.txt", "");
    tree.make_file(L"b\\d.txt", "xy");
    tree.make_file(L"e.txt", "xyz");
    auto list = walked(tree.path());
    EXPECT_EQ(relative_paths(*list, tree.path()),
              (std::vector<std::wstring>{L"a.txt", L"b\\b1.txt", L"b\\c\\deep.txt", L"b\\d.txt", L"e.txt"}));
    EXPECT_EQ(list->record_count.load(), 5);
    EXPECT_EQ(list->total_bytes, 11u);
    EXPECT_EQ(list->folders_visited, 2u) << "the start folder is not counted";
    const file_record* a = list->records[0].get();
    EXPECT_EQ(a->size, 5u);
    EXPECT_GT(a->written, 116444736000000000ull) << "a FILETIME after 1970";
    EXPECT_GT(a->created, 0u);
    EXPECT_GT(a->accessed, 0u);
    EXPECT_EQ(a->checksum, 0u) << "Directory mode computes no checksums";
    EXPECT_EQ(list->current_folder.get(), tree / L"b\\c") << "the folder entered last";
}

TEST(DirectoryWalk, ChecksumsOnlyInQuickModesWithHashOn) {
    temp_folder tree;
    tree.make_file(L"f.bin", "abcdefgh");
    tree.make_file(L"five.bin", "abcde");
    tree.make_file(L"empty.bin", "");
    auto quick = walked(tree.path(), 2, true);
    EXPECT_EQ(find_record(*quick, tree / L"f.bin")->checksum, 0x564E0000u);
    EXPECT_EQ(find_record(*quick, tree / L"five.bin")->checksum, expected_checksum("abcd"));
    EXPECT_EQ(find_record(*quick, tree / L"empty.bin")->checksum, 0u);
    EXPECT_TRUE(find_record(*quick, tree / L"f.bin")->identity.known);
    EXPECT_EQ(walked(tree.path(), 3, true)->records[0]->checksum != 0 ||
                  walked(tree.path(), 3, true)->records[1]->checksum != 0,
              true);
    for (const auto& record : walked(tree.path(), 2, false)->records) EXPECT_EQ(record->checksum, 0u);
    for (const auto& record : walked(tree.path(), 1, true)->records) EXPECT_EQ(record->checksum, 0u);
}

TEST(DirectoryWalk, MarkerFileMarksItsFolderAndEverythingBelow) {
    temp_folder tree;
    tree.make_file(L"outside.txt", "o");
    tree.make_file(L"backup\\FCBackDB.txt", "");
    tree.make_file(L"backup\\kept.txt", "k");
    tree.make_file(L"backup\\sub\\deeper.txt", "d");
    tree.make_file(L"other\\plain.txt", "p");
    auto list = walked(tree.path());
    EXPECT_FALSE(find_record(*list, tree / L"outside.txt")->marked);
    EXPECT_TRUE(find_record(*list, tree / L"backup\\FCBackDB.txt")->marked) << "the marker itself is marked";
    EXPECT_TRUE(find_record(*list, tree / L"backup\\kept.txt")->marked);
    EXPECT_TRUE(find_record(*list, tree / L"backup\\sub\\deeper.txt")->marked);
    EXPECT_FALSE(find_record(*list, tree / L"other\\plain.txt")->marked);
}

TEST(DirectoryWalk, DotEntriesSkippedAndThreeDotFolderWalked) {
    temp_folder tree;
    CreateDirectoryW(long_path(tree / L"...").c_str(), nullptr);
    HANDLE file = CreateFileW(long_path(tree / L"...\\inside.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    tree.make_file(L"top.txt", "t");
    auto list = walked(tree.path());
    EXPECT_EQ(relative_paths(*list, tree.path()), (std::vector<std::wstring>{L"...\\inside.txt", L"top.txt"}));
    EXPECT_EQ(list->folders_visited, 1u);
}

TEST(DirectoryWalk, HiddenSystemAndReadOnlyFilesAreIndexed) {
    temp_folder tree;
    const std::wstring hidden = tree.make_file(L"hidden.txt", "h");
    const std::wstring system = tree.make_file(L"system.txt", "s");
    const std::wstring read_only = tree.make_file(L"readonly.txt", "r");
    SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesW(system.c_str(), FILE_ATTRIBUTE_SYSTEM);
    SetFileAttributesW(read_only.c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(GetFileAttributesW(hidden.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    auto list = walked(tree.path(), 2, true);
    EXPECT_EQ(list->records.size(), 3u);
    EXPECT_NE(find_record(*list, read_only)->checksum, 1u);
    SetFileAttributesW(read_only.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(DirectoryWalk, EmptyTreeRemovedBottomUpWithTheStartFolder) {
    temp_folder tree;
    const std::wstring start = tree.make_folder(L"start");
    tree.make_folder(L"start\\a\\b\\c");
    tree.make_folder(L"start\\d");
    auto list = walked(start, 2, true, true);
    EXPECT_EQ(list->empty_folders_removed, 5u) << "c, b, a, d and the start folder";
    EXPECT_EQ(list->folders_visited, 4u);
    EXPECT_FALSE(exists(start));
    EXPECT_TRUE(exists(tree.path()));
}

TEST(DirectoryWalk, FoldersThatHeldFilesAreKept) {
    temp_folder tree;
    tree.make_file(L"keep\\file.txt", "x");
    tree.make_folder(L"keep\\empty");
    tree.make_file(L"keep\\full\\deeper\\f.txt", "y");
    tree.make_folder(L"keep\\full\\gone");
    auto list = walked(tree / L"keep", 1, false, true);
    EXPECT_EQ(list->empty_folders_removed, 2u);
    EXPECT_FALSE(exists(tree / L"keep\\empty"));
    EXPECT_FALSE(exists(tree / L"keep\\full\\gone"));
    EXPECT_TRUE(exists(tree / L"keep\\full\\deeper\\f.txt"));
    EXPECT_TRUE(exists(tree / L"keep"));

    auto untouched = walked(tree / L"keep", 1, false, false);
    EXPECT_EQ(untouched->empty_folders_removed, 0u);
}

TEST(DirectoryWalk, StopRequestEndsTheWalkAtAFolderBoundary) {
    temp_folder tree;
    for (int folder = 0; folder < 150; ++folder)
        for (int file = 0; file < 4; ++file)
            tree.make_file(L"d" + std::to_wstring(folder) + L"\\f" + std::to_wstring(file), "z");

    auto stopped_at_once = make_file_list();
    stopped_at_once->status = 10;
    walk_folder(*stopped_at_once, tree.path(), false);
    EXPECT_TRUE(stopped_at_once->records.empty());
    EXPECT_EQ(stopped_at_once->record_count.load(), 0);

    auto list = make_file_list();
    std::thread aborter([&] {
        while (list->record_count.load() == 0) std::this_thread::yield();
        list->status = 10;
    });
    walk_folder(*list, tree.path(), false);
    aborter.join();
    EXPECT_EQ(list->record_count.load(), static_cast<int64_t>(list->records.size()));
    EXPECT_GT(list->records.size(), 0u);
    EXPECT_LT(list->records.size(), 600u);
}

TEST(DirectoryWalk, SizeAboveFourGibibytesKeptWhole) {
    temp_folder tree;
    const std::wstring big = tree.make_file(L"sparse.bin", "");
    HANDLE file = CreateFileW(big.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LARGE_INTEGER size;
    size.QuadPart = 5LL * 1024 * 1024 * 1024 + 3;
    SetFilePointerEx(file, size, nullptr, FILE_BEGIN);
    ASSERT_TRUE(SetEndOfFile(file));
    CloseHandle(file);
    auto list = walked(tree.path());
    ASSERT_EQ(list->records.size(), 1u);
    EXPECT_EQ(list->records[0]->size, 5ull * 1024 * 1024 * 1024 + 3);
    EXPECT_EQ(list->total_bytes, 5ull * 1024 * 1024 * 1024 + 3);
}

TEST(DirectoryWalk, LinkLoopingBackUpTheTreeEnds) {
    temp_folder tree;
    tree.make_file(L"root\\a\\file.txt", "f");
    tree.make_link(L"root\\a\\loop", tree / L"root");
    ASSERT_TRUE(GetFileAttributesW((tree / L"root\\a\\loop").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);
    auto list = walked(tree / L"root");
    EXPECT_EQ(relative_paths(*list, tree / L"root"), (std::vector<std::wstring>{L"a\\file.txt"}));
    EXPECT_EQ(list->folders_visited, 1u);
}

TEST(DirectoryWalk, TreeReachedTwiceIsIndexedOnce) {
    temp_folder tree;
    tree.make_file(L"root\\real\\photo.jpg", "p");
    tree.make_link(L"root\\alias", tree / L"root\\real");
    auto list = walked(tree / L"root");
    EXPECT_EQ(list->records.size(), 1u);
}

// Removing a link on some systems removes its target: an empty folder reached through
// a link stays, and so does the link.
TEST(DirectoryWalk, EmptyFolderBehindALinkIsNotRemoved) {
    temp_folder tree;
    const std::wstring target = tree.make_folder(L"elsewhere\\empty");
    tree.make_file(L"root\\keep.txt", "k");
    tree.make_link(L"root\\link", target);
    auto list = walked(tree / L"root", 1, false, true);
    EXPECT_EQ(list->empty_folders_removed, 0u);
    EXPECT_TRUE(exists(target));
    EXPECT_TRUE(exists(tree / L"root\\link"));
}

TEST(DirectoryWalk, PathsDeeperThanThePlainLimitAreIndexed) {
    temp_folder tree;
    std::wstring relative = L"deep";
    while ((tree / relative).size() < 400) relative += L"\\" + std::wstring(40, L'n');
    const std::wstring file = tree.make_file(relative + L"\\bottom.txt", "abcdefgh");
    ASSERT_TRUE(exists(file));
    ASSERT_GT(file.size(), 400u);
    auto list = walked(tree / L"deep", 2, true);
    ASSERT_EQ(list->records.size(), 1u);
    EXPECT_EQ(list->records[0]->path, file);
    EXPECT_EQ(list->records[0]->checksum, 0x564E0000u);
}

TEST(DirectoryWalk, TrailingBackslashOnTheStartFolderIsNotDoubled) {
    temp_folder tree;
    tree.make_file(L"x.txt", "abcdefgh");
    auto list = walked(tree.path() + L"\\", 2, true);
    ASSERT_EQ(list->records.size(), 1u);
    EXPECT_EQ(list->records[0]->path, tree / L"x.txt");
    EXPECT_EQ(list->records[0]->checksum, 0x564E0000u);
}

TEST(DirectoryWalk, MissingFolderGivesNoRecords) {
    temp_folder tree;
    auto list = walked(tree / L"does-not-exist", 2, true, true);
    EXPECT_TRUE(list->records.empty());
    EXPECT_EQ(list->empty_folders_removed, 0u);
}

TEST(LongPath, Forms) {
    EXPECT_EQ(long_path(L"C:\\a\\b"), L"\\\\?\\C:\\a\\b");
    EXPECT_EQ(long_path(L"C:/a/b"), L"\\\\?\\C:\\a\\b");
    EXPECT_EQ(long_path(L"\\\\server\\share\\f"), L"\\\\?\\UNC\\server\\share\\f");
    EXPECT_EQ(long_path(L"\\\\?\\C:\\a"), L"\\\\?\\C:\\a");
    EXPECT_EQ(long_path(L"relative\\f"), L"relative\\f");
    EXPECT_EQ(join_path(L"C:\\", L"f"), L"C:\\f");
    EXPECT_EQ(join_path(L"C:\\a", L"f"), L"C:\\a\\f");
}
