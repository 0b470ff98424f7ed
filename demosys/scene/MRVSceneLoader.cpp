#include "demosys/scene/MRVSceneLoader.h"

#include "demosys/data/DataObjectPool.h"
#include "demosys/gl/VBO.h"
#include "demosys/runtime/MRVDemosys.h"
#include "demosys/scene/MRVMaterial.h"
#include "demosys/scene/MRVNode.h"
#include "demosys/scene/MRVObject.h"
#include "demosys/scene/MRVObjectFile.h"
#include "demosys/scene/MRVScene.h"
#include "demosys/scene/MRVSceneReader.h"
#include "demosys/scene/MRVSceneTree.h"
#include "demosys/script/ParameterGroup.h"
#include "demosys/script/Parameters.h"
#include "mrvutils/StringTokenizer.h"

#include <iostream>
#include <string>
#include <vector>

MRVSceneLoader::MRVSceneLoader(const std::string& path_) : path(path_), scene(new MRVScene())
{
}

MRVSceneLoader::~MRVSceneLoader()
{
    if (!valid)
        delete scene;
}

void MRVSceneLoader::registerTexture(const std::string& name)
{
    Parameters* parameters = MRVDemosys::parameters;
    if (!parameters)
        return;
    // A script whose objects name textures needs a graphics block; one is
    // made for it rather than dropping the textures.
    if (!parameters->exist("graphics"))
        parameters->addGroup("graphics", new ParameterGroup("graphics"));
    parameters->getGroup("graphics")->addParameter(name, name);
}

MRVScene* MRVSceneLoader::loadScene()
{
    if (valid)
        return scene;
    // A second try after a failure starts from an empty scene.
    delete scene;
    scene = new MRVScene();

    MRVSceneTree* tree = new MRVSceneTree();
    scene->setTree(tree);
    MRVNode* root = new MRVNode();
    tree->setRoot(root);

    MRVSceneReader reader(path);
    if (!reader.exists())
    {
        errorMessage = "Object '" + path + "' not found";
        return nullptr;
    }
    int meshCount = 0;
    if (!reader.readMeshCount(meshCount))
    {
        errorMessage = reader.getErrorMessage();
        return nullptr;
    }

    long long vertexTotal = 0, triangleTotal = 0, floatTotal = 0;
    MRVObjectFile::Mesh mesh;
    std::vector<unsigned int> indices;
    for (int i = 0; i < meshCount; ++i)
    {
        if (!reader.readMesh(i, mesh))
        {
            errorMessage = reader.getErrorMessage();
            return nullptr;
        }

        MRVObject* object = new MRVObject();
        MRVNode* node = new MRVNode();
        node->setObject(object);
        root->addChild(node);
        object->setName(mesh.name);

        if (mesh.hasMaterial())
        {
            const Vector<float, 3>& colour = mesh.material.colour2;
            MRVMaterial* material = scene->addMaterial(new MRVMaterial());
            material->setAmbient(colour[0], colour[1], colour[2]);
            material->setDiffuse(colour[0], colour[1], colour[2]);
            object->setMaterial(material);
            if (mesh.material.hasDiffuseTexture())
            {
                std::cout << "Diffuse texture " << mesh.material.diffuseTexture << std::endl;
                material->setDiffuseMap(mesh.material.diffuseTexture);
                registerTexture(mesh.material.diffuseTexture);
            }
            if (mesh.material.hasNormalTexture())
            {
                std::cout << "Normal texture " << mesh.material.normalTexture << std::endl;
                material->setNormalMap(mesh.material.normalTexture);
            }
        }

        object->setTranslation(mesh.translation[0], mesh.translation[1], mesh.translation[2]);
        object->setBBoxMin(mesh.bboxMin[0], mesh.bboxMin[1], mesh.bboxMin[2]);
        object->setBBoxMax(mesh.bboxMax[0], mesh.bboxMax[1], mesh.bboxMax[2]);

        vertexTotal += mesh.vertexCount;
        floatTotal += static_cast<long long>(mesh.vertices.size());
        triangleTotal += mesh.triangleCount;

        // The reader has checked every index against the vertex count.
        indices.assign(mesh.indices.begin(), mesh.indices.end());
        VBO* vbo = new VBO();
        vbo->setVertexBuffer(mesh.vertexCount, mesh.positionSize, mesh.normalSize, mesh.texCoordSize,
                             mesh.vertices.data());
        vbo->setElementBuffer(mesh.triangleCount, indices.data());
        object->setVBO(vbo);
    }

    std::cout << "Vertices total = " << vertexTotal << std::endl;
    std::cout << "Polygons total = " << triangleTotal << std::endl;
    std::cout << "Floats total = " << floatTotal << std::endl;
    std::cout << "Bytes total = " << (3 * triangleTotal + floatTotal) * 4 << std::endl;

    valid = true;
    scene->calcSceneBBox();
    return scene;
}

bool MRVSceneLoader::loadObjectsStage(const ParameterGroup& objects, const std::string& objectPath,
                                      DataObjectPool& pool, std::string& error, const std::function<void()>& advance)
{
    for (const auto& entry : objects.getEntries())
    {
        const std::vector<std::string> pieces = StringTokenizer(entry.second, ",").getTokens();
        const std::string file = pieces.empty() ? std::string() : pieces[0];
        const std::string option = pieces.size() > 1 ? pieces[1] : std::string();
        std::cout << "Loading : '" << objectPath << file << "' opt = " << option << std::endl;

        MRVSceneLoader loader(objectPath + file);
        MRVScene* scene = loader.loadScene();
        if (!loader.isValid())
        {
            error = loader.getErrorMessage();
            return false;
        }
        pool.addObject(entry.first, scene);
        if (advance)
            advance();
    }
    return true;
}
