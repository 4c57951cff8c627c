// The walk over real trees: order, records, counts, links, big files, deep paths, empty folders removed, and the
// system folders at a volume's root passed over.
#include <gtest/gtest.h>
#include <malloc.h>

#include "search/directory_walk.h"
#include "search/volume_root.h"
#include "support/temp_folder.h"

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
    for (const auto& record : list->records) paths.push_back(record->path().substr(tree.path().size() + 1));
    EXPECT_EQ(paths, (std::vector<std::wstring>{L"...\\in.txt", L"a.txt", L"b\\c\\deep.txt", L"b\\d.txt",
                                                L"b\\FCBackDB.txt", L"e.txt", L"f.bin", deep + L"\\bottom.txt"}));
    EXPECT_EQ(std::tuple(list->record_count.load(), list->records[6]->size, list->total_bytes),
              std::tuple(int64_t{8}, uint64_t{5} << 30, (uint64_t{5} << 30) + 24)) << "records, f.bin's size, bytes";
    EXPECT_EQ(list->folders_visited, 4u + std::count(deep.begin(), deep.end(), L'\\'))
        << "..., b, c and g's folders; neither the start folder nor a link";
    EXPECT_EQ(list->current_folder.get(), tree / deep) << "the folder entered last";
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

// Neither indexed, counted nor removed when empty (the bin holds copies of files in use); lower down they are.
TEST(DirectoryWalk, PassesOverTheSystemFoldersOfADrivesRoot) {
    temp_folder volume;
    const std::wstring binned = volume.make_file(L"$RECYCLE.BIN\\S-1-5-21-1\\$RAB12CD.txt", "in use");
    for (const wchar_t* empty : {L"System Volume Information", L"Recycler\\S-1-5-21-1"}) volume.make_folder(empty);
    for (const wchar_t* file : {L"docs\\$RECYCLE.BIN\\copy.txt", L"docs\\r.txt", L"docs\\s.txt"})
        volume.make_file(file, "x");
    const std::wstring root = volume.map_drive();
    ASSERT_FALSE(root.empty()) << "no drive letter could be mapped";
    const auto list = walked(root, 2, true);
    std::vector<std::wstring> paths;
    for (const auto& record : list->records) paths.push_back(record->path());
    EXPECT_EQ(paths, (std::vector<std::wstring>{root + L"docs\\$RECYCLE.BIN\\copy.txt", root + L"docs\\r.txt",
                                               root + L"docs\\s.txt"}));
    EXPECT_EQ(list->folders_visited, 2u);
    EXPECT_EQ(list->empty_folders_removed, 0u);
    EXPECT_TRUE(exists(binned) && exists(volume / L"System Volume Information"));
    EXPECT_TRUE(exists(volume / L"Recycler\\S-1-5-21-1"));
}

// Wine's heap looks through its free blocks on every allocation, so a walk that leaves a hole a folder behind
// (a copy of each folder's path freed between blocks that stay) slows everything after it by the number of
// folders: a million-file search ran three times slower. Three thousand folders leave a few holes, not thousands.
TEST(DirectoryWalk, ManyFoldersLeaveNoHoleAFolderInTheHeap) {
    temp_folder tree;
    ASSERT_EQ(run_unix("cd " + quoted(to_unix_path(tree.path())) +
                       " && python3 -c \"import os\nfor i in range(3000):\n os.makedirs(f'd{i % 30}/e{i}')\n"
                       " open(f'd{i % 30}/e{i}/f', 'w').write(str(i))\""),
              0);
    const auto free_blocks = [] {
        const HANDLE heap = reinterpret_cast<HANDLE>(_get_heap_handle());
        PROCESS_HEAP_ENTRY entry{};
        long count = 0;
        HeapLock(heap);
        while (HeapWalk(heap, &entry))
            if (!(entry.wFlags & (PROCESS_HEAP_ENTRY_BUSY | PROCESS_HEAP_REGION | PROCESS_HEAP_UNCOMMITTED_RANGE))) ++count;
        HeapUnlock(heap);
        return count;
    };
    const long before = free_blocks();
    const auto list = walked(tree.path(), 1);
    ASSERT_EQ(list->records.size(), 3000u);
    EXPECT_LT(free_blocks() - before, 300);
}
