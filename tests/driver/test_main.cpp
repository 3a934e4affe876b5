// The test program's entry: GoogleTest, with the window system reset before
// every test so that no window, timer or record of one test reaches the next.
#include <gtest/gtest.h>

#include "driver/operator_backend.h"

namespace {

class WindowSystemReset : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override { driver_backend::ResetWindowSystem(); }
};

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new WindowSystemReset);
    return RUN_ALL_TESTS();
}
