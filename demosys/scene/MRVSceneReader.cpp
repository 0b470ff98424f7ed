#include "demosys/scene/MRVSceneReader.h"

#include "mrvutils/File.h"

MRVSceneReader::MRVSceneReader(const std::string& path_) : path(path_), file(new File(path_, File::READ))
{
}

MRVSceneReader::~MRVSceneReader() = default;

bool MRVSceneReader::exists() const
{
    return file->exists();
}

bool MRVSceneReader::corrupt(const std::string& what)
{
    errorMessage = "Object '" + path + "' is corrupt: " + what;
    return false;
}

std::string MRVSceneReader::meshLabel(int index, const std::string& name)
{
    std::string label = "mesh " + std::to_string(index);
    if (!name.empty())
        label += " '" + name + "'";
    return label + ": ";
}

bool MRVSceneReader::ended(const std::string& where, int index, const std::string& name)
{
    if (!file->hasOverrun())
        return false;
    corrupt(meshLabel(index, name) + "the file ends inside " + where);
    return true;
}

bool MRVSceneReader::readMeshCount(int& meshCount)
{
    meshCount = 0;
    if (!file->exists())
    {
        errorMessage = "Object '" + path + "' not found";
        return false;
    }
    const int count = file->readInt();
    if (file->hasOverrun())
        return corrupt("the file ends before the mesh count");
    if (count < 0)
        return corrupt("negative mesh count " + std::to_string(count));
    meshCount = count;
    return true;
}

bool MRVSceneReader::readMaterial(int index, MRVObjectFile::Mesh& mesh)
{
    MRVObjectFile::Material& material = mesh.material;
    Vector<float, 3>* colours[3] = { &material.colour1, &material.colour2, &material.colour3 };
    for (Vector<float, 3>* colour : colours)
        for (int k = 0; k < 3; ++k)
            (*colour)[k] = file->readFloat();
    material.diffuseTextureFlag = file->readInt();
    if (ended("the material", index, mesh.name))
        return false;
    if (material.hasDiffuseTexture())
    {
        material.diffuseTexture = file->readString();
        if (ended("the diffuse texture name", index, mesh.name))
            return false;
        // The graphics stage splits an entry at ',' into the file and its
        // texture options, so such a name would fail there with a message
        // about options that names neither file nor mesh.
        if (material.diffuseTexture.find(',') != std::string::npos)
        {
            errorMessage = "Object '" + path + "': the material of mesh " + std::to_string(index) + " '" + mesh.name +
                           "' names the picture '" + material.diffuseTexture +
                           "', which the graphics block cannot load: a ',' starts texture options there;"
                           " rename the picture (mrvobj convert writes names without one)";
            return false;
        }
    }
    material.normalTextureFlag = file->readInt();
    if (ended("the material", index, mesh.name))
        return false;
    if (material.hasNormalTexture())
    {
        material.normalTexture = file->readString();
        if (ended("the normal texture name", index, mesh.name))
            return false;
    }
    return true;
}

bool MRVSceneReader::readMesh(int index, MRVObjectFile::Mesh& mesh)
{
    mesh = MRVObjectFile::Mesh();
    const std::string name = file->readString();
    if (ended("the name", index, ""))
        return false;
    mesh.name = name;

    mesh.materialCount = file->readInt();
    if (ended("the material count", index, name))
        return false;
    if (mesh.hasMaterial() && !readMaterial(index, mesh))
        return false;

    Vector<float, 3>* placement[3] = { &mesh.translation, &mesh.bboxMin, &mesh.bboxMax };
    for (Vector<float, 3>* vector : placement)
        for (int k = 0; k < 3; ++k)
            (*vector)[k] = file->readFloat();
    if (ended("the translation and bounding box", index, name))
        return false;

    mesh.vertexCount = file->readInt();
    mesh.positionSize = static_cast<signed char>(file->readChar());
    mesh.normalSize = static_cast<signed char>(file->readChar());
    mesh.texCoordSize = static_cast<signed char>(file->readChar());
    if (ended("the vertex count and component sizes", index, name))
        return false;
    if (mesh.vertexCount < 0)
        return corrupt(meshLabel(index, name) + "negative vertex count " + std::to_string(mesh.vertexCount));
    const std::string sizes = MRVObjectFile::checkComponentSizes(mesh.positionSize, mesh.normalSize,
                                                                 mesh.texCoordSize);
    if (!sizes.empty())
        return corrupt(meshLabel(index, name) + sizes);

    // Counts are checked against the bytes left before anything is
    // allocated, so a damaged count cannot ask for gigabytes.
    const long long floats = static_cast<long long>(mesh.vertexCount) * mesh.floatsPerVertex();
    if (floats * 4 > file->bytesLeft())
        return corrupt(meshLabel(index, name) + "the file ends inside the vertices (" + std::to_string(floats * 4) +
                       " bytes needed, " + std::to_string(file->bytesLeft()) + " left)");
    mesh.vertices.resize(static_cast<size_t>(floats));
    for (float& value : mesh.vertices)
        value = file->readFloat();

    mesh.triangleCount = file->readInt();
    if (ended("the triangle count", index, name))
        return false;
    if (mesh.triangleCount < 0)
        return corrupt(meshLabel(index, name) + "negative triangle count " + std::to_string(mesh.triangleCount));
    const long long indices = static_cast<long long>(mesh.triangleCount) * 3;
    if (indices * 4 > file->bytesLeft())
        return corrupt(meshLabel(index, name) + "the file ends inside the indices (" + std::to_string(indices * 4) +
                       " bytes needed, " + std::to_string(file->bytesLeft()) + " left)");
    mesh.indices.resize(static_cast<size_t>(indices));
    for (int& value : mesh.indices)
        value = file->readInt();

    const std::string outside = MRVObjectFile::checkIndices(mesh.indices, mesh.vertexCount);
    if (!outside.empty())
        return corrupt(meshLabel(index, name) + outside);
    return true;
}

bool MRVSceneReader::readFile(const std::string& path, MRVObjectFile& file, std::string& error)
{
    file.meshes.clear();
    MRVSceneReader reader(path);
    int meshCount = 0;
    bool ok = reader.readMeshCount(meshCount);
    for (int i = 0; ok && i < meshCount; ++i)
    {
        MRVObjectFile::Mesh mesh;
        ok = reader.readMesh(i, mesh);
        if (ok)
            file.meshes.push_back(std::move(mesh));
    }
    if (!ok)
        error = reader.getErrorMessage();
    return ok;
}
