// The journal of removals: the reader on any bytes, and Undo of the last batch through the real window.
#include <algorithm>
#include <random>
#include <tuple>

#include "core/delete_modes.h"
#include "core/journal_format.h"
#include "core/removal_journal.h"
#include "support/dialogs.h"
#include "ui/menu_ids.h"

using namespace orvkit;
using namespace test_support;
using entries = std::vector<journal_entry>;

namespace {

const entries sample = {
    {L"2026-12-07 15:40:12", journal_action::recycling, L"C:\\a\\x.txt", L"", L"C:\\a\\y.txt", 12, L"search 1"},
    {L"2026-12-07 15:40:12", journal_action::recycled, L"C:\\a\\x.txt", L"C:\\$Recycle.Bin\\S-1\\$RAB12CD.txt",
     L"C:\\a\\y.txt", 12, L"search 1", L"134097408120000000"},
    {L"2026-12-07 15:40:13", journal_action::moved, L"\\\\server\\s\\\u00e9t\u00e9.bin", L"D:\\moved\\\u00e9t\u00e9.bin",
     L"C:\\k.bin", 5ull << 32, L"search 1"},
    {L"2026-12-07 15:41:00", journal_action::deleted, L"C:\\b\\z", L"", L"C:\\b\\w", 0, L"column delete 2"},
    {L"2026-12-07 15:42:00", journal_action::restored, L"C:\\a\\x.txt", L"", L"", 12, L"search 1"},
    {L"2026-12-07 15:41:00", journal_action::failed, L"C:\\b\\v", L"", L"C:\\b\\w", 3, L"column delete 2"},
    {L"2026-12-07 15:41:01", journal_action::ended, L"", L"", L"", 0, L"column delete 2"},
    {L"2026-12-07 15:42:00", journal_action::undone, L"", L"", L"", 0, L"search 1"},
};

std::string journal_bytes(const entries& lines) {
    std::string bytes = journal_preamble();
    for (const journal_entry& entry : lines) bytes += journal_line(entry);
    return bytes;
}

entries parse(const std::string& bytes) {
    return parse_journal(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

// Lines read back as written; a cut file gives the lines before the cut; foreign bytes give no line.
TEST(RemovalJournal, TheReaderTakesOnlyWholeLines) {
    const std::string bytes = journal_bytes(sample);  // the last cut below is the whole file
    std::vector<std::size_t> ends;
    for (std::size_t n = 1; n <= sample.size(); ++n) ends.push_back(journal_bytes({sample.begin(), sample.begin() + n}).size());
    for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
        const auto whole = std::upper_bound(ends.begin(), ends.end(), cut) - ends.begin();
        ASSERT_EQ(parse(bytes.substr(0, cut)), entries(sample.begin(), sample.begin() + whole)) << cut;
    }
    EXPECT_TRUE(parse(bytes.substr(2)).empty()) << "no byte-order mark";
    const std::string foreign_lines = journal_preamble() + std::string(journal_line(sample[0]), 0, 40) + std::string("\n\0", 2) +
                                      journal_line(sample[2]);
    EXPECT_EQ(parse(foreign_lines), entries{sample[2]}) << "a damaged line is passed over";
    std::string seven_fields = journal_line(sample[3]);
    seven_fields.erase(seven_fields.size() - 6, 2);  // an earlier version's line: no bin time, no tab before it
    EXPECT_EQ(parse(journal_preamble() + seven_fields), entries{sample[3]}) << "a line of seven fields";

    std::mt19937 random(20261207);
    for (int round = 0; round < 3000; ++round) {
        std::string noise = round % 2 ? bytes : std::string("\xFF\xFE", 2);
        noise.resize(noise.size() + random() % 400);
        for (std::size_t i = 2; i < noise.size(); ++i)
            if (round % 2 == 0 || random() % 50 == 0) noise[i] = static_cast<char>(random() % 3 ? random() : '\t');
        for (const journal_entry& entry : parse(noise)) {
            ASSERT_FALSE(entry.batch.empty());
            const bool batch_line = entry.action == journal_action::undone || entry.action == journal_action::ended;
            ASSERT_TRUE(batch_line || entry.path.find(L'\\') != std::wstring::npos);
        }
    }
}

TEST(RemovalJournal, UndoTakesTheLastEndedBatchAndWhatWasNotPutBack) {
    using a = journal_action;
    const auto line = [](journal_action action, const wchar_t* path, const wchar_t* batch) {
        return journal_entry{L"2026-12-07 10:00:00", action, path, action == a::moved ? L"D:\\m\\f" : L"", L"", 1, batch};
    };
    const auto end = [&](const wchar_t* batch) { return line(a::ended, L"", batch); };
    const std::pair<entries, std::wstring> cases[] = {  // a journal; the batch, pending, deleted
        {{}, L"|0|0"},
        {{line(a::moved, L"C:\\1", L"b1"), line(a::recycled, L"C:\\2", L"b1")}, L"|0|0"},  // still running
        {{line(a::moved, L"C:\\1", L"b1"), line(a::recycled, L"C:\\2", L"b1"), end(L"b1")}, L"b1|2|0"},
        {{line(a::moved, L"C:\\1", L"b1"), end(L"b1"), line(a::deleted, L"C:\\2", L"b2"), end(L"b2")}, L"b2|0|1"},
        {{line(a::moved, L"C:\\1", L"b1"), end(L"b1"), line(a::moved, L"C:\\2", L"b2")}, L"b1|1|0"},
        {{line(a::moved, L"C:\\1", L"b1"), line(a::moved, L"C:\\2", L"b1"), end(L"b1"), line(a::restored, L"C:\\1", L"b1")},
         L"b1|1|0"},
        {{line(a::moved, L"C:\\1", L"b1"), end(L"b1"), line(a::restored, L"C:\\1", L"b0")}, L"b1|1|0"},  // another batch's
        {{line(a::moving, L"C:\\1", L"b1"), line(a::failed, L"C:\\1", L"b1"), end(L"b1")}, L"b1|0|0"},  // never left
    };
    for (const auto& [lines, expected] : cases) {
        const undo_plan plan = plan_undo(lines);
        EXPECT_EQ(plan.batch + L"|" + std::to_wstring(plan.pending.size()) + L"|" + std::to_wstring(plan.deleted), expected);
    }
}

class UndoRemoval : public twin_window_test {
protected:
    struct file {
        std::wstring path;
        std::string bytes;
        uint64_t written;
    };
    // Three pairs of copies; a search removing column B in `mode` removes one of each.
    std::vector<file> search_removing(uint32_t mode, const temp_folder& tree, const temp_folder& moved) {
        std::vector<file> files;
        for (int group = 0; group < 3; ++group) {
            const std::string bytes(100 + group, static_cast<char>('a' + group));
            for (const wchar_t* copy : {L"\\a", L"\\sub\\b"}) {  // b, in column B, is removed
                const std::wstring g = std::to_wstring(group);
                const std::wstring path = tree.make_file(L"g" + g + copy + g + L".dat", bytes);
                files.push_back({path, bytes, written(path)});
            }
        }
        remove_when_found = remove_column_b = 1;
        app_state->deletions.delete_mode = mode;
        app_state->deletions.move_dir = moved.path();
        search(mode_directory, tree.path());
        remove_when_found = remove_column_b = 0;
        return files;
    }
    static uint64_t written(const std::wstring& path) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
        return uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32 | data.ftLastWriteTime.dwLowDateTime;
    }
    entries journal() const { return read_journal(data_ / L"Removals.txt"); }
    // The lines that say a file left its path.
    entries removals() const {
        entries lines = journal();
        std::erase_if(lines, [](const journal_entry& line) {
            return line.action != journal_action::recycled && line.action != journal_action::deleted &&
                   line.action != journal_action::moved;
        });
        return lines;
    }
    // The items of the recycle bin that hold `bytes`.
    static std::vector<std::wstring> items_holding(const std::string& bytes) {
        std::vector<std::wstring> items;
        WIN32_FIND_DATAW entry;
        HANDLE find = FindFirstFileW((trash_folder() + L"\\*").c_str(), &entry);
        for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &entry)) {
            const std::wstring item = trash_folder() + L"\\" + entry.cFileName;
            if (read_file(item) == bytes) items.push_back(item);
        }
        if (find != INVALID_HANDLE_VALUE) FindClose(find);
        return items;
    }
    bool undo_offered() { return right_click_menu(window).find(L"Undo Last Removal=2090") != std::wstring::npos; }
    // Undo runs off the window thread: its row tells the outcome once it ended.
    std::wstring undo() {
        SendMessageW(window, WM_COMMAND, menu_undo_removal, 0);
        EXPECT_TRUE(pump_until(run_ended));
        return list_cell(0, 0) + L"|" + list_cell(0, 1);
    }
};

