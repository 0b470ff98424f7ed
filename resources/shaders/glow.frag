// The sharp picture with its blurred copy added on top: opacity 0 leaves the
// source untouched, 1 adds the full halo.
uniform sampler2D source;
uniform sampler2D destination;
uniform float opacity;
varying vec2 texCoord;

void main()
{
    vec4 sharp = texture2D(source, texCoord);
    vec4 halo = texture2D(destination, texCoord);
    gl_FragColor = vec4(sharp.rgb + halo.rgb * opacity, 1.0);
}
