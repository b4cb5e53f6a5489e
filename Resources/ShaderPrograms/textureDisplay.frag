#version 330
// Shows one framebuffer texture full screen.
uniform sampler2D texture;

in vec2 texcoord;

out vec4 out0;

void main()
{
    out0 = vec4(textureLod(texture, texcoord, 0.0).rgb, 1.0);
}
