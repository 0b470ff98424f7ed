#include "demosys/data/DataFBOPool.h"

#include "demosys/gl/FrameBufferObject.h"

#include <iostream>

DataFBOPool::~DataFBOPool()
{
    fbos.clear("");
}

void DataFBOPool::addFBO(const std::string& name, FrameBufferObject* fbo)
{
    fbos.put(name, fbo);
}

FrameBufferObject* DataFBOPool::getFBO(const std::string& name) const
{
    const auto it = fbos.items().find(name);
    if (it == fbos.items().end())
    {
        std::cout << "FrameBufferObject::getFBO(" << name << ") cannot find the requested VBO" << std::endl;
        return nullptr;
    }
    return it->second;
}

bool DataFBOPool::exists(const std::string& name) const
{
    return fbos.has(name);
}

void DataFBOPool::clearFlaggedFBOs()
{
    for (auto& entry : fbos.items())
    {
        FrameBufferObject* fbo = entry.second;
        if (fbo && fbo->hasClearFlag())
        {
            fbo->bind();
            fbo->clear();
            fbo->release();
        }
    }
}

int DataFBOPool::size()
{
    return fbos.entries();
}

std::string DataFBOPool::toString()
{
    std::string text = "FBOPool {\n";
    for (const auto& entry : fbos.items())
        text += "  " + entry.first + " = " + (entry.second ? entry.second->toString() : "null") + "\n";
    return text + "}\n";
}
