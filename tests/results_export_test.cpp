// Saving the results list through the real window and the real save dialog, read back as a reader of the file would.
#include <map>
#include <thread>

#include "actions/results_export.h"
#include "support/dialogs.h"
#include "ui/menu_ids.h"

using namespace test_support;
using namespace orvkit;

using records = std::vector<std::vector<std::wstring>>;

// UTF-8 after a byte-order mark, CR LF after each record; RFC 4180 fields when `csv`, else fields split at tabs.
static records read_back(const std::wstring& path, bool csv) {
    const std::string bytes = read_file(path);
    EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF") << "byte-order mark";
    const std::wstring text = widen(bytes.substr(3)) + L"\n";
    records out{{L""}};
    bool quoted = false;
    for (std::size_t at = 0; at + 1 < text.size(); ++at) {
        const wchar_t c = text[at];
        if (quoted && c == L'"' && text[at + 1] == L'"') out.back().back() += text[++at];
        else if (csv && c == L'"') quoted = !quoted;
        else if (!quoted && c == (csv ? L',' : L'\t')) out.back().emplace_back();
        else if (!quoted && c == L'\r' && text[at + 1] == L'\n') ++at, out.push_back({L""});
        else out.back().back() += c;
    }
    EXPECT_EQ(out.back(), std::vector<std::wstring>{L""}) << "CR LF after the last record";
    out.pop_back();
    return out;
}

struct ResultsExport : twin_window_test {
    // A Directory search over files named with other scripts and commas, all written at one known time.
    void search_files() {
        for (const auto& [name, content] : {std::pair{L"a\\Grüße, 日本.txt", "twins"}, {L"b\\copy, \u00e9.txt", "twins"},
                                            {L"c\\only.txt", "single"}}) {
            files[tree.make_file(name, content)] = content;
            HANDLE file = CreateFileW((tree / name).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            const FILETIME written{0x1567C980, 0x01D710B4};  // 2021-03-04 05:06:07 UTC; the tests run with TZ=UTC
            SetFileTime(file, nullptr, nullptr, &written), CloseHandle(file);
        }
        search(mode_directory, tree.path());
    }
    // Saves through the dialog `open` raises: the type picked from its list, the name typed, Yes to replacing.
    void save(const std::function<void()>& open, const std::wstring& name, int type, bool replacing = false) {
        drive_dialog(L"Save Results As", [&] { return open(), 0; }, [&](dialog_script& s, HWND dialog) {
            HWND types = GetDlgItem(dialog, 0x470);
            SendMessageW(types, CB_SETCURSEL, type - 1, 0);
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(0x470, CBN_SELENDOK), reinterpret_cast<LPARAM>(types));
            SetDlgItemTextW(dialog, 0x47c, name.c_str());
            press(dialog, IDOK);
            if (replacing) press(s.find(L"", dialog), IDYES);
            s.gone(dialog);
        }, 20000);
    }
    // The titles and rows the list shows; in the folder modes each with its files' sizes and times.
    records shown() {
        records out{column_titles()};
        const bool folders = search_mode != mode_file;
        if (folders) out[0].insert(out[0].end(), {L"Size A", L"Modified A", L"Size B", L"Modified B"});
        for (const list_row& row : read_list_rows()) {
            out.push_back({row.begin(), row.end()});
            for (int column = 0; folders && column < 2; ++column) {
                const bool file = files.count(row[column]);
                out.back().push_back(file ? std::to_wstring(files[row[column]].size()) : L"");
                out.back().push_back(file ? L"2021-03-04 05:06:07" : L"");
            }
        }
        return out;
    }
    void press_control(WPARAM key) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
        PostMessageW(list_view, WM_KEYDOWN, key, 1);
        pump_for(50);
        keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
    }
    temp_folder tree, out;
    std::map<std::wstring, std::string> files;
};

// The status row, the twin row and the closing row, as shown, with the sizes and times of the files they name;
// the menu offers the command last in its idle section while the list has rows.
TEST_F(ResultsExport, CsvHoldsEveryRowAndItsFiles) {
    EXPECT_EQ(right_click_menu(window).find(L"Save Results As"), std::wstring::npos) << "an empty list";
    search_files();
    EXPECT_NE(right_click_menu(window).find(L"|Remove=2074|Save Results As\u2026=2092|-|"), std::wstring::npos);
    const std::wstring path = out / L"twins, list \u00fc";
    save([&] { SendMessageW(window, WM_COMMAND, menu_save_results, 0); }, path + L".csv", 1);
    EXPECT_EQ(read_back(path + L".csv", true), shown());
    EXPECT_EQ(shown().size(), 4u) << "titles, Start, one twin row, Finished";
}

// Ctrl+S, the second type, a name without an extension; a name that exists is replaced once the dialog asked.
TEST_F(ResultsExport, CtrlSWritesTabSeparatedTextAndReplacesAFile) {
    search_files();
    const std::wstring path = out.make_file(L"saved.txt", "older");
    save([&] { press_control('S'); }, out / L"saved", 2, true);
    EXPECT_EQ(read_back(path, false), shown());
    EXPECT_EQ(names_in(out.path()), std::vector<std::wstring>{L"saved.txt"}) << "no scratch file left";
}

TEST_F(ResultsExport, CtrlSDoesNothingWhileARunGoesOn) {
    add_row(L"Indexing", L"", L"");
    run_status = status_indexing;
    const expect_dialogs expected;
    std::atomic<bool> opened{false};
    std::thread watch([&] {
        if (wait_until([] { return !visible_dialogs().empty(); }, 1500)) opened = true, press(visible_dialogs()[0], IDCANCEL);
    });
    press_control('S');
    watch.join();
    run_status = status_idle;
    EXPECT_FALSE(opened) << "a save dialog opened during the run";
}

// File mode: the difference rows with their three cells, no file fields.
TEST_F(ResultsExport, FileModeWritesTheDifferenceRows) {
    press_control('1');
    begin_search(mode_file, out.make_file(L"one", "abcdef"), out.make_file(L"two", "abXdeY"));
    ASSERT_TRUE(pump_until(run_ended, 60000));
    save([&] { press_control('S'); }, out / L"rows.csv", 1);
    EXPECT_EQ(read_back(out / L"rows.csv", true), shown());
    EXPECT_EQ(shown()[0], (std::vector<std::wstring>{L"Position", L"Length", L"Details"}));
}

// What would split a field or a record is quoted in CSV, a space in tab-separated text; a pair of surrogates is
// one character of UTF-8.
TEST(ResultsFormat, QuotesOrReplacesWhatWouldSplitARecord) {
    const std::vector<export_record> rows{{L"a,b", L"say \"hi\"", L"two\r\nlines", L"tab\there", L"\U0001F600"}, {}};
    EXPECT_EQ(format_records(rows, export_format::csv),
              "\xEF\xBB\xBF\"a,b\",\"say \"\"hi\"\"\",\"two\r\nlines\",tab\there,\xF0\x9F\x98\x80\r\n\r\n");
    EXPECT_EQ(format_records(rows, export_format::tab_separated),
              "\xEF\xBB\xBF" "a,b\tsay \"hi\"\ttwo  lines\ttab here\t\xF0\x9F\x98\x80\r\n\r\n");
}
