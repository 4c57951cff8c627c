// Searches through the real window: rows, summary, options, pruning, resuming, which files are opened; pause
// and abort in every phase of a run.
#include "compare/pair_compare.h"
#include "search/checksum_pass.h"
#include "search/group_compare.h"
#include "search/list_file.h"
#include "support/window_driver.h"

using namespace test_support;

namespace {

// `size` bytes of which `changes`, spread evenly, differ from the plain content.
std::string with_changes(std::size_t size, std::size_t changes) {
    std::string content(size, 'x');
    for (std::size_t i = 0; i < changes; ++i) content[i * (size / changes)] = 'y';
    return content;
}

std::shared_ptr<orvFileList> saved_list(int records) {
    auto list = make_file_list();
    EXPECT_EQ(read_list_file(*list, L"LastList.txt"), records);
    return list;
}

struct SearchWorker : twin_window_test {
    void make_tree() {
        for (int i = 0; i < 5; ++i) tree.make_file(L"unique" + std::to_wstring(i), std::string(20 + i, 'u'));
        for (int i = 0; i < 10; ++i) tree.make_file(L"empty\\e" + std::to_wstring(i), "");
        const std::string big = with_changes(200001, 7);  // past the first piece; not a whole number of words
        std::string late = big, early = big;
        late.back() = 'z';  // outside the checksum's words: the same checksum, 99 % in common
        early.front() = 'z';
        p1 = tree.make_file(L"p1", big), p2 = tree.make_file(L"p2", big);
        r = tree.make_file(L"r", late), q = tree.make_file(L"q", early);
        s1 = tree.make_file(L"s1", "small twins"), s2 = tree.make_file(L"s2", "small twins");
        tree.make_file(L"t", "other bytes");
        u1 = tree.make_file(L"u1", "twins, until"), u2 = tree.make_file(L"u2", "twins, until");
    }
    static uint32_t checksum_of(const orvFileList& list, const std::wstring& path) {
        for (const auto& record : list.records)
            if (record->path() == path) return record->checksum;
        return 0xFFFFFFFFu;
    }
    std::wstring p1, p2, r, q, s1, s2, u1, u2;
};

}  // namespace

// The match percentage, Hash, empty files and trees that name a file twice: twins in order, the closing row in full.
TEST_F(SearchWorker, ListsWhatEachOptionLetsThroughOnEachTree) {
    temp_folder three, similar, empty, single, nested, linked;
    for (const wchar_t* name : {L"a1.txt", L"a2.txt", L"sub\\a3.txt"}) three.make_file(name, "same content");
    three.make_file(L"other.txt", "different!!!");
    similar.make_file(L"a.bin", with_changes(1000, 0));
    similar.make_file(L"b.bin", with_changes(1000, 50));  // 95 % in common
    empty.make_file(L"e1", "");
    empty.make_file(L"e2", "");
    single.make_file(L"only.txt", "x");
    nested.make_file(L"x.txt", "twin");
    nested.make_file(L"sub\\y.txt", "twin");
    linked.make_file(L"real\\only.txt", "one copy");
    linked.make_link(L"alias", linked / L"real");
    const struct {
        uint32_t mode;
        std::wstring a, b;
        uint32_t match, zero_length;
        const wchar_t* rows;  // each row's first name, and a twin's second name and percentage
        const wchar_t* closing = nullptr;
    } cases[] = {
        {mode_quick_dir, three.path(), L"", 100, 1,
         L"Start|a1.txt>a2.txt 100|a1.txt>a3.txt 100|a2.txt>a3.txt 100|Finished|",
         L"3 twins found in 4 files. Total original size 48 bytes. Total deleted 0 bytes. Total folders 1 with 0 empty "
         L"folders deleted."},
        {mode_directory, similar.path(), L"", 90, 1, L"Start|a.bin>b.bin 95|Finished|"},
        {mode_directory, similar.path(), L"", 96, 1, L"Start|Finished|"},
        {mode_quick_dir, similar.path(), L"", 50, 1, L"Start|Finished|"},  // Hash: other checksums never compared
        {mode_quick_dir, empty.path(), L"", 100, 0, L"Start|Finished|"},
        {mode_quick_dir, single.path(), L"", 100, 1, L"Finished|Indexing|"},  // no comparison
        {mode_qdir_plus, nested.path(), nested / L"sub", 100, 1, L"Start|y.txt>x.txt 100|x.txt>y.txt 100|Finished|"},
        {mode_qdir_plus, nested / L"sub", nested / L"sub", 100, 1, L"Start|Finished|"},
        {mode_qdir_plus, linked / L"real", linked / L"alias", 100, 1, L"Start|Finished|"},
    };
    for (const auto& c : cases) {
        app_state->settings.match_percentage = c.match;
        app_state->settings.check_zero_length = c.zero_length;
        begin_search(c.mode, c.a, c.b);
        ASSERT_TRUE(pump_until(run_ended, 60000));
        std::wstring rows;
        for (const list_row& row : read_list_rows())
            rows += file_name(row[0]) + (row[2].empty() ? L"" : L">" + file_name(row[1]) + L" " + row[2]) + L"|";
        EXPECT_EQ(rows, c.rows) << to_unix_path(c.a);
        if (c.closing) {
            EXPECT_EQ(list_cell(list_row_count() - 1, 1), c.closing);
        }
    }
}

