// A light spot: the material colour, brightest in the middle of the disc and
// fading to nothing at its rim.
varying vec2 texCoord;

void main()
{
    float fromCentre = length(texCoord - vec2(0.5)) * 2.0;
    float falloff = 1.0 - smoothstep(0.4, 1.0, fromCentre);
    gl_FragColor = vec4(gl_FrontMaterial.ambient.rgb * falloff, 1.0);
}
