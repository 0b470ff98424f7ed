// The picture tinted by color (alpha included).
uniform sampler2D texture;
uniform vec4 color;
varying vec2 texCoord;

void main()
{
    gl_FragColor = texture2D(texture, texCoord) * color;
}
