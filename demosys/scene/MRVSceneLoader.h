#pragma once

#include <functional>
#include <string>

class DataObjectPool;
class MRVScene;
class ParameterGroup;

// Builds a scene from one 3D object file (format in MRVObjectFile.h): one
// node with one object per mesh under the root, a material per mesh that
// has one, and a static vertex buffer per mesh; no geometry stays in client
// memory. Diffuse texture names are entered into the demoscript's
// "graphics" group (created when the script has none) under their own name,
// so the graphics stage loads them and mapTextureData() binds them. A
// diffuse texture name the graphics block cannot take fails the load, with
// the reader's message.
//
// One loader per file, used once. The scene belongs to the caller after a
// successful load and to the loader (which deletes it) otherwise.
class MRVSceneLoader
{
public:
    explicit MRVSceneLoader(const std::string& path);
    ~MRVSceneLoader();

    MRVSceneLoader(const MRVSceneLoader&) = delete;
    MRVSceneLoader& operator=(const MRVSceneLoader&) = delete;

    // The scene, or null when the file is missing or corrupt (see
    // getErrorMessage()).
    MRVScene* loadScene();
    bool isValid() const { return valid; }
    std::string getErrorMessage() const { return errorMessage; }

    // The objects stage of the block loading: every entry name = file [,
    // option] of the objects block is loaded from objectPath + file and
    // added to the pool under name, in name order; advance() runs after each.
    // Stops at the first failure with the scene loader's message in error.
    static bool loadObjectsStage(const ParameterGroup& objects, const std::string& objectPath, DataObjectPool& pool,
                                 std::string& error, const std::function<void()>& advance = nullptr);

private:
    static void registerTexture(const std::string& name);

    std::string path;
    MRVScene* scene;
    bool valid = false;
    std::string errorMessage;
};
