#pragma once

#include <memory>
#include <string>

class Image;
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

    // Puts a decoded 24- or 32-bit picture of the texture's own size into a
    // 1D or 2D texture already in use: the same GL name, its pixels written
    // over the old ones. A picture with alpha where the texture had none, or
    // the other way round, gives the texture storage of the new kind, so
    // that the alpha shows; false when the GL cannot give that storage (the
    // texture then has none, which only exhausted memory causes at a size
    // it already had). The binding and unpack alignment are put back.
    static bool replace(Texture& texture, const Image& image, std::string& error);
};
