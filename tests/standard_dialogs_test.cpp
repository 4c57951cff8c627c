// The file picker, through the real open-file dialog.
#include "support/dialogs.h"
#include "ui/standard_dialogs.h"

using namespace test_support;

// Open keeps the typed file and the next pick starts in its folder; Cancel returns
// 0 and keeps it; a start that is gone, or a folder, opens at Documents.
TEST(PickFile, KeepsTheFileOpenedAndStartsTheNextPickInItsFolder) {
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
            s.close(dialog, c.typed.empty() ? IDCANCEL : IDOK);
        }, 20000);
        EXPECT_EQ(result != 0, !c.typed.empty()) << to_unix_path(c.start);
        EXPECT_TRUE(c.opened_at.empty() || opened_at == c.opened_at) << to_unix_path(opened_at);
        EXPECT_EQ(picked_path, c.picked);
    }
    EXPECT_EQ(pick_file(nullptr, nullptr), 0) << "a null state shows nothing";
}
