#version 330
// Screen quad in [0, 1] for the debug display.
in vec2 in_position;

out vec2 texcoord;

void main()
{
    texcoord = in_position;
    gl_Position = vec4(in_position * 2.0 - 1.0, 0.0, 1.0);
}
