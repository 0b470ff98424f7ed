#include "tools/mrvobj/PictureFinder.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int MAX_DEPTH = 4;
constexpr int MAX_ENTRIES = 20000;

bool isFile(const fs::path& path)
{
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

std::string lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

} // namespace

PictureFinder::PictureFinder(const std::string& modelPath)
    : folder(fs::path(modelPath).parent_path().string())
{
    if (folder.empty())
        folder = ".";
}

std::string PictureFinder::lastComponent(const std::string& reference)
{
    const size_t slash = reference.find_last_of("/\\");
    return slash == std::string::npos ? reference : reference.substr(slash + 1);
}

std::string PictureFinder::find(const std::string& reference) const
{
    std::string text = reference;
    if (text.compare(0, 7, "file://") == 0)
        text = text.substr(7);
    std::replace(text.begin(), text.end(), '\\', '/');
    if (text.empty())
        return "";
    if (fs::path(text).is_absolute() && isFile(text))
        return text;
    const fs::path relative = fs::path(folder) / text;
    if (isFile(relative))
        return relative.lexically_normal().string();
    const std::string name = lastComponent(text);
    return name.empty() ? std::string() : searchTree(name);
}

// Breadth first, so the file nearest the model wins; entries of one folder
// in name order, so the choice does not depend on the file system.
std::string PictureFinder::searchTree(const std::string& name) const
{
    const std::string wanted = lower(name);
    std::vector<fs::path> level{ fs::path(folder) };
    int entries = 0;
    for (int depth = 0; depth <= MAX_DEPTH && !level.empty(); ++depth)
    {
        std::vector<fs::path> next;
        for (const fs::path& dir : level)
        {
            std::vector<fs::path> children;
            std::error_code ec;
            for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
            {
                if (++entries > MAX_ENTRIES)
                    return "";
                children.push_back(it->path());
            }
            std::sort(children.begin(), children.end());
            for (const fs::path& child : children)
            {
                std::error_code kind;
                if (fs::is_directory(fs::symlink_status(child, kind)))
                    next.push_back(child);
                else if (lower(child.filename().string()) == wanted && isFile(child))
                    return child.lexically_normal().string();
            }
        }
        level.swap(next);
    }
    return "";
}
