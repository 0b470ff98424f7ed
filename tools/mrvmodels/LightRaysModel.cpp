#include "tools/mrvmodels/LightRaysModel.h"

#include "tools/mrvmodels/MeshBuilder.h"

#include <cmath>

std::vector<int> LightRaysModel::rayNumbers()
{
    std::vector<int> numbers;
    for (int n = 44; n <= 85; ++n)
        if (n != 63)
            numbers.push_back(n);
    return numbers;
}

std::string LightRaysModel::tubeName(int number)
{
    return "Tube.0" + std::to_string(number);
}

std::string LightRaysModel::circleName(int number)
{
    return "Circle.0" + std::to_string(number);
}

Vector<float, 3> LightRaysModel::direction(int k)
{
    // A Fibonacci spiral: even spacing without clusters at the poles.
    const float golden = 2.39996323f;
    const float y = 1.0f - 2.0f * (static_cast<float>(k) + 0.5f) / static_cast<float>(RAY_COUNT);
    const float r = std::sqrt(1.0f - y * y);
    const float phi = golden * static_cast<float>(k);
    return Vec3(r * std::cos(phi), y, r * std::sin(phi));
}

MRVObjectFile LightRaysModel::build()
{
    MRVObjectFile file;
    const std::vector<int> numbers = rayNumbers();
    for (int k = 0; k < RAY_COUNT; ++k)
    {
        const Vec3 dir = direction(k);
        MeshBuilder beam(tubeName(numbers[static_cast<size_t>(k)]));
        beam.colour(1.0f, 1.0f, 1.0f).translation(dir * (START + LENGTH * 0.5f));
        beam.frustum(dir * START, dir, LENGTH, 0.15f, 1.1f, 12, false, false);
        file.meshes.push_back(beam.build());

        const Vec3 spotCentre = dir * (START + LENGTH + 0.05f);
        MeshBuilder spot(circleName(numbers[static_cast<size_t>(k)]));
        spot.colour(1.0f, 1.0f, 1.0f).translation(spotCentre);
        // Faces back towards the ball, as a spot on a wall seen from the room.
        spot.ring(spotCentre, dir * -1.0f, 0.0f, 1.5f, 24);
        file.meshes.push_back(spot.build());
    }
    return file;
}
