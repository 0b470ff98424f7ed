// Mixes the sharp sea and its blurred copy by depth. The sea pass stores its
// depth in alpha (0 at the viewer, 1 at the far edge); mapped to -1..1 it is
// compared with focus, and range is the distance over which the picture
// goes from sharp to fully blurred.
uniform sampler2D sharp;
uniform sampler2D blured;
uniform float range;
uniform float focus;
varying vec2 texCoord;

void main()
{
    vec4 s = texture2D(sharp, texCoord);
    vec4 b = texture2D(blured, texCoord);
    float depth = s.a * 2.0 - 1.0;
    float amount = clamp(abs(depth - focus) / range, 0.0, 1.0);
    gl_FragColor = vec4(mix(s.rgb, b.rgb, amount), 1.0);
}
