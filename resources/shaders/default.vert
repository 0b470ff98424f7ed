// The fixed-function transform with texture coordinates and colour passed on,
// for geometry that needs no effect of its own.
varying vec2 texCoord;

void main()
{
    texCoord = gl_MultiTexCoord0.xy;
    gl_FrontColor = gl_Color;
    gl_Position = ftransform();
}
