#include "tests/support/GLTestContext.h"

#include <gtest/gtest.h>

// The GL context is opened before any test and kept for the whole binary; a
// machine without one fails the run loudly instead of skipping GL tests.
class GLEnvironment : public ::testing::Environment
{
public:
    void SetUp() override { ASSERT_TRUE(GLTestContext::open()) << "no OpenGL context for the GL tests"; }
    void TearDown() override { GLTestContext::close(); }
};

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new GLEnvironment);
    return RUN_ALL_TESTS();
}
