#include "tools/mrvobj/PictureExporter.h"

#include "mrvutils/File.h"
#include "tools/mrvgfx/PngFile.h"

#include <stb_image.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr size_t MAX_NAME = 64;

std::string lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string stem(const std::string& name)
{
    const size_t dot = name.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string describe(const ModelPicture& picture, const ModelPicture::Use& use)
{
    return "material '" + use.material + "': picture '" + picture.reference + "'";
}

// stb gives 1 (grey), 2 (grey, alpha), 3 or 4 channels; the engine takes
// RGB and RGBA best.
std::vector<unsigned char> toRgbOrRgba(const unsigned char* pixels, long long count, int channels, int& outChannels)
{
    const bool alpha = channels == 2 || channels == 4;
    outChannels = alpha ? 4 : 3;
    std::vector<unsigned char> rows(static_cast<size_t>(count) * static_cast<size_t>(outChannels));
    for (long long i = 0; i < count; ++i)
    {
        const unsigned char* p = pixels + i * channels;
        unsigned char* q = rows.data() + i * outChannels;
        if (channels <= 2)
            q[0] = q[1] = q[2] = p[0];
        else
            q[0] = p[0], q[1] = p[1], q[2] = p[2];
        if (alpha)
            q[3] = p[channels - 1];
    }
    return rows;
}

} // namespace

PictureExporter::PictureExporter(const std::string& folder_, const std::string& objectFile)
    : folder(folder_), prefix(safeName(stem(fs::path(objectFile).filename().string())))
{
}

std::string PictureExporter::defaultFolder(const std::string& objectFile)
{
    fs::path dir = fs::path(objectFile).parent_path();
    if (dir.empty())
        dir = ".";
    const std::string folder = (dir / ".." / "graphics").lexically_normal().string();
    return folder.empty() ? "graphics" : folder;
}

std::string PictureExporter::safeName(const std::string& text)
{
    std::string name;
    for (char c : text)
    {
        const bool safe = std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.';
        name.push_back(safe ? c : '_');
    }
    // A leading dot would hide the file, a leading dash read as an option.
    const size_t first = name.find_first_not_of(".-");
    return first == std::string::npos ? std::string() : name.substr(first);
}

std::string PictureExporter::uniqueName(const std::string& hint)
{
    std::string base = safeName(stem(hint));
    if (base.empty())
        base = "picture";
    base = prefix.empty() ? base : prefix + "_" + base;
    base = base.substr(0, MAX_NAME - 10);
    std::string name = base + ".png";
    for (int n = 2; std::find(taken.begin(), taken.end(), lower(name)) != taken.end(); ++n)
        name = base + "_" + std::to_string(n) + ".png";
    taken.push_back(lower(name));
    return name;
}

bool PictureExporter::fits(int width, int height, std::string& why)
{
    if (width > 0 && height > 0 && width <= MAX_SIDE && height <= MAX_SIDE &&
        static_cast<long long>(width) * height <= MAX_PIXELS)
        return true;
    why = "is " + std::to_string(width) + "x" + std::to_string(height) + " pixels, more than a texture can be";
    return false;
}

bool PictureExporter::decode(const ModelPicture& picture, Written& out, std::vector<unsigned char>& rows,
                             std::string& why) const
{
    if (picture.embedded && !picture.rgba.empty())
    {
        if (picture.width <= 0 || picture.height <= 0 ||
            picture.rgba.size() != static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height) * 4)
        {
            why = "has embedded texels that do not fill its size";
            return false;
        }
        if (!fits(picture.width, picture.height, why))
            return false;
        out.width = picture.width;
        out.height = picture.height;
        rows = toRgbOrRgba(picture.rgba.data(), static_cast<long long>(picture.width) * picture.height, 4,
                           out.channels);
        return true;
    }

    std::vector<unsigned char> bytes = picture.encoded;
    if (!picture.embedded)
    {
        if (picture.file.empty())
        {
            why = "not found beside the model";
            return false;
        }
        File source(picture.file, File::READ);
        if (!source.exists())
        {
            why = "cannot be read";
            return false;
        }
        bytes = source.getUnsigned();
    }
    if (bytes.empty() || bytes.size() > static_cast<size_t>(INT_MAX))
    {
        why = "is empty";
        return false;
    }
    const int length = static_cast<int>(bytes.size());
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(bytes.data(), length, &width, &height, &channels))
    {
        why = std::string("cannot be decoded (") + stbi_failure_reason() + ")";
        return false;
    }
    if (!fits(width, height, why))
        return false;
    unsigned char* pixels = stbi_load_from_memory(bytes.data(), length, &width, &height, &channels, 0);
    if (!pixels)
    {
        why = std::string("cannot be decoded (") + stbi_failure_reason() + ")";
        return false;
    }
    out.width = width;
    out.height = height;
    rows = toRgbOrRgba(pixels, static_cast<long long>(width) * height, channels, out.channels);
    stbi_image_free(pixels);
    return true;
}

bool PictureExporter::writePng(const std::string& name, const std::vector<unsigned char>& rows,
                               const Written& picture, std::string& error)
{
    if (!folderMade)
    {
        std::error_code ec;
        fs::create_directories(folder, ec);
        if (ec || !fs::is_directory(folder))
        {
            error = "cannot make the pictures folder '" + folder + "'";
            return false;
        }
        folderMade = true;
    }
    const std::string path = (fs::path(folder) / name).string();
    const std::vector<unsigned char> png = PngFile::encode(rows, picture.width, picture.height, picture.channels);
    if (png.empty() || !File::replace(path, std::string(png.begin(), png.end())))
    {
        error = "cannot write '" + path + "'";
        return false;
    }
    return true;
}

bool PictureExporter::exportAll(const std::vector<ModelPicture>& pictures, MRVObjectFile& file,
                                std::vector<Written>& written, std::vector<std::string>& warnings,
                                std::string& error)
{
    for (const ModelPicture& picture : pictures)
    {
        Written out;
        out.source = picture.reference;
        std::vector<unsigned char> rows;
        std::string why;
        const bool decoded = decode(picture, out, rows, why);
        if (decoded)
        {
            out.name = uniqueName(picture.nameHint);
            if (!writePng(out.name, rows, out, error))
                return false;
            written.push_back(out);
        }
        for (const ModelPicture::Use& use : picture.uses)
        {
            if (use.mesh >= file.meshes.size())
                continue;
            MRVObjectFile::Material& material = file.meshes[use.mesh].material;
            std::string& name = use.normalMap ? material.normalTexture : material.diffuseTexture;
            int& flag = use.normalMap ? material.normalTextureFlag : material.diffuseTextureFlag;
            name = decoded ? out.name : std::string();
            flag = decoded ? 1 : 0;
        }
        if (!decoded && !picture.uses.empty())
            warnings.push_back(describe(picture, picture.uses.front()) + " " + why +
                               "; the material keeps its colour");
    }
    return true;
}
