#include "demosys/data/DataFBOPool.h"
#include "demosys/gl/FrameBufferObject.h"
#include "demosys/runtime/Effect.h"
#include "demosys/runtime/MRVDemosys.h"
#include "demosys/timeline/TrackGroup.h"
#include "demosys/timeline/TrackInterpolate.h"
#include "demosys/timeline/TrackKeyFrameInterpolate.h"
#include "demosys/timeline/TrackStartStop.h"
#include "demosys/timeline/TrackStartStopKeyFrame.h"
#include "demosys/timeline/TrackSystem.h"
#include "demosys/timeline/TrackFolderWriter.h"
#include "demosys/timeline/TrackSystemIO.h"
#include "tests/support/ByteImage.h"
#include "tests/support/RegistryGuard.h"
#include "tests/support/StdoutCapture.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace
{
std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Draws nothing; asks for the tracks it is given.
class TrackedEffect : public Effect
{
public:
    explicit TrackedEffect(const std::vector<std::string>& names)
    {
        for (const std::string& n : names)
            addTrackName(n);
    }
    void draw(unsigned int, unsigned int) override
    {
        bound = FrameBufferObject::fboStack.empty() ? nullptr : FrameBufferObject::fboStack.back();
        ++draws;
    }
    FrameBufferObject* bound = nullptr;
    int draws = 0;
};

class TrackSystemIOTest : public ::testing::Test
{
protected:
    // Puts back the registry members the test sets, however it ends.
    testsupport::RegistryGuard registry;

    void SetUp() override { FrameBufferObject::fboStack.clear(); }
    void TearDown() override { delete MRVDemosys::fboPool; }
    std::string dirName() const
    {
        std::string d = dir.path();
        d.pop_back();
        return d;
    }

    testsupport::TempDir dir;
};

const std::string TWENTY_FIVE_BYTES("\x00\x00\x00\x00"
                                    "\x02\x00\x00\x00"
                                    "\x00\x00\x00\x00"
                                    "\x01\x00\x00\x00"
                                    "\x00"
                                    "\x08\x00\x00\x00"
                                    "\x00\x00\x00\x00",
                                    25);
}

TEST_F(TrackSystemIOTest, TwentyFiveByteImageIsWrittenExactly)
{
    TrackStartStop track(0);
    track.insertInterval(0, 8);
    TrackSystemIO io(dirName());
    ASSERT_TRUE(io.saveStartStopTrack("fx", &track));
    EXPECT_EQ(readFile(dir.path() + "fx.track"), TWENTY_FIVE_BYTES);
    EXPECT_FALSE(std::filesystem::exists(dir.path() + "fx.track.tmp"));
}

TEST_F(TrackSystemIOTest, TwentyFiveByteImageReadsAsAScreenInterval)
{
    dir.write("fx.track", TWENTY_FIVE_BYTES);
    TrackSystemIO io(dirName());
    StdoutCapture capture;
    std::unique_ptr<TrackStartStop> track(io.loadStartStopTrack("fx"));
    EXPECT_EQ(capture.take(), "Loading 'fx.track' (0)\n"
                              "Raw string = 'Object'\n"
                              "keyframe 0 : 1, screen\n"
                              "keyframe 8 : 0, \n");
    ASSERT_NE(track, nullptr);
    EXPECT_EQ(track->getPriority(), 0);
    EXPECT_EQ(track->getKeyframeCount(), 2);
    EXPECT_TRUE(track->isActive(0, 8));
    EXPECT_FALSE(track->isActive(0, 9));
    const auto* start = static_cast<const TrackStartStopKeyFrame*>(track->getKeyframe(0));
    EXPECT_EQ(start->targetName, "screen");
    EXPECT_EQ(start->target, nullptr);
    EXPECT_TRUE(io.getDamagedFiles().empty());
}

