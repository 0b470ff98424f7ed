// Green at the foot of a column, yellow half-way, red at full height, with
// the carpet's picture worked into it; slightly see-through.
uniform sampler2D texture;
varying vec2 texCoord;
varying float level;

void main()
{
    vec3 low = vec3(0.0, 0.9, 0.2);
    vec3 middle = vec3(1.0, 0.9, 0.0);
    vec3 high = vec3(1.0, 0.1, 0.0);
    vec3 meter = level < 0.5 ? mix(low, middle, level * 2.0) : mix(middle, high, level * 2.0 - 1.0);
    vec3 picture = texture2D(texture, texCoord).rgb;
    gl_FragColor = vec4(meter * (0.4 + 0.6 * picture), 0.85) * gl_Color;
}
