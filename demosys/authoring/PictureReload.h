#pragma once

#include <string>

class Texture;

// Puts a picture file's pixels into a texture that is already in use: the
// same texture object and the same GL name, so effects that hold either
// show the new picture from their next draw on.
class PictureReload
{
public:
    // Refuses, with the reason in error and the texture untouched, a file
    // that is not a PNG picture this engine decodes, one of another size
    // than the texture, or one of a depth the loader would not upload.
    static bool reload(Texture& texture, const std::string& file, std::string& error);
};
