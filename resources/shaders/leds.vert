// An LED of the wall: a cube whose every face is mapped 0..1, so that the
// fragment shader can put a round lens in the middle of each face.
varying vec3 normal;
varying vec2 face;
varying float depth;

void main()
{
    vec4 eye = gl_ModelViewMatrix * gl_Vertex;
    normal = normalize(gl_NormalMatrix * gl_Normal);
    face = gl_MultiTexCoord0.st;
    depth = -eye.z;
    gl_FrontColor = gl_Color;
    gl_Position = gl_ProjectionMatrix * eye;
}
