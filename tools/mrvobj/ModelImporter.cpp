#include "tools/mrvobj/ModelImporter.h"

#include "tools/mrvobj/PictureFinder.h"

#include <assimp/Importer.hpp>
#include <assimp/config.h>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <limits>
#include <new>

namespace {

Vector<float, 3> toVector(const aiVector3D& v)
{
    return Vector<float, 3>(v.x, v.y, v.z);
}

Vector<float, 3> colour(const aiMaterial* material, const char* key, unsigned int type, unsigned int index,
                        const Vector<float, 3>& fallback)
{
    aiColor3D value;
    if (material->Get(key, type, index, value) != AI_SUCCESS)
        return fallback;
    return Vector<float, 3>(value.r, value.g, value.b);
}

class Converter
{
public:
    Converter(const aiScene* scene_, const std::string& modelPath, MRVObjectFile& file_,
              std::vector<ModelPicture>& pictures_)
        : scene(scene_), finder(modelPath), file(file_), pictures(pictures_)
    {
    }

    void visit(const aiNode* node, const aiMatrix4x4& parent)
    {
        const aiMatrix4x4 world = parent * node->mTransformation;
        for (unsigned int i = 0; i < node->mNumMeshes; ++i)
        {
            if (node->mMeshes[i] >= scene->mNumMeshes)
                continue;
            const aiMesh* mesh = scene->mMeshes[node->mMeshes[i]];
            if (!(mesh->mPrimitiveTypes & aiPrimitiveType_TRIANGLE))
                continue;
            convertMesh(mesh, recordName(node, i, mesh), world);
        }
        for (unsigned int i = 0; i < node->mNumChildren; ++i)
            visit(node->mChildren[i], world);
    }

private:
    // Assimp names a glTF node that the author left unnamed "nodes[N]".
    static bool authorNamed(const std::string& nodeName)
    {
        if (nodeName.empty())
            return false;
        if (nodeName.compare(0, 6, "nodes[") != 0 || nodeName.back() != ']' || nodeName.size() < 8)
            return true;
        for (size_t k = 6; k + 1 < nodeName.size(); ++k)
            if (nodeName[k] < '0' || nodeName[k] > '9')
                return true;
        return false;
    }

    // The node's name, with ".1", ".2", ... for its further meshes (a
    // glTF mesh of several primitives, an OBJ object of several materials);
    // a node the author left unnamed gives each mesh the mesh's own name.
    static std::string recordName(const aiNode* node, unsigned int index, const aiMesh* mesh)
    {
        const std::string nodeName = node->mName.C_Str();
        if (!authorNamed(nodeName))
        {
            const std::string meshName = mesh->mName.C_Str();
            return meshName.empty() ? nodeName : meshName;
        }
        return index == 0 ? nodeName : nodeName + "." + std::to_string(index);
    }

    void convertMesh(const aiMesh* mesh, const std::string& name, const aiMatrix4x4& world)
    {
        MRVObjectFile::Mesh out;
        out.name = name;
        out.translation = Vector<float, 3>(world.a4, world.b4, world.c4);
        convertMaterial(mesh, out);

        const bool normals = mesh->HasNormals();
        const bool uvs = mesh->HasTextureCoords(0);
        out.positionSize = 3;
        out.normalSize = normals ? 3 : 0;
        out.texCoordSize = uvs ? 2 : 0;
        out.vertexCount = static_cast<int>(mesh->mNumVertices);
        out.vertices.reserve(static_cast<size_t>(out.vertexCount) * out.floatsPerVertex());

        aiMatrix3x3 normalMatrix(world);
        normalMatrix.Inverse().Transpose();
        Vector<float, 3> low(std::numeric_limits<float>::max(), std::numeric_limits<float>::max(),
                             std::numeric_limits<float>::max());
        Vector<float, 3> high = low * -1.0f;
        for (unsigned int v = 0; v < mesh->mNumVertices; ++v)
        {
            const Vector<float, 3> position = toVector(world * mesh->mVertices[v]);
            out.vertices.insert(out.vertices.end(), position.data(), position.data() + 3);
            for (int k = 0; k < 3; ++k)
            {
                low[k] = std::min(low[k], position[k]);
                high[k] = std::max(high[k], position[k]);
            }
            if (normals)
            {
                const Vector<float, 3> normal = toVector((normalMatrix * mesh->mNormals[v]).Normalize());
                out.vertices.insert(out.vertices.end(), normal.data(), normal.data() + 3);
            }
            if (uvs)
            {
                out.vertices.push_back(mesh->mTextureCoords[0][v].x);
                out.vertices.push_back(mesh->mTextureCoords[0][v].y);
            }
        }
        if (mesh->mNumVertices > 0)
        {
            out.bboxMin = low;
            out.bboxMax = high;
        }

        for (unsigned int f = 0; f < mesh->mNumFaces; ++f)
        {
            const aiFace& face = mesh->mFaces[f];
            if (face.mNumIndices != 3)
                continue;
            for (int k = 0; k < 3; ++k)
                out.indices.push_back(static_cast<int>(face.mIndices[k]));
        }
        out.triangleCount = static_cast<int>(out.indices.size() / 3);
        file.meshes.push_back(std::move(out));
    }

