#include "production/effects/ResourceLookup.h"

#include "demosys/data/DataBinaryPool.h"
#include "demosys/data/DataFBOPool.h"
#include "demosys/data/DataShaderPool.h"
#include "demosys/data/DataTexturePool.h"
#include "demosys/runtime/MRVDemosys.h"
#include "production/effects/LookupRecorder.h"

#include <iostream>

LookupRecorder* ResourceLookup::recorder = nullptr;

ResourceLookup::ResourceLookup(const std::string& className, const std::string& objectName_)
    : objectName(objectName_), owner(objectName_.empty() ? className : className + " '" + objectName_ + "'")
{
}

void ResourceLookup::setRecorder(LookupRecorder* r)
{
    recorder = r;
}

void ResourceLookup::record(FixedResource::Kind kind, const std::string& name) const
{
    if (recorder)
        recorder->add(objectName, kind, name);
}

Shader* ResourceLookup::shader(const std::string& name)
{
    record(FixedResource::SHADER, name);
    DataShaderPool* pool = MRVDemosys::shaderPool;
    Shader* found = pool && pool->exists(name) ? pool->getShader(name) : nullptr;
    if (!found)
        missing("shader", name);
    return found;
}

FrameBufferObject* ResourceLookup::fbo(const std::string& name)
{
    record(FixedResource::FRAMEBUFFER, name);
    // Asked with exists() first: the pool prints a line of its own for names
    // it lacks, and one report per name is enough.
    DataFBOPool* pool = MRVDemosys::fboPool;
    FrameBufferObject* found = pool && pool->exists(name) ? pool->getFBO(name) : nullptr;
    if (!found)
        missing("framebuffer", name);
    return found;
}

Texture* ResourceLookup::texture(const std::string& name)
{
    record(FixedResource::TEXTURE, name);
    DataTexturePool* pool = MRVDemosys::texturePool;
    Texture* found = pool && pool->exist(name) ? pool->getTexture(name) : nullptr;
    if (!found)
        missing("texture", name);
    return found;
}

Binary* ResourceLookup::binary(const std::string& name)
{
    record(FixedResource::BINARY, name);
    DataBinaryPool* pool = MRVDemosys::binaryPool;
    Binary* found = pool && pool->exist(name) ? pool->getData(name) : nullptr;
    if (!found)
        missing("binary", name);
    return found;
}

void ResourceLookup::reject(const std::string& kind, const std::string& name, const std::string& why)
{
    complete = false;
    std::cout << owner << " : " << kind << " '" << name << "' " << why << ", the effect is not drawn" << std::endl;
}

void ResourceLookup::missing(const std::string& kind, const std::string& name)
{
    reject(kind, name, "not found");
}
