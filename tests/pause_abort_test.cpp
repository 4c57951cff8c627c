// Pause and abort in every phase of a run: a pause holds the work at once, Resume lets it finish, Abort
// ends it early, and each run closes with its own row.
#include "actions/compare.h"
#include "app/run_control.h"
#include "search/checksum_pass.h"
#include "support/window_driver.h"

using namespace test_support;

namespace {

int64_t walked() {
    const auto list = std::atomic_load(&app_state->scan_list);
    return list ? list->record_count.load() : 0;
}

struct phase {
    const char* name;
    uint32_t mode;
    const char* make;        // shell commands that fill the tree, run inside it
    int64_t (*work)();       // grows while the phase works
    int64_t total;           // its growth over a whole run
    const wchar_t* resumed;  // the start of the closing row of a paused and resumed run
    const wchar_t* aborted;  // ... and of one aborted while paused
};

// Each phase has enough work that a pause lands before it ends.
const phase phases[] = {
    {"Walk", 1, "i=0; while [ $i -lt 1500 ]; do i=$((i+1)); mkdir d$i; printf \"%${i}s\" '' > d$i/f; done", walked,
     1500, L"Finished|0 twins found in 1500 files.", L"Aborted|0 twins found in 0 files."},
    {"ChecksumPass", 2, "head -c 256000 /dev/urandom > all && split -b 64 -a 4 all f && rm all",
     [] { return static_cast<int64_t>(orvkit::checksum_pass_opens()); }, 4000,
     L"Finished|0 twins found in 4000 files.", L"Aborted|0 twins found in 0 files."},
    {"Comparison", 2, "i=0; while [ $i -lt 500 ]; do i=$((i+1)); : > e$i; done",
     [] { return static_cast<int64_t>(twin_count.load()); }, 500 * 499 / 2,
     L"Finished|124750 twins found in 500 files.", L"Aborted|"},
    {"FileModeComparison", 0,
     "truncate -s 300M a b && printf x | dd of=b bs=1 seek=299000000 conv=notrunc 2>/dev/null",
     [] { return static_cast<int64_t>(orvkit::compare_bytes_read()); }, 629145600, L"End||Files have 99% in common",
     L"Aborted||Same"},
};

void PrintTo(const phase& p, std::ostream* out) { *out << p.name; }

}  // namespace

class PauseAndAbort : public twin_window_test, public testing::WithParamInterface<phase> {};

TEST_P(PauseAndAbort, PauseHoldsTheWorkResumeCompletesItAbortEndsIt) {
    const phase& p = GetParam();
    temp_folder tree;
    ASSERT_EQ(run_unix("cd " + quoted(to_unix_path(tree.path())) + " && " + p.make), 0);
    for (const bool abort : {false, true}) {
        SCOPED_TRACE(abort ? "abort" : "pause and resume");
        std::atomic_store(&app_state->scan_list, std::shared_ptr<orvkit::orvFileList>());
        twin_count = 0;  // start_worker clears it too, but only once the work is measured from here
        DeleteFileW((data_ / L"LastList.txt").c_str());
        const int64_t before = p.work();
        begin_search(p.mode, p.mode ? tree.path() : tree / L"a", p.mode ? L"" : tree / L"b");
        ASSERT_TRUE(pump_until([&] { return p.work() > before || run_status == orvkit::status_idle; }));

        orvkit::toggle_pause();
        ASSERT_EQ(pause_code.load(), orvkit::pause_paused);
        pump_for(100);  // the walk and the checksums hold once a pause is 60 ms old
        const int64_t held = p.work();
        pump_for(500);
        EXPECT_EQ(p.work(), held) << "nothing done from 0.1 s after the pause";
        EXPECT_LT(held - before, p.total) << "the phase ended before the pause: more work needed";
        EXPECT_NE(run_status.load(), orvkit::status_idle) << "paused, not ended";

        if (abort) {
            EXPECT_TRUE(orvkit::abort_run());
        } else {
            orvkit::toggle_pause();
        }
        ASSERT_TRUE(pump_until(run_ended, 60000));
        EXPECT_EQ(pause_code.load(), orvkit::pause_running) << "the worker's end clears the pause and the abort";
        if (abort) {
            EXPECT_LT(p.work() - before, p.total) << "the work stopped at the abort";
        } else {
            EXPECT_EQ(p.work() - before, p.total) << "all of it done after the resume";
        }
        const std::wstring closing = abort ? p.aborted : p.resumed;
        // The closing row ends the list, or stands above "Indexing" when no comparison began.
        const std::wstring first = row_text(0), last = row_text(list_row_count() - 1);
        EXPECT_TRUE(first.rfind(closing, 0) == 0 || last.rfind(closing, 0) == 0)
            << testing::PrintToString(closing) << " is neither " << testing::PrintToString(first) << " nor "
            << testing::PrintToString(last);
        if (p.mode == 2 && abort) {
            EXPECT_EQ(list_row_count(), twin_count + 2) << "the rows listed before the abort";
        }
        if (p.mode == 1 && abort) {
            EXPECT_TRUE(exists(data_ / L"LastList.txt")) << "the partial index is saved";
        }
    }
    EXPECT_FALSE(orvkit::abort_run()) << "nothing runs to abort";
}

INSTANTIATE_TEST_SUITE_P(Phases, PauseAndAbort, testing::ValuesIn(phases),
                         [](const testing::TestParamInfo<phase>& info) { return std::string(info.param.name); });
