#version 330
// Final image: the light texture plus the sharp and the blurred glow.
uniform sampler2D tex_light;
uniform sampler2D tex_glowBlurred;
uniform sampler2D tex_glow;

in vec2 texcoord;

out vec4 out0;

void main()
{
    vec3 light = texture(tex_light, texcoord).rgb;
    vec3 glow = texture(tex_glow, texcoord).rgb + texture(tex_glowBlurred, texcoord).rgb;
    out0 = vec4(light + glow, 1.0);
}
