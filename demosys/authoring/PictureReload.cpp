#include "demosys/authoring/PictureReload.h"

#include "demosys/gl/Texture.h"
#include "demosys/gl/TextureLoader.h"
#include "mrvutils/Image.h"

#include <GL/glew.h>

#include <algorithm>

bool PictureReload::reload(Texture& texture, const std::string& file, std::string& error)
{
    const GLenum target = texture.getType();
    if (target != GL_TEXTURE_1D && target != GL_TEXTURE_2D)
    {
        error = "only 1D and 2D textures are read again";
        return false;
    }
    Image image(file);
    if (!image.exists())
    {
        error = "it is not a PNG picture that can be decoded";
        return false;
    }
    const int bpp = image.getBpp();
    if (bpp != 24 && bpp != 32)
    {
        error = "it has " + std::to_string(bpp) + " bits per pixel; pictures are shown with 24 or 32";
        return false;
    }
    // The loader gives a 1D texture the picture's longer side as its length.
    const int width = target == GL_TEXTURE_1D ? std::max(image.getWidth(), image.getHeight()) : image.getWidth();
    const int height = target == GL_TEXTURE_1D ? 1 : image.getHeight();
    const int expectedHeight = target == GL_TEXTURE_1D ? 1 : texture.getHeight();
    const int expectedWidth =
        target == GL_TEXTURE_1D ? std::max(texture.getWidth(), texture.getHeight()) : texture.getWidth();
    if (width != expectedWidth || height != expectedHeight)
    {
        error = "it is " + std::to_string(image.getWidth()) + "x" + std::to_string(image.getHeight()) +
                ", the texture " + std::to_string(texture.getWidth()) + "x" + std::to_string(texture.getHeight());
        return false;
    }

    return TextureLoader::replace(texture, image, error);
}
