// Screen blend of two pictures: brightens where either is bright and never
// goes past white. opacity scales the second picture.
uniform sampler2D source;
uniform sampler2D destination;
uniform float opacity;
varying vec2 texCoord;

void main()
{
    vec3 a = texture2D(source, texCoord).rgb;
    vec3 b = texture2D(destination, texCoord).rgb * opacity;
    gl_FragColor = vec4(a + b - a * b, 1.0);
}
