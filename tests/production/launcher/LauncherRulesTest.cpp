// The launcher's rules that need no display: the aspect of a screen mode and
// its suffix in the resolution list, the list's sizes, the antialiasing
// entries and the logo picture handed to the toolkit.
#include "production/MRVGui.h"
#include "tests/support/PngWriter.h"
#include "tests/support/TempDir.h"

#include <FL/Fl_RGB_Image.H>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Aspect
{
    int w;
    int h;
};

Aspect aspectOf(int width, int height)
{
    Aspect a{ -1, -1 };
    EXPECT_TRUE(MRVGui::chooseAspect(width, height, a.w, a.h)) << width << "x" << height;
    return a;
}

// The suffixes of a list of modes, each entry seeing the one before it.
std::vector<std::string> suffixesOf(const std::vector<Aspect>& modes)
{
    std::vector<std::string> suffixes;
    std::string previous;
    for (const Aspect& mode : modes)
    {
        previous = MRVGui::aspectSuffix(mode.w, mode.h, previous);
        suffixes.push_back(previous);
    }
    return suffixes;
}

} // namespace

TEST(LauncherAspect, SampleModesGetTheirSuffix)
{
    EXPECT_EQ(MRVGui::modeEntry(1280, 1024, MRVGui::aspectSuffix(1280, 1024, "")), "1280 X 1024 (5:4)");
    EXPECT_EQ(MRVGui::modeEntry(1440, 900, MRVGui::aspectSuffix(1440, 900, "")), "1440 X 900 (16:10)");
    EXPECT_EQ(MRVGui::modeEntry(1024, 768, MRVGui::aspectSuffix(1024, 768, "")), "1024 X 768 (4:3)");
    EXPECT_EQ(MRVGui::modeEntry(1920, 1080, MRVGui::aspectSuffix(1920, 1080, "")), "1920 X 1080 (16:9)");
    // Wider than 16:9 still counts as 16:9.
    EXPECT_EQ(MRVGui::aspectSuffix(2560, 1080, ""), "(16:9)");
}

TEST(LauncherAspect, SampleModesChooseTheirAspect)
{
    const Aspect fiveFour = aspectOf(1280, 1024);
    EXPECT_EQ(fiveFour.w, 5);
    EXPECT_EQ(fiveFour.h, 4);
    const Aspect sixteenTen = aspectOf(1440, 900);
    EXPECT_EQ(sixteenTen.w, 16);
    EXPECT_EQ(sixteenTen.h, 10);
    const Aspect fourThree = aspectOf(1024, 768);
    EXPECT_EQ(fourThree.w, 4);
    EXPECT_EQ(fourThree.h, 3);
    const Aspect sixteenNine = aspectOf(1920, 1080);
    EXPECT_EQ(sixteenNine.w, 16);
    EXPECT_EQ(sixteenNine.h, 9);
}

// Each threshold belongs to the class above it; one pixel less of width
// falls to the class below.
TEST(LauncherAspect, ThresholdsAreInclusive)
{
    EXPECT_EQ(MRVGui::aspectSuffix(1919, 1080, ""), "(16:10)");
    EXPECT_EQ(MRVGui::aspectSuffix(1439, 900, ""), "(4:3)");
    EXPECT_EQ(MRVGui::aspectSuffix(1023, 768, ""), "(5:4)");
    EXPECT_EQ(MRVGui::aspectSuffix(1279, 1024, "(x)"), "(x)");
    EXPECT_EQ(MRVGui::aspectSuffix(1366, 768, ""), "(16:9)");
    EXPECT_EQ(MRVGui::aspectSuffix(1280, 800, ""), "(16:10)");
}

TEST(LauncherAspect, NarrowerModeRepeatsThePreviousSuffix)
{
    const std::vector<std::string> suffixes =
        suffixesOf({ { 1920, 1080 }, { 1280, 1024 }, { 1024, 1024 }, { 600, 800 }, { 1024, 768 }, { 720, 720 } });
    const std::vector<std::string> expected = { "(16:9)", "(5:4)", "(5:4)", "(5:4)", "(4:3)", "(4:3)" };
    EXPECT_EQ(suffixes, expected);

    // The first entry has no entry before it to repeat.
    EXPECT_EQ(MRVGui::modeEntry(1024, 1024, MRVGui::aspectSuffix(1024, 1024, "")), "1024 X 1024 ");
}

