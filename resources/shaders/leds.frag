// The LED: a dark housing lit from the upper left, a round lens in the
// middle of each face that shines in the LED's colour when it is lit and
// stays a faint tint when it is not, all sinking into the dark with distance.
uniform float lit;
uniform float bright;
varying vec3 normal;
varying vec2 face;
varying float depth;

const vec3 LIGHT = vec3(-0.45, 0.6, 0.66);
const float FOG_NEAR = 16.0;
const float FOG_FAR = 55.0;

void main()
{
    vec3 n = normalize(normal);
    float diffuse = max(dot(n, LIGHT), 0.0);
    float r = length(face - vec2(0.5)) * 2.0;
    float lens = 1.0 - smoothstep(0.55, 0.8, r);
    float core = 1.0 - smoothstep(0.0, 0.45, r);
    vec3 colour = gl_Color.rgb;
    vec3 housing = vec3(0.025) + colour * 0.04 + (vec3(0.06) + colour * 0.06) * diffuse;
    vec3 glass = colour * (lit * (0.85 + 0.15 * diffuse) + 0.1) + vec3(0.9) * core * lit;
    vec3 c = mix(housing, glass, lens) + colour * lit * 0.25 * (1.0 - lens);
    float fog = clamp((depth - FOG_NEAR) / (FOG_FAR - FOG_NEAR), 0.0, 1.0);
    gl_FragColor = vec4(c * bright * (1.0 - fog * 0.9), 1.0);
}
