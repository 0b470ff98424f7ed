// The test guard of the shared registry: whatever a test sets, the guard
// puts back, so that the tests after it start from what was there before.
#include "demosys/gl/FrameBufferObject.h"
#include "demosys/runtime/MRVDemosys.h"

#include "tests/support/RegistryGuard.h"

#include <gtest/gtest.h>

TEST(RegistryGuard, PutsBackEveryKindOfMemberAndTheBindStack)
{
    int marker = 0;
    auto* fake = reinterpret_cast<FrameBufferObject*>(&marker);
    TrackSystem* const tracks = MRVDemosys::tracks;
    FMODTimer* const timer = MRVDemosys::timer;
    DataTexturePool* const texturePool = MRVDemosys::texturePool;
    DataEffectPool* const templates = MRVDemosys::effectTemplatePool;
    void* const glContext = MRVDemosys::glContext;
    const bool hidden = MRVDemosys::hiddenWindow, error = MRVDemosys::system_error;
    const std::string message = MRVDemosys::message;
    const unsigned int stop = MRVDemosys::stopTime.getTicks(), frames = MRVDemosys::frames;
    const Vector<float, 3> position = MRVDemosys::camera.getPosition();
    const std::deque<FrameBufferObject*> stack = FrameBufferObject::fboStack;
    {
        testsupport::RegistryGuard registry;
        MRVDemosys::tracks = reinterpret_cast<TrackSystem*>(&marker);
        MRVDemosys::timer = reinterpret_cast<FMODTimer*>(&marker);
        MRVDemosys::texturePool = reinterpret_cast<DataTexturePool*>(&marker);
        MRVDemosys::effectTemplatePool = reinterpret_cast<DataEffectPool*>(&marker);
        MRVDemosys::glContext = &marker;
        MRVDemosys::hiddenWindow = !MRVDemosys::hiddenWindow;
        MRVDemosys::system_error = !MRVDemosys::system_error;
        MRVDemosys::message = message + " and set by the test";
        MRVDemosys::stopTime = MRVTime(stop + 12345u);
        MRVDemosys::frames += 7;
        MRVDemosys::camera.setPosition(position + Vector<float, 3>(1.0f, 2.0f, 3.0f));
        FrameBufferObject::fboStack.push_back(fake);
    }
    EXPECT_EQ(MRVDemosys::tracks, tracks);
    EXPECT_EQ(MRVDemosys::timer, timer);
    EXPECT_EQ(MRVDemosys::texturePool, texturePool);
    EXPECT_EQ(MRVDemosys::effectTemplatePool, templates);
    EXPECT_EQ(MRVDemosys::glContext, glContext);
    EXPECT_EQ(MRVDemosys::hiddenWindow, hidden);
    EXPECT_EQ(MRVDemosys::system_error, error);
    EXPECT_EQ(MRVDemosys::message, message);
    EXPECT_EQ(MRVDemosys::stopTime.getTicks(), stop);
    EXPECT_EQ(MRVDemosys::frames, frames);
    EXPECT_TRUE((MRVDemosys::camera.getPosition() == position));
    EXPECT_EQ(FrameBufferObject::fboStack, stack);
}
