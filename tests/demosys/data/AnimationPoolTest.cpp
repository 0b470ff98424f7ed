#include "demosys/data/DataAnimationPool.h"
#include "demosys/timeline/Animation.h"
#include "demosys/timeline/Keyframe.h"

#include "tests/support/StdoutCapture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

Animation* withKeyframes(int n)
{
    Animation* animation = new Animation();
    for (int i = 0; i < n; ++i)
        animation->addKeyframe(new Keyframe());
    return animation;
}

} // namespace

TEST(AnimationPool, DumpsAndDisposesInNameOrder)
{
    StdoutCapture capture;
    {
        DataAnimationPool pool;
        EXPECT_EQ(pool.toString(), "AnimationPool {\n}\n");
        pool.addAnimation("zoom", withKeyframes(4));
        pool.addAnimation("Alpha", withKeyframes(0));
        pool.addAnimation("fly", withKeyframes(2));
        EXPECT_EQ(pool.toString(), "AnimationPool {\n"
                                   "    Alpha = Animation { keyframes = 0 }\n"
                                   "    fly = Animation { keyframes = 2 }\n"
                                   "    zoom = Animation { keyframes = 4 }\n"
                                   "}\n");
    }
    EXPECT_EQ(capture.take(), "[Dispose animationPool]\n"
                              " -> delete Alpha\n"
                              " -> delete fly\n"
                              " -> delete zoom\n");
}

TEST(AnimationPool, LookupsByExactName)
{
    StdoutCapture quiet;
    DataAnimationPool pool;
    Animation* fly = withKeyframes(2);
    pool.addAnimation("fly", fly);
    EXPECT_EQ(pool.getAnimation("fly"), fly);
    EXPECT_TRUE(pool.exist("fly"));
    EXPECT_EQ(pool.getAnimation("Fly"), nullptr);
    EXPECT_EQ(pool.getAnimation("fly "), nullptr);
    EXPECT_FALSE(pool.exist(""));
    // A failed lookup does not create the name.
    EXPECT_FALSE(pool.exist("Fly"));
    EXPECT_EQ(pool.size(), 1);
}

TEST(AnimationPool, SameNameReplacesButEveryAddCounts)
{
    StdoutCapture capture;
    {
        DataAnimationPool pool;
        pool.addAnimation("fly", withKeyframes(1));
        Animation* second = withKeyframes(3);
        pool.addAnimation("fly", second);
        EXPECT_EQ(pool.getAnimation("fly"), second);
        EXPECT_EQ(pool.size(), 2);
        // Storing the same animation again must not delete it.
        pool.addAnimation("fly", second);
        EXPECT_EQ(pool.getAnimation("fly")->countKeyFrames(), 3);
        EXPECT_EQ(pool.toString(), "AnimationPool {\n    fly = Animation { keyframes = 3 }\n}\n");
    }
    EXPECT_EQ(capture.take(), "[Dispose animationPool]\n -> delete fly\n");
}
