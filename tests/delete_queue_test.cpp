// Removal's parts on real files: the long path forms, the delete queue in each mode, and the guard in front of
// every removal (equal bytes read in pieces, missing files, one file under two names, files already handed over).
#include "compare/removal_guard.h"
#include "base/path_parts.h"
#include "core/delete_queue.h"
#include "support/window_driver.h"

using namespace orvkit;
using namespace test_support;

TEST(Paths, LongFormsAndTheirParts) {
    EXPECT_EQ(long_path(L"C:/a/b"), L"\\\\?\\C:\\a\\b");
    EXPECT_EQ(long_path(L"\\\\server\\share\\f"), L"\\\\?\\UNC\\server\\share\\f");
    EXPECT_EQ(long_path(L"\\\\?\\C:\\a"), L"\\\\?\\C:\\a");
    EXPECT_EQ(long_path(L"relative\\f"), L"relative\\f");
    EXPECT_EQ(system_path(L"C:\\a\\..."), L"\\\\?\\C:\\a\\...");
    EXPECT_EQ(system_path(L"C:\\a\\..\\b"), L"C:\\a\\..\\b");
    EXPECT_EQ(full_path(L"C:\\a\\..\\b\\.\\c"), L"C:\\b\\c");
    EXPECT_EQ(full_path(L"C:\\a\\name."), L"C:\\a\\name.") << "nothing to resolve: kept exactly";

    path_parts parts;
    parts = L"C:\\Program Files\\Ostrand\\Ostrand.exe";
    EXPECT_EQ(parts.folder + L"|" + parts.name + L"|" + parts.root, L"C:\\Program Files\\Ostrand\\|Ostrand.exe|C:\\");
    parts = L"abc";  // too short to split: only the whole path changes
    EXPECT_EQ(parts.full, L"abc");
}

TEST(DeleteQueue, DeleteAndMove) {
    temp_folder tree;
    const auto doomed = tree.make_file(L"doomed", "x"), locked = tree.make_file(L"locked", "x");
    const auto first = tree.make_file(L"a\\twin", "first"), second = tree.make_file(L"b\\twin", "second");
    for (const auto& path : {locked, second}) ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    DeleteQueue queue;
    for (uint32_t mode : {3u, 0xFFFFFFFFu, 2u}) {  // unknown modes, and Move with no move folder
        queue.delete_mode = mode;
        EXPECT_EQ(queue.submit(doomed), delete_failed) << mode;
    }
    queue.delete_mode = 1;
    EXPECT_EQ(queue.submit(doomed), delete_done);
    EXPECT_EQ(queue.submit(doomed), delete_failed) << "gone already";
    EXPECT_EQ(queue.submit(tree.make_folder(L"sub")), delete_failed) << "a folder is no file";
    EXPECT_EQ(queue.submit(locked), delete_failed);
    EXPECT_TRUE(GetFileAttributesW(locked.c_str()) & FILE_ATTRIBUTE_READONLY) << "untouched without the override";
    queue.override_read_only = 1;
    EXPECT_EQ(queue.submit(locked), delete_done);
    EXPECT_FALSE(exists(locked));

    queue.delete_mode = 2;
    queue.move_dir = tree.make_folder(L"moved here");
    const std::wstring target = queue.move_dir + L"\\";
    EXPECT_EQ(queue.submit(first), delete_done);
    EXPECT_EQ(queue.submit(second), delete_failed) << "never replaces";
    EXPECT_EQ(queue.move_dir, target) << "the backslash is added once";
    EXPECT_EQ(read_file(target + L"twin"), "first");
    EXPECT_EQ(read_file(second), "second");
    EXPECT_TRUE(GetFileAttributesW(second.c_str()) & FILE_ATTRIBUTE_READONLY) << "the override's reset is undone";
    EXPECT_FALSE(exists(first));
}

