#pragma once

#include <string>

class Binary;
class FrameBufferObject;
class Shader;
class Texture;

// Finds an effect's pool resources once, in init(). A name that a pool does
// not hold is reported in one line naming the effect object, and the lookup
// is then incomplete: the effect stays dark instead of drawing through a
// resource that is not there.
class ResourceLookup
{
public:
    // owner: the effect's class, and its object name when it has one.
    ResourceLookup(const std::string& className, const std::string& objectName);

    Shader* shader(const std::string& name);
    FrameBufferObject* fbo(const std::string& name);
    Texture* texture(const std::string& name);
    Binary* binary(const std::string& name);
    // Counts as missing too, for tables found shorter than the effect reads.
    void reject(const std::string& kind, const std::string& name, const std::string& why);

    bool isComplete() const { return complete; }

private:
    void missing(const std::string& kind, const std::string& name);

    std::string owner;
    bool complete = true;
};
