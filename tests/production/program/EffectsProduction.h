#pragma once

// A small production for one effect test: the repository's own definitions
// and shaders, pictures and blobs the test makes, a timeline compiled by
// mrvtrack, and kelvarn run headless on a fixed step with every frame
// captured.
#include "mrvutils/Image.h"
#include "tests/support/PngWriter.h"
#include "tests/support/ProgramRunner.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace effecttest
{

using Rgb = std::array<int, 3>;

inline void writeText(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

// One captured frame; pixels addressed from the bottom left, as the GL does.
class Frame
{
public:
    explicit Frame(const std::string& path) : image(path) {}

    bool exists() const { return image.exists(); }
    int width() const { return image.getWidth(); }
    int height() const { return image.getHeight(); }
    Rgb at(int x, int y) const
    {
        const unsigned char* p = image.getData() + (static_cast<size_t>(y) * image.getWidth() + x) * 3;
        return { p[0], p[1], p[2] };
    }

private:
    Image image;
};

inline ::testing::AssertionResult near(const Rgb& actual, const Rgb& expected, int tolerance = 2)
{
    for (int c = 0; c < 3; ++c)
        if (std::abs(actual[c] - expected[c]) > tolerance)
            return ::testing::AssertionFailure()
                   << "(" << actual[0] << ", " << actual[1] << ", " << actual[2] << ") is not (" << expected[0]
                   << ", " << expected[1] << ", " << expected[2] << ") within " << tolerance;
    return ::testing::AssertionSuccess();
}

class EffectsProduction : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir = temp.folder();
        for (const char* sub : { "/resources", "/resources/scripts", "/gfx", "/misc", "/tracks" })
            mkdir((dir + sub).c_str(), 0755);
    }

    // An 8-bit picture in gfx/, samples top row first.
    void picture(const std::string& file, int width, int height, pngtest::ColorType type,
                 const std::vector<unsigned>& samples) const
    {
        ASSERT_TRUE(pngtest::writeFile(dir + "/gfx/" + file,
                                       pngtest::encodePng(pngtest::makePicture(width, height, type, samples))));
    }

    // A picture of one colour.
    void plain(const std::string& file, const Rgb& colour) const
    {
        std::vector<unsigned> samples;
        for (int i = 0; i < 8 * 8; ++i)
            samples.insert(samples.end(), { unsigned(colour[0]), unsigned(colour[1]), unsigned(colour[2]) });
        picture(file, 8, 8, pngtest::ColorType::RGB, samples);
    }

    void blob(const std::string& file, const std::vector<unsigned char>& bytes) const
    {
        writeText(dir + "/misc/" + file, std::string(bytes.begin(), bytes.end()));
    }

    // Runs the production: `blocks` after the system blocks, `timeline` for
    // mrvtrack. Rows advance one per frame at 20 frames per second.
    ProgramRun play(int frames, const std::string& window = "64x36", int fps = 20)
    {
        return run(frames, window, fps, "sound { play = 0; }\n");
    }

    // As play(), with `sound` as the script's sound block.
    ProgramRun run(int frames, const std::string& window, int fps, const std::string& sound)
    {
        const std::string resources = MRV_RESOURCES_DIR;
        const std::string script = "{MRVDS1}\n"
                                   "paths { definition = " + resources + "definitions/; shaders = " + resources +
                                   "shaders/; gfx = gfx/; misc = misc/; object = ./; sound = ./; tracks = tracks; }\n"
                                   "system { start = 0:0:0; rowrate = 20; }\n"
                                   "screen { fullscreen = 0; }\n" +
                                   sound + blocks;
        writeText(dir + "/resources/scripts/demoscript.txt", script);
        writeText(dir + "/timeline.txt", timeline);
        const ProgramRun compiled = runProgram(MRVTRACK_PATH, dir, "compile timeline.txt -o tracks");
        if (compiled.status != 0)
            return compiled;
        return runProgram(KELVARN_PATH, dir,
                          "--headless --window " + window + " --fps " + std::to_string(fps) + " --frames " +
                              std::to_string(frames) + " --capture frames");
    }

    std::unique_ptr<Frame> frame(int index) const
    {
        char name[64];
        std::snprintf(name, sizeof name, "/frames/frame_%06d.png", index);
        return std::unique_ptr<Frame>(new Frame(dir + name));
    }

public:
    // The run went through without a GL error, a missing uniform or a
    // missing resource.
    static ::testing::AssertionResult clean(const ProgramRun& run)
    {
        if (run.status != 0)
            return ::testing::AssertionFailure() << "status " << run.status << "\n" << run.out;
        for (const char* bad : { "[GL_ERROR", "Error: Uniform variable", "not found", "STACK ERROR",
                                 "This should never happen" })
            if (run.out.find(bad) != std::string::npos)
                return ::testing::AssertionFailure() << "'" << bad << "' in\n" << run.out;
        return ::testing::AssertionSuccess();
    }

protected:
    // Kept when the test fails, for its files to be looked at.
    testsupport::TempDir temp{ "kelvarn_fx", testsupport::TempDir::KEEP_ON_FAILURE };
    std::string dir;
    std::string blocks;
    std::string timeline;
};

} // namespace effecttest
