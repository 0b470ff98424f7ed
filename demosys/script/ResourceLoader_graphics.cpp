// The graphics block: every picture file once in the texture pool.
#include "demosys/script/ResourceLoader.h"

#include "demosys/data/DataTexturePool.h"
#include "demosys/gl/Texture.h"
#include "demosys/gl/TextureLoader.h"
#include "demosys/runtime/MRVDemosys.h"
#include "demosys/script/ParameterGroup.h"
#include "mrvutils/StringTokenizer.h"
#include "mrvutils/StringUtils.h"

#include <GL/glew.h>

#include <iostream>
#include <vector>

bool ResourceLoader::loadGraphics()
{
    const std::string gfxPath = path("gfx");
    const ParameterGroup* graphics = stageBlock("[Loading Graphics]", "graphics", "No image data");
    if (!graphics)
        return true;
    for (const auto& entry : graphics->getEntries())
    {
        Picture picture;
        std::string error;
        if (!readPicture(entry.second, picture, error))
            return fail(error);
        if (!MRVDemosys::texturePool->isFileInPool(picture.file))
        {
            std::cout << "Load : " << gfxPath << picture.file << std::endl;
            std::unique_ptr<Texture> texture = loadPicture(gfxPath, picture, error);
            if (!texture)
                return fail(error);
            MRVDemosys::texturePool->addTexture(entry.first, texture.release());
        }
        tick();
    }
    return true;
}

bool ResourceLoader::readPicture(const std::string& value, Picture& picture, std::string& error)
{
    const std::vector<std::string> pieces = StringTokenizer(value, ",").getTokens();
    picture = { value, GL_TEXTURE_2D, false };
    if (pieces.size() < 2)
        return true;
    // Not trimmed: a blank before the comma belongs to the file name.
    picture.file = pieces[0];
    const std::string kind = StringUtils::trim(pieces[1]);
    if (kind == "GL_TEXTURE_1D")
        picture.target = GL_TEXTURE_1D;
    else if (kind == "GL_TEXTURE_3D")
        picture.target = GL_TEXTURE_3D;
    else if (kind != "GL_TEXTURE_2D")
    {
        error = "TexturePool: '" + picture.file + "' using wrong texture parameter '" + kind +
                "'\nOptions : GL_TEXTURE_1D/2D/3D";
        return false;
    }
    if (pieces.size() != 3)
        return true;
    const std::string mip = StringUtils::trim(pieces[2]);
    if (mip != "GEN_MIPMAP")
    {
        error = "TexturePool: '" + picture.file + "' using wrong mipmap parameter '" + mip +
                "'\nOptions : GEN_MIPMAPS";
        return false;
    }
    picture.mipmap = true;
    return true;
}

std::unique_ptr<Texture> ResourceLoader::loadPicture(const std::string& gfxPath, const Picture& picture,
                                                     std::string& error)
{
    std::unique_ptr<Texture> texture = TextureLoader::load(gfxPath + picture.file, picture.target, picture.mipmap,
                                                           error);
    if (!texture)
    {
        if (error.empty())
            error = "Failed to load texture!\nFile : '" + gfxPath + picture.file + "'";
        return nullptr;
    }
    texture->setFilename(picture.file);
    return texture;
}
