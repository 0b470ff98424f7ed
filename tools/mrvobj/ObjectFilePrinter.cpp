#include "tools/mrvobj/ObjectFilePrinter.h"

#include "mrvutils/MRVUtils.h"

#include <ostream>

namespace {

std::string vector3(const Vector<float, 3>& v)
{
    return MRVUtils::float2string(v[0]) + " " + MRVUtils::float2string(v[1]) + " " + MRVUtils::float2string(v[2]);
}

std::string quoted(bool present, const std::string& name)
{
    return present ? "'" + name + "'" : "-";
}

} // namespace

void ObjectFilePrinter::print(const std::string& path, const MRVObjectFile& file, std::ostream& out)
{
    out << "'" << path << "': " << file.meshes.size() << (file.meshes.size() == 1 ? " mesh" : " meshes") << "\n";
    for (size_t i = 0; i < file.meshes.size(); ++i)
    {
        const MRVObjectFile::Mesh& mesh = file.meshes[i];
        out << "mesh " << i << " '" << mesh.name << "'\n";
        if (mesh.hasMaterial())
        {
            out << "  colour       " << vector3(mesh.material.colour2) << "\n";
            out << "  diffuse map  " << quoted(mesh.material.hasDiffuseTexture(), mesh.material.diffuseTexture)
                << "\n";
            out << "  normal map   " << quoted(mesh.material.hasNormalTexture(), mesh.material.normalTexture)
                << "\n";
        }
        else
        {
            out << "  material     none\n";
        }
        out << "  translation  " << vector3(mesh.translation) << "\n";
        out << "  box          " << vector3(mesh.bboxMin) << " to " << vector3(mesh.bboxMax) << "\n";
        out << "  vertices     " << mesh.vertexCount << " (position " << mesh.positionSize << ", normal "
            << mesh.normalSize << ", texcoord " << mesh.texCoordSize << ")\n";
        out << "  triangles    " << mesh.triangleCount << "\n";
    }
}
