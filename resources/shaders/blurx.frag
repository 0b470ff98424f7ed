// Horizontal half of a separable nine-tap Gaussian; viewportStep is the
// distance between two texels across.
uniform sampler2D Texture;
uniform float viewportStep;
varying vec2 texCoord;

void main()
{
    vec2 d = vec2(viewportStep, 0.0);
    vec4 sum = texture2D(Texture, texCoord) * 0.2270270;
    sum += (texture2D(Texture, texCoord + d) + texture2D(Texture, texCoord - d)) * 0.1945946;
    sum += (texture2D(Texture, texCoord + 2.0 * d) + texture2D(Texture, texCoord - 2.0 * d)) * 0.1216216;
    sum += (texture2D(Texture, texCoord + 3.0 * d) + texture2D(Texture, texCoord - 3.0 * d)) * 0.0540541;
    sum += (texture2D(Texture, texCoord + 4.0 * d) + texture2D(Texture, texCoord - 4.0 * d)) * 0.0162162;
    gl_FragColor = sum;
}
