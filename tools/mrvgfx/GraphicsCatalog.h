#pragma once

#include <functional>
#include <string>
#include <vector>

// Every file that mrvgfx makes: where it goes under the production's
// resources folder, its documented size, what it shows and which effect
// reads it under which pool name. Pictures are PNG files; data files are raw
// bytes whose layouts are documented beside their writers (RoadMap,
// GreetingsMap).
class GraphicsCatalog
{
public:
    struct Entry
    {
        // "graphics" or "misc".
        std::string folder;
        std::string name;
        // Pictures: pixel size and 3 (RGB) or 4 (RGBA) channels. Data files:
        // all 0.
        int width;
        int height;
        int channels;
        // Data files: the exact byte count; pictures: 0.
        int bytes;
        std::string shows;
        std::string usedBy;
        std::function<std::vector<unsigned char>()> make;

        bool isPicture() const { return channels > 0; }
        std::string path() const { return folder + "/" + name; }
    };

    static const std::vector<Entry>& entries();
    // Null when no entry has that file name.
    static const Entry* find(const std::string& name);
};