TEST_F(TrackSystemIOTest, TargetInThePoolIsDrawnIntoAndOthersDrawToTheScreen)
{
    MRVDemosys::fboPool = new DataFBOPool();
    FrameBufferObject* glow = new FrameBufferObject(16, 16, false, false);
    MRVDemosys::fboPool->addFBO("glowbuffer", glow);
    dir.write("inside.track", ByteImage().i32(2).i32(2).i32(16).i32(1).name("glowbuffer").i32(32).i32(0).data);
    dir.write("plain.track", ByteImage().i32(2).i32(2).i32(16).i32(1).name("").i32(32).i32(0).data);
    dir.write("unknown.track", ByteImage().i32(2).i32(2).i32(16).i32(1).name("nosuchbuffer").i32(32).i32(0).data);

    TrackedEffect inside({}), plain({}), unknown({});
    StdoutCapture capture;
    std::unique_ptr<TrackSystem> system(
        TrackSystemIO(dirName()).load({"inside", "plain", "unknown"}, {&inside, &plain, &unknown}));
    const std::string log = capture.take();
    EXPECT_NE(log.find("keyframe 16 : 1, glowbuffer\n"), std::string::npos);
    // A misspelt target draws to the screen as it always did, but says so,
    // once; the screen itself (the empty name) is no misspelling.
    const std::string warning = "Track 'unknown': render target 'nosuchbuffer' is not a framebuffer of the "
                                "demoscript; it draws to the screen\n";
    EXPECT_NE(log.find("Raw string = 'nosuchbuffer'\n" + warning + "keyframe 16 : 1, screen\n"), std::string::npos)
        << log;
    EXPECT_EQ(log.find("is not a framebuffer"), log.rfind("is not a framebuffer")) << log;

    for (unsigned int row : {15u, 16u, 24u, 32u, 33u})
    {
        SCOPED_TRACE(row);
        inside.bound = plain.bound = unknown.bound = glow;
        glow->setClearFlag(false);
        const int before = inside.draws;
        system->processSystem(row * 50, row, 20);
        const bool on = row >= 16 && row <= 32;
        EXPECT_EQ(inside.draws - before, on ? 1 : 0);
        if (!on)
            continue;
        EXPECT_EQ(inside.bound, glow);
        EXPECT_EQ(plain.bound, nullptr);
        EXPECT_EQ(unknown.bound, nullptr);
        EXPECT_TRUE(glow->hasClearFlag());
    }
}

TEST_F(TrackSystemIOTest, MissingFilesGiveDummiesThatNeverDrawOrReadZero)
{
    dir.write("b.track", TWENTY_FIVE_BYTES);
    dir.write("b.zoom.track", ByteImage().i32(0).data);
    TrackedEffect a({"alpha"});
    TrackedEffect b({"zoom", "alpha"});
    StdoutCapture capture;
    std::unique_ptr<TrackSystem> system(TrackSystemIO(dirName()).load({"a", "b"}, {&a, &b}));
    const std::string log = capture.take();
    EXPECT_NE(log.find("Track 'a' do not exit. Creating dummy.\n"), std::string::npos);
    EXPECT_NE(log.find("-> 'a.alpha.track' do not exit. Creating dummy.\n"), std::string::npos);
    EXPECT_NE(log.find("Loading 'b.zoom'\n"), std::string::npos);
    EXPECT_NE(log.find("-> 'b.alpha.track' do not exit. Creating dummy.\n"), std::string::npos);

    ASSERT_EQ(system->size(), 2);
    EXPECT_EQ(a.getTrackGroup(), system->getTrackGroupByName("a"));
    EXPECT_EQ(system->getTrackGroupByName("b")->getEffect(), &b);
    ASSERT_NE(a.getTrack("alpha"), nullptr);
    EXPECT_EQ(a.getTrack("alpha")->getKeyframeCount(), 0);
    EXPECT_FLOAT_EQ(a.getTrack("alpha")->getValue(5000), 0.0f);
    ASSERT_NE(b.getTrack("zoom"), nullptr);
    EXPECT_EQ(b.getTrack("zoom")->getKeyframeCount(), 0) << "a file with N = 0";
    EXPECT_EQ(system->getTrackGroupByName("b")->getInterpolateTrack(0)->getName(), "zoom");

    // The dummy (priority -1) sorts before b (0); both are renumbered.
    EXPECT_EQ(system->getSortedTrackGroup(0)->getName(), "a");
    EXPECT_EQ(system->getSortedTrackGroup(0)->getStartStopTrack()->getPriority(), 0);
    EXPECT_EQ(system->getSortedTrackGroup(1)->getStartStopTrack()->getPriority(), 1);
    system->processSystem(0, 0, 0);
    EXPECT_EQ(a.draws, 0);
    EXPECT_EQ(b.draws, 1);

    StdoutCapture validation;
    EXPECT_TRUE(system->validateStartStopTracks());
    validation.take();
}

