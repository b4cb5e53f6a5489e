#include "Engine/Pipeline/RenderPassTimer.h"

#include "Engine/Base/GLError.h"

namespace {
constexpr double nanosecondsPerMillisecond = 1.0e6;
constexpr const char* passNames[renderPassCount] = {"geometry", "lights", "shafts", "blur", "composition"};
} // namespace

const char* renderPassName(int pass) { return pass >= 0 && pass < renderPassCount ? passNames[pass] : ""; }

RenderPassTimer::~RenderPassTimer()
{
    if (queries[0] != 0)
        glDeleteQueries(renderPassCount, queries.data());
}

void RenderPassTimer::begin(RenderPass pass)
{
    if (queries[0] == 0)
        glGenQueries(renderPassCount, queries.data());
    glBeginQuery(GL_TIME_ELAPSED, queries[pass]);
    ran[pass] = true;
    CHECK_GL_ERROR();
}

void RenderPassTimer::end()
{
    glEndQuery(GL_TIME_ELAPSED);
    CHECK_GL_ERROR();
}

std::array<double, renderPassCount> RenderPassTimer::collect()
{
    std::array<double, renderPassCount> milliseconds{};
    for (int pass = 0; pass < renderPassCount; ++pass) {
        if (!ran[pass])
            continue;
        GLuint64 elapsed = 0;
        glGetQueryObjectui64v(queries[pass], GL_QUERY_RESULT, &elapsed);
        milliseconds[pass] = static_cast<double>(elapsed) / nanosecondsPerMillisecond;
        ran[pass] = false;
    }
    CHECK_GL_ERROR();
    return milliseconds;
}
