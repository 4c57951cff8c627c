// Runs the tests with a watchdog that fails the run when a message box or dialog
// appears that no test expected, instead of letting it hang the suite.
#include <gtest/gtest.h>

#include "support/dialogs.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    test_support::dialog_watchdog watchdog;
    const int result = RUN_ALL_TESTS();
    return watchdog.stop() > 0 ? 1 : result;
}
