// Writes the seed corpus of every fuzz target: OUTDIR/<target>/<seed>.
//   fuzz_seeds OUTDIR
// Existing seeds of the same names are overwritten, others left alone.
#include "fuzz/FuzzSeeds.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: fuzz_seeds OUTDIR\n");
        return 2;
    }
    std::cout.rdbuf(nullptr);
    const std::string root = argv[1];
    int written = 0;
    for (const mrvfuzz::Target& target : mrvfuzz::targets())
    {
        const std::string dir = root + "/" + target.name;
        std::filesystem::create_directories(dir);
        for (const mrvfuzz::Seed& seed : target.seeds())
        {
            if (seed.bytes.empty())
            {
                std::fprintf(stderr, "fuzz_seeds: %s/%s came out empty\n", target.name, seed.name.c_str());
                return 1;
            }
            std::ofstream out(dir + "/" + seed.name, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(seed.bytes.data()), static_cast<std::streamsize>(seed.bytes.size()));
            if (!out)
            {
                std::fprintf(stderr, "fuzz_seeds: cannot write %s/%s\n", dir.c_str(), seed.name.c_str());
                return 1;
            }
            ++written;
        }
    }
    std::fprintf(stderr, "fuzz_seeds: wrote %d seeds to %s\n", written, root.c_str());
    return 0;
}
