#pragma once
// What the debug panel changes in the renderer, and the counts the renderer
// and the octree publish about the last frame. The GUI writes the settings
// and the renderer reads them each frame; the renderer and the octree write
// the stats and the Engine hands them to the GUI before the GUI is drawn.

// Intermediate texture shown full screen instead of the composed picture.
enum DebugTexture : int {
    DebugTextureNone = 0,
    DebugTextureDiffuse = 1,
    DebugTextureNormals = 2,
    DebugTextureLight = 3,
    DebugTextureGlow = 4,
};

struct RenderSettings {
    int debugTexture = DebugTextureNone;
    bool glowEnabled = true;
    bool wireframe = false;
};

struct RenderStats {
    const char* renderModeName = "Octree Culling"; // the culling mode in use
    int renderedObjects = 0;    // objects drawn by the last geometry pass
    int checkedOctreeNodes = 0; // octree cells tested in the last frame
};

inline RenderSettings renderSettings;
inline RenderStats renderStats;
