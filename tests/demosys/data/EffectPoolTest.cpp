#include "demosys/data/DataEffectPool.h"
#include "demosys/runtime/Effect.h"
#include "demosys/script/ParameterGroup.h"
#include "tests/support/StdoutCapture.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
// Counts its deletions, so a test can tell which effects a pool deleted.
class CountedEffect : public Effect
{
public:
    explicit CountedEffect(int* deletions_ = nullptr)
        : deletions(deletions_)
    {
    }
    ~CountedEffect() override
    {
        if (deletions)
            ++*deletions;
    }
    Effect* getInstance() override { return new CountedEffect(deletions); }
    void registerTracks() override
    {
        addTrackName("alpha");
        addTrackName("zoom");
    }

private:
    int* deletions;
};

// Deletes the pool with its output captured, returning that output.
std::string disposeQuietly(DataEffectPool* pool)
{
    StdoutCapture capture;
    delete pool;
    return capture.take();
}
}

// --- Effect ---

TEST(EffectTest, BaseFallbacksPrintTheirLines)
{
    Effect effect;
    StdoutCapture capture;
    effect.draw(1000, 16);
    effect.musicEvent();
    effect.init();
    effect.reset();
    effect.registerTracks();
    EXPECT_EQ(capture.take(), "Fallback draw method! This should never happen!\n"
                              "Fallback music event method called! This should never happen!\n");
    EXPECT_EQ(effect.getTrackCount(), 0);
}

TEST(EffectTest, InstancesAreFreshObjectsThatCopyNothing)
{
    int deletions = 0;
    CountedEffect prototype(&deletions);
    ParameterGroup group("b1");
    prototype.setParameters(&group);
    prototype.addTrackName("x");

    std::unique_ptr<Effect> first(prototype.getInstance());
    std::unique_ptr<Effect> second(prototype.getInstance());
    ASSERT_TRUE(first && second);
    EXPECT_NE(first.get(), second.get());
    EXPECT_NE(dynamic_cast<CountedEffect*>(first.get()), nullptr);
    EXPECT_EQ(first->getParameters(), nullptr);
    EXPECT_EQ(first->getTrackCount(), 0);
    EXPECT_EQ(first->getRenderTarget(), nullptr);
    EXPECT_EQ(first->getTrackGroup(), nullptr);

    first.reset();
    EXPECT_EQ(deletions, 1);

    Effect base;
    std::unique_ptr<Effect> plain(base.getInstance());
    EXPECT_NE(plain.get(), &base);
}

TEST(EffectTest, TrackNamesKeepOrderAndDuplicates)
{
    CountedEffect effect;
    effect.registerTracks();
    effect.addTrackName("alpha");
    ASSERT_EQ(effect.getTrackCount(), 3);
    EXPECT_EQ(effect.getTrackName(0), "alpha");
    EXPECT_EQ(effect.getTrackName(1), "zoom");
    EXPECT_EQ(effect.getTrackName(2), "alpha");
    EXPECT_EQ(effect.getTrackName(3), "");
    EXPECT_EQ(effect.getTrackName(-1), "");
}

TEST(EffectTest, ParametersAreHeldNotOwned)
{
    auto group = std::make_unique<ParameterGroup>("b1");
    {
        Effect effect;
        effect.setParameters(group.get());
        EXPECT_EQ(effect.getParameters(), group.get());
    }
    group->addParameter("still", "alive");
    EXPECT_EQ(group->getParameter("still"), "alive");
}

// --- DataEffectPool ---

TEST(EffectPoolTest, EmptyPoolDumpsAnEmptyBlock)
{
    auto* pool = new DataEffectPool();
    EXPECT_EQ(pool->size(), 0);
    EXPECT_EQ(pool->toString(), "EffectPool {\n}\n");
    EXPECT_EQ(pool->getKey(0), "");
    EXPECT_EQ(disposeQuietly(pool), "[Dispose effectPool]\n");
}