// The pruned index is saved, its last copy kept; a file gone since its index was saved is pruned too.
TEST_F(SearchWorker, AFileBThatCannotBeOpenedIsPruned) {
    tree.make_file(L"a.txt", "same");
    const auto locked = tree.make_file(L"b.txt", "same");
    const auto c = tree.make_file(L"c.txt", "same");
    HANDLE lock = CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    search(mode_directory, tree.path());
    EXPECT_EQ(twin_count.load(), 1) << "only a-c";
    EXPECT_EQ(app_state->scan_list.load()->records.size(), 2u);
    const std::string first = read_file(data_ / L"LastListPruned.txt");
    ASSERT_FALSE(first.empty());
    tree.make_file(L"d.txt", "same");
    search(mode_directory, tree.path());
    CloseHandle(lock);
    EXPECT_EQ(read_file(data_ / L"LastListPunedLast.txt"), first) << "the previous pruned list is kept";
    EXPECT_NE(read_file(data_ / L"LastListPruned.txt"), first);
    ASSERT_TRUE(DeleteFileW(c.c_str()));
    const auto loaded = saved_list(4);
    app_state->loaded_list.store(loaded);
    start_worker(window);
    ASSERT_TRUE(pump_until(run_ended, 60000));
    EXPECT_EQ(twin_count.load(), 3) << "a-b, a-d, b-d";
    EXPECT_EQ(loaded->records.size(), 3u) << "c pruned";
}

TEST_F(SearchWorker, AnAbortBeforeTheWalkBeginsStopsIt) {
    for (int folder = 0; folder < 100; ++folder) tree.make_file(L"d" + std::to_wstring(folder) + L"\\f", "same");
    make_worker_thread = [](LPTHREAD_START_ROUTINE routine, HWND window) {
        abort_run();
        return create_worker_thread(routine, window);
    };
    begin_search(mode_directory, tree.path());
    ASSERT_TRUE(pump_until(run_ended, 60000));
    EXPECT_EQ(list_cell(0, 0), L"Aborted");
    EXPECT_TRUE(app_state->scan_list.load()->records.empty());
}

// Options changed while a search is paused (a lower match, automatic removal) change nothing in it.
TEST_F(SearchWorker, OptionsChangedMidRunDoNotReachTheRunningSearch) {
    const auto a = tree.make_file(L"a.bin", with_changes(1000, 0));
    const auto b = tree.make_file(L"b.bin", with_changes(1000, 50));
    make_worker_thread = paused_worker;
    begin_search(mode_directory, tree.path());
    ASSERT_TRUE(pump_until([] { return run_status.load() != status_running; })) << "the run took its options";
    app_state->settings.match_percentage = 50;
    remove_column_a = 1;
    toggle_pause();
    ASSERT_TRUE(pump_until(run_ended, 60000));
    remove_column_a = 0;
    EXPECT_EQ(twin_count.load(), 0) << "95 % is below the 100 % the run began with";
    EXPECT_TRUE(exists(a) && exists(b)) << "removal was off when the run began";
    make_worker_thread = create_worker_thread;
    search(mode_directory, tree.path());
    EXPECT_EQ(twin_count.load(), 1) << "the next run takes the new match percentage";
}

