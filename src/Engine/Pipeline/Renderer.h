#pragma once
// src/Engine/Pipeline: the deferred renderer's frame, its targets, pass timers, settings and
// counters. Uses every engine layer below it; the Engine and the GUI read its counters.
//
// The deferred renderer: one frame of the 3D scene.
//
//   geometry pass   render objects -> G-buffer (albedo, normal + depth, glow)
//   light pass      light volumes read the G-buffer -> light texture (additive)
//   shaft pass      spot-light shafts -> glow texture (additive)
//   glow blur       glow -> half size, separable 7-tap Gaussian (X then Y)
//   composition     light + glow + blurred glow -> window
//
// Instead of the composition one intermediate texture can be shown full
// screen (renderSettings.debugTexture). The debug panel's settings are read
// from `renderSettings` each frame; the counts go to `renderStats`
// (RenderSettings.h). Which objects the geometry pass draws is the render
// mode: per-object frustum test, octree, or everything visible.
#include "Engine/Base/Singleton.h"
#include "Engine/Pipeline/RenderTargets.h"
#include "Engine/Render/StaticMesh.h"

#include <GL/glew.h>

#include <vector>

class RenderObject;
class RenderPassTimer;
class Shader;

enum RenderMode { FrustumCullEach = 0, OctreeCulling = 1, RenderingAll = 2, renderModeCount = 3 };

// "Frustum Cull Each", "Octree Culling", "Rendering All"; "" out of range.
const char* renderModeName(int mode);

class Renderer : public Singleton<Renderer> {
public:
    // Called at the start of every rendered frame to bring the camera's
    // matrices up to date (the camera module installs it).
    using CameraUpdate = void (*)();

    // Defaults: "Octree Culling"; takes the registry's render-object list.
    Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;
    ~Renderer();

    // Once, after the shaders are loaded: programs, uniform locations, render
    // targets of screenWidth x screenHeight, screen quads. Returns whether
    // every framebuffer is complete (an incomplete one has printed its
    // messages; rendering still goes on).
    bool initialize();
    // Draws one frame into the default framebuffer.
    void render();
    // The menu's screen while no game runs: the default framebuffer in white.
    void clearForMenu();
    // Next render mode (after the last comes the first); shows its name and
    // clears the checked-cells count. The Engine calls it when P goes down.
    void cycleRenderMode();
    // Releases the framebuffers, renderbuffer and screen quads, then clears
    // the shader programs. A second call does nothing.
    void shutdown();

    void setCameraUpdate(CameraUpdate update) { cameraUpdate = update; }
    // Brackets each pass with GPU timer queries (null: no timing).
    void setPassTimer(RenderPassTimer* timer) { passTimer = timer; }

    int getRenderMode() const { return renderMode; }
    const RenderTargets& getTargets() const { return targets; }
    // The texture a debug selection shows (0 for none or out of range).
    GLuint debugTextureFor(int debugTexture) const;

private:
    struct BlurProgram {
        Shader* shader = nullptr;
        GLint texture = -1; // "texture"
        GLint offsets = -1; // "offsets", float[4]
        GLint weights = -1; // "weights", float[4]
        StaticMesh quad;
    };

    void lookUpBlurProgram(BlurProgram& blur, int programNumber);
    void buildScreenQuads();
    static void buildQuad(StaticMesh& quad, const Shader* shader, const char* attribute, const float* vertices);

    void geometryPass();
    int drawRenderObjects(); // returns the number drawn
    void lightPass();
    void shaftPass();
    void blurGlow();
    void blurPass(const BlurProgram& blur, GLuint targetFramebuffer, GLuint source, float targetSize);
    void compose();
    void displayDebugTexture(GLuint texture);
    void beginTiming(int pass);
    void endTiming();

    Shader* basic = nullptr;
    Shader* compositor = nullptr;
    Shader* textureDisplay = nullptr;
    GLint compositorLight = -1;       // "tex_light"
    GLint compositorGlow = -1;        // "tex_glow"
    GLint compositorGlowBlurred = -1; // "tex_glowBlurred"
    BlurProgram blurX;
    BlurProgram blurY;
    RenderTargets targets;
    StaticMesh compositorQuad;
    StaticMesh displayQuad;
    const std::vector<RenderObject*>* renderObjects = nullptr; // the registry's list
    int renderMode = OctreeCulling;
    CameraUpdate cameraUpdate = nullptr;
    RenderPassTimer* passTimer = nullptr;
    bool initialized = false;
};