    void convertMaterial(const aiMesh* mesh, MRVObjectFile::Mesh& out)
    {
        if (mesh->mMaterialIndex >= scene->mNumMaterials)
            return;
        const aiMaterial* material = scene->mMaterials[mesh->mMaterialIndex];
        out.materialCount = 1;
        MRVObjectFile::Material& m = out.material;
        m.colour1 = colour(material, AI_MATKEY_COLOR_AMBIENT, Vector<float, 3>());
        m.colour2 = colour(material, AI_MATKEY_COLOR_DIFFUSE, Vector<float, 3>(1.0f, 1.0f, 1.0f));
        m.colour3 = colour(material, AI_MATKEY_COLOR_SPECULAR, Vector<float, 3>());
        // The picture's name is set once it has been written; until then
        // the material has none.
        aiString name;
        const std::string materialName =
            material->Get(AI_MATKEY_NAME, name) == AI_SUCCESS && name.length > 0 ? name.C_Str() : out.name;
        if (!texture(material, aiTextureType_DIFFUSE, false, materialName))
            texture(material, aiTextureType_BASE_COLOR, false, materialName);
        texture(material, aiTextureType_NORMALS, true, materialName);
    }

    bool texture(const aiMaterial* material, aiTextureType type, bool normalMap, const std::string& materialName)
    {
        aiString path;
        if (material->GetTextureCount(type) == 0 || material->GetTexture(type, 0, &path) != AI_SUCCESS ||
            path.length == 0)
            return false;
        const std::string reference = path.C_Str();
        ModelPicture::Use use;
        use.mesh = file.meshes.size();
        use.normalMap = normalMap;
        use.material = materialName;
        picture(reference).uses.push_back(use);
        return true;
    }

    // The picture a reference stands for, shared by every material that
    // names the same file or embedded texture.
    ModelPicture& picture(const std::string& reference)
    {
        // The same text finds the same file; the search is not repeated.
        for (ModelPicture& known : pictures)
            if (known.reference == reference)
                return known;
        const std::pair<const aiTexture*, int> embedded = scene->GetEmbeddedTextureAndIndex(reference.c_str());
        const std::string file = embedded.first ? std::string() : finder.find(reference);
        const std::string key = embedded.first ? "*" + std::to_string(embedded.second)
                                               : (file.empty() ? "?" + reference : "/" + file);
        for (size_t i = 0; i < keys.size(); ++i)
            if (keys[i] == key)
                return pictures[i];

        ModelPicture found;
        found.reference = reference;
        found.file = file;
        found.nameHint = PictureFinder::lastComponent(reference);
        if (const aiTexture* texture = embedded.first)
        {
            found.embedded = true;
            const std::string own = PictureFinder::lastComponent(texture->mFilename.C_Str());
            found.nameHint = own.empty() || own[0] == '*' ? "texture" + std::to_string(embedded.second) : own;
            const size_t count = static_cast<size_t>(texture->mWidth) * std::max(texture->mHeight, 1u);
            if (texture->mHeight == 0)
            {
                const auto* bytes = reinterpret_cast<const unsigned char*>(texture->pcData);
                found.encoded.assign(bytes, bytes + count);
            }
            else
            {
                found.width = static_cast<int>(texture->mWidth);
                found.height = static_cast<int>(texture->mHeight);
                found.rgba.reserve(count * 4);
                for (size_t i = 0; i < count; ++i)
                {
                    const aiTexel& t = texture->pcData[i];
                    found.rgba.insert(found.rgba.end(), { t.r, t.g, t.b, t.a });
                }
            }
        }
        keys.push_back(key);
        pictures.push_back(std::move(found));
        return pictures.back();
    }

    const aiScene* scene;
    PictureFinder finder;
    MRVObjectFile& file;
    std::vector<ModelPicture>& pictures;
    std::vector<std::string> keys;  // one per picture: what makes two references the same picture
};

} // namespace

bool ModelImporter::import(const std::string& modelPath, MRVObjectFile& file, std::vector<ModelPicture>& pictures,
                           std::string& error)
{
    file.meshes.clear();
    pictures.clear();
    Assimp::Importer importer;
    importer.SetPropertyInteger(AI_CONFIG_PP_SBP_REMOVE, aiPrimitiveType_POINT | aiPrimitiveType_LINE);
    const aiScene* scene =
        importer.ReadFile(modelPath, aiProcess_Triangulate | aiProcess_GenSmoothNormals |
                                         aiProcess_JoinIdenticalVertices | aiProcess_SortByPType |
                                         aiProcess_ValidateDataStructure);
    if (!scene || !scene->mRootNode || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE))
    {
        const std::string reason = importer.GetErrorString();
        // Assimp turns a failed allocation into an error text; it is raised
        // again so that the memory ceiling is reported as such.
        if (reason.find("bad_alloc") != std::string::npos)
            throw std::bad_alloc();
        error = "cannot read '" + modelPath + "'" + (reason.empty() ? std::string() : ": " + reason);
        return false;
    }
    Converter converter(scene, modelPath, file, pictures);
    converter.visit(scene->mRootNode, aiMatrix4x4());
    return true;
}
