#version 330
// Horizontal pass of the separable 7-tap Gaussian glow blur:
//   out = w0 * T(uv) + sum_{i=1..3} w_i * (T(uv + (o_i, 0)) + T(uv - (o_i, 0)))
// The offsets o_i lie between two texels, so each linear read blends a pair of them; the
// weights sum to 1. The source is the full-size glow texture read at mipmap level 1, which
// matches the half-size target texel for texel.
uniform sampler2D texture;
uniform float offsets[4];
uniform float weights[4];

in vec2 texcoord;

out vec4 out0;

const float halfSizeLevel = 1.0;

void main()
{
    vec3 sum = textureLod(texture, texcoord, halfSizeLevel).rgb * weights[0];
    for (int i = 1; i < 4; ++i) {
        vec2 offset = vec2(offsets[i], 0.0);
        sum += textureLod(texture, texcoord + offset, halfSizeLevel).rgb * weights[i];
        sum += textureLod(texture, texcoord - offset, halfSizeLevel).rgb * weights[i];
    }
    out0 = vec4(sum, 1.0);
}
