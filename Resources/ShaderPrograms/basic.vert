#version 330
// Geometry pass, vertex stage: a mesh vertex and its tangent frame into view space.
//   p_view = modelViewMatrix * in_position;  gl_Position = projectionMatrix * p_view
//   (T, B, N)_view = mat3(modelViewMatrix) * (in_tangent, in_binormal, in_normal)
uniform mat4 modelViewMatrix;
uniform mat4 projectionMatrix;

in vec4 in_position;
in vec3 in_normal;
in vec2 in_texcoord;
in vec3 in_tangent;
in vec3 in_binormal;

out vec3 viewPosition;
out vec3 viewNormal;
out vec3 viewTangent;
out vec3 viewBinormal;
out vec2 texcoord;

void main()
{
    vec4 position = modelViewMatrix * in_position;
    mat3 rotation = mat3(modelViewMatrix);
    viewPosition = position.xyz;
    viewNormal = rotation * in_normal;
    viewTangent = rotation * in_tangent;
    viewBinormal = rotation * in_binormal;
    texcoord = in_texcoord;
    gl_Position = projectionMatrix * position;
}