// The journal names the files the rows say were removed, with action and target (the move folder's file, the
// recycle bin's item), each after a line written before it was tried, and ends the batch; Undo puts back moved
// and recycled files with their bytes and time, once; a Delete batch offers no Undo and says why.
TEST_F(UndoRemoval, EachModeIsJournalledAndUndoneOnce) {
    EXPECT_FALSE(undo_offered()) << "an empty journal offers nothing";
    for (const auto& [mode, action, undone] :
         {std::tuple{delete_mode_move, journal_action::moved, L"3 files restored"},
          {delete_mode_recycle, journal_action::recycled, L"3 files restored"},
          {delete_mode_delete, journal_action::deleted, L"3 deleted files cannot be restored; nothing was changed"}}) {
        SCOPED_TRACE(mode);
        temp_folder tree, moved;
        const std::vector<file> files = search_removing(mode, tree, moved);
        const entries lines = journal(), removed = removals();
        ASSERT_GE(removed.size(), 3u);
        EXPECT_EQ(lines.back().action, journal_action::ended);
        std::vector<std::wstring> removed_rows, journalled;
        for (int row = 1; row + 1 < list_row_count(); ++row)
            if (list_cell(row, 2) == L"Deleted B") removed_rows.push_back(list_cell(row, 1));
        for (auto line = removed.end() - 3; line != removed.end(); ++line) {
            journalled.push_back(line->path);
            EXPECT_EQ(line->action, action);
            if (mode == delete_mode_move) EXPECT_EQ(line->target, moved / file_name(line->path));
            if (mode == delete_mode_recycle) EXPECT_TRUE(exists(line->target) && !line->bin_time.empty());
            EXPECT_EQ(line->batch, lines.back().batch);
            const auto before = std::find_if(lines.begin(), lines.end(), [&](const journal_entry& e) { return e.path == line->path; });
            EXPECT_EQ(before->action, intent_of(action)) << "a line before the removal";
        }
        EXPECT_EQ(journalled, removed_rows);
        ASSERT_EQ(undo_offered(), mode != delete_mode_delete);

        EXPECT_EQ(undo(), std::wstring(L"Undo|") + undone);
        for (const file& f : files) {
            const bool lost = mode == delete_mode_delete && f.path.find(L"\\b") != std::wstring::npos;
            EXPECT_EQ(read_file(f.path), lost ? "" : f.bytes) << to_unix_path(f.path);
            EXPECT_TRUE(lost || written(f.path) == f.written) << "the last-write time kept";
        }
        EXPECT_FALSE(undo_offered()) << "nothing is left to put back";
        const std::size_t after_first = journal().size();
        EXPECT_EQ(after_first - lines.size(), mode == delete_mode_delete ? 0u : 3u) << "a line per file restored";
        if (mode != delete_mode_delete) {
            EXPECT_EQ(undo(), L"Undo|0 files restored") << "a second Undo finds nothing more";
            EXPECT_EQ(journal().size(), after_first);
        }
    }
}