TEST_F(TrackSystemIOTest, NameListedTwiceKeepsTheFirstGroup)
{
    TrackedEffect first({"alpha"});
    TrackedEffect second({"alpha"});
    StdoutCapture capture;
    std::unique_ptr<TrackSystem> system(TrackSystemIO(dirName()).load({"fx", "fx"}, {&first, &second}));
    EXPECT_NE(capture.take().find("Track group 'fx' is listed twice; keeping the first.\n"), std::string::npos);
    EXPECT_EQ(system->size(), 1);
    EXPECT_EQ(first.getTrackGroup(), system->getTrackGroupByName("fx"));
    EXPECT_EQ(second.getTrackGroup(), nullptr);
}

TEST_F(TrackSystemIOTest, StartStopFirstKeyframeAStopFailsValidation)
{
    dir.write("fx.track", ByteImage().i32(0).i32(1).i32(4).i32(0).data);
    StdoutCapture capture;
    std::unique_ptr<TrackSystem> system(TrackSystemIO(dirName()).load({"fx"}, {nullptr}));
    EXPECT_FALSE(system->validateStartStopTracks());
    capture.take();
}

TEST_F(TrackSystemIOTest, SaveAndLoadKeepEveryTrack)
{
    TrackSystem system;
    TrackGroup* g = new TrackGroup("fx");
    TrackStartStop* startStop = new TrackStartStop(7);
    TrackStartStopKeyFrame* start = new TrackStartStopKeyFrame(4, TrackKeyFrame::START);
    start->targetName = "blur";
    startStop->addKeyframe(start);
    startStop->addKeyframe(new TrackStartStopKeyFrame(9, TrackKeyFrame::STOP));
    g->setStartStopTrack(startStop);
    TrackInterpolate* alpha = new TrackInterpolate("alpha");
    alpha->addKeyframe(new TrackKeyFrameInterpolate(3, 1, -0.25f));
    alpha->addKeyframe(new TrackKeyFrameInterpolate(0, 4, 1e-7f));
    alpha->addKeyframe(new TrackKeyFrameInterpolate(0xffffffffu, 99, 3.5f));
    g->addInterpolateTrack(alpha);
    system.addTrackGroup(g);

    TrackSystemIO writer(dirName());
    ASSERT_TRUE(writer.save(&system)) << writer.getErrorMessage();
    EXPECT_EQ(readFile(dir.path() + "fx.track"),
              ByteImage().i32(7).i32(2).i32(4).i32(1).name("blur").i32(9).i32(0).data)
        << "a target name not in the pool survives the save";
    EXPECT_EQ(readFile(dir.path() + "fx.alpha.track"),
              ByteImage().i32(3).i32(0).i32(4).f32(1e-7f).i32(3).i32(1).f32(-0.25f).i32(-1).i32(99).f32(3.5f).data);

    TrackSystemIO reader(dirName());
    reader.setVerbose(false);
    reader.setResolveTargets(false);
    StdoutCapture capture;
    std::unique_ptr<TrackStartStop> back(reader.loadStartStopTrack("fx"));
    std::unique_ptr<TrackInterpolate> values(reader.loadInterpolateTrack("fx", "alpha"));
    EXPECT_EQ(capture.take(), "Loading 'fx.track' (7)\nLoading 'fx.alpha'\n") << "no keyframe lines when quiet";
    EXPECT_EQ(static_cast<const TrackStartStopKeyFrame*>(back->getKeyframe(4))->targetName, "blur");
    ASSERT_EQ(values->getKeyframeCount(), 3);
    const auto* last = static_cast<const TrackKeyFrameInterpolate*>(values->getKeyframe(0xffffffffu));
    EXPECT_EQ(last->interpolation, 99);
    EXPECT_FLOAT_EQ(last->value, 3.5f);
}

