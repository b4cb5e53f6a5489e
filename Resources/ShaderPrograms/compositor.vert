#version 330
// Composition, vertex stage: the full-screen quad in [-1, 1]; uv = in_position * 0.5 + 0.5.
in vec2 in_position;

out vec2 texcoord;

void main()
{
    texcoord = in_position * 0.5 + 0.5;
    gl_Position = vec4(in_position, 0.0, 1.0);
}
