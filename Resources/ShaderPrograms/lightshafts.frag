#version 330
// Light shaft: a faint glow of the beam, fading along its length, into out0.
uniform vec3 view_lightPos;
uniform vec3 lightColour;
uniform vec4 lightFalloff;      // range, constant, linear, quadratic

in vec3 viewPosition;

out vec4 out0;

void main()
{
    float along = clamp(length(viewPosition - view_lightPos) / max(lightFalloff.x, 1e-4), 0.0, 1.0);
    out0 = vec4(lightColour * 0.05 * (1.0 - along), 1.0);
}