TEST(LauncherAspect, NarrowerModeLeavesTheChosenAspect)
{
    int w = 16;
    int h = 10;
    EXPECT_FALSE(MRVGui::chooseAspect(1024, 1024, w, h));
    EXPECT_FALSE(MRVGui::chooseAspect(600, 800, w, h));
    // A degenerate mode has no aspect rather than an infinite one.
    EXPECT_FALSE(MRVGui::chooseAspect(800, 0, w, h));
    EXPECT_EQ(w, 16);
    EXPECT_EQ(h, 10);
}

TEST(LauncherModes, OneEntryPerSizeInListOrder)
{
    const std::vector<SDL_Rect> listed = {
        { 0, 0, 1920, 1080 }, { 0, 0, 1920, 1080 }, { 0, 0, 1920, 1200 }, { 0, 0, 1280, 1024 },
        { 0, 0, 1920, 1080 }, { 0, 0, 1024, 768 },  { 0, 0, 1024, 768 },
    };
    const std::vector<SDL_Rect> sizes = MRVGui::distinctSizes(listed);
    ASSERT_EQ(sizes.size(), 4u);
    const int expected[4][2] = { { 1920, 1080 }, { 1920, 1200 }, { 1280, 1024 }, { 1024, 768 } };
    for (size_t i = 0; i < sizes.size(); ++i)
    {
        EXPECT_EQ(sizes[i].w, expected[i][0]) << i;
        EXPECT_EQ(sizes[i].h, expected[i][1]) << i;
    }
    EXPECT_TRUE(MRVGui::distinctSizes({}).empty());
}

TEST(LauncherAntialiasing, EntriesGiveSampleCounts)
{
    const int expected[] = { 0, 2, 4, 6, 8 };
    for (int entry = 0; entry < 5; ++entry)
        EXPECT_EQ(MRVGui::samplesForEntry(entry, 99), expected[entry]) << entry;
    // No selection, or one past the list, keeps what was chosen before.
    EXPECT_EQ(MRVGui::samplesForEntry(-1, 4), 4);
    EXPECT_EQ(MRVGui::samplesForEntry(5, 6), 6);
}

class LauncherLogo : public ::testing::Test
{
protected:
    void SetUp() override { dir = temp.folder(); }

    // A picture whose top half is red and bottom half blue, so a flip shows.
    std::string writeSplitPicture(int width, int height, pngtest::ColorType type)
    {
        const int channels = pngtest::channelsOf(type);
        std::vector<unsigned> samples;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
            {
                const bool top = y < height / 2;
                const unsigned pixel[4] = { top ? 255u : 0u, 0u, top ? 0u : 255u, 255u };
                samples.insert(samples.end(), pixel, pixel + channels);
            }
        const std::string path = dir + "/guilogo.png";
        EXPECT_TRUE(pngtest::writeFile(path, pngtest::encodePng(pngtest::makePicture(width, height, type, samples))));
        return path;
    }

    static const unsigned char* pixelAt(const Fl_RGB_Image& image, int x, int y)
    {
        const int rowBytes = image.ld() ? image.ld() : image.w() * image.d();
        return reinterpret_cast<const unsigned char*>(image.data()[0]) + y * rowBytes + x * image.d();
    }

    testsupport::TempDir temp{ "kelvarn_logo" };
    std::string dir;
};

TEST_F(LauncherLogo, PictureIsScaledToTheLogoSizeTopRowFirst)
{
    for (const pngtest::ColorType type : { pngtest::ColorType::RGB, pngtest::ColorType::RGBA })
    {
        const std::string path = writeSplitPicture(6, 4, type);
        std::unique_ptr<Fl_RGB_Image> logo(MRVGui::loadLogo(path.c_str()));
        ASSERT_NE(logo, nullptr);
        EXPECT_EQ(logo->w(), 240);
        EXPECT_EQ(logo->h(), 240);
        EXPECT_EQ(logo->d(), pngtest::channelsOf(type));

        const unsigned char* top = pixelAt(*logo, 120, 10);
        const unsigned char* bottom = pixelAt(*logo, 120, 229);
        EXPECT_EQ(top[0], 255);
        EXPECT_EQ(top[2], 0);
        EXPECT_EQ(bottom[0], 0);
        EXPECT_EQ(bottom[2], 255);
    }
}

TEST_F(LauncherLogo, MissingOrBrokenFileGivesNoPicture)
{
    EXPECT_EQ(MRVGui::loadLogo((dir + "/absent.png").c_str()), nullptr);
    const std::string path = dir + "/broken.png";
    ASSERT_TRUE(pngtest::writeFile(path, { 0x89, 'P', 'N', 'G', 1, 2, 3 }));
    EXPECT_EQ(MRVGui::loadLogo(path.c_str()), nullptr);
}
