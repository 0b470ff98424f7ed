#pragma once

#include <string>
#include <vector>

// One picture that the materials of a model use, as the importer found it,
// before it is decoded and written: a file on disk, or bytes embedded in the
// model (a compressed picture, or raw texels).
struct ModelPicture
{
    // Where a mesh's material uses the picture.
    struct Use
    {
        size_t mesh = 0;       // index into the object file's meshes
        bool normalMap = false;
        std::string material;  // the material's name in the model, for messages
    };

    std::string reference;  // as the model names it: "textures\deck.jpg", "*0"
    std::string nameHint;   // what the written picture is named after
    std::string file;       // the file found on disk; empty when embedded or missing
    bool embedded = false;
    std::vector<unsigned char> encoded;  // an embedded picture in its own format
    int width = 0;                       // embedded raw texels: RGBA rows, top first
    int height = 0;
    std::vector<unsigned char> rgba;
    std::vector<Use> uses;
};
