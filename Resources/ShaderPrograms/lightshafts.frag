#version 330
// Light shaft, fragment stage: the nested cones are drawn with both faces and added into
// the glow texture, so the beam is brightest where most shells overlap, near its axis.
//   P     = shaft fragment in view space, L = view_lightPos - P, d = |L|
//   a     = dot(P - view_lightPos, view_lightDir) / (0.1 * range): 0 at the lamp, 1 at the
//           shaft's end (the shaft is a tenth of the light's range); view_lightDir is unit length
//   beam  = (1 - a)^2 * att(d), att as in the spot light (lightFalloff = (range, k_c, k_l, k_q))
//   core  = smoothstep(0, 1, (dot(-L / d, view_lightDir) - cos(outer/2)) / (cos(inner/2) - cos(outer/2)))
//   soft  = clamp((z_scene - z_shaft) / 3, 0, 1): the beam fades out over 3 units in front of the
//           surface it hits (z_scene = stored depth * farClipDistance; background counts as far)
//   near  = clamp(z_shaft / 5, 0, 1): no shells flooding the screen right at the camera
//   out0  = lightColour * 0.07 * beam * core * soft * near    (per shell, blended additively)
// The glow texture holds 8 bits per channel: a shell adding less than half a step cannot change
// it, so such fragments are discarded before the stored depth is read.
// tex_albedo belongs to the shared light interface; the beam does not read it.
uniform sampler2D tex_albedo;
uniform sampler2D tex_normal;
uniform float farClipDistance;
uniform vec3 view_lightPos;
uniform vec3 view_lightDir;
uniform vec3 lightColour;
uniform vec4 lightFalloff;
uniform vec2 spotLightParams;

in vec3 viewPosition;

out vec4 out0;

const float shellStrength = 0.07;
const float shaftLengthFraction = 0.1; // shaft length / light range
const float surfaceSoftness = 3.0;     // units in front of a surface over which the beam fades
const float cameraSoftness = 5.0;      // units in front of the camera over which the beam fades
const float halfStep = 0.5 / 255.0;    // of the 8-bit glow texture

void main()
{
    vec3 fromLight = viewPosition - view_lightPos;
    float d = length(fromLight);
    float along = clamp(dot(fromLight, view_lightDir)
                        / max(shaftLengthFraction * lightFalloff.x, 1e-4), 0.0, 1.0);
    float attenuation = 1.0 / max(lightFalloff.y + lightFalloff.z * d + lightFalloff.w * d * d, 1e-4);
    float beam = (1.0 - along) * (1.0 - along) * attenuation;

    float cosAngle = dot(fromLight / max(d, 1e-4), view_lightDir);
    float core = smoothstep(0.0, 1.0, (cosAngle - spotLightParams.y) / max(spotLightParams.x, 1e-4));

    float shaftDepth = -viewPosition.z;
    float nearCamera = clamp(shaftDepth / cameraSoftness, 0.0, 1.0);
    vec3 shell = lightColour * (shellStrength * beam * core * nearCamera);
    if (max(shell.r, max(shell.g, shell.b)) < halfStep)
        discard; // soft is at most 1

    float sceneDepth = texelFetch(tex_normal, ivec2(gl_FragCoord.xy), 0).w * farClipDistance;
    if (sceneDepth <= 0.0)
        sceneDepth = farClipDistance;
    float soft = clamp((sceneDepth - shaftDepth) / surfaceSoftness, 0.0, 1.0);
    out0 = vec4(shell * soft, 1.0);
}
