#include "demosys/scene/MRVSceneWriter.h"

#include "mrvutils/File.h"

#include <cstdio>
#include <cstring>

namespace {

class Encoder
{
public:
    explicit Encoder(std::vector<unsigned char>& out_) : out(out_) {}

    void i32(int value)
    {
        unsigned int u;
        std::memcpy(&u, &value, sizeof u);
        for (int k = 0; k < 4; ++k)
            out.push_back(static_cast<unsigned char>((u >> (8 * k)) & 0xff));
    }
    void f32(float value)
    {
        int bits;
        std::memcpy(&bits, &value, sizeof bits);
        i32(bits);
    }
    void i8(int value) { out.push_back(static_cast<unsigned char>(static_cast<signed char>(value))); }
    void vec3(const Vector<float, 3>& v)
    {
        for (int k = 0; k < 3; ++k)
            f32(v[k]);
    }
    void str(const std::string& text)
    {
        out.insert(out.end(), text.begin(), text.end());
        out.push_back(0);
    }

private:
    std::vector<unsigned char>& out;
};

bool hasZeroByte(const std::string& text)
{
    return text.find('\0') != std::string::npos;
}

} // namespace

std::string MRVSceneWriter::check(const MRVObjectFile::Mesh& mesh)
{
    if (hasZeroByte(mesh.name))
        return "the name holds a zero byte";
    if (mesh.hasMaterial() && mesh.material.hasDiffuseTexture() && hasZeroByte(mesh.material.diffuseTexture))
        return "the diffuse texture name holds a zero byte";
    if (mesh.hasMaterial() && mesh.material.hasNormalTexture() && hasZeroByte(mesh.material.normalTexture))
        return "the normal texture name holds a zero byte";
    if (mesh.vertexCount < 0 || mesh.triangleCount < 0)
        return "negative vertex or triangle count";
    const std::string sizes =
        MRVObjectFile::checkComponentSizes(mesh.positionSize, mesh.normalSize, mesh.texCoordSize);
    if (!sizes.empty())
        return sizes;
    if (mesh.vertices.size() != static_cast<size_t>(mesh.vertexCount) * mesh.floatsPerVertex())
        return std::to_string(mesh.vertices.size()) + " vertex floats for " + std::to_string(mesh.vertexCount) +
               " vertices of " + std::to_string(mesh.floatsPerVertex()) + " floats";
    if (mesh.indices.size() != static_cast<size_t>(mesh.triangleCount) * 3)
        return std::to_string(mesh.indices.size()) + " indices for " + std::to_string(mesh.triangleCount) +
               " triangles";
    return MRVObjectFile::checkIndices(mesh.indices, mesh.vertexCount);
}

bool MRVSceneWriter::encode(const MRVObjectFile& file, std::vector<unsigned char>& bytes, std::string& error)
{
    bytes.clear();
    for (size_t i = 0; i < file.meshes.size(); ++i)
    {
        const std::string problem = check(file.meshes[i]);
        if (!problem.empty())
        {
            error = "mesh " + std::to_string(i) + " '" + file.meshes[i].name + "': " + problem;
            return false;
        }
    }
    if (file.meshes.size() > 0x7fffffffu)
    {
        error = "too many meshes";
        return false;
    }

    Encoder out(bytes);
    out.i32(static_cast<int>(file.meshes.size()));
    for (const MRVObjectFile::Mesh& mesh : file.meshes)
    {
        out.str(mesh.name);
        out.i32(mesh.materialCount);
        if (mesh.hasMaterial())
        {
            const MRVObjectFile::Material& material = mesh.material;
            out.vec3(material.colour1);
            out.vec3(material.colour2);
            out.vec3(material.colour3);
            out.i32(material.diffuseTextureFlag);
            if (material.hasDiffuseTexture())
                out.str(material.diffuseTexture);
            out.i32(material.normalTextureFlag);
            if (material.hasNormalTexture())
                out.str(material.normalTexture);
        }
        out.vec3(mesh.translation);
        out.vec3(mesh.bboxMin);
        out.vec3(mesh.bboxMax);
        out.i32(mesh.vertexCount);
        out.i8(mesh.positionSize);
        out.i8(mesh.normalSize);
        out.i8(mesh.texCoordSize);
        for (float value : mesh.vertices)
            out.f32(value);
        out.i32(mesh.triangleCount);
        for (int value : mesh.indices)
            out.i32(value);
    }
    return true;
}

bool MRVSceneWriter::writeFile(const MRVObjectFile& file, const std::string& path, std::string& error)
{
    std::vector<unsigned char> bytes;
    if (!encode(file, bytes, error))
        return false;

    const std::string temporary = path + ".tmp";
    bool written;
    {
        File out(temporary, File::WRITE_TRUNCATE);
        if (!out.exists())
        {
            error = "cannot create '" + temporary + "'";
            return false;
        }
        out.put(std::string(bytes.begin(), bytes.end()));
        written = out.write();
    }
    if (!written || std::rename(temporary.c_str(), path.c_str()) != 0)
    {
        std::remove(temporary.c_str());
        error = "cannot write '" + path + "'";
        return false;
    }
    return true;
}
