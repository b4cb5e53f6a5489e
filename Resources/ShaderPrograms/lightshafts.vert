#version 330
// Light shaft (nine nested thin cones), vertex stage: p_view = modelViewMatrix * in_position,
// gl_Position = projectionMatrix * p_view. The fragment stage adds a faint beam to the glow.
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