// A file that took a removed file's path stays, the moved one is reported; a folder removed is made again.
TEST_F(UndoRemoval, UndoNeverOverwritesAFileThatTookThePath) {
    temp_folder tree, moved;
    const std::vector<file> files = search_removing(delete_mode_move, tree, moved);
    const std::wstring taken = files[1].path;
    tree.make_file(taken.substr(tree.path().size() + 1), "a new file");
    ASSERT_TRUE(RemoveDirectoryW((tree / L"g1\\sub").c_str()));
    EXPECT_EQ(undo(), L"Undo|2 files restored, 1 could not be: " + taken + L" (a file already stands at its path)");
    EXPECT_EQ(read_file(taken), "a new file");
    EXPECT_EQ(read_file(moved / L"b0.dat").size(), 100u);
    EXPECT_EQ(read_file(files[3].path), files[3].bytes);
}

// A journal that cannot be written stops no removal, and the closing row says so.
TEST_F(UndoRemoval, AJournalThatCannotBeWrittenStopsNoRemovalAndIsReported) {
    data_.make_folder(L"Removals.txt");
    temp_folder tree, moved;
    const std::vector<file> files = search_removing(delete_mode_delete, tree, moved);
    const int closing = list_row_count() - 1;
    EXPECT_EQ(list_cell(closing, 0) + L"|" + list_cell(closing, 2), L"Finished|Removals.txt could not be written");
    EXPECT_FALSE(exists(files[1].path));
}

