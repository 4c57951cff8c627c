// Saving the results list through the real window and the real save dialog, read back as a reader of the file would.
#include <map>
#include <thread>

#include "actions/results_export.h"
#include "support/removal.h"
#include "ui/menu_ids.h"

using namespace test_support;

using records = std::vector<std::vector<std::wstring>>;

// UTF-8 after a byte-order mark, CR LF after each record; RFC 4180 fields when `csv`, else fields split at tabs.
static records read_back(const std::wstring& path, bool csv) {
    const std::string bytes = read_file(path);
    EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF") << "byte-order mark";
    const std::wstring text = widen(bytes.substr(3));
    records out{{L""}};
    bool quoted = false;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const wchar_t c = text[at];
        if (quoted && c == L'"' && text[at + 1] == L'"')
            out.back().back() += text[++at];
        else if (csv && c == L'"')
            quoted = !quoted;
        else if (!quoted && c == (csv ? L',' : L'\t'))
            out.back().emplace_back();
        else if (!quoted && c == L'\n')
            out.push_back({L""});
        else if (quoted || c != L'\r')
            out.back().back() += c;
    }
    EXPECT_EQ(out.back(), std::vector<std::wstring>{L""}) << "a line end after the last record";
    EXPECT_EQ(std::count(text.begin(), text.end(), L'\r'), std::count(text.begin(), text.end(), L'\n')) << "CR LF";
    out.pop_back();
    return out;
}

struct ResultsExport : twin_window_test {
    // Saves through the dialog `open` raises: the type picked from its list, the name typed, Yes to replacing.
    void save(const std::function<void()>& open, const std::wstring& name, int type, bool replacing = false) {
        drive_dialog(L"Save Results As", [&] { open(); return 0; }, [&](dialog_script& s, HWND dialog) {
            SendDlgItemMessageW(dialog, 0x470, CB_SETCURSEL, type - 1, 0);  // the type list
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(0x470, CBN_SELENDOK), (LPARAM)GetDlgItem(dialog, 0x470));
            SetDlgItemTextW(dialog, 0x47c, name.c_str());  // the file name box
            press(dialog, IDOK);
            if (replacing) press(s.find(L"", dialog), IDYES);
            s.gone(dialog);
        }, 20000);
    }
    // The titles and rows the list shows; in the folder modes each with its files' sizes and times (TZ is UTC).
    records shown() {
        const bool folders = search_mode != mode_file;
        records out{column_titles()};
        if (folders) out[0].insert(out[0].end(), {L"Size A", L"Modified A", L"Size B", L"Modified B"});
        for (const list_row& row : read_list_rows()) {
            out.push_back({row.begin(), row.end()});
            for (int c = 0; folders && c < 2; ++c) {
                const bool file = files.count(row[c]);
                out.back().push_back(file ? std::to_wstring(files[row[c]].size()) : L"");
                out.back().push_back(file ? L"2021-03-04 05:06:07" : L"");
            }
        }
        return out;
    }
    void press_control(WPARAM key) {
        BYTE keys[256] = {};
        keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
        PostMessageW(list_view, WM_KEYDOWN, key, 1);
        pump_for(50);
    }
    temp_folder out;
    std::map<std::wstring, std::string> files;
};

// Through the menu as CSV, and through Ctrl+S as tab-separated text under a name without an extension that
// replaces a file once the dialog asked: the titles, the status, twin and closing rows, with their files' fields.
TEST_F(ResultsExport, EveryRowIsSavedAsShown) {
    EXPECT_EQ(right_click_menu(window).find(L"Save Results"), std::wstring::npos) << "an empty list";
    for (const wchar_t* name : {L"a\\Grüße, 日本.txt", L"b\\copy, \u00e9.txt"})
        set_written_time(tree.make_file(name, files[tree / name] = "twins"), 0x01D710B41567C980);
    search(mode_directory, tree.path());
    EXPECT_NE(right_click_menu(window).find(L"|Remove=2074|Save Results As\u2026=2092|-|"), std::wstring::npos);
    out.make_file(L"saved.txt", "older");
    for (const auto& [menu, typed, type, saved] :
         {std::tuple{true, L"twins, \u00fc.csv", 1, L"twins, \u00fc.csv"}, {false, L"saved", 2, L"saved.txt"}}) {
        save([&, menu] { menu ? void(SendMessageW(window, WM_COMMAND, menu_save_results, 0)) : press_control('S'); },
             out / typed, type, !menu);
        EXPECT_EQ(read_back(out / saved, type == 1), shown()) << narrow(saved);
    }
    EXPECT_EQ(names_in(out.path()).size(), 2u) << "no scratch file left";
}

TEST_F(ResultsExport, CtrlSDoesNothingWhileARunGoesOn) {
    add_row(L"Indexing", L"", L"");
    run_status = status_indexing;
    const expect_dialogs expected;
    bool opened = false;
    std::thread watch([&] { opened = wait_until([] { return !visible_dialogs().empty(); }, 1500); });
    press_control('S');
    watch.join();
    for (HWND dialog : visible_dialogs()) press(dialog, IDCANCEL);
    EXPECT_FALSE(opened) << "a save dialog opened during the run";
}

// File mode: the difference rows with their three cells, no file fields.
TEST_F(ResultsExport, FileModeWritesTheDifferenceRows) {
    begin_search(mode_file, out.make_file(L"one", "abcdef"), out.make_file(L"two", "abXdeY"));
    ASSERT_TRUE(pump_until(run_ended, 60000));
    save([&] { press_control('S'); }, out / L"rows.csv", 1);
    EXPECT_EQ(read_back(out / L"rows.csv", true), shown());
}

// What would split a field or a record is quoted in CSV, a space in tab-separated text; a surrogate pair is one
// character of UTF-8.
TEST(ResultsFormat, QuotesOrReplacesWhatWouldSplitARecord) {
    const std::vector<orvkit::export_record> rows{{L"a,b", L"say \"hi\"", L"two\r\nlines", L"tab\there", L"\U0001F600"}, {}};
    EXPECT_EQ(format_records(rows, orvkit::export_format::csv),
              "\xEF\xBB\xBF\"a,b\",\"say \"\"hi\"\"\",\"two\r\nlines\",tab\there,\xF0\x9F\x98\x80\r\n\r\n");
    EXPECT_EQ(format_records(rows, orvkit::export_format::tab_separated),
              "\xEF\xBB\xBF" "a,b\tsay \"hi\"\ttwo  lines\ttab here\t\xF0\x9F\x98\x80\r\n\r\n");
}
