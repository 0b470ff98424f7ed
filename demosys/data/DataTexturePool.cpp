#include "demosys/data/DataTexturePool.h"

#include "demosys/gl/Texture.h"
#include "mrvutils/MRVUtils.h"

#include <iostream>

DataTexturePool::~DataTexturePool()
{
    std::cout << "[Dispose texturePool]" << std::endl;
    textures.clear(" -> delete texture '", "'");
}

void DataTexturePool::addTexture(const std::string& alias, Texture* texture)
{
    ++count;
    textures.put(alias, texture);
    if (texture)
        filemap[texture->getFilename()] = alias;
}

void DataTexturePool::addTexture(const std::string& alias, const std::string& filename, unsigned int id)
{
    ++count;
    textures.put(alias, new Texture(filename, id));
    filemap[filename] = alias;
}

Texture* DataTexturePool::getTexture(const std::string& alias) const
{
    return textures.get(alias);
}

bool DataTexturePool::exist(const std::string& alias) const
{
    return textures.has(alias);
}

bool DataTexturePool::isFileInPool(const std::string& filename) const
{
    return filemap.find(filename) != filemap.end();
}

unsigned int DataTexturePool::getTextureIDbyAlias(const std::string& alias) const
{
    const Texture* texture = textures.get(alias);
    return texture ? texture->getID() : 0;
}

unsigned int DataTexturePool::getTextureIDbyFilename(const std::string& filename) const
{
    const auto it = filemap.find(filename);
    return it == filemap.end() ? 0 : getTextureIDbyAlias(it->second);
}

std::vector<unsigned int> DataTexturePool::getTexVector() const
{
    std::vector<unsigned int> ids;
    ids.reserve(textures.items().size());
    for (const auto& entry : textures.items())
        ids.push_back(entry.second ? entry.second->getID() : 0);
    return ids;
}

int DataTexturePool::getTextureTotalMemsize() const
{
    int total = 0;
    for (const auto& entry : textures.items())
        if (entry.second)
            total += entry.second->getMemorySize();
    return total;
}

int DataTexturePool::getTextureTotalFilesize() const
{
    int total = 0;
    for (const auto& entry : textures.items())
        if (entry.second)
            total += entry.second->getFileSize();
    return total;
}

std::string DataTexturePool::toString()
{
    const int mem = getTextureTotalMemsize();
    const int file = getTextureTotalFilesize();
    std::string text = "DataTexturePool {\n";
    text += "    total memory size : " + MRVUtils::float2string(static_cast<float>(mem) / 1048576.0f) + " MB - " +
            MRVUtils::int2string(mem) + " bytes\n";
    text += "    total file size : " + MRVUtils::float2string(static_cast<float>(file) / 1048576.0f) + " mb - " +
            MRVUtils::int2string(file) + " bytes\n";
    text += "    numTextures = " + MRVUtils::int2string(size()) + "\n";
    for (const auto& entry : textures.items())
        text += "    " + entry.first + " = " + (entry.second ? entry.second->toString() : "null\n");
    return text + "}\n";
}
