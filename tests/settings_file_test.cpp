// The settings file: its 2432 bytes, which files are accepted, the ranges of the options, reads and writes.
#include <cstring>
#include <random>

#include "app/settings_file.h"
#include "core/settings_layout.h"
#include "support/window_driver.h"
#include "ui/menu_ids.h"

using namespace test_support;
using numbers = std::vector<uint32_t>;

// Directory, 97 %, Move, Hash off, zero length off, On Top, Search this protected, the folder given.
static std::vector<uint8_t> sample_file(const std::wstring& folder = L"D:\\Moved twins") {
    settings_block block;
    block.match_percentage = 97;
    block.use_hash = 0;
    block.check_zero_length = 0;
    block.on_top = 1;
    block.protect_search_this = 1;
    store_outside_options(block, 1, 2, 1, folder);
    return settings_file_image(block);
}

// Mode, delete mode, read-only override, the move folder's length, match percentage, Hash, zero
// length, empty folders, On Top, Protect Search This Folder.
static numbers read_back(const std::vector<uint8_t>& bytes, std::size_t size = SIZE_MAX) {
    settings_block block;
    const settings_outside o = apply_settings_bytes(block, bytes.data(), std::min(size, bytes.size()));
    return {o.mode, o.delete_mode, o.override_read_only, static_cast<uint32_t>(o.move_dir.size()),
            block.match_percentage, block.use_hash, block.check_zero_length, block.remove_empty_dirs, block.on_top,
            block.protect_search_this};
}

static uint32_t u32_at(const std::vector<uint8_t>& bytes, std::size_t offset) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | bytes[offset + i];
    return value;
}

static void put_u32(std::vector<uint8_t>& bytes, std::size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

struct SettingsFile : testing::Test {
    void SetUp() override {
        app_state = std::make_shared<ostrand_state>();
        app_state->data_path = data.path() + L"\\x";
        search_mode = 0;
    }
    std::wstring file() const { return data / L"dVelk.dat"; }
    void put(const std::vector<uint8_t>& bytes) const {
        data.make_file(L"dVelk.dat", std::string(bytes.begin(), bytes.end()));
    }
    static numbers state() {
        const settings_block& s = app_state->settings;
        const removal_options& d = app_state->deletions.options;
        return {search_mode, d.delete_mode, d.override_read_only, static_cast<uint32_t>(d.move_dir.size()),
                s.match_percentage, s.use_hash, s.check_zero_length, s.remove_empty_dirs, s.on_top, s.protect_search_this};
    }
    temp_folder data;
};

TEST(SettingsLayout, ImageHoldsTheOptionsAtTheirOffsets) {
    const std::vector<uint8_t> image = sample_file(L"D:\\Moved");
    ASSERT_EQ(image.size(), 2432u);
    EXPECT_EQ(std::string(image.begin(), image.begin() + 8), "VELK2000");
    EXPECT_EQ((numbers{u32_at(image, 8), u32_at(image, 12), u32_at(image, 16), u32_at(image, 20)}),
              (numbers{1, 97, 2, 2424})) << "mode, match_percentage, delete_mode, block_size";
    EXPECT_EQ(std::vector<uint8_t>(image.begin() + 24, image.begin() + 32), (std::vector<uint8_t>{0, 0, 1, 1, 0, 1, 1, 0}))
        << "use_hash, check_zero_length, remove_empty_dirs, protect_search_this, reserved, override_read_only, on_top, "
           "padding";
    const std::string folder("D\0:\0\\\0M\0o\0v\0e\0d\0\0\0", 18);
    EXPECT_EQ(std::string(image.begin() + 32, image.begin() + 32 + folder.size()), folder) << "UTF-16LE, NUL-ended";
    EXPECT_EQ(std::count(image.begin() + 32 + folder.size(), image.end(), 0), 2432 - 32 - static_cast<long>(folder.size()));
    const std::vector<uint8_t> long_folder = sample_file(std::wstring(1500, L'm'));
    EXPECT_EQ(long_folder[2430] | long_folder[2431], 0) << "written cut to 1199 units, its NUL kept";
}

// The sample with one change. A wrong size field resets all but two flags; values come back into range.
TEST(SettingsLayout, WhatEachFileReadsAs) {
    const numbers sample{1, 2, 1, 14, 97, 0, 0, 1, 1, 1};
    const struct {
        const char* change;
        std::function<void(std::vector<uint8_t>&)> make;
        numbers expected;
    } cases[] = {
        {"none", [](auto&) {}, sample},
        {"another magic", [](auto& b) { std::memcpy(b.data(), "NOTVELK!", 8); }, sample},
        {"an older version's reserved byte", [](auto& b) { b[27] = 0; }, {1, 2, 1, 14, 97, 0, 0, 1, 1, 0}},
        {"a wrong size field", [](auto& b) {
             b[12] = 90;
             b[25] = 0;  // zero length and empty folders off: they stay off
             b[26] = 0;
             put_u32(b, 20, 2428);
         }, {2, 0, 0, 0, 100, 1, 0, 0, 0, 0}},
        {"unknown modes, flag bytes 0x80", [](auto& b) {
             put_u32(b, 8, 9);
             put_u32(b, 16, 7);
             for (std::size_t flag : {24u, 25u, 26u, 27u, 29u, 30u}) b[flag] = 0x80;
         }, {2, 0, 1, 14, 97, 1, 1, 1, 1, 1}},
        {"no NUL after the folder", [](auto& b) { std::fill(b.begin() + 32, b.end(), 'n'); },
         {1, 2, 1, 1199, 97, 0, 0, 1, 1, 1}},
        {"a folder of 1500", [](auto& b) { b = sample_file(std::wstring(1500, L'm')); },
         {1, 2, 1, 1199, 97, 0, 0, 1, 1, 1}},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> bytes = sample_file();
        c.make(bytes);
        EXPECT_EQ(read_back(bytes), c.expected) << c.change;
    }
    for (uint32_t percentage : {0u, 1u, 49u, 101u, 250u, 0xFFFFFFFFu, 80u, 50u, 100u}) {
        std::vector<uint8_t> bytes = sample_file();
        put_u32(bytes, 12, percentage);
        EXPECT_EQ(read_back(bytes)[4], percentage >= 50 && percentage <= 100 ? percentage : 100u) << percentage;
    }
}

// Random files of every length up to 3,000 bytes, half of them accepted: every option within its range.
TEST(SettingsLayout, RandomFilesOfEveryLengthLeaveEveryOptionInRange) {
    std::mt19937 random(20261207);
    std::vector<uint8_t> bytes(3000);
    for (std::size_t size = 0; size <= bytes.size(); ++size) {
        for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random() & (random() & 1 ? 0x01 : 0xFF));
        if (size % 2 && size >= 24) put_u32(bytes, 20, 2424);
        settings_block block;
        const settings_outside outside = apply_settings_bytes(block, bytes.data(), size);
        ASSERT_EQ(block.block_size, 2424u) << size;
        ASSERT_TRUE(outside.mode <= 3 && outside.delete_mode <= 2 && outside.override_read_only <= 1) << size;
        ASSERT_LE(outside.move_dir.size(), 1199u) << size;
        ASSERT_TRUE(block.match_percentage >= 50 && block.match_percentage <= 100) << size;
        ASSERT_LE(block.use_hash | block.check_zero_length | block.remove_empty_dirs | block.on_top |
                  block.protect_search_this, 1) << size;
        std::vector<uint8_t> field{0x78, 0x09, 0, 0};  // 2424, the file's bytes over it as far as they reach
        for (std::size_t i = 20; i < 24 && i < size; ++i) field[i - 20] = bytes[i];
        ASSERT_EQ(outside.accepted, u32_at(field, 0) == 2424) << size;
    }
}

