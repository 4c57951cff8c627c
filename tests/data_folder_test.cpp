#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <memory>
#include <string>

#include "app/state.h"
#include "ui/data_folder.h"
#include "ui/standard_dialogs.h"
#include "support/temp_folder.h"

using namespace orvkit;
using test_support::temp_folder;

namespace {

std::shared_ptr<ostrand_state> fresh_state() {
    auto state = std::make_shared<ostrand_state>();
    state->exe_name = L"Ostrand.exe";
    state->app_name = L"Ostrand";
    return state;
}

std::wstring roaming_folder() {
    PWSTR folder = nullptr;
    std::wstring result;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &folder))) result = folder;
    CoTaskMemFree(folder);
    return result;
}

bool is_folder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string defset_bytes(const ostrand_state& state, std::size_t count) {
    return std::string(static_cast<const char*>(state.defset_buffer), count);
}

}  // namespace

TEST(DataFolder, WithoutTheMarkerTheDataStaysBesideTheProgram) {
    temp_folder dir;
    auto state = fresh_state();
    ASSERT_EQ(locate_folders_at(*state, dir / L"Ostrand.exe", false), 0);
    EXPECT_EQ(state->program_path.full, dir / L"Ostrand.exe");
    EXPECT_EQ(state->program_path.folder, dir.path() + L"\\");
    EXPECT_EQ(state->program_path.name, L"Ostrand.exe");
    EXPECT_EQ(state->program_path.root, L"Z:\\");
    EXPECT_EQ(state->data_path.folder, dir.path() + L"\\");
    EXPECT_EQ(defset_bytes(*state, 4), std::string(4, '\0'));
    EXPECT_EQ(help_page_path(*state), dir / L"ReadMe.htm");
}

TEST(DataFolder, TheMarkerChoosesThePerUserFolderAndKeepsItsFirstBytes) {
    temp_folder dir;
    std::string content;
    for (int i = 0; i < 200; ++i) content += static_cast<char>('A' + i % 26);
    dir.make_file(L"DefSet.txt", content);
    const std::wstring expected = roaming_folder() + L"\\Orvane\\Ostrand\\";
    ASSERT_GT(expected.size(), 20u);

    for (int run = 0; run < 2; ++run) {  // the second run finds the folders made by the first
        auto state = fresh_state();
        ASSERT_EQ(locate_folders_at(*state, dir / L"Ostrand.exe", false), 0);
        EXPECT_EQ(state->program_path.folder, dir.path() + L"\\");
        EXPECT_EQ(state->data_path.folder, expected);
        EXPECT_TRUE(is_folder(state->data_path.folder)) << "the per-user folder is created";
        EXPECT_EQ(defset_bytes(*state, 128), content.substr(0, 128));
        EXPECT_EQ(defset_bytes(*state, 129).back(), '\0') << "only 128 bytes are read";
    }
}

TEST(DataFolder, OnARemovableDriveOrWithAFolderNamedLikeTheMarkerTheProgramFolderServes) {
    temp_folder with_marker;
    with_marker.make_file(L"DefSet.txt", "portable");
    auto removable = fresh_state();
    locate_folders_at(*removable, with_marker / L"Ostrand.exe", true);
    EXPECT_EQ(removable->data_path.folder, with_marker.path() + L"\\");
    EXPECT_EQ(defset_bytes(*removable, 8), std::string(8, '\0')) << "the marker is not read";

    temp_folder with_folder;
    with_folder.make_folder(L"DefSet.txt");
    auto state = fresh_state();
    locate_folders_at(*state, with_folder / L"Ostrand.exe", false);
    EXPECT_EQ(state->data_path.folder, with_folder.path() + L"\\");
}

TEST(DataFolder, AMarkerInAFolderPastThePlainPathLimitIsFound) {
    temp_folder dir;
    const std::wstring deep = std::wstring(120, L'd') + L"\\" + std::wstring(120, L'e') + L"\\" +
                              std::wstring(60, L'f');
    dir.make_file(deep + L"\\DefSet.txt", "x");
    const std::wstring program = dir / (deep + L"\\Ostrand.exe");
    ASSERT_GT(program.size(), 300u);
    auto state = fresh_state();
    locate_folders_at(*state, program, false);
    EXPECT_EQ(state->program_path.folder, dir / (deep + L"\\"));
    EXPECT_EQ(state->data_path.folder, roaming_folder() + L"\\Orvane\\Ostrand\\");
    EXPECT_EQ(defset_bytes(*state, 2), std::string("x\0", 2));
}

TEST(DataFolder, LocateFoldersUsesTheRunningProgramAndLeavesANullStateAlone) {
    EXPECT_EQ(locate_folders(nullptr), 0);
    open_help(nullptr);

    wchar_t module[2048] = {};
    ASSERT_GT(GetModuleFileNameW(nullptr, module, 2048), 0u);
    auto state = fresh_state();
    ASSERT_EQ(locate_folders(state), 0);
    EXPECT_EQ(state->program_path.full, module);
    EXPECT_EQ(state->program_path.name, L"ostrand_tests.exe");
    ASSERT_FALSE(state->data_path.folder.empty());
    EXPECT_EQ(state->data_path.folder.back(), L'\\');
    EXPECT_TRUE(is_folder(state->data_path.folder));
    const bool marker = GetFileAttributesW((state->program_path.folder + L"DefSet.txt").c_str()) !=
                        INVALID_FILE_ATTRIBUTES;
    EXPECT_EQ(state->data_path.folder,
              marker ? roaming_folder() + L"\\Orvane\\Ostrand\\" : state->program_path.folder);
}
