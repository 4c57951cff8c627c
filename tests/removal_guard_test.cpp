// The guard in front of every removal, on real files: equal bytes read in pieces,
// sizes, missing files, one file under two names, files already handed over.
#include <gtest/gtest.h>
#include <windows.h>

#include "actions/removal_guard.h"
#include "support/temp_folder.h"

using namespace orvkit;
using test_support::exists;
using test_support::temp_folder;

TEST(RemovalGuard, EqualContentsReadsEveryPieceToTheEnd) {
    temp_folder folder;
    std::string content(3 * (1 << 20) + 5, 'w');  // more than three read pieces
    const std::wstring a = folder.make_file(L"a", content), b = folder.make_file(L"b", content);
    EXPECT_TRUE(equal_contents(a, b));
    content.back() = 'x';
    const std::wstring last = folder.make_file(L"last", content);
    EXPECT_FALSE(equal_contents(a, last)) << "the last byte of the last piece";
    content.back() = 'w';
    content.push_back('w');
    EXPECT_FALSE(equal_contents(a, folder.make_file(L"longer", content)));
    EXPECT_FALSE(equal_contents(a, folder / L"missing"));
    EXPECT_TRUE(equal_contents(folder.make_file(L"empty1", ""), folder.make_file(L"empty2", "")));
    EXPECT_FALSE(equal_contents(folder.make_file(L"one", "1"), folder.make_file(L"two", "2")));
}

TEST(RemovalGuard, VerdictsInTheOrderTheyAreChecked) {
    temp_folder folder;
    const std::wstring a = folder.make_file(L"a.txt", "same"), b = folder.make_file(L"b.txt", "same");
    const std::wstring other = folder.make_file(L"c.txt", "diff");
    ASSERT_TRUE(CreateHardLinkW((folder / L"link.txt").c_str(), a.c_str(), nullptr));
    removal_guard guard;
    EXPECT_EQ(guard.check(a, b), removal_verdict::partner_stays);
    EXPECT_EQ(guard.check(a, other), removal_verdict::partner_changed);
    EXPECT_EQ(guard.check(a, folder / L"gone.txt"), removal_verdict::partner_missing);
    EXPECT_EQ(guard.check(a, L""), removal_verdict::partner_missing);
    EXPECT_EQ(guard.check(a, folder / L"A.TXT"), removal_verdict::same_file) << "case ignored";
    EXPECT_EQ(guard.check(a, folder / L"link.txt"), removal_verdict::same_file) << "a hard link";
    EXPECT_EQ(guard.check(folder / L"gone.txt", b), removal_verdict::file_gone);
}

// Recycle requests wait for the flush, so a queued file still opens: the guard
// remembers it under every name, and keeps its partner.
TEST(RemovalGuard, AFileHandedOverIsRemovedOnceAndIsNeverThePartnerThatStays) {
    temp_folder folder;
    const std::wstring a = folder.make_file(L"a.txt", "same"), b = folder.make_file(L"b.txt", "same");
    const std::wstring link = folder / L"link.txt";
    ASSERT_TRUE(CreateHardLinkW(link.c_str(), b.c_str(), nullptr));
    DeleteQueue queue;
    removal_options recycle;
    removal_guard guard;
    EXPECT_EQ(guard.remove(queue, b, a, &recycle), removal_verdict::removed);
    EXPECT_TRUE(exists(b)) << "queued, not yet sent";
    EXPECT_EQ(guard.remove(queue, folder / L"B.TXT", a, &recycle), removal_verdict::already_removed);
    EXPECT_EQ(guard.remove(queue, link, a, &recycle), removal_verdict::other_name_removed);
    EXPECT_EQ(guard.remove(queue, a, b, &recycle), removal_verdict::partner_removed);
    EXPECT_EQ(guard.remove(queue, a, link, &recycle), removal_verdict::partner_removed);
    queue.flush_locked();
    EXPECT_TRUE(exists(a));

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
