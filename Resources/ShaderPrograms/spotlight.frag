#version 330
// Spot light: adds the light reaching the G-buffer surface at this pixel to out0.
uniform sampler2D tex_albedo;
uniform sampler2D tex_normal;
uniform float farClipDistance;
uniform vec3 eyeDir;
uniform vec3 view_lightPos;
uniform vec3 view_lightDir;
uniform vec3 lightColour;
uniform vec4 lightFalloff;      // range, constant, linear, quadratic
uniform vec2 spotLightParams;   // cos(inner/2) - cos(outer/2), cos(outer/2)

in vec3 viewPosition;

out vec4 out0;

void main()
{
    ivec2 pixel = ivec2(gl_FragCoord.xy);
    vec4 normalDepth = texelFetch(tex_normal, pixel, 0);
    vec3 albedo = texelFetch(tex_albedo, pixel, 0).rgb;
    vec3 ray = viewPosition * (farClipDistance / max(-viewPosition.z, 1e-4));
    vec3 surface = ray * normalDepth.w;
    vec3 toLight = view_lightPos - surface;
    float distance = length(toLight);
    vec3 direction = toLight / max(distance, 1e-4);
    float cone = clamp((dot(-direction, normalize(view_lightDir)) - spotLightParams.y)
                       / max(spotLightParams.x, 1e-4), 0.0, 1.0);
    float attenuation = 1.0 / (lightFalloff.y + lightFalloff.z * distance
                               + lightFalloff.w * distance * distance + 1e-4);
    float range = step(distance, lightFalloff.x);
    float diffuse = max(dot(normalize(normalDepth.xyz), direction), 0.0);
    out0 = vec4(albedo * lightColour * diffuse * cone * attenuation * range, 1.0);
}
