#include "tests/support/GLTestContext.h"

#include <gtest/gtest.h>

// The GL context is opened before any test and kept for the whole binary; a
// machine without one fails the run loudly instead of skipping GL tests.
class GLEnvironment : public ::testing::Environment
{
public:
    void SetUp() override { ASSERT_TRUE(GLTestContext::open()) << "no OpenGL context for the GL tests"; }
    // The context stays open until the process ends: closing it unloads the
    // GL driver, and what the driver keeps for the process would then show up
    // as leaks from unknown modules that no suppression can name.
    void TearDown() override {}
};

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new GLEnvironment);
    return RUN_ALL_TESTS();
}
