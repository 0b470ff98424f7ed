// Animated 3D simplex noise (x, y, time) from two lookup tables:
// permTexture, 256 x 256: at column j, row i, alpha holds
//   perm[(j + perm[i]) & 255] and rgb that value's gradient as 64 * g + 64;
// simplexTexture, 64 x 1: for the comparison bits of the coordinates, each
//   coordinate's rank among them, times 64.
// Both are sampled at texel centres with nearest filtering; the permutation
// texture repeats, which wraps the lattice every 256 cells.
uniform sampler2D permTexture;
uniform sampler1D simplexTexture;
uniform float time;
varying vec2 texCoord;

const float ONE = 1.0 / 256.0;
const float HALF = 0.5 / 256.0;
const float F3 = 1.0 / 3.0;
const float G3 = 1.0 / 6.0;

float corner(vec3 cell, vec3 offset, vec3 p)
{
    float t = 0.6 - dot(p, p);
    if (t < 0.0)
        return 0.0;
    vec2 xy = (cell.xy + offset.xy) * ONE + HALF;
    float a = texture2D(permTexture, xy).a;
    vec3 g = texture2D(permTexture, vec2(a * 255.0 * ONE + HALF, (cell.z + offset.z) * ONE + HALF)).rgb;
    g = (g * 255.0 - 64.0) / 64.0;
    t *= t;
    return t * t * dot(g, p);
}

float snoise(vec3 p)
{
    vec3 cell = floor(p + dot(p, vec3(F3)));
    vec3 p0 = p - (cell - dot(cell, vec3(G3)));

    // The last three comparison bits say "above w": with w out of play
    // every coordinate counts as larger, so x, y and z rank 1 to 3.
    float c = 32.0 * step(p0.y, p0.x) + 16.0 * step(p0.z, p0.x) + 8.0 * step(p0.z, p0.y) + 7.0;
    vec3 rank = texture1D(simplexTexture, (c + 0.5) / 64.0).rgb;
    vec3 o1 = step(0.625, rank);
    vec3 o2 = step(0.375, rank);

    vec3 p1 = p0 - o1 + G3;
    vec3 p2 = p0 - o2 + 2.0 * G3;
    vec3 p3 = p0 - 1.0 + 3.0 * G3;
    return 32.0 * (corner(cell, vec3(0.0), p0) + corner(cell, o1, p1) + corner(cell, o2, p2) +
                   corner(cell, vec3(1.0), p3));
}

void main()
{
    vec3 p = vec3(texCoord * 4.0, time * 0.4);
    float n = snoise(p) * 0.6 + snoise(p * 2.0 + 17.0) * 0.3 + snoise(p * 4.0 + 31.0) * 0.1;
    float v = n * 0.5 + 0.5;
    gl_FragColor = vec4(v * v * 1.2, v * 0.7, 0.35 + v * 0.5, 1.0);
}
