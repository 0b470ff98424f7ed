// Mirror tiles: each flat tile catches the light as a hard glint and
// reflects a bit of the coloured room around it, picked by the direction it
// mirrors the view into.
uniform vec3 LightPosition;
uniform vec3 EyePosition;
varying vec3 normal;
varying vec3 position;

void main()
{
    vec3 n = normalize(normal);
    vec3 l = normalize(LightPosition - position);
    vec3 v = normalize(EyePosition - position);
    float diffuse = max(dot(n, l), 0.0);
    float glint = pow(max(dot(reflect(-l, n), v), 0.0), 48.0);
    vec3 mirrored = reflect(-v, n);
    vec3 room = 0.5 + 0.5 * mirrored;
    vec3 colour = gl_FrontMaterial.ambient.rgb * 0.2 + gl_FrontMaterial.diffuse.rgb * diffuse * 0.5 +
                  room * 0.25 + vec3(glint);
    gl_FragColor = vec4(colour, 1.0);
}
