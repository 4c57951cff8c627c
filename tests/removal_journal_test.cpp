// The journal of removals: the reader on any bytes, what Undo plans from it, and what searches write.

#include "core/journal_format.h"
#include "support/removal.h"

using namespace test_support;
using entries = std::vector<journal_entry>;

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

static std::string journal_bytes(const entries& lines) {
    std::string bytes = journal_preamble();
    for (const journal_entry& entry : lines) bytes += journal_line(entry);
    return bytes;
}

static entries parse(const std::string& bytes) {
    return parse_journal(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

using JournalWritten = removal_window_test;

// Lines read back as written, a cut file's before the cut; foreign bytes and damaged lines give nothing; an earlier
// version's lines of seven fields are read.
TEST(RemovalJournal, TheReaderTakesOnlyWholeLines) {
    const std::string bytes = journal_bytes(sample);
    std::vector<std::size_t> ends;
    for (std::size_t n = 1; n <= sample.size(); ++n) ends.push_back(journal_bytes({sample.begin(), sample.begin() + n}).size());
    for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
        const auto whole = std::upper_bound(ends.begin(), ends.end(), cut) - ends.begin();
        ASSERT_EQ(parse(bytes.substr(0, cut)), entries(sample.begin(), sample.begin() + whole)) << cut;
    }
    EXPECT_TRUE(parse(bytes.substr(2)).empty()) << "no byte-order mark";
    const std::string damaged = journal_preamble() + std::string(journal_line(sample[0]), 0, 40) + std::string("\n\0", 2) +
                                journal_line(sample[2]);
    EXPECT_EQ(parse(damaged), entries{sample[2]});
    std::string seven_fields = journal_line(sample[3]);
    seven_fields.erase(seven_fields.size() - 6, 2);  // no bin time, no tab before it
    EXPECT_EQ(parse(journal_preamble() + seven_fields), entries{sample[3]});
}

// The size field holds any count of up to 19 digits, nines included; a longer or a non-numeric field is no line.
TEST(RemovalJournal, TheSizeFieldReadsUpToNineteenDigits) {
    for (const auto& [text, size] : {std::pair<std::u16string, uint64_t>{u"0", 0}, {u"9", 9}, {u"1909", 1909},
                                    {u"9999999999999999999", 9999999999999999999ull}, {u"10000000000000000000", 1},
                                    {u"9a", 1}, {u"", 1}}) {
        journal_entry entry = sample[3];
        entry.size = 424242;
        std::string line = journal_line(entry);
        line.replace(line.find(utf16le(u"424242")), 12, utf16le(text));
        const entries read = parse(journal_preamble() + line);
        entry.size = size;
        EXPECT_EQ(read, size == 1 ? entries{} : entries{entry}) << narrow({text.begin(), text.end()});
    }
}

TEST(RemovalJournal, UndoPlansTheLastEndedBatchsFilesNotPutBack) {
    using a = journal_action;
    const auto line = [](journal_action action, const wchar_t* path, const wchar_t* batch) {
        return journal_entry{L"2026-12-07 10:00:00", action, path, action == a::moved ? L"D:\\m\\f" : L"", L"", 1, batch};
    };
    const auto end = [&](const wchar_t* batch) { return line(a::ended, L"", batch); };
    const struct {
        entries journal;
        const wchar_t* batch;
        std::size_t pending;
        int deleted;
    } cases[] = {
        {{}, L"", 0, 0},
        {{line(a::moved, L"C:\\1", L"b1"), line(a::recycled, L"C:\\2", L"b1")}, L"", 0, 0},  // still running
        {{line(a::moved, L"C:\\1", L"b1"), line(a::recycled, L"C:\\2", L"b1"), end(L"b1")}, L"b1", 2, 0},
        {{line(a::moved, L"C:\\1", L"b1"), end(L"b1"), line(a::deleted, L"C:\\2", L"b2"), end(L"b2")}, L"b2", 0, 1},
        {{line(a::moved, L"C:\\1", L"b1"), end(L"b1"), line(a::moved, L"C:\\2", L"b2")}, L"b1", 1, 0},
        {{line(a::moved, L"C:\\1", L"b1"), line(a::moved, L"C:\\2", L"b1"), end(L"b1"), line(a::restored, L"C:\\1", L"b1")},
         L"b1", 1, 0},
        {{line(a::moved, L"C:\\1", L"b1"), end(L"b1"), line(a::restored, L"C:\\1", L"b0")}, L"b1", 1, 0},  // another's
        {{line(a::moving, L"C:\\1", L"b1"), line(a::failed, L"C:\\1", L"b1"), end(L"b1")}, L"b1", 0, 0},  // never left
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        const undo_plan plan = plan_undo(c.journal);
        EXPECT_EQ(plan.batch, c.batch);
        EXPECT_EQ(plan.pending.size(), c.pending);
        EXPECT_EQ(plan.deleted, c.deleted);
    }
}

// The files the rows say were removed, each after a line of its intent.
TEST_F(JournalWritten, EachRemovalIsJournalledBeforeAndAfterItIsTried) {
    for (const uint32_t mode : {delete_mode_move, delete_mode_recycle, delete_mode_delete}) {
        SCOPED_TRACE(mode);
        temp_folder tree, moved;
        search_removing_pairs(mode, tree, moved);
        const std::vector<journal_entry> lines = read_journal(data_ / L"Removals.txt"), removed = removals();
        ASSERT_GE(removed.size(), 3u);
        std::vector<std::wstring> removed_rows, journalled;
        for (int row = 1; row + 1 < list_row_count(); ++row)
            if (list_cell(row, 2) == L"Deleted B") removed_rows.push_back(list_cell(row, 1));
        for (auto line = removed.end() - 3; line != removed.end(); ++line) {
            journalled.push_back(line->path);
            const auto before = std::find_if(lines.begin(), lines.end(), [&](const journal_entry& e) { return e.path == line->path; });
            EXPECT_EQ(before->action, intent_of(line->action)) << "a line before the removal";
        }
        EXPECT_EQ(journalled, removed_rows);
    }
}

TEST_F(JournalWritten, AJournalThatCannotBeWrittenStopsNoRemoval) {
    data_.make_folder(L"Removals.txt");
    const std::vector<file> files = search_removing_pairs(delete_mode_delete, tree, moved);
    const int closing = list_row_count() - 1;
    EXPECT_EQ(list_cell(closing, 0), L"Finished");
    EXPECT_EQ(list_cell(closing, 2), L"Removals.txt could not be written") << "the closing row says so";
    EXPECT_FALSE(exists(files[1].path));
}

// The menu offers Undo from its last reading of the journal, taken again once the file's size or time changed.
TEST_F(JournalWritten, TheMenuReadsTheJournalAgainOnceItsSizeOrTimeChanged) {
    const auto offered = [&] { return right_click_menu(window).find(L"Undo Last Removal=2090") != std::wstring::npos; };
    const auto write = [&](journal_action last, uint64_t time) {
        journal_entry moved = sample[2], ended = sample[6], after = sample[2];
        moved.batch = ended.batch = after.batch;
        after.action = last;
        std::string bytes = journal_preamble() + journal_line(moved) + journal_line(ended);
        if (last != journal_action::ended) bytes += journal_line(after);
        set_written_time(data_.make_file(L"Removals.txt", bytes), time);
    };
    const uint64_t time = 134097408120000000;
    write(journal_action::ended, time);
    EXPECT_TRUE(offered());
    write(journal_action::restored, time);
    EXPECT_FALSE(offered()) << "a longer journal of the same time";
    write(journal_action::recycled, time + 10'000'000);
    EXPECT_TRUE(offered()) << "a journal of the same size, a second later";
}
