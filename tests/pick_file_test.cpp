// The file picker driven through the real open-file dialog: a helper thread finds
// the dialog, notes where it opened, then types a name and presses Open, or cancels.
#include <gtest/gtest.h>
#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <atomic>
#include <string>
#include <thread>

#include "app/globals.h"
#include "app/state.h"
#include "ui/standard_dialogs.h"
#include "support/dialog_watchdog.h"
#include "support/pump.h"
#include "support/temp_folder.h"

using namespace orvkit;
using test_support::temp_folder;

namespace {

constexpr int file_name_box = 0x47c;

struct found_dialog {
    HWND window = nullptr;
};

BOOL CALLBACK find_select_dialog(HWND window, LPARAM param) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t class_name[32] = {};
    GetClassNameW(window, class_name, 32);
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    if (process == GetCurrentProcessId() && std::wstring(class_name) == L"#32770" && IsWindowVisible(window) &&
        std::wstring(title) == L"Select") {
        reinterpret_cast<found_dialog*>(param)->window = window;
        return FALSE;
    }
    return TRUE;
}

HWND select_dialog() {
    found_dialog found;
    EnumWindows(find_select_dialog, reinterpret_cast<LPARAM>(&found));
    return found.window;
}

// Runs pick_file while a helper thread answers the dialog. `typed` empty means
// Cancel. The folder the dialog opened at lands in `start_folder`.
struct pick_outcome {
    int result = -1;
    bool dialog_seen = false;
    bool dialog_closed = false;
    std::wstring start_folder;
};

pick_outcome pick_with(const std::shared_ptr<ostrand_state>& state, const std::wstring& typed) {
    test_support::expect_dialogs expecting;
    pick_outcome outcome;
    std::thread helper([&] {
        HWND dialog = nullptr;
        if (!test_support::pump_until([&] { return (dialog = select_dialog()) != nullptr; }, 20000)) return;
        outcome.dialog_seen = true;
        // The dialog fills its folder view after it shows; wait for it to settle.
        wchar_t folder[2048] = {};
        test_support::pump_until([&] { return SendMessageW(dialog, CDM_GETFOLDERPATH, 2048, reinterpret_cast<LPARAM>(folder)) > 1; },
                 5000);
        outcome.start_folder = folder;
        if (typed.empty()) {
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        } else {
            SetDlgItemTextW(dialog, file_name_box, typed.c_str());
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
        outcome.dialog_closed = test_support::pump_until([&] { return !IsWindow(dialog); }, 10000);
        if (!outcome.dialog_closed) PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    outcome.result = pick_file(state, nullptr);
    helper.join();
    return outcome;
}

std::wstring documents_folder() {
    wchar_t folder[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, 0, folder);
    return folder;
}

bool same_path(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

TEST(PickFile, OpenReturnsTheTypedFileAndTheNextPickStartsThere) {
    temp_folder dir;
    const std::wstring first = dir.make_file(L"first folder\\chosen \u00e9t\u00e9.txt", "one");
    const std::wstring second = dir.make_file(L"other\\second.bin", "two");
    auto state = std::make_shared<ostrand_state>();
    picked_path.clear();

    const pick_outcome chosen = pick_with(state, first);
    ASSERT_TRUE(chosen.dialog_seen);
    EXPECT_TRUE(chosen.dialog_closed);
    EXPECT_NE(chosen.result, 0);
    EXPECT_TRUE(same_path(picked_path, first)) << "picked: " << test_support::to_unix_path(picked_path);
    EXPECT_EQ(picked_path.find(L'\0'), std::wstring::npos) << "the string ends where the path ends";

    const pick_outcome again = pick_with(state, second);
    ASSERT_TRUE(again.dialog_seen);
    EXPECT_TRUE(same_path(again.start_folder, dir / L"first folder"))
        << test_support::to_unix_path(again.start_folder);
    EXPECT_NE(again.result, 0);
    EXPECT_TRUE(same_path(picked_path, second));
}

TEST(PickFile, CancelReturnsZeroAndAMissingOrFolderStartStartsAtDocuments) {
    temp_folder dir;
    const std::wstring kept = dir.make_file(L"kept.txt", "k");
    const std::wstring gone = dir.make_file(L"gone.txt", "g");
    ASSERT_TRUE(DeleteFileW(gone.c_str()));
    auto state = std::make_shared<ostrand_state>();
    const std::wstring documents = documents_folder();
    ASSERT_FALSE(documents.empty());

    picked_path = kept;
    const pick_outcome cancelled = pick_with(state, L"");
    ASSERT_TRUE(cancelled.dialog_seen);
    EXPECT_EQ(cancelled.result, 0);
    EXPECT_TRUE(same_path(cancelled.start_folder, dir.path()));
    EXPECT_EQ(picked_path, kept);

    for (const std::wstring& start : {gone, dir.path()}) {
        picked_path = start;
        const pick_outcome outcome = pick_with(state, L"");
        ASSERT_TRUE(outcome.dialog_seen);
        EXPECT_EQ(outcome.result, 0);
        EXPECT_TRUE(same_path(outcome.start_folder, documents)) << test_support::to_unix_path(outcome.start_folder);
        EXPECT_TRUE(same_path(picked_path, documents + L"\\"));
    }
}

TEST(PickFile, ANullStateShowsNothing) {
    picked_path = L"C:\\x.txt";
    EXPECT_EQ(pick_file(nullptr, nullptr), 0);
    EXPECT_EQ(picked_path, L"C:\\x.txt");
}
