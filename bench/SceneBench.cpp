#include "demosys/scene/MRVMesh.h"
#include "demosys/scene/MRVObjectFile.h"
#include "demosys/scene/MRVSceneReader.h"
#include "demosys/scene/MRVSceneWriter.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>

// Two costs of the scene code: decoding an object file at load time (the
// loader reads every float once, so the time should grow linearly with the
// vertex count), and recomputing the normals of a procedural grid, which the
// sea and ribbon effects do every frame for a displaced copy of their mesh.
namespace
{

// A size x size grid of 3/3/2 vertices, two triangles per cell.
MRVObjectFile gridFile(int size)
{
    MRVObjectFile file;
    MRVObjectFile::Mesh mesh;
    mesh.name = "grid";
    mesh.normalSize = 3;
    mesh.texCoordSize = 2;
    mesh.vertexCount = size * size;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            mesh.vertices.insert(mesh.vertices.end(), { float(x), float(y), 0, 0, 0, 1, x / float(size), y / float(size) });
    for (int y = 0; y + 1 < size; ++y)
        for (int x = 0; x + 1 < size; ++x)
        {
            const int i = y * size + x;
            mesh.indices.insert(mesh.indices.end(), { i, i + 1, i + size + 1, i, i + size + 1, i + size });
        }
    mesh.triangleCount = static_cast<int>(mesh.indices.size() / 3);
    file.meshes.push_back(mesh);
    return file;
}

void BM_ReadObjectFile(benchmark::State& state)
{
    const int size = static_cast<int>(state.range(0));
    const std::string path = "/tmp/mrv_scene_bench_" + std::to_string(size) + ".o3d";
    std::string error;
    if (!MRVSceneWriter::writeFile(gridFile(size), path, error))
    {
        state.SkipWithError(error.c_str());
        return;
    }
    for (auto _ : state)
    {
        MRVObjectFile file;
        const bool ok = MRVSceneReader::readFile(path, file, error);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(file.meshes.data());
    }
    state.SetItemsProcessed(state.iterations() * size * size);
    std::remove(path.c_str());
}
BENCHMARK(BM_ReadObjectFile)->Arg(64)->Arg(256)->Arg(512)->Unit(benchmark::kMillisecond);

void BM_GridNormals(benchmark::State& state)
{
    const int size = static_cast<int>(state.range(0));
    MRVMesh mesh(size * size, (size - 1) * (size - 1), 4);
    Vector<float, 3>* positions = mesh.getVertexPointer();
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            positions[y * size + x] = Vector<float, 3>(float(x), std::sin(x * 0.3f) * std::cos(y * 0.2f), float(y));
    int face = 0;
    for (int y = 0; y + 1 < size; ++y)
        for (int x = 0; x + 1 < size; ++x)
        {
            const int i = y * size + x;
            mesh.setQuad(face++, i, i + size, i + size + 1, i + 1);
        }
    for (auto _ : state)
    {
        mesh.calcFNormals(positions);
        mesh.calcVNormals(mesh.getVertexNormalPointer());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * size * size);
}
BENCHMARK(BM_GridNormals)->Arg(64)->Arg(128)->Arg(256)->Unit(benchmark::kMicrosecond);

} // namespace
