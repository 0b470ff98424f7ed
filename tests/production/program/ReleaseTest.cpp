// The release as a viewer gets it: the archive that cpack makes from this
// build, unpacked into a folder of its own and played from another one.
#include "tests/support/ProgramRunner.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <string>

namespace {

bool exists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

} // namespace

TEST(ReleaseTest, ArchiveHoldsWhatTheProductionReadsAndPlaysWhereverItIsUnpacked)
{
    char pattern[] = "/tmp/kelvarn_releaseXXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string dir = pattern;
    for (const char* sub : { "/unpacked", "/elsewhere" })
        mkdir((dir + sub).c_str(), 0755);

    const ProgramRun pack =
        runProgram(CPACK_COMMAND, dir, "-G TGZ --config '" KELVARN_CPACK_CONFIG "' -B '" + dir + "/packages'");
    ASSERT_EQ(pack.status, 0) << pack.out;
    const std::string name = "kelvarn-" KELVARN_VERSION "-linux-x86_64";
    ASSERT_EQ(std::system(("tar xzf '" + dir + "/packages/" + name + ".tar.gz' -C '" + dir + "/unpacked'").c_str()), 0);

    const std::string top = dir + "/unpacked/" + name;
    for (const char* file : { "/kelvarn", "/README.txt", "/resources/scripts/demoscript.txt",
                              "/resources/definitions/system.def", "/resources/shaders/default.vert",
                              "/resources/graphics/guilogo.png", "/resources/graphics/Loading1.png",
                              "/resources/misc/ghetto1.ani", "/resources/music/kelvarn.ogg" })
        EXPECT_TRUE(exists(top + file)) << file << " is missing from the archive";
    // Work files the program never reads stay out.
    for (const char* file : { "/resources/timeline.txt", "/resources/music/kelvarn.score", "/resources/graphics/dollar.png" })
        EXPECT_FALSE(exists(top + file)) << file << " should not be in the archive";

    const ProgramRun play = runProgram(top + "/kelvarn", dir + "/elsewhere", "--headless --window 160x90 --fps 60 --frames 60");
    EXPECT_EQ(play.status, 0) << play.out;
    EXPECT_NE(play.out.find("Data directory : " + top + "\n"), std::string::npos) << play.out;
    EXPECT_NE(play.out.find("[Application End]"), std::string::npos) << play.out;

    if (!HasFailure())
        std::system(("rm -rf '" + dir + "'").c_str());
}
