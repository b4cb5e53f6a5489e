#version 330
// Separable Gaussian glow blur along X: the centre once, each offset on both sides.
uniform sampler2D texture;
uniform float offsets[4];
uniform float weights[4];

in vec2 texcoord;

out vec4 out0;

void main()
{
    vec3 sum = textureLod(texture, texcoord, 1.0).rgb * weights[0];
    for (int i = 1; i < 4; ++i) {
        vec2 offset = vec2(offsets[i] , 0.0);
        sum += textureLod(texture, texcoord + offset, 1.0).rgb * weights[i];
        sum += textureLod(texture, texcoord - offset, 1.0).rgb * weights[i];
    }
    out0 = vec4(sum, 1.0);
}
