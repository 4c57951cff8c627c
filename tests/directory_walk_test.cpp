#include <gtest/gtest.h>
#include <windows.h>

#include "base/long_path.h"
#include "search/directory_walk.h"
#include "support/temp_folder.h"

using namespace orvkit;
using test_support::exists;
using test_support::temp_folder;

namespace {

std::shared_ptr<orvFileList> walked(const std::wstring& folder, uint32_t mode = 1, bool remove_empty = false) {
    auto list = make_file_list();
    list->mode = mode;
    list->remove_empty_folders = remove_empty;
    walk_folder(*list, folder, false);
    return list;
}

std::vector<std::wstring> relative_paths(const orvFileList& list, const std::wstring& root) {
    std::vector<std::wstring> paths;
    for (const auto& record : list.records) paths.push_back(record->path.substr(root.size() + 1));
    return paths;
}

}  // namespace

// One tree shows the order, the record fields, the marker, the dot names and the
// attributes that must not keep a file out.
TEST(DirectoryWalk, IndexesATreeDepthFirstInPreOrder) {
    temp_folder tree;
    tree.make_file(L"a.txt", "abcdefgh");
    tree.make_file(L"b\\FCBackDB.txt", "");
    tree.make_file(L"b\\c\\deep.txt", "abcde");
    tree.make_file(L"b\\d.txt", "");
    CreateDirectoryW(long_path(tree / L"...").c_str(), nullptr);  // only the long form keeps the dots
    CloseHandle(CreateFileW(long_path(tree / L"...\\in.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                            nullptr));
    const std::wstring hidden = tree.make_file(L"e.txt", "xyz");
    SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);

    auto list = walked(tree.path(), 2);
    SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(relative_paths(*list, tree.path()),
              (std::vector<std::wstring>{L"...\\in.txt", L"a.txt", L"b\\c\\deep.txt", L"b\\d.txt", L"b\\FCBackDB.txt",
                                         L"e.txt"}));
    EXPECT_EQ(list->record_count.load(), 6);
    EXPECT_EQ(list->total_bytes, 16u);
    EXPECT_EQ(list->folders_visited, 3u) << "..., b and c; the start folder is not counted";
    EXPECT_EQ(list->current_folder.get(), tree / L"b\\c") << "the folder entered last";
    const auto& a = *list->records[1];
    EXPECT_GT(a.written, 116444736000000000ull) << "a FILETIME after 1970";
    const std::vector<bool> marked{false, false, true, true, true, false};
    for (std::size_t i = 0; i < marked.size(); ++i) EXPECT_EQ(list->records[i]->marked, marked[i]) << i;
}

TEST(DirectoryWalk, RemovesEmptyFoldersBottomUpAndKeepsTheRest) {
    temp_folder tree;
    const std::wstring start = tree.make_folder(L"start\\a\\b\\c");
    tree.make_folder(L"start\\d");
    auto list = walked(tree / L"start", 2, true);
    EXPECT_EQ(list->empty_folders_removed, 5u) << "c, b, a, d and the start folder";
    EXPECT_EQ(list->folders_visited, 4u);
    EXPECT_FALSE(exists(tree / L"start"));

    tree.make_file(L"keep\\full\\f.txt", "y");
    tree.make_folder(L"keep\\full\\gone");
    const std::wstring outside = tree.make_folder(L"elsewhere\\empty\\inner");
    tree.make_link(L"keep\\link", tree / L"elsewhere\\empty");  // nothing beyond a link is removed
    EXPECT_EQ(walked(tree / L"keep", 1, false)->empty_folders_removed, 0u) << "option off";
    list = walked(tree / L"keep", 1, true);
    EXPECT_EQ(list->empty_folders_removed, 1u);
    EXPECT_FALSE(exists(tree / L"keep\\full\\gone"));
    EXPECT_TRUE(exists(tree / L"keep\\full\\f.txt"));
    EXPECT_TRUE(exists(outside));
    EXPECT_TRUE(exists(tree / L"keep\\link"));
}

TEST(DirectoryWalk, LinksNeverMakeTheWalkLoopOrRepeat) {
    temp_folder tree;
    tree.make_file(L"root\\a\\file.txt", "f");
    tree.make_link(L"root\\a\\loop", tree / L"root");
    tree.make_link(L"root\\alias", tree / L"root\\a");
    ASSERT_TRUE(GetFileAttributesW((tree / L"root\\a\\loop").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);
    auto list = walked(tree / L"root");
    EXPECT_EQ(relative_paths(*list, tree / L"root"), (std::vector<std::wstring>{L"a\\file.txt"}));
    EXPECT_EQ(list->folders_visited, 1u);
}

TEST(DirectoryWalk, BigFilesDeepPathsAndOddStartFolders) {
    temp_folder tree;
    const std::wstring big = tree.make_sparse_file(L"sparse.bin", 5ull << 30);
    std::wstring relative = L"deep";
    while ((tree / relative).size() < 400) relative += L"\\" + std::wstring(40, L'n');
    const std::wstring deep = tree.make_file(relative + L"\\bottom.txt", "abcdefgh");

    auto list = walked(tree.path() + L"\\", 2);  // a trailing backslash is not doubled
    ASSERT_EQ(list->records.size(), 2u);
    EXPECT_EQ(list->records[0]->path, deep);
    EXPECT_EQ(list->records[1]->path, big);
    EXPECT_EQ(list->records[1]->size, 5ull << 30);

    auto missing = walked(tree / L"missing", 2, true);
    EXPECT_TRUE(missing->records.empty());
    EXPECT_EQ(missing->empty_folders_removed, 0u);
}
