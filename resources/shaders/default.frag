varying vec2 texCoord;

void main()
{
    gl_FragColor = gl_Color;
}
