// Feedback mix: BlurFactor 0 shows only the new frame, 1 only the history,
// which then freezes.
uniform sampler2D Texture0;
uniform sampler2D Texture1;
uniform float BlurFactor;
varying vec2 texCoord;

void main()
{
    vec4 current = texture2D(Texture0, texCoord);
    vec4 previous = texture2D(Texture1, texCoord);
    gl_FragColor = mix(current, previous, clamp(BlurFactor, 0.0, 1.0));
}
