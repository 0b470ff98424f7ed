#pragma once

#include "demosys/scene/MRVObjectFile.h"
#include "tools/mrvobj/ModelPicture.h"

#include <string>
#include <vector>

// Turns a model in any format Assimp reads (glTF 2.0, OBJ with its MTL,
// FBX, ...) into the meshes of a 3D object file:
//  - one mesh record per mesh of every node, depth first in node order,
//    named after the node; a node's further meshes (the primitives of one
//    glTF mesh, the material groups of one OBJ object) get ".1", ".2", ...
//    appended; a node the author left unnamed gives the mesh's own name;
//  - triangulated; points and lines are dropped;
//  - positions and normals in scene space (the node transforms applied, as
//    the player draws positions unmoved), plus the first texture coordinate
//    set as (u, v) when there is one;
//  - colour 2 the diffuse colour, colours 1 and 3 the ambient and specular;
//    the diffuse (or base colour) and normal pictures are listed in
//    `pictures`, each once with the meshes that use it: a file found beside
//    the model (PictureFinder) or a texture embedded in it. The materials
//    name no picture until PictureExporter has written them;
//  - the translation of the node in scene space, the box of the positions.
class ModelImporter
{
public:
    ModelImporter() = delete;

    // False with the reason when the model cannot be read.
    static bool import(const std::string& modelPath, MRVObjectFile& file, std::vector<ModelPicture>& pictures,
                       std::string& error);
};
