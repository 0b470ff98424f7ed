// The mirror ball, lit per pixel in eye space.
varying vec3 normal;
varying vec3 position;

void main()
{
    normal = gl_NormalMatrix * gl_Normal;
    position = vec3(gl_ModelViewMatrix * gl_Vertex);
    gl_Position = ftransform();
}