TEST_F(TrackSystemIOTest, SaveReplacesTheOldFileAndLeavesNoTemporary)
{
    dir.write("fx.alpha.track", std::string(100, 'x'));
    TrackInterpolate track("alpha");
    track.addKeyframe(new TrackKeyFrameInterpolate(1, 0, 2.0f));
    TrackSystemIO io(dirName());
    ASSERT_TRUE(io.saveInterpolateTrack("fx", &track));
    EXPECT_EQ(readFile(dir.path() + "fx.alpha.track"), ByteImage().i32(1).i32(1).i32(0).f32(2.0f).data);
    EXPECT_FALSE(std::filesystem::exists(dir.path() + "fx.alpha.track.tmp"));
    EXPECT_TRUE(io.isValid());

    // The same bytes again: the file is not written at all, so whatever
    // watches it sees nothing; new bytes replace it by a new file.
    const auto inode = [&] {
        struct stat info;
        return stat((dir.path() + "fx.alpha.track").c_str(), &info) == 0 ? info.st_ino : 0;
    };
    const auto first = inode();
    ASSERT_TRUE(io.saveInterpolateTrack("fx", &track));
    EXPECT_EQ(inode(), first);
    track.addKeyframe(new TrackKeyFrameInterpolate(2, 0, 3.0f));
    ASSERT_TRUE(io.saveInterpolateTrack("fx", &track));
    EXPECT_NE(inode(), first);
    EXPECT_EQ(readFile(dir.path() + "fx.alpha.track"),
              ByteImage().i32(2).i32(1).i32(0).f32(2.0f).i32(2).i32(0).f32(3.0f).data);
}

TEST_F(TrackSystemIOTest, SaveFailuresAreReportedAndKeepTheOldFile)
{
    TrackInterpolate track("alpha");
    TrackSystemIO missing(dir.path() + "no/such/dir");
    EXPECT_FALSE(missing.saveInterpolateTrack("fx", &track));
    EXPECT_FALSE(missing.isValid());
    EXPECT_EQ(missing.getErrorMessage(),
              "Cannot create track file '" + dir.path() + "no/such/dir/fx.alpha.track.tmp'\n");

    // A directory where the file should go cannot be replaced by a rename.
    std::filesystem::create_directories(dir.path() + "fx.alpha.track/keep");
    TrackSystemIO blocked(dirName());
    EXPECT_FALSE(blocked.saveInterpolateTrack("fx", &track));
    EXPECT_EQ(blocked.getErrorMessage(), "Cannot replace track file '" + dir.path() + "fx.alpha.track'\n");
    EXPECT_FALSE(std::filesystem::exists(dir.path() + "fx.alpha.track.tmp"));
    EXPECT_TRUE(std::filesystem::exists(dir.path() + "fx.alpha.track/keep"));

    TrackSystem system;
    TrackGroup* g = new TrackGroup("fx");
    g->addInterpolateTrack(new TrackInterpolate("alpha"));
    system.addTrackGroup(g);
    EXPECT_FALSE(TrackSystemIO(dirName()).save(&system));
}

