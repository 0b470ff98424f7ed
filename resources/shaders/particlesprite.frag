// Point sprite: the sprite picture over the point (texture coordinates are
// replaced by the sprite's own), tinted by the particle's colour and fade.
uniform sampler2D particle;

void main()
{
    gl_FragColor = texture2D(particle, gl_TexCoord[0].st) * gl_Color;
}
