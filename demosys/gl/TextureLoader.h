#pragma once

#include <memory>
#include <string>

class Texture;

// Puts a PNG picture on the GPU: decodes it, uploads it as a 1D or 2D
// texture (GL_TEXTURE_3D names an empty one) and wraps the GL name in a
// Texture. GL errors raised on the way are printed, one line each, naming
// the file.
class TextureLoader
{
public:
    // A new texture owned by the caller, or null: with `error` left empty
    // when the picture cannot be decoded, or set to a message naming the file
    // when the GL could not give the picture storage (a side beyond the
    // driver's largest texture, memory exhausted).
    static std::unique_ptr<Texture> load(const std::string& file, unsigned int target, bool mipmap,
                                         std::string& error);
};