// A compile's folder write: exactly the timeline's files afterwards, or the
// folder as it was.
TEST_F(TrackSystemIOTest, FolderWriteHoldsExactlyTheSystemOrNothingChanges)
{
    auto system = [](std::initializer_list<std::pair<const char*, float>> tracks) {
        std::unique_ptr<TrackSystem> made(new TrackSystem());
        TrackGroup* g = new TrackGroup("fx");
        g->setStartStopTrack(new TrackStartStop(3));
        for (const auto& entry : tracks)
        {
            TrackInterpolate* track = new TrackInterpolate(entry.first);
            track->addKeyframe(new TrackKeyFrameInterpolate(0, 0, entry.second));
            g->addInterpolateTrack(track);
        }
        made->addTrackGroup(g);
        return made;
    };
    const std::string old = ByteImage().i32(0).data;
    dir.write("gone.track", old);
    dir.write("gone.zoom.track", old);
    dir.write("notes.txt", "mine");
    dir.write("fx.alpha.track.tmp", "left by a killed write");
    dir.write("fx.alpha.track", old);

    TrackFolderWriter writer(dirName());
    ASSERT_TRUE(writer.write(*system({ { "alpha", 1.0f } }))) << writer.getErrorMessage();
    EXPECT_EQ(readFile(dir.path() + "fx.alpha.track"), ByteImage().i32(1).i32(0).i32(0).f32(1.0f).data);
    EXPECT_TRUE(std::filesystem::exists(dir.path() + "fx.track"));
    EXPECT_EQ(writer.getRemoved().size(), 2u);
    for (const char* gone : { "gone.track", "gone.zoom.track", "fx.alpha.track.tmp" })
        EXPECT_FALSE(std::filesystem::exists(dir.path() + gone)) << gone;
    EXPECT_EQ(readFile(dir.path() + "notes.txt"), "mine") << "only track files are the compile's";

    // Each failure: a file that cannot be written (before anything is
    // replaced), one that cannot be put in place (after another was).
    const std::string alpha = readFile(dir.path() + "fx.alpha.track");
    for (const char* blocked : { "fx.beta.track.tmp", "fx.gamma.track" })
    {
        SCOPED_TRACE(blocked);
        dir.write("stray.track", old);
        std::filesystem::create_directories(dir.path() + blocked + "/keep");
        EXPECT_FALSE(writer.write(*system({ { "alpha", 2.0f }, { "beta", 2.0f }, { "gamma", 2.0f } })));
        EXPECT_NE(writer.getErrorMessage().find(blocked), std::string::npos) << writer.getErrorMessage();
        EXPECT_EQ(readFile(dir.path() + "fx.alpha.track"), alpha);
        EXPECT_EQ(readFile(dir.path() + "stray.track"), old);
        for (const char* absent : { "fx.beta.track", "fx.alpha.track.tmp", "fx.gamma.track.tmp" })
            EXPECT_FALSE(std::filesystem::exists(dir.path() + absent)) << absent;
        std::filesystem::remove_all(dir.path() + blocked);
    }
}

TEST_F(TrackSystemIOTest, ToolModeKeepsStoredNamesWithoutAPool)
{
    dir.write("fx.track", ByteImage().i32(0).i32(4).i32(0).i32(1).name("").i32(1).i32(0).i32(2).i32(1).name("Object")
                              .i32(3).i32(0).data);
    TrackSystemIO io(dirName());
    io.setResolveTargets(false);
    StdoutCapture capture;
    std::unique_ptr<TrackStartStop> track(io.loadStartStopTrack("fx"));
    EXPECT_EQ(capture.take().find("Raw string"), std::string::npos);
    const auto* screen = static_cast<const TrackStartStopKeyFrame*>(track->getKeyframe(0));
    const auto* named = static_cast<const TrackStartStopKeyFrame*>(track->getKeyframe(2));
    EXPECT_TRUE(screen->drawsToScreen());
    EXPECT_EQ(named->targetName, "Object");
    EXPECT_EQ(named->target, nullptr);

    ASSERT_TRUE(io.saveStartStopTrack("copy", track.get()));
    EXPECT_EQ(readFile(dir.path() + "copy.track"), readFile(dir.path() + "fx.track"));
}
