#include "Engine/Base/GLError.h"

#include "GLContext.h"

#include <GL/glew.h>

TEST(GLLocationTag, UsesBackslashesAndDropsTheExtension)
{
    EXPECT_EQ(glLocationTag("src/Engine/Engine.cpp", 149), "src\\Engine\\Engine:149");
    EXPECT_EQ(glLocationTag("src/Engine/Shader.h", 7), "src\\Engine\\Shader:7");
    EXPECT_EQ(glLocationTag("Renderer", 3), "Renderer:3");
    EXPECT_EQ(glLocationTag("src/v1.2/File", 1), "src\\v1.2\\File:1"); // dot in a folder only
}

TEST(GLLocationTag, MacroNamesTheCallersSourceFile)
{
    // The build maps __FILE__ to the path below the project.
    EXPECT_EQ(glLocationTag(__FILE__, 1), "tests\\Engine\\Base\\GLErrorTest:1");
}

TEST(GLErrorMessage, EveryCodeHasItsText)
{
    EXPECT_STREQ(glErrorMessage(GL_INVALID_ENUM), "GL: enum argument out of range.");
    EXPECT_STREQ(glErrorMessage(GL_INVALID_VALUE), "GL: Numeric argument out of range.");
    EXPECT_STREQ(glErrorMessage(GL_INVALID_OPERATION), "GL: Operation illegal in current state.");
    EXPECT_STREQ(glErrorMessage(GL_OUT_OF_MEMORY), "GL: Not enough memory left to execute command.");
    EXPECT_STREQ(glErrorMessage(GL_INVALID_FRAMEBUFFER_OPERATION),
                 "GL: Framebuffer object is not complete.");
    EXPECT_STREQ(glErrorMessage(GL_STACK_OVERFLOW), "GL: Unknown error.");
    EXPECT_STREQ(glErrorMessage(GL_STACK_UNDERFLOW), "GL: Unknown error.");
}

class CheckGLErrorTest : public GLTest {};

TEST_F(CheckGLErrorTest, LogsOneErrorPerCallWithItsLabel)
{
    while (glGetError() != GL_NO_ERROR) {
    }
    glEnable(0xFFFF);               // GL_INVALID_ENUM
    glBindTexture(GL_TEXTURE_2D, 0);
    testing::internal::CaptureStderr();
    checkGLError("src\\Engine\\Renderer:319");
    checkGLError("src\\Engine\\Renderer:320");
    std::string logged = testing::internal::GetCapturedStderr();
    EXPECT_EQ(logged, "Error at src\\Engine\\Renderer:319: GL: enum argument out of range.\n");
}

TEST_F(CheckGLErrorTest, MacroTagsTheLineOfTheCall)
{
    glEnable(0xFFFF);
    testing::internal::CaptureStderr();
    int line = __LINE__ + 1;
    CHECK_GL_ERROR();
    std::string expected = "Error at tests\\Engine\\Base\\GLErrorTest:" + std::to_string(line) +
                           ": GL: enum argument out of range.\n";
    EXPECT_EQ(testing::internal::GetCapturedStderr(), expected);
}