TEST(EffectPoolTest, EntriesAreKeptInNameOrder)
{
    auto* pool = new DataEffectPool();
    pool->addEffect("b", new Effect());
    pool->addEffect("a", new Effect());
    pool->addEffect("C", new Effect());
    EXPECT_EQ(pool->size(), 3);
    EXPECT_EQ(pool->getKey(0), "C");
    EXPECT_EQ(pool->getKey(1), "a");
    EXPECT_EQ(pool->getKey(2), "b");
    EXPECT_EQ(pool->getKey(3), "");
    EXPECT_EQ(pool->getKey(-1), "");
    EXPECT_EQ(pool->toString(), "EffectPool {\n    C = Effect\n    a = Effect\n    b = Effect\n}\n");

    std::string walked;
    for (const auto& entry : pool->getEffectMap())
        walked += entry.first;
    EXPECT_EQ(walked, "Cab");
    EXPECT_EQ(disposeQuietly(pool), "[Dispose effectPool]\n -> delete C\n -> delete a\n -> delete b\n");
}

TEST(EffectPoolTest, AddingUnderAnExistingNameReplacesWithoutDeleting)
{
    int deletions = 0;
    auto* pool = new DataEffectPool();
    auto* first = new CountedEffect(&deletions);
    auto* second = new CountedEffect(&deletions);
    pool->addEffect("fx", first);
    pool->addEffect("fx", second);
    EXPECT_EQ(pool->size(), 1);
    EXPECT_EQ(pool->getEffect("fx"), second);
    EXPECT_EQ(deletions, 0);
    delete first;
    disposeQuietly(pool);
    EXPECT_EQ(deletions, 2);
}

TEST(EffectPoolTest, UnknownNameIsEnteredWithoutAnEffect)
{
    auto* pool = new DataEffectPool();
    EXPECT_FALSE(pool->exist("ghost"));
    EXPECT_EQ(pool->getEffect("ghost"), nullptr);
    EXPECT_TRUE(pool->exist("ghost"));
    EXPECT_EQ(pool->size(), 1);
    EXPECT_EQ(pool->getKey(0), "ghost");
    EXPECT_EQ(pool->toString(), "EffectPool {\n    ghost = Effect\n}\n");
    // The empty entry is announced but there is nothing to delete.
    EXPECT_EQ(disposeQuietly(pool), "[Dispose effectPool]\n -> delete ghost\n");
}

TEST(EffectPoolTest, RemoveForgetsWithoutDeleting)
{
    int deletions = 0;
    auto* pool = new DataEffectPool();
    auto* kept = new CountedEffect(&deletions);
    pool->addEffect("a", kept);
    pool->addEffect("b", new CountedEffect(&deletions));
    pool->removeEffect("a");
    pool->removeEffect("unknown");
    EXPECT_FALSE(pool->exist("a"));
    EXPECT_EQ(pool->size(), 1);
    EXPECT_EQ(deletions, 0);

    EXPECT_EQ(disposeQuietly(pool), "[Dispose effectPool]\n -> delete b\n");
    EXPECT_EQ(deletions, 1);
    delete kept;
    EXPECT_EQ(deletions, 2);
}

TEST(EffectPoolTest, TwoObjectsFromOneTemplateAreIndependent)
{
    int deletions = 0;
    auto* templates = new DataEffectPool();
    auto* instances = new DataEffectPool();
    templates->addEffect("CountedEffect", new CountedEffect(&deletions));
    for (const char* name : {"one", "two"})
    {
        Effect* instance = templates->getEffect("CountedEffect")->getInstance();
        instance->registerTracks();
        instances->addEffect(name, instance);
    }
    EXPECT_NE(instances->getEffect("one"), instances->getEffect("two"));
    instances->getEffect("one")->addTrackName("extra");
    EXPECT_EQ(instances->getEffect("one")->getTrackCount(), 3);
    EXPECT_EQ(instances->getEffect("two")->getTrackCount(), 2);

    disposeQuietly(instances);
    EXPECT_EQ(deletions, 2);
    disposeQuietly(templates);
    EXPECT_EQ(deletions, 3);
}
