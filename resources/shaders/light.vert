// Per-pixel lighting in eye space; the positions of the light and of the
// viewer are given in eye coordinates too.
varying vec3 normal;
varying vec3 position;

void main()
{
    normal = gl_NormalMatrix * gl_Normal;
    position = vec3(gl_ModelViewMatrix * gl_Vertex);
    gl_Position = ftransform();
}
