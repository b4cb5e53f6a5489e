#version 330
// Geometry pass, fragment stage: fills the G-buffer.
//   out0 (albedo) = diffuse texel
//   out1 (RGBA32F) = (n, depth) with
//       n     = normalize(mat3(T, B, N) * (2 * normalTexel.rgb - 1)), view space;
//               a missing normal map (texel blue < 0.25, never true for a tangent-space
//               map) falls back to the interpolated N
//       depth = -z_view / farClipDistance, the linear depth along the view axis in [0, 1]
//   out2 (glow) = albedo * smoothstep(0.8, 1.0, max(r, g, b)): bright and saturated
//                 emissive texels glow, ordinary surfaces do not
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

const float missingNormalMapBlue = 0.25;
const float glowStart = 0.8; // brightest channel where glow begins
const float glowFull = 1.0;  // brightest channel of full glow

vec3 safeNormalize(vec3 v, vec3 fallback)
{
    float len = length(v);
    return len > 1e-6 ? v / len : fallback;
}

void main()
{
    vec4 albedo = texture(tex_color, texcoord);
    vec3 normalTexel = texture(tex_normal, texcoord).rgb;
    vec3 n = safeNormalize(viewNormal, vec3(0.0, 0.0, 1.0));
    if (normalTexel.b >= missingNormalMapBlue) {
        mat3 tangentFrame = mat3(safeNormalize(viewTangent, vec3(0.0)),
                                 safeNormalize(viewBinormal, vec3(0.0)), n);
        n = safeNormalize(tangentFrame * (normalTexel * 2.0 - 1.0), n);
    }
    float brightest = max(albedo.r, max(albedo.g, albedo.b));
    out0 = albedo;
    out1 = vec4(n, -viewPosition.z / farClipDistance);
    out2 = vec4(albedo.rgb * smoothstep(glowStart, glowFull, brightest), 1.0);
}
