#pragma once

#include <set>
#include <string>
#include <vector>

// The driver's extension list and implementation limits, read once right
// after the screen opens, and the check of the extensions a production needs.
class GLExtensions
{
public:
    GLExtensions();

    static void getImplementationIndependentAPIValues();

    bool isSupported(const std::string& name) const;
    void addToChecklist(const std::string& name);
    // True when every checklist name is supported; the others go to missing.
    bool isSupported();
    std::string getErrorMessage() const;
    // Every extension name in ascending order, each followed by a space, then
    // a line break; prints the implementation limits as it goes.
    std::string toString() const;

    const std::set<std::string>& getExtensions() const { return extensions; }

    static int MAX_VERTEX_ATTRIBS;
    static int MAX_VERTEX_UNIFORM_COMPONENTS;
    static int MAX_VARYING_FLOATS;
    static int MAX_VERTEX_TEXTURE_IMAGE_UNITS;
    static int MAX_COMBINED_TEXTURE_IMAGE_UNITS;
    static int MAX_TEXTURE_COORDS;
    static int MAX_FRAGMENT_UNIFORM_COMPONENTS;
    static int MAX_TEXTURE_SIZE;

private:
    std::set<std::string> extensions;
    std::vector<std::string> checklist;
    std::vector<std::string> missing;
};
