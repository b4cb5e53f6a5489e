#version 330
// Geometry pass: albedo to out0, view normal and linear depth to out1, glow to out2.
uniform sampler2D tex_color;
uniform sampler2D tex_normal;
uniform float farClipDistance;

in vec3 viewPosition;
in vec3 viewNormal;
in vec3 viewTangent;
in vec3 viewBinormal;
in vec2 texcoord;

out vec4 out0;
out vec4 out1;
out vec4 out2;

void main()
{
    vec4 albedo = texture(tex_color, texcoord);
    vec3 bump = texture(tex_normal, texcoord).xyz * 2.0 - 1.0;
    vec3 normal = normalize(mat3(normalize(viewTangent), normalize(viewBinormal),
                                 normalize(viewNormal)) * bump);
    out0 = vec4(albedo.rgb, 1.0);
    out1 = vec4(normal, -viewPosition.z / farClipDistance);
    out2 = vec4(albedo.rgb * albedo.a, 1.0);
}
