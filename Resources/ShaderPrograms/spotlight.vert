#version 330
// Spot light volume (cone), vertex stage: p_view = modelViewMatrix * in_position,
// gl_Position = projectionMatrix * p_view. The fragment stage reads the G-buffer under it.
uniform mat4 modelViewMatrix;
uniform mat4 projectionMatrix;

in vec4 in_position;

out vec3 viewPosition;

void main()
{
    vec4 position = modelViewMatrix * in_position;
    viewPosition = position.xyz;
    gl_Position = projectionMatrix * position;
}
