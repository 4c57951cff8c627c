// The column delete's second look at a row, on real files: equal bytes read in
// pieces, sizes, missing files, one file under two names, files already handed over.
#include <gtest/gtest.h>
#include <windows.h>

#include "actions/twin_recheck.h"
#include "search/file_identity.h"
#include "support/temp_folder.h"

using namespace orvkit;
using test_support::temp_folder;

TEST(TwinRecheck, EqualContentsReadsEveryPieceToTheEnd) {
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
}

TEST(TwinRecheck, VerdictsInTheOrderTheyAreChecked) {
    temp_folder folder;
    const std::wstring a = folder.make_file(L"a.txt", "same"), b = folder.make_file(L"b.txt", "same");
    const std::wstring other = folder.make_file(L"c.txt", "diff");
    ASSERT_TRUE(CreateHardLinkW((folder / L"link.txt").c_str(), a.c_str(), nullptr));
    handed_files handed;
    const file_identity id_a = identity_of(a);
    EXPECT_EQ(recheck_twin(a, id_a, b, handed), twin_verdict::still_twin);
    EXPECT_EQ(recheck_twin(a, id_a, other, handed), twin_verdict::twin_changed);
    EXPECT_EQ(recheck_twin(a, id_a, folder / L"gone.txt", handed), twin_verdict::twin_missing);
    EXPECT_EQ(recheck_twin(a, id_a, L"", handed), twin_verdict::twin_missing);
    EXPECT_EQ(recheck_twin(a, id_a, folder / L"A.TXT", handed), twin_verdict::same_file) << "case ignored";
    EXPECT_EQ(recheck_twin(a, id_a, folder / L"link.txt", handed), twin_verdict::same_file) << "a hard link";
    EXPECT_EQ(recheck_twin(folder / L"gone.txt", {}, b, handed), twin_verdict::file_gone);
    handed.add(b, identity_of(b));
    EXPECT_EQ(recheck_twin(a, id_a, folder / L"B.txt", handed), twin_verdict::twin_removed);
    handed.add(folder / L"link.txt", identity_of(folder / L"link.txt"));
    EXPECT_EQ(recheck_twin(a, id_a, b, handed), twin_verdict::file_gone) << "its other name was handed over";
}
