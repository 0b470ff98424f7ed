// Full-screen noise: the quad's texture coordinate is the noise plane.
varying vec2 texCoord;

void main()
{
    texCoord = gl_MultiTexCoord0.xy;
    gl_Position = ftransform();
}
