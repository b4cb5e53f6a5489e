#include "Gui/CeguiSetupManager.h"

#include "Engine/Base/GLError.h"
#include "Input/InputSystem.h"

#include <GL/glew.h>

#include <CEGUI/CEGUI.h>
#include <CEGUI/RendererModules/OpenGL/GLRenderer.h>

#include <iostream>

namespace {
}

CeguiSetupManager::~CeguiSetupManager()
{
    inputSystem.setEventListener(nullptr);
    guiScreens.clear();
    if (renderer)
        CEGUI::OpenGLRenderer::destroySystem();
}

bool CeguiSetupManager::initialize(int width, int height, const std::string& dataFolder)
{
    guiInput.reset();
    inputSystem.setEventListener(&guiInput);
    std::string loading = "the OpenGL renderer";
    try {
        if (!renderer) {
            // Failures are reported once, by the line below, not by the library too.
            CEGUI::Exception::setStdErrEnabled(false);
            renderer = &CEGUI::OpenGLRenderer::bootstrapSystem(CEGUI::OpenGLRenderer::TTT_AUTO);
            // The library takes its size from the viewport; the window's size is what counts.
            CEGUI::System::getSingleton().notifyDisplaySizeChanged(
                CEGUI::Sizef(static_cast<float>(width), static_cast<float>(height)));
            // The scene leaves culling and depth testing on; the GUI must not inherit them.
            enableExtraRendererStates();
            setUpResourceGroups(dataFolder);
        }
        if (!load(width, height, loading)) {
            std::cerr << "GUI set-up failed: " << loading << std::endl;
            return false;
        }
    } catch (const CEGUI::Exception& error) {
        std::cerr << "GUI set-up failed loading " << loading << ": " << error.getMessage() << std::endl;
        return false;
    } catch (const std::exception& error) {
        std::cerr << "GUI set-up failed loading " << loading << ": " << error.what() << std::endl;
        return false;
    }
    return true;
}

bool CeguiSetupManager::load(int width, int height, std::string& loading)
{
    loadLook(width, height, loading);
    CEGUI::GUIContext& guiContext = CEGUI::System::getSingleton().getDefaultGUIContext();
    if (!guiScreens.loadScreens(guiContext, loading))
        return false;
    guiContext.getMouseCursor().setDefaultImage(guiMouseCursor);
    return true;
}

CEGUI::GUIContext* CeguiSetupManager::context() const
{
    return renderer ? &CEGUI::System::getSingleton().getDefaultGUIContext() : nullptr;
}

void CeguiSetupManager::update(float dt)
{
    if (!renderer)
        return;
    CEGUI::GUIContext& guiContext = CEGUI::System::getSingleton().getDefaultGUIContext();
    guiInput.deliver(guiContext);
    CEGUI::System::getSingleton().injectTimePulse(dt);
    guiContext.injectTimePulse(dt);
}

void CeguiSetupManager::render()
{
    if (!renderer)
        return;
    // The GUI renderer draws with the fixed pipeline from client-side arrays:
    // no program, vertex array or buffer of the scene may stay bound meanwhile.
    GLint program = 0, vertexArray = 0, arrayBuffer = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &vertexArray);
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &arrayBuffer);
    glUseProgram(0);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    CHECK_GL_ERROR();

    CEGUI::System::getSingleton().renderAllGUIContexts();

    glBindVertexArray(static_cast<GLuint>(vertexArray));
    glBindBuffer(GL_ARRAY_BUFFER, static_cast<GLuint>(arrayBuffer));
    glUseProgram(static_cast<GLuint>(program));
    CHECK_GL_ERROR();
}

void CeguiSetupManager::enableExtraRendererStates()
{
    if (renderer)
        renderer->enableExtraStateSettings(true);
}

void CeguiSetupManager::cursorPosition(float& x, float& y) const
{
    x = y = 0.0f;
    if (CEGUI::GUIContext* gui = context()) {
        const CEGUI::Vector2f position = gui->getMouseCursor().getPosition();
        x = position.d_x;
        y = position.d_y;
    }
}
