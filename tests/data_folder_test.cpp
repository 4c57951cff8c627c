// Where the program lives and where it keeps the user's data.
#include <gtest/gtest.h>

#include "core/state.h"
#include "support/temp_folder.h"
#include "ui/data_folder.h"

using namespace test_support;

// Beside the program, unless "DefSet.txt" on a fixed drive chooses the per-user folder (made).
TEST(DataFolder, TheDataLivesBesideTheProgramUnlessMarkedOnAFixedDrive) {
    temp_folder dir;
    dir.make_file(L"marked\\DefSet.txt", "x");
    dir.make_folder(L"plain");
    for (const auto& [folder, removable] : {std::pair{L"plain", false}, {L"marked", true}}) {
        ostrand_state state;
        ASSERT_EQ(locate_folders_at(state, dir / folder + L"\\Ostrand.exe", removable), 0);
        EXPECT_EQ(state.program_path.folder, dir / folder + L"\\");
        EXPECT_EQ(state.data_path.folder, dir / folder + L"\\");
    }
    ostrand_state marked;
    ASSERT_EQ(locate_folders_at(marked, dir / L"marked\\Ostrand.exe", false), 0);
    wchar_t roaming[MAX_PATH] = {};
    ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, roaming), S_OK);
    EXPECT_EQ(marked.data_path.full, std::wstring(roaming) + L"\\Orvane\\Ostrand\\");
    EXPECT_TRUE(exists(marked.data_path.full)) << "made";
    auto state = std::make_shared<ostrand_state>();  // the running program is asked of the loader
    ASSERT_EQ(locate_folders(state), 0);
    EXPECT_EQ(state->program_path.name, L"ostrand_tests.exe");
    EXPECT_EQ(locate_folders(nullptr), 0) << "a null state is left alone";
}