// Cut within its size field (its half over the default's: accepted), past the cut; "Move to" then names the desktop.
// A longer file reads as its first 2432 bytes.
TEST_F(SettingsFile, ReadingTakesTheDefaultsWhereTheFileHasNone) {
    std::vector<uint8_t> bytes = sample_file();
    bytes.resize(22);  // mode, percentage, delete mode and the size field's low half
    put(bytes);
    EXPECT_EQ(read_settings(), 0);
    EXPECT_EQ(state(), (numbers{1, 2, 0, static_cast<uint32_t>(desktop_folder().size()), 97, 1, 1, 1, 0, 0}));
    EXPECT_EQ(app_state->deletions.options.move_dir, desktop_folder());
    bytes = sample_file();
    bytes.resize(2900, 0xEE);
    put(bytes);
    read_settings();
    EXPECT_EQ(state(), read_back(sample_file()));
}

// Its scratch file moved into place; one that cannot make its scratch file leaves the old one whole; a data folder
// that is gone gets nothing, silently.
TEST_F(SettingsFile, AWriteReplacesTheFileInOneStepOrNotAtAll) {
    put(sample_file());
    read_settings();
    put(std::vector<uint8_t>(5000, 0xEE));
    write_settings();
    const std::vector<uint8_t> image = sample_file();
    EXPECT_EQ(read_file(file()), std::string(image.begin(), image.end()));
    EXPECT_FALSE(exists(file() + L".new"));
    data.make_folder(L"dVelk.dat.new");
    search_mode = 0;
    write_settings();
    EXPECT_EQ(read_file(file()), std::string(image.begin(), image.end()));
    app_state->data_path = data.path() + L"\\missing\\x";
    write_settings();
    EXPECT_FALSE(exists(data / L"missing"));
}

// With arguments it must ignore: its window shows, normal though On Top was saved; closed, it exits with 0 and
// writes the options back, On Top cleared by the On Top command.
TEST_F(SettingsFile, ANewStartOfTheProgramKeepsEveryOptionOfItsFile) {
    const std::wstring program = data / L"Ostrand.exe";
    ASSERT_TRUE(CopyFileW(built_program().c_str(), program.c_str(), FALSE));
    std::vector<uint8_t> image = sample_file();
    put(image);
    std::wstring command = L"\"" + program + L"\" C:\\nothing\\here.txt /q --mode=3";
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(
        CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    HWND shown = nullptr;
    auto shows = [&] {  // a visible main window of that program, not of another test's
        while ((shown = FindWindowExW(nullptr, shown, L"Ostrand", nullptr)))
            if (GetWindowThreadProcessId(shown, nullptr) == process.dwThreadId && IsWindowVisible(shown)) return true;
        return false;
    };
    EXPECT_TRUE(pump_until(shows)) << "its main window shows";
    EXPECT_EQ(window_text(shown), L"Ostrand 2.0");
    EXPECT_FALSE(GetWindowLongPtrW(shown, GWL_EXSTYLE) & WS_EX_TOPMOST);
    SendMessageW(shown, WM_COMMAND, menu_on_top, 0);
    PostMessageW(shown, WM_CLOSE, 0, 0);
    DWORD exit_code = 99;
    if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &exit_code);
    TerminateProcess(process.hProcess, 1);  // only when it did not end in time
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_EQ(exit_code, 0u);
    image[30] = 0;  // On Top, cleared by the On Top command
    EXPECT_EQ(read_file(file()), std::string(image.begin(), image.end()));
}