TEST(DeleteQueue, RecycleAtTheFlush) {
    const std::wstring trash = trash_folder();
    ASSERT_FALSE(trash.empty()) << "run through scripts/test.sh";
    temp_folder tree;  // its name is unique in the run: so are the names made from it
    const std::wstring tag = tree.path().substr(tree.path().rfind(L'\\') + 1);
    const auto in = [&](const std::wstring& name) { return tree / tag + name; };
    for (const wchar_t* name : {L"_a", L"_b", L"_gone", L"_prefixed", L"_relative", L"_kept"})
        tree.make_file(tag + name, "x");
    tree.make_file(tag + L"_folder\\inside", "inside");
    DeleteQueue queue;
    for (const std::wstring& path : {in(L"_a"), in(L"_gone"), in(L"_b"), in(L"_B"), long_path(in(L"_prefixed"))})
        EXPECT_EQ(queue.submit(path), delete_done) << "queued: " << path.c_str();
    for (const std::wstring& path : {in(L"_folder"), in(L"_missing"), tree / L"*"})
        EXPECT_EQ(queue.submit(path), delete_failed) << "the shell would misread " << path.c_str();
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(tree.path().c_str()));
    EXPECT_EQ(queue.submit(tag + L"_relative"), delete_done);
    // The folder changes before the flush: the file queued is still the one that goes.
    SetCurrentDirectoryW(tree.make_folder(L"elsewhere").c_str());
    tree.make_file(L"elsewhere\\" + tag + L"_relative", "decoy");
    EXPECT_TRUE(exists(in(L"_a")) && !exists(trash + L"\\" + tag + L"_a")) << "only queued";
    ASSERT_TRUE(DeleteFileW(in(L"_gone").c_str()));  // the shell stops at the first missing file
    EXPECT_EQ(queue.flush_locked(), delete_done);
    SetCurrentDirectoryW(previous);
    for (const wchar_t* name : {L"_a", L"_b", L"_prefixed", L"_relative"})
        EXPECT_TRUE(!exists(in(name)) && exists(trash + L"\\" + tag + name)) << name;
    EXPECT_EQ(read_file(tree / L"elsewhere\\" + tag + L"_relative"), "decoy");
    EXPECT_TRUE(exists(in(L"_folder\\inside")));

    EXPECT_EQ(queue.submit(in(L"_kept")), delete_done);
    queue.delete_mode = 1;
    EXPECT_EQ(queue.flush_locked(), delete_done);  // the mode changed: the pending list is dropped
    queue.delete_mode = 0;
    EXPECT_EQ(queue.flush_locked(), delete_done);
    EXPECT_TRUE(exists(in(L"_kept")) && !exists(trash + L"\\" + tag + L"_kept"));

    // 300 characters, the first 259 a folder (what a path cut at MAX_PATH - 1 would name).
    const std::wstring cut = tree.make_folder(std::wstring(258 - tree.path().size(), L'd'));
    const auto long_file = [&](const wchar_t* name) {
        const std::wstring relative = cut.substr(tree.path().size() + 1) + L"\\" + tag + name;
        return tree.make_file(relative + std::wstring(36 - tag.size(), L'n'), "x");
    };
    const std::wstring to_delete = long_file(L"_del"), to_move = long_file(L"_mov"), to_recycle = long_file(L"_rec");
    ASSERT_EQ(to_recycle.size(), 300u);
    EXPECT_EQ(queue.submit(to_recycle), delete_failed) << "the shell cannot take it whole";
    EXPECT_EQ(queue.flush_locked(), delete_done);
    EXPECT_TRUE(exists(to_recycle) && !exists(trash + cut.substr(cut.rfind(L'\\'))));
    queue.delete_mode = 1;
    EXPECT_EQ(queue.submit(to_delete), delete_done);
    queue.delete_mode = 2;
    queue.move_dir = tree.make_folder(std::wstring(150, L'm') + L"\\" + std::wstring(120, L'o'));  // long too
    EXPECT_EQ(queue.submit(to_move), delete_done);
    EXPECT_EQ(read_file(queue.move_dir + to_move.substr(to_move.rfind(L'\\') + 1)), "x");
    EXPECT_TRUE(!exists(to_delete) && !exists(to_move));
}

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

// Recycling waits for the flush, so a queued file still opens: the guard knows it by every name, and keeps its partner.
TEST(RemovalGuard, AFileHandedOverIsRemovedOnceAndIsNeverThePartnerThatStays) {
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
    EXPECT_EQ(sent[0].path + L"|" + std::to_wstring(static_cast<int>(sent[0].verdict)), b + L"|" +
              std::to_wstring(static_cast<int>(removal_verdict::removed)));
    EXPECT_TRUE(exists(a) && !exists(b) && in_trash(b));

    // A request the queue refuses leaves the file, which may then stay for another.
    const std::wstring c = folder.make_file(L"c.txt", "more"), d = folder.make_file(L"d.txt", "more");
    removal_options delete_outright;
    delete_outright.delete_mode = delete_mode_delete;
    SetFileAttributesW(c.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(guard.remove(queue, c, d, &delete_outright), removal_verdict::queue_failed);
    SetFileAttributesW(c.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(guard.remove(queue, d, c, &delete_outright), removal_verdict::removed);
    EXPECT_TRUE(exists(c) && !exists(d));
}
