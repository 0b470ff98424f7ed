// One point light with the material of the object being drawn: a little
// ambient, Lambert diffuse and a Blinn highlight.
uniform vec3 LightPosition;
uniform vec3 EyePosition;
varying vec3 normal;
varying vec3 position;

void main()
{
    vec3 n = normalize(normal);
    vec3 l = normalize(LightPosition - position);
    vec3 v = normalize(EyePosition - position);
    // A face seen from behind (the mirrored pass, an open mesh) is lit as if
    // it faced the viewer.
    if (dot(n, v) < 0.0)
        n = -n;
    float diffuse = max(dot(n, l), 0.0);
    float highlight = 0.0;
    if (diffuse > 0.0)
        highlight = pow(max(dot(n, normalize(l + v)), 0.0), max(gl_FrontMaterial.shininess, 1.0));
    vec3 colour = gl_FrontMaterial.ambient.rgb * 0.3 + gl_FrontMaterial.diffuse.rgb * diffuse * 0.8 +
                  gl_FrontMaterial.specular.rgb * highlight;
    gl_FragColor = vec4(colour, 1.0);
}
