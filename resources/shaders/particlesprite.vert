// The particle cloud: each point leaves its start position at StartTime,
// flies along Velocity with a little gravity and fades over its life, then
// starts again. Time and StartTime count the effect's clock (units of 10 ms).
uniform float Time;
uniform float PointSize;
attribute vec3 Velocity;
attribute float StartTime;

const float LIFE = 100.0;
const vec3 GRAVITY = vec3(0.0, -0.00002, 0.0);

void main()
{
    float age = Time - StartTime;
    vec4 position = gl_Vertex;
    float fade = 0.0;
    if (age >= 0.0)
    {
        age = mod(age, LIFE);
        position.xyz += Velocity * age + GRAVITY * age * age;
        fade = 1.0 - age / LIFE;
    }
    vec4 eye = gl_ModelViewMatrix * position;
    gl_Position = gl_ProjectionMatrix * eye;
    gl_PointSize = 3.0 * PointSize / max(length(eye.xyz), 1.0);
    gl_FrontColor = vec4(gl_Color.rgb, fade);
    gl_TexCoord[0] = vec4(0.0);
}
