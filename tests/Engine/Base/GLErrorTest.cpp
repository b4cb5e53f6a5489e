#include "Engine/Base/GLError.h"

#include "GLContext.h"

#include <GL/glew.h>

class CheckGLErrorTest : public GLTest {};

// One error is logged per check, tagged with the caller's file (below the
// project, as the build maps __FILE__, with backslashes and without the
// extension) and line.
TEST_F(CheckGLErrorTest, LogsOneErrorPerCallWithTheLineOfTheCall)
{
    EXPECT_EQ(glLocationTag("src/v1.2/File", 7), "src\\v1.2\\File:7"); // a dot in a folder only
    while (glGetError() != GL_NO_ERROR) {
    }
    glEnable(0xFFFF); // GL_INVALID_ENUM
    glBindTexture(GL_TEXTURE_2D, 0);
    testing::internal::CaptureStderr();
    int line = __LINE__ + 1;
    CHECK_GL_ERROR();
    checkGLError("src\\Engine\\Renderer:320");
    std::string expected = "Error at tests\\Engine\\Base\\GLErrorTest:" + std::to_string(line) +
                           ": GL: enum argument out of range.\n";
    EXPECT_EQ(testing::internal::GetCapturedStderr(), expected);
}
