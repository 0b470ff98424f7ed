// Sea shading: the noise picture (scrolled with the waves by vTrans) tilts
// the surface normal, the reflected view ray looks up the environment as a
// sphere map, and a Fresnel term blends it with the deep water colour.
// Alpha carries the depth for the depth-of-field pass: 0 at the viewer,
// 1 at 20 units.
uniform sampler2D noise;
uniform sampler2D envmap;
uniform float vTrans;
varying vec2 texCoord;
varying vec3 eyePosition;
varying vec3 eyeUp;

void main()
{
    vec4 ripple = texture2D(noise, vec2(texCoord.x, texCoord.y + vTrans));
    vec3 tilt = vec3(ripple.r - 0.5, 0.0, ripple.g - 0.5) * 0.6;
    vec3 n = normalize(normalize(eyeUp) + tilt);
    vec3 i = normalize(eyePosition);
    vec3 r = reflect(i, n);
    float m = 2.0 * sqrt(r.x * r.x + r.y * r.y + (r.z + 1.0) * (r.z + 1.0));
    vec3 sky = texture2D(envmap, r.xy / m + 0.5).rgb;
    float facing = max(dot(-i, n), 0.0);
    float fresnel = 0.2 + 0.8 * pow(1.0 - facing, 3.0);
    vec3 deep = vec3(0.0, 0.12, 0.2);
    float depth = clamp(-eyePosition.z / 20.0, 0.0, 1.0);
    gl_FragColor = vec4(mix(deep, sky, fresnel), depth);
}
