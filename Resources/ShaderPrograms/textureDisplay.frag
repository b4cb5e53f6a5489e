#version 330
// Debug display, fragment stage: one framebuffer texture as it is stored, out = T(uv).rgb
// (view-space normals show their positive parts: +x red, +y green, +z blue).
uniform sampler2D texture;

in vec2 texcoord;

out vec4 out0;

void main()
{
    out0 = vec4(textureLod(texture, texcoord, 0.0).rgb, 1.0);
}
