#version 330
// Light volume: a cone or sphere vertex into clip space.
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
