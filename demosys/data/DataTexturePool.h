#pragma once

#include "demosys/data/DataPool.h"
#include "demosys/data/PoolMap.h"

#include <map>
#include <string>
#include <vector>

class Texture;

// Textures by script alias, and the file each was loaded from, so that a file
// named twice in a script is loaded once.
class DataTexturePool : public DataPool
{
public:
    DataTexturePool() = default;
    ~DataTexturePool() override;

    void addTexture(const std::string& alias, Texture* texture);
    void addTexture(const std::string& alias, const std::string& filename, unsigned int id);
    Texture* getTexture(const std::string& alias) const;
    bool exist(const std::string& alias) const;
    bool isFileInPool(const std::string& filename) const;
    // GL names by alias or file name; 0 for a name the pool does not hold.
    unsigned int getTextureIDbyAlias(const std::string& alias) const;
    unsigned int getTextureIDbyFilename(const std::string& filename) const;
    std::vector<unsigned int> getTexVector() const;
    std::map<std::string, std::string> getFilemap() const { return filemap; }
    std::map<std::string, Texture*>& getTextureMap() { return textures.items(); }
    int getTextureTotalMemsize() const;
    int getTextureTotalFilesize() const;

    std::string toString() override;

private:
    PoolMap<Texture> textures;
    std::map<std::string, std::string> filemap;
};
