#pragma once

#include "demosys/runtime/FixedResource.h"

#include <string>

class Binary;
class FrameBufferObject;
class LookupRecorder;
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

    // Every name asked through any lookup from now on also goes to
    // `recorder` (not owned), found or not; null, as in a show, records
    // nothing. Lets a check compare what each effect asks for with what its
    // class declares.
    static void setRecorder(LookupRecorder* recorder);
    // Tells the recorder, if there is one; SceneLookup's lookups come
    // through here too.
    void record(FixedResource::Kind kind, const std::string& name) const;

private:
    void missing(const std::string& kind, const std::string& name);

    static LookupRecorder* recorder;

    std::string objectName;
    std::string owner;
    bool complete = true;
};
