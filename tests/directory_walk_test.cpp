// The walk over real trees: order, records, counts, links, big files, deep paths, empty folders removed, and the
// system folders at a volume's root passed over.
#include "core/delete_modes.h"
#include "search/directory_walk.h"
#include "search/volume_root.h"
#include "support/window_driver.h"

using namespace orvkit;
using namespace test_support;

static std::shared_ptr<orvFileList> walked(const std::wstring& folder, uint32_t mode, bool remove_empty = false) {
    auto list = make_file_list();
    list->mode = mode;
    list->remove_empty_folders = remove_empty;
    walk_folder(*list, folder, false);
    return list;
}

// The record fields, the marker, a "..." folder, attributes that must not keep a file out, a size past 4 GiB, a path
// past the plain limit, and links that neither loop nor repeat.
TEST(DirectoryWalk, IndexesATreeDepthFirstInPreOrder) {
    temp_folder tree;
    tree.make_file(L"a.txt", "abcdefgh");
    tree.make_file(L"b\\c\\deep.txt", "abcde");
    for (const wchar_t* empty : {L"b\\FCBackDB.txt", L"b\\d.txt", L"...\\in.txt"}) tree.make_file(empty, "");
    const std::wstring hidden = tree.make_file(L"e.txt", "xyz");
    SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
    tree.make_sparse_file(L"f.bin", 5ull << 30);
    std::wstring deep = L"g";
    while ((tree / deep).size() < 400) deep += L"\\" + std::wstring(40, L'n');
    tree.make_file(deep + L"\\bottom.txt", "abcdefgh");
    tree.make_link(L"b\\c\\loop", tree.path());
    tree.make_link(L"h", tree / L"b");

    auto list = walked(tree.path() + L"\\", 2);  // a trailing backslash is not doubled
    SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_NORMAL);
    std::vector<std::wstring> paths;
    for (const auto& record : list->records) paths.push_back(record->path.substr(tree.path().size() + 1));
    EXPECT_EQ(paths, (std::vector<std::wstring>{L"...\\in.txt", L"a.txt", L"b\\c\\deep.txt", L"b\\d.txt",
                                                L"b\\FCBackDB.txt", L"e.txt", L"f.bin", deep + L"\\bottom.txt"}));
    EXPECT_EQ(list->record_count.load(), 8);
    EXPECT_EQ(list->records[6]->size, 5ull << 30);
    EXPECT_EQ(list->total_bytes, (5ull << 30) + 24);
    EXPECT_EQ(list->folders_visited, 4u + std::count(deep.begin(), deep.end(), L'\\'))
        << "..., b, c and g's folders; neither the start folder nor a link";
    EXPECT_EQ(list->current_folder.get(), tree / deep) << "the folder entered last";
    EXPECT_GT(list->records[1]->written, 116444736000000000ull) << "a FILETIME after 1970";
    const std::vector<bool> marked{false, false, true, true, true, false, false, false};
    for (std::size_t i = 0; i < marked.size(); ++i) EXPECT_EQ(list->records[i]->marked, marked[i]) << i;
}

TEST(DirectoryWalk, RemovesOnlyEmptyFoldersBottomUp) {
    temp_folder tree;
    for (const wchar_t* folder : {L"start\\a\\b\\c", L"start\\d"}) tree.make_folder(folder);
    auto list = walked(tree / L"start", 2, true);
    EXPECT_EQ(list->empty_folders_removed, 5u) << "c, b, a, d and the start folder";
    EXPECT_EQ(list->folders_visited, 4u);
    EXPECT_FALSE(exists(tree / L"start"));

    tree.make_file(L"keep\\full\\f.txt", "y");
    tree.make_folder(L"keep\\full\\gone");
    const std::wstring outside = tree.make_folder(L"elsewhere\\empty\\inner");
    tree.make_link(L"keep\\link", tree / L"elsewhere\\empty");  // nothing beyond a link is removed
    EXPECT_EQ(walked(tree / L"keep", 1, false)->empty_folders_removed, 0u) << "option off";
    EXPECT_EQ(walked(tree / L"keep", 1, true)->empty_folders_removed, 1u);
    EXPECT_FALSE(exists(tree / L"keep\\full\\gone"));
    EXPECT_TRUE(exists(tree / L"keep\\full\\f.txt") && exists(outside) && exists(tree / L"keep\\link"));
    list = walked(tree / L"missing", 2, true);
    EXPECT_TRUE(list->records.empty() && list->empty_folders_removed == 0) << "a start folder that is not there";
}

TEST(VolumeRoot, TellsTheRootsWhoseSystemFoldersTheWalkPassesOver) {
    for (const wchar_t* root : {L"R:\\", L"r:", L"R:\\\\", L"\\\\?\\R:\\", L"\\\\.\\r:", L"\\\\server\\share",
                                L"\\\\server\\share\\\\", L"\\\\?\\unc\\server\\share\\"})
        EXPECT_TRUE(is_volume_root(root)) << narrow(root);
    for (const wchar_t* folder : {L"R:\\docs", L"R:\\docs\\", L"\\\\?\\R:\\docs", L"\\\\server", L"\\\\?\\UNC\\server",
                                  L"\\\\server\\share\\docs", L"\\\\?\\UNC\\server\\share\\docs", L"RR:", L""})
        EXPECT_FALSE(is_volume_root(folder)) << narrow(folder);
    for (const wchar_t* name : {L"$RECYCLE.BIN", L"$Recycle.Bin", L"recycler", L"System Volume Information"})
        EXPECT_TRUE(is_volume_system_folder(name)) << narrow(name);
    for (const wchar_t* name : {L"$RECYCLE.BIN2", L"RECYCLE", L"Recycled", L"System Volume", L"SystemVolume"})
        EXPECT_FALSE(is_volume_system_folder(name)) << narrow(name);
}

using VolumeRootSearch = twin_window_test;

// Neither searched, counted nor removed when empty (the bin holds copies of files in use); lower down they are.
TEST_F(VolumeRootSearch, TheSystemFoldersOfADrivesRootArePassedOver) {
    temp_folder volume;
    const std::string content = "deleted once, still in use";
    const std::wstring in_use = volume.make_file(L"docs\\r.txt", content);
    const std::wstring binned = volume.make_file(L"$RECYCLE.BIN\\S-1-5-21-1\\$RAB12CD.txt", content);
    for (const wchar_t* empty : {L"System Volume Information", L"Recycler\\S-1-5-21-1"}) volume.make_folder(empty);
    volume.make_file(L"docs\\$RECYCLE.BIN\\copy.txt", "walked");
    volume.make_file(L"docs\\s.txt", "walked");
    const std::wstring root = volume.map_drive();
    ASSERT_FALSE(root.empty()) << "no drive letter could be mapped";
    app_state->deletions.delete_mode = delete_mode_delete;
    app_state->settings.remove_empty_dirs = 1;
    remove_when_found = remove_column_b = true;
    search(mode_quick_dir, root);
    EXPECT_EQ(read_list_rows(), (std::vector<list_row>{
        {L"Start", L"3 files found", L""},
        {root + L"docs\\$RECYCLE.BIN\\copy.txt", root + L"docs\\s.txt", L"Deleted B"},
        {L"Finished", L"1 twins found in 3 files. Total original size 38 bytes. Total deleted 6 bytes. Total folders 2 "
                      L"with 0 empty folders deleted.", L""}}));
    EXPECT_TRUE(exists(in_use) && exists(binned) && exists(volume / L"System Volume Information") &&
                exists(volume / L"Recycler\\S-1-5-21-1"));
}
