// The columns of the pixel carpet. The carpet has positions only: its
// picture is laid flat over the face (which spans -160..150 in x and y) and
// turned by the texture matrix, and a column's height (z, up to 80) sets
// its meter colour.
varying vec2 texCoord;
varying float level;

void main()
{
    vec4 planar = vec4(gl_Vertex.x / 320.0 + 0.5, gl_Vertex.y / 320.0 + 0.5, 0.0, 1.0);
    texCoord = (gl_TextureMatrix[0] * planar).xy;
    level = clamp(gl_Vertex.z / 80.0, 0.0, 1.0);
    gl_FrontColor = gl_Color;
    gl_Position = ftransform();
}