// The batch's own item was emptied from the bin while an older item of the same path lies there: Undo leaves
// the older one in the bin and puts nothing at the path.
TEST_F(UndoRemoval, AnOlderItemOfThePathStaysInTheBinWhenTheBatchOwnItemIsGone) {
    temp_folder tree, moved;
    DeleteQueue queue;
    const std::string older_bytes = "an earlier file of " + narrow(tree.path());
    const std::wstring earlier = tree.make_file(L"g0\\sub\\b0.dat", older_bytes);
    ASSERT_EQ(queue.submit(earlier), delete_done);
    ASSERT_EQ(queue.flush_locked(), delete_done);
    ASSERT_FALSE(exists(earlier));
    const std::vector<file> files = search_removing(delete_mode_recycle, tree, moved);
    const entries removed = removals();
    const auto own = std::find_if(removed.begin(), removed.end(), [&](const journal_entry& e) { return e.path == earlier; });
    ASSERT_NE(own, removed.end());
    const std::wstring info = trash_folder() + L"\\..\\info\\" + file_name(own->target) + L".trashinfo";
    ASSERT_TRUE(DeleteFileW(own->target.c_str()) && DeleteFileW(info.c_str())) << "emptied from the bin";
    ASSERT_EQ(items_holding(older_bytes).size(), 1u);
    EXPECT_EQ(undo(), L"Undo|2 files restored, 1 could not be: " + earlier + L" (no longer in the recycle bin)");
    EXPECT_FALSE(exists(earlier)) << "the older file is not put back in its place";
    EXPECT_EQ(items_holding(older_bytes).size(), 1u) << "the older item stays in the bin";
}

// An Undo that could not put back every file leaves the rest to the next, which restores only those.
TEST_F(UndoRemoval, ASecondUndoRestoresWhatTheFirstCouldNot) {
    temp_folder tree, moved;
    const std::vector<file> files = search_removing(delete_mode_recycle, tree, moved);
    const std::wstring blocked = files[3].path;
    tree.make_file(blocked.substr(tree.path().size() + 1), "in the way");
    EXPECT_EQ(undo(), L"Undo|2 files restored, 1 could not be: " + blocked + L" (a file already stands at its path)");
    ASSERT_TRUE(undo_offered());
    ASSERT_TRUE(DeleteFileW(blocked.c_str()));
    EXPECT_EQ(undo(), L"Undo|1 files restored");
    EXPECT_EQ(read_file(blocked), files[3].bytes);
    EXPECT_FALSE(undo_offered());
}
