// The data folder, and the file picker through the real open-file dialog.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include "core/globals.h"
#include "core/state.h"
#include "support/dialogs.h"
#include "support/temp_folder.h"
#include "ui/data_folder.h"
#include "ui/standard_dialogs.h"

using namespace orvkit;
using namespace test_support;

// "DefSet.txt" beside the program on a fixed drive, also past the plain-path limit,
// chooses the per-user folder (made here); otherwise the data stays beside the program.
TEST(DataFolder, TheMarkerChoosesThePerUserFolderOtherwiseTheProgramFolder) {
    temp_folder dir;
    const std::wstring deep = std::wstring(120, L'd') + L"\\" + std::wstring(120, L'e') + L"\\" + std::wstring(60, L'f');
    for (const std::wstring marked : {L"marked", deep.c_str()}) dir.make_file(marked + L"\\DefSet.txt", "x");
    dir.make_folder(L"plain");
    wchar_t roaming[MAX_PATH] = {};
    ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, roaming), S_OK);
    const struct { std::wstring folder; bool removable, per_user; } cases[] = {
        {L"plain", false, false}, {L"marked", true, false}, {L"marked", false, true}, {deep, false, true}};
    for (const auto& c : cases) {
        ostrand_state state;
        ASSERT_EQ(locate_folders_at(state, dir / (c.folder + L"\\Ostrand.exe"), c.removable), 0);
        EXPECT_EQ(state.program_path.folder, dir / (c.folder + L"\\"));
        const std::wstring expected = c.per_user ? std::wstring(roaming) + L"\\Orvane\\Ostrand\\" : dir / (c.folder + L"\\");
        EXPECT_EQ(state.data_path.folder, expected) << c.folder.substr(0, 10) << c.removable;
        EXPECT_TRUE(exists(expected)) << "the data folder exists";
    }
    // The running program is asked of the loader; a null state is left alone.
    auto state = std::make_shared<ostrand_state>();
    ASSERT_EQ(locate_folders(state), 0);
    EXPECT_EQ(state->program_path.name, L"ostrand_tests.exe");
    EXPECT_EQ(locate_folders(nullptr), 0);
}

// Open keeps the typed file and the next pick starts in its folder; Cancel returns
// 0 and keeps it; a start that is gone, or a folder, opens at Documents.
TEST(PickFile, OpenAndCancel) {
    temp_folder dir;
    const std::wstring chosen = dir.make_file(L"sub\\chosen \u00e9t\u00e9.txt", "one");
    wchar_t documents[MAX_PATH] = {};
    ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, 0, documents), S_OK);
    const struct {
        std::wstring start, typed, opened_at, picked;
    } cases[] = {
        {L"", chosen, L"", chosen},
        {chosen, L"", dir / L"sub", chosen},
        {dir / L"gone.txt", L"", documents, std::wstring(documents) + L"\\"},
        {dir.path(), L"", documents, std::wstring(documents) + L"\\"},  // a folder is no file to start at
    };
    for (const auto& c : cases) {
        if (!c.start.empty()) picked_path = c.start;
        std::wstring opened_at;
        const auto open = [] { return pick_file(std::make_shared<ostrand_state>(), nullptr); };
        const int result = drive_dialog(L"Select", open, [&](dialog_script& s, HWND dialog) {
            wchar_t folder[2048] = {};  // the view is filled after the dialog shows
            wait_until([&] { return SendMessageW(dialog, CDM_GETFOLDERPATH, 2048, reinterpret_cast<LPARAM>(folder)) > 1; });
            opened_at = folder;
            if (!c.typed.empty()) SetDlgItemTextW(dialog, 0x47c, c.typed.c_str());  // the file name box
            press(dialog, c.typed.empty() ? IDCANCEL : IDOK);
            s.gone(dialog);
        }, 20000);
        EXPECT_EQ(result != 0, !c.typed.empty()) << to_unix_path(c.start);
        EXPECT_TRUE(c.opened_at.empty() || opened_at == c.opened_at) << to_unix_path(opened_at);
        EXPECT_EQ(picked_path, c.picked);
    }
    EXPECT_EQ(pick_file(nullptr, nullptr), 0) << "a null state shows nothing";
}
