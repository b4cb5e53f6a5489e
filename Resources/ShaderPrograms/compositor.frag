#version 330
// Composition, fragment stage: light plus glow, with a soft shoulder instead of clipping.
//   c   = light + glow + 1.5 * blurredGlow   (emissive texels and shafts, plus their bloom)
//   out = c                                              where c <= 0.7
//         0.7 + 0.3 * (1 - exp(-(c - 0.7) / 0.3))        above, per channel:
//   continuous in value and slope at the knee, approaching 1 without a hard edge.
// The light and glow textures match the window pixel for pixel and are fetched directly; the
// half-size blurred glow is filtered. With glow off the glow units hold no texture and read as
// black, leaving the light alone.
uniform sampler2D tex_light;
uniform sampler2D tex_glowBlurred;
uniform sampler2D tex_glow;

in vec2 texcoord;

out vec4 out0;

const float bloomStrength = 1.5;
const float knee = 0.7;

vec3 softShoulder(vec3 c)
{
    vec3 over = max(c - knee, 0.0);
    return min(c, knee) + (1.0 - knee) * (1.0 - exp(-over / (1.0 - knee)));
}

void main()
{
    ivec2 pixel = ivec2(gl_FragCoord.xy);
    vec3 light = texelFetch(tex_light, pixel, 0).rgb;
    vec3 glow = texelFetch(tex_glow, pixel, 0).rgb;
    vec3 bloom = textureLod(tex_glowBlurred, texcoord, 0.0).rgb;
    out0 = vec4(softShoulder(light + glow + bloomStrength * bloom), 1.0);
}
