#version 330
// Debug display, vertex stage: the quad in [0, 1] stretched over the window; uv = in_position.
in vec2 in_position;

out vec2 texcoord;

void main()
{
    texcoord = in_position;
    gl_Position = vec4(in_position * 2.0 - 1.0, 0.0, 1.0);
}
