// The sea heightfield: eye-space position and the plane's up direction go
// to the fragment stage, which perturbs it by the noise picture.
varying vec2 texCoord;
varying vec3 eyePosition;
varying vec3 eyeUp;

void main()
{
    texCoord = gl_MultiTexCoord0.xy;
    eyePosition = (gl_ModelViewMatrix * gl_Vertex).xyz;
    eyeUp = gl_NormalMatrix * vec3(0.0, 1.0, 0.0);
    gl_Position = ftransform();
}
