#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <vector>

namespace testsupport
{

TempDir::TempDir(const std::string& prefix, Keep keep_) : keep(keep_)
{
    std::string pattern = ::testing::TempDir();
    if (pattern.empty() || pattern.back() != '/')
        pattern += '/';
    pattern += prefix + "XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const char* made = mkdtemp(buffer.data());
    if (!made)
        ADD_FAILURE() << "cannot create a temp dir from " << pattern;
    root = std::string(made ? made : ".") + "/";
}

TempDir::~TempDir()
{
    if (root == "./" || (keep == KEEP_ON_FAILURE && ::testing::Test::HasFailure()))
        return;
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
}

std::string TempDir::write(const std::string& name, const std::string& bytes) const
{
    const std::string full = root + name;
    std::filesystem::create_directories(std::filesystem::path(full).parent_path());
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        ADD_FAILURE() << "cannot write " << full;
    return full;
}

}
