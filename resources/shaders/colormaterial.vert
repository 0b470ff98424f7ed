// Unlit geometry in its material colour (which follows the current colour
// while colour material is on).
varying vec2 texCoord;

void main()
{
    texCoord = gl_MultiTexCoord0.xy;
    gl_Position = ftransform();
}
