// The program itself, as a user downloads and starts it.
#include "support/window_driver.h"

using namespace test_support;

TEST(Program, ThePackageIsAZipOfTheProgramWithItsHelpPage) {
    const std::wstring built = built_program();
    const std::string package = read_file(built.substr(0, built.rfind(L'\\')) + L"\\Ostrand-2.0.zip");
    EXPECT_EQ(package.rfind("PK\x03\x04", 0), 0u);
    EXPECT_NE(package.find("Ostrand.exe"), std::string::npos);
    EXPECT_NE(package.find("ReadMe.htm"), std::string::npos);
}
