#include "Engine/Lights/LightProgram.h"

#include "Engine/Base/GLError.h"
#include "Engine/Render/Shader.h"

void LightProgram::lookUp(const Shader* shader)
{
    *this = LightProgram{};
    if (!shader || !shader->ok)
        return;
    program = shader->program;
    positionAttribute = glGetAttribLocation(program, "in_position");
    farClipDistance = glGetUniformLocation(program, "farClipDistance");
    eyeDir = glGetUniformLocation(program, "eyeDir");
    projectionMatrix = glGetUniformLocation(program, "projectionMatrix");
    texAlbedo = glGetUniformLocation(program, "tex_albedo");
    texNormal = glGetUniformLocation(program, "tex_normal");
    CHECK_GL_ERROR();
    viewLightPos = glGetUniformLocation(program, "view_lightPos");
    viewLightDir = glGetUniformLocation(program, "view_lightDir");
    lightColour = glGetUniformLocation(program, "lightColour");
    lightFalloff = glGetUniformLocation(program, "lightFalloff");
    spotLightParams = glGetUniformLocation(program, "spotLightParams");
    modelViewMatrix = glGetUniformLocation(program, "modelViewMatrix");
    CHECK_GL_ERROR();
}

void LightProgram::begin(const LightPassView& pass, GLuint albedoTexture, GLuint normalTexture) const
{
    glUseProgram(program);
    glUniform1f(farClipDistance, pass.farClip);
    glUniform3f(eyeDir, pass.viewEyeDir.x, pass.viewEyeDir.y, pass.viewEyeDir.z);
    glUniformMatrix4fv(projectionMatrix, 1, GL_FALSE, pass.projection.data());
    CHECK_GL_ERROR();
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, albedoTexture);
    glUniform1i(texAlbedo, 0);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, normalTexture);
    glUniform1i(texNormal, 1);
    CHECK_GL_ERROR();
}

void LightProgram::end()
{
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, 0);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glUseProgram(0);
    CHECK_GL_ERROR();
}

void LightProgram::setLight(const Mat4& modelView, Vec3 colour, const LightFalloff& falloff) const
{
    Vec3 position = modelView.transformPoint({0.0f, 0.0f, 0.0f});
    glUniformMatrix4fv(modelViewMatrix, 1, GL_FALSE, modelView.data());
    glUniform3f(viewLightPos, position.x, position.y, position.z);
    glUniform3f(lightColour, colour.x, colour.y, colour.z);
    glUniform4fv(lightFalloff, 1, falloff.data());
    CHECK_GL_ERROR();
}

void LightProgram::setSpot(const Mat4& modelView, const std::array<float, 2>& spotParams) const
{
    // Unit length, so that the programs need not normalise it per fragment.
    Vec3 direction = normalize(modelView.transformDirection({0.0f, 0.0f, -1.0f}));
    glUniform3f(viewLightDir, direction.x, direction.y, direction.z);
    glUniform2fv(spotLightParams, 1, spotParams.data());
    CHECK_GL_ERROR();
}
