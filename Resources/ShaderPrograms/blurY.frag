#version 330
// Vertical pass of the separable 7-tap Gaussian glow blur:
//   out = w0 * T(uv) + sum_{i=1..3} w_i * (T(uv + (0, o_i)) + T(uv - (0, o_i)))
// The offsets o_i lie between two texels, so each linear read blends a pair of them; the
// weights sum to 1. The source is the half-size result of the horizontal pass, read at its
// only level (the sampler name hides the plain texture() call).
uniform sampler2D texture;
uniform float offsets[4];
uniform float weights[4];

in vec2 texcoord;

out vec4 out0;

const float baseLevel = 0.0;

void main()
{
    vec3 sum = textureLod(texture, texcoord, baseLevel).rgb * weights[0];
    for (int i = 1; i < 4; ++i) {
        vec2 offset = vec2(0.0, offsets[i]);
        sum += textureLod(texture, texcoord + offset, baseLevel).rgb * weights[i];
        sum += textureLod(texture, texcoord - offset, baseLevel).rgb * weights[i];
    }
    out0 = vec4(sum, 1.0);
}
