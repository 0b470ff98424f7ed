#pragma once

#include "demosys/scene/MRVObjectFile.h"
#include "tools/mrvobj/ModelPicture.h"

#include <string>
#include <vector>

// Brings a model's pictures into the production: decodes each one (JPEG,
// PNG, TGA, BMP, PSD, GIF, files or embedded), writes it as an 8-bit RGB or
// RGBA PNG into the pictures folder and points the materials that use it at
// the written name.
//
// Names are the object file's name and the picture's own, joined by "_",
// reduced to letters, digits, "_", "-" and "." (the graphics block reads a
// "," as the start of a texture's options, and the demoscript gives ";",
// "=" and braces meanings of their own), at most 64 bytes, and unique
// regardless of letter case: "ship_deck.png", "ship_deck_2.png". Converting
// the same model again writes the same names, and two models never write
// over each other's pictures.
//
// A picture that cannot be found, read or decoded, or is larger than
// MAX_SIDE pixels on a side, is left out with a warning naming the material
// and the picture; the materials that use it keep their colour only.
class PictureExporter
{
public:
    static constexpr int MAX_SIDE = 16384;
    static constexpr long long MAX_PIXELS = 8192LL * 8192LL;

    struct Written
    {
        std::string name;       // as the object file and the graphics block name it
        std::string source;     // the model's reference
        int width = 0;
        int height = 0;
        int channels = 0;       // 3 or 4
    };

    PictureExporter(const std::string& folder, const std::string& objectFile);

    // False with the reason when the folder cannot be made or a PNG cannot
    // be written; pictures that cannot be read are warnings, not failures.
    bool exportAll(const std::vector<ModelPicture>& pictures, MRVObjectFile& file, std::vector<Written>& written,
                   std::vector<std::string>& warnings, std::string& error);

    // The pictures folder when none is given: "graphics" beside the object
    // file's folder (resources/objects/x.o3d -> resources/graphics).
    static std::string defaultFolder(const std::string& objectFile);
    // `text` reduced to the characters a graphics block takes as a name.
    static std::string safeName(const std::string& text);

private:
    static bool fits(int width, int height, std::string& why);
    bool decode(const ModelPicture& picture, Written& out, std::vector<unsigned char>& rows, std::string& why) const;
    std::string uniqueName(const std::string& hint);
    bool writePng(const std::string& name, const std::vector<unsigned char>& rows, const Written& picture,
                  std::string& error);

    std::string folder;
    std::string prefix;
    std::vector<std::string> taken;  // lower case
    bool folderMade = false;
};
