#version 330
// Screen quad in [0, 1] for the glow blur.
in vec2 inPosition;

out vec2 texcoord;

void main()
{
    texcoord = inPosition;
    gl_Position = vec4(inPosition * 2.0 - 1.0, 0.0, 1.0);
}
