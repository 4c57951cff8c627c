// The program itself, as a user downloads and starts it.
#include "support/window_driver.h"

using namespace test_support;

TEST(Program, TheVersionResourceNamesTheProgram) {
    const std::wstring program = built_program();
    std::vector<uint8_t> version(GetFileVersionInfoSizeW(program.c_str(), nullptr));
    ASSERT_TRUE(GetFileVersionInfoW(program.c_str(), 0, static_cast<DWORD>(version.size()), version.data()));
    const std::pair<const wchar_t*, const wchar_t*> properties[] = {
        {L"ProductName", L"Ostrand"}, {L"CompanyName", L"Orvane"}, {L"FileVersion", L"2.0"}, {L"ProductVersion", L"2.0"},
        {L"FileDescription", L"Ostrand File Comparer and Duplicate Finder"}};
    for (const auto& [name, value] : properties) {
        wchar_t* text = nullptr;
        UINT units = 0;
        const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
        ASSERT_TRUE(VerQueryValueW(version.data(), key.c_str(), reinterpret_cast<void**>(&text), &units)) << name;
        EXPECT_EQ(std::wstring(text), value);
    }
}

TEST(Program, ThePackageIsAZipOfTheProgramWithItsHelpPage) {
    const std::wstring built = built_program();
    const std::string package = read_file(built.substr(0, built.rfind(L'\\')) + L"\\Ostrand-2.0.zip");
    EXPECT_EQ(package.rfind("PK\x03\x04", 0), 0u);
    EXPECT_NE(package.find("Ostrand.exe"), std::string::npos);
    EXPECT_NE(package.find("ReadMe.htm"), std::string::npos);
}