// A file of a unique size is never opened; one that parts early is saved unsummed (checksum 0); each empty file is
// opened once for all its pairs. Resumed at 90 %, where equal checksums choose the pairs, the search sums what they
// now need (q first) and lists what a fresh one does.
TEST_F(SearchWorker, FilesOfASharedSizeAreReadTogetherOnce) {
    make_tree();
    HANDLE lock = CreateFileW((tree / L"unique0").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    const uint64_t summed_before = checksum_pass_opens();
    const uint64_t held_before = group_compare_opens();
    search(mode_quick_dir, tree.path());
    CloseHandle(lock);
    EXPECT_FALSE(exists(data_ / L"LastListPruned.txt")) << "nothing was pruned";
    EXPECT_EQ(checksum_pass_opens() - summed_before, 9u) << "each file of a shared size once";
    EXPECT_EQ(group_compare_opens() - held_before, 10u) << "each empty file once, for 45 pairs";
    EXPECT_EQ(twin_count.load(), 3 + 45);
    const std::vector<list_row> at_100 = read_list_rows();
    for (const list_row& twins : {list_row{p1, p2, L"100"}, list_row{s1, s2, L"100"}, list_row{u1, u2, L"100"}})
        EXPECT_EQ(std::count(at_100.begin(), at_100.end(), twins), 1) << to_unix_path(twins[0]);
    const auto saved = saved_list(24);
    EXPECT_EQ(checksum_of(*saved, q), 0u) << "parted from the others in its first piece";
    EXPECT_EQ(checksum_of(*saved, tree / L"unique1"), 0u);
    EXPECT_NE(checksum_of(*saved, r), 0u) << "read to its end";
    EXPECT_EQ(checksum_of(*saved, r), checksum_of(*saved, p1));
    app_state->settings.match_percentage = 90;
    app_state->loaded_list.store(saved);
    start_worker(window);
    ASSERT_TRUE(pump_until(run_ended, 60000));
    const std::vector<list_row> resumed = read_list_rows();
    ASSERT_TRUE(DeleteFileW((data_ / L"LastList.txt").c_str()));
    search(mode_quick_dir, tree.path());
    const std::vector<list_row> fresh = read_list_rows();
    EXPECT_EQ(std::vector<list_row>(resumed.begin(), resumed.end() - 1),
              std::vector<list_row>(fresh.begin(), fresh.end() - 1));
    EXPECT_EQ(std::count(fresh.begin(), fresh.end(), list_row{p1, r, L"99"}), 1) << "the last byte differs";
    EXPECT_EQ(checksum_pass_known(), 0u) << "no saved index to take checksums from";
}

// After an index saved at 90 % (every file summed) s1 gets a new time, u2 new bytes behind its old size and time.
TEST_F(SearchWorker, UnchangedFilesKeepTheirSavedChecksums) {
    make_tree();
    app_state->settings.match_percentage = 90;
    search(mode_quick_dir, tree.path());
    app_state->settings.match_percentage = 100;
    tree.make_file(L"s1", "small twins");
    ASSERT_EQ(run_unix("cd " + quoted(to_unix_path(tree.path())) + " && touch -r u2 old && printf 'twins? never' | "
                       "dd of=u2 conv=notrunc 2>/dev/null && touch -r old u2 && rm old"), 0);  // size and time kept
    search(mode_quick_dir, tree.path());
    EXPECT_EQ(checksum_pass_known(), 8u) << "every file of a shared size but s1";
    const std::vector<list_row> again = read_list_rows();
    EXPECT_EQ(std::count(again.begin(), again.end(), list_row{u1, u2, L"100"}), 0) << "u2's bytes differ now";
    EXPECT_EQ(twin_count.load(), 2 + 45);
}

// Pause and abort in every phase of a run, each with enough work that a pause lands before it ends.
namespace {

struct phase {
    const char* name;
    uint32_t mode;
    const char* make;        // shell commands that fill the tree, run inside it
    int64_t (*work)();       // grows while the phase works
    int64_t total;           // its growth over a whole run
    const wchar_t* resumed;  // the start of the closing row of a paused and resumed run
    const wchar_t* aborted;  // ... and of one aborted while paused
};

const phase phases[] = {
    {"Walk", 1, "i=0; while [ $i -lt 1500 ]; do i=$((i+1)); mkdir d$i; printf \"%${i}s\" '' > d$i/f; done",
     [] { return app_state->scan_list.load() ? app_state->scan_list.load()->record_count.load() : int64_t{0}; },
     1500, L"Finished|0 twins found in 1500 files.", L"Aborted|0 twins found in 0 files."},
    {"ChecksumPass", 2, "head -c 256000 /dev/urandom > all && split -b 64 -a 4 all f && rm all",
     [] { return static_cast<int64_t>(checksum_pass_opens()); }, 4000,
     L"Finished|0 twins found in 4000 files.", L"Aborted|0 twins found in 0 files."},
    {"Comparison", 2, "i=0; while [ $i -lt 500 ]; do i=$((i+1)); : > e$i; done",
     [] { return static_cast<int64_t>(twin_count.load()); }, 500 * 499 / 2,
     L"Finished|124750 twins found in 500 files.", L"Aborted|"},
    {"FileModeComparison", 0,
     "truncate -s 1000M a b && printf x | dd of=b bs=1 seek=999000000 conv=notrunc 2>/dev/null",
     [] { return static_cast<int64_t>(compare_bytes_read()); }, 2097152000, L"End||Files have 99% in common",
     L"Aborted||Same"},
};

void PrintTo(const phase& p, std::ostream* out) { *out << p.name; }

struct PauseAndAbort : twin_window_test, testing::WithParamInterface<phase> {
    void pause_then(bool abort);
};

}  // namespace

// A pause holds the phase's work at once; then a resume (`abort` false) completes it, or an abort ends it
// early; either way the run closes with its own row and clears the pause.
void PauseAndAbort::pause_then(bool abort) {
    const phase& p = GetParam();
    ASSERT_EQ(run_unix("cd " + quoted(to_unix_path(tree.path())) + " && " + p.make), 0);
    app_state->scan_list.store(std::shared_ptr<orvFileList>());
    twin_count = 0;  // start_worker clears it too, but only once the work is measured from here
    DeleteFileW((data_ / L"LastList.txt").c_str());
    const int64_t before = p.work();
    begin_search(p.mode, p.mode ? tree.path() : tree / L"a", p.mode ? L"" : tree / L"b");
    ASSERT_TRUE(pump_until([&] { return p.work() > before || run_status == status_idle; }));
    toggle_pause();
    ASSERT_EQ(pause_code.load(), pause_paused);
    pump_for(100);  // the walk and the checksums hold once a pause is 60 ms old
    const int64_t held = p.work();
    pump_for(500);
    EXPECT_EQ(p.work(), held) << "nothing done from 0.1 s after the pause";
    EXPECT_LT(held - before, p.total) << "the phase ended before the pause: more work needed";
    EXPECT_NE(run_status.load(), status_idle) << "paused, not ended";
    EXPECT_TRUE(abort ? abort_run() : (toggle_pause(), true));
    ASSERT_TRUE(pump_until(run_ended, 60000));
    EXPECT_EQ(pause_code.load(), pause_running) << "the worker's end clears the pause and the abort";
    EXPECT_EQ(p.work() - before == p.total, !abort) << "all done after a resume, less after an abort";
    const std::wstring closing = abort ? p.aborted : p.resumed;
    // The closing row ends the list, or stands above "Indexing" when no comparison began.
    const std::wstring first = row_text(0), last = row_text(list_row_count() - 1);
    EXPECT_TRUE(first.rfind(closing, 0) == 0 || last.rfind(closing, 0) == 0) << narrow(first) << " / " << narrow(last);
    EXPECT_TRUE(!abort || p.mode != 2 || list_row_count() == twin_count + 2) << "the rows listed before the abort";
    EXPECT_TRUE(!abort || p.mode != 1 || exists(data_ / L"LastList.txt")) << "the partial index is saved";
    EXPECT_FALSE(abort_run()) << "nothing runs to abort";
}

TEST_P(PauseAndAbort, AResumeAfterAPauseCompletesTheWork) { pause_then(false); }

TEST_P(PauseAndAbort, AnAbortDuringAPauseEndsTheWorkEarly) { pause_then(true); }

INSTANTIATE_TEST_SUITE_P(Phases, PauseAndAbort, testing::ValuesIn(phases),
                         [](const testing::TestParamInfo<phase>& info) { return std::string(info.param.name); });
