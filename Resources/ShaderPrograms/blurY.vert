#version 330
// Glow blur, vertex stage: the quad in [0, 1] covers the half-size target; uv = inPosition.
in vec2 inPosition;

out vec2 texcoord;

void main()
{
    texcoord = inPosition;
    gl_Position = vec4(inPosition * 2.0 - 1.0, 0.0, 1.0);
}
