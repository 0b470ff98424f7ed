#include "demosys/runtime/FixedResource.h"

const char* FixedResource::kindName(Kind kind)
{
    switch (kind)
    {
    case SHADER:
        return "shader";
    case FRAMEBUFFER:
        return "framebuffer";
    case TEXTURE:
        return "texture";
    case BINARY:
        return "binary";
    case CAMERA_PATH:
        return "camera path";
    case SCENE:
        return "scene";
    case SCENE_OBJECT:
        return "scene object";
    }
    return "resource";
}
