// The test program's entry: GoogleTest, with the window system reset before
// every test so that no window, timer or record of one test reaches the next,
// and an exception caught at a window procedure failing the test.
#include <gtest/gtest.h>

#include "driver/operator_backend.h"
#include "framework/windows/wnd.h"

namespace {

class WindowSystemReset : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override {
        driver_backend::ResetWindowSystem();
        // An exception that a handler lets out fails the running test. (The
        // copy of the framework inside Setup.dll, which the Windows tests
        // drive, tells the operator instead: the driver fails the test on
        // that message box.) Set again for every test, as a test may have
        // set its own.
        fw::SetUnhandledExceptionReporter([](const std::string& description) {
            ADD_FAILURE() << "a window procedure let out an exception: " << description;
        });
    }
};

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new WindowSystemReset);
    return RUN_ALL_TESTS();
}
