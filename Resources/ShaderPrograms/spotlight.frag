#version 330
// Spot light volume, fragment stage: adds the light reaching the surface under this pixel.
//   P    = v * (depth * farClipDistance / dot(v, eyeDir)): the volume fragment's view ray v
//          stretched to the linear depth stored in the G-buffer (eyeDir is the view axis)
//   L    = view_lightPos - P,  d = |L|,  l = L / d,  n = stored view-space normal
//   cone = smoothstep(0, 1, (dot(-l, view_lightDir) - cos(outer/2)) / (cos(inner/2) - cos(outer/2)))
//          with spotLightParams = (cos(inner/2) - cos(outer/2), cos(outer/2)): full inside the
//          inner angle, a soft edge out to the outer angle
//   att  = window / (k_c + k_l d + k_q d^2), lightFalloff = (range, k_c, k_l, k_q),
//          window = clamp(1 - (d / range)^4, 0, 1)^2 so the light reaches 0 at the cone's end
//   diff = max(dot(n, l), 0)
//   specular = 0.08 * (s + 8) / 8 * max(dot(n, h), 0)^s * diff, h = normalize(l + normalize(-P)), s = 32
//   out0 = lightColour * att * cone * (albedo * diff + specular)     (blended additively)
uniform sampler2D tex_albedo;
uniform sampler2D tex_normal;
uniform float farClipDistance;
uniform vec3 eyeDir;
uniform vec3 view_lightPos;
uniform vec3 view_lightDir;
uniform vec3 lightColour;
uniform vec4 lightFalloff;
uniform vec2 spotLightParams;

in vec3 viewPosition;

out vec4 out0;

const float shininess = 32.0;
const float specularStrength = 0.08;

void main()
{
    ivec2 pixel = ivec2(gl_FragCoord.xy);
    vec4 normalDepth = texelFetch(tex_normal, pixel, 0);
    if (dot(normalDepth.xyz, normalDepth.xyz) < 0.25)
        discard; // background: nothing was drawn here
    vec3 albedo = texelFetch(tex_albedo, pixel, 0).rgb;
    vec3 n = normalize(normalDepth.xyz);

    float alongAxis = max(dot(viewPosition, eyeDir), 1e-4);
    vec3 surface = viewPosition * (normalDepth.w * farClipDistance / alongAxis);
    vec3 toLight = view_lightPos - surface;
    float d = length(toLight);
    vec3 l = toLight / max(d, 1e-4);

    float cone = smoothstep(0.0, 1.0, (dot(-l, normalize(view_lightDir)) - spotLightParams.y)
                                          / max(spotLightParams.x, 1e-4));
    float fade = clamp(1.0 - pow(d / max(lightFalloff.x, 1e-4), 4.0), 0.0, 1.0);
    float attenuation = fade * fade
                        / max(lightFalloff.y + lightFalloff.z * d + lightFalloff.w * d * d, 1e-4);

    float diffuse = max(dot(n, l), 0.0);
    vec3 h = normalize(l + normalize(-surface));
    float specular = specularStrength * (shininess + 8.0) / 8.0
                     * pow(max(dot(n, h), 0.0), shininess) * diffuse;
    out0 = vec4(lightColour * (attenuation * cone) * (albedo * diffuse + vec3(specular)), 1.0);
}
