#version 330
// Point light volume, fragment stage: adds the light reaching the surface under this pixel.
//   P    = v * (depth * farClipDistance / dot(v, eyeDir)): the volume fragment's view ray v
//          stretched to the linear depth stored in the G-buffer (eyeDir is the view axis)
//   L    = view_lightPos - P,  d = |L|,  l = L / d,  n = stored view-space normal (unit length)
//   att  = window / (k_c + k_l d + k_q d^2), lightFalloff = (radius, k_c, k_l, k_q),
//          window = clamp(1 - (d / radius)^4, 0, 1)^2 so the light reaches 0 at the sphere
//   diff = max(dot(n, l), 0)
//   specular = 0.08 * (s + 8) / 8 * max(dot(n, h), 0)^s * diff, h = normalize(l + normalize(-P)), s = 32
//   out0 = lightColour * att * (albedo * diff + specular)     (blended additively)
// The light texture holds 8 bits per channel, so a contribution below half a step cannot change
// it: surfaces facing away (diff = 0) and ones the light reaches with less than that are
// discarded before the albedo is read. view_lightDir and spotLightParams belong to the shared
// light interface; a point light shines in every direction and does not read them.
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

const float specularScale = 0.08 * (32.0 + 8.0) / 8.0; // strength * (s + 8) / 8 with s = 32
const float largestReflectance = 1.0 + specularScale;  // albedo * diff + specular at most
const float halfStep = 0.5 / 255.0;                     // of the 8-bit light texture

float power32(float x)
{
    float x2 = x * x;
    float x4 = x2 * x2;
    float x8 = x4 * x4;
    float x16 = x8 * x8;
    return x16 * x16;
}

void main()
{
    ivec2 pixel = ivec2(gl_FragCoord.xy);
    vec4 normalDepth = texelFetch(tex_normal, pixel, 0);
    vec3 n = normalDepth.xyz;
    if (dot(n, n) < 0.25)
        discard; // background: nothing was drawn here

    float alongAxis = max(dot(viewPosition, eyeDir), 1e-4);
    vec3 surface = viewPosition * (normalDepth.w * farClipDistance / alongAxis);
    vec3 toLight = view_lightPos - surface;
    float facing = dot(n, toLight);
    if (facing <= 0.0)
        discard; // faces away: no diffuse and no specular light
    float d = max(length(toLight), 1e-4);

    float r = d / max(lightFalloff.x, 1e-4);
    float r2 = r * r;
    float fade = clamp(1.0 - r2 * r2, 0.0, 1.0);
    float attenuation = fade * fade
                        / max(lightFalloff.y + lightFalloff.z * d + lightFalloff.w * d * d, 1e-4);
    vec3 reach = lightColour * attenuation;
    if (max(reach.r, max(reach.g, reach.b)) * largestReflectance < halfStep)
        discard;

    vec3 l = toLight / d;
    float diffuse = facing / d;
    vec3 h = normalize(l - normalize(surface));
    float specular = specularScale * power32(max(dot(n, h), 0.0)) * diffuse;
    vec3 albedo = texelFetch(tex_albedo, pixel, 0).rgb;
    out0 = vec4(reach * (albedo * diffuse + vec3(specular)), 1.0);
}
