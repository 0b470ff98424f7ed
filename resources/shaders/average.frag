// The reflection on the floor: where the mirrored scene (destination) has
// something, the mean of it and the picture underneath (source); elsewhere
// nothing is written and the floor stays as it was drawn.
uniform sampler2D destination;
uniform sampler2D source;
varying vec2 texCoord;

void main()
{
    vec4 mirrored = texture2D(destination, texCoord);
    if (mirrored.a == 0.0)
        discard;
    vec4 under = texture2D(source, texCoord);
    gl_FragColor = vec4((mirrored.rgb + under.rgb) * 0.5, 1.0);
}
