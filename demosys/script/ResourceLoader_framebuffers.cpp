// The framebuffers block: every entry a render target in the framebuffer pool.
#include "demosys/script/ResourceLoader.h"

#include "demosys/data/DataFBOPool.h"
#include "demosys/gl/FrameBufferObject.h"
#include "demosys/runtime/MRVDemosys.h"
#include "demosys/runtime/ScreenMetrics.h"
#include "demosys/script/ParameterGroup.h"
#include "mrvutils/MRVUtils.h"
#include "mrvutils/StringTokenizer.h"
#include "mrvutils/StringUtils.h"

#include <GL/glew.h>

#include <iostream>
#include <vector>

bool ResourceLoader::loadFramebuffers()
{
    const ParameterGroup* framebuffers =
        stageBlock("[Creating FramebufferObjects]", "framebuffers", "No framebuffers to create");
    if (!framebuffers)
        return true;
    for (const auto& entry : framebuffers->getEntries())
        if (!loadFramebuffer(entry.first, entry.second))
            return false;
    return true;
}

bool ResourceLoader::loadFramebuffer(const std::string& name, const std::string& spec)
{
    const std::vector<std::string> pieces = StringTokenizer(spec, ",").getTokens();
    if (pieces.size() < 3 || pieces.size() > 5)
        return fail("Wrong number of parameters in framebuffer block\nFramebuffer: " + name + "\ndefined as : " +
                    spec + "\nValid syntax: width, height, COLOR_BUFFER [,DEPTH_BUFFER][,STENCIL_BUFFER]");
    int size[2] = { 0, 0 };
    for (int axis = 0; axis < 2; ++axis)
        if (!readFramebufferSize(name, StringUtils::trim(pieces[axis]), axis, size[axis]))
            return false;
    const char* expected[3] = { "COLOR_BUFFER", "DEPTH_BUFFER", "STENCIL_BUFFER" };
    for (size_t i = 2; i < pieces.size(); ++i)
    {
        const std::string piece = StringUtils::trim(pieces[i]);
        if (piece != expected[i - 2])
            return fail("Wrong parameter for framebuffer '" + name + "'\nvalue: '" + piece + "'\nexpected : '" +
                        expected[i - 2] + "'\n");
    }

    std::unique_ptr<FrameBufferObject> fbo(
        new FrameBufferObject(size[0], size[1], pieces.size() >= 4, pieces.size() == 5, name));
    if (!fbo->isValid())
        return fail(fbo->getErrorMessage());
    std::cout << "Created '" << name << "' with options '" << spec << "' : object -> " << fbo->toString()
              << std::endl;
    fbo->bind();
    fbo->clear();
    fbo->release();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    MRVDemosys::fboPool->addFBO(name, fbo.release());
    return true;
}

// axis 0 is the width, 1 the height.
bool ResourceLoader::readFramebufferSize(const std::string& name, const std::string& piece, int axis, int& size)
{
    const char* word = axis == 0 ? "width" : "height";
    if (piece == word)
        size = axis == 0 ? MRVDemosys::screenMetrics->getWidth() : MRVDemosys::screenMetrics->getHeight();
    // Sizes are unsigned: "-" and negative numbers are not sizes.
    else if (StringUtils::isInt(piece) && piece[0] != '-')
        size = MRVUtils::string2Int(piece);
    else
        return fail(std::string("Frambuffer ") + word + " is not an int\nFBO: " + name + "\nvalue : " + piece +
                    "\nValid syntax: '" + word + "' or unsinged integer");
    return true;
}
