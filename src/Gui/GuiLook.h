#pragma once
// The GUI's data: resource groups pointing into the GUI data folder, and the
// look (schemes, imagesets, font) loaded from them.
#include <array>
#include <string>

// Where the game finds its GUI data, relative to the working directory (bin/).
inline const std::string guiDataFolder = "../Resources/CEGUI datafiles";

struct ResourceGroupFolder {
    const char* group;
    const char* folder; // below the GUI data folder
};
inline constexpr std::array<ResourceGroupFolder, 8> guiResourceGroups = {{
    {"schemes", "schemes/"},
    {"imagesets", "imagesets/"},
    {"fonts", "fonts/"},
    {"layouts", "layouts/"},
    {"looknfeels", "looknfeel/"},
    {"lua_scripts", "lua_scripts/"},
    {"schemas", "xml_schemas/"},
    {"animations", "animations/"},
}};

inline constexpr std::array<const char*, 4> guiSchemes = {
    "TaharezLook.scheme", "VanillaSkin.scheme", "WindowsLook.scheme", "Umbrant.scheme"};
inline constexpr std::array<const char*, 4> guiImagesets = {"WindowsLook", "TaharezLook", "Vanilla-Images", "Umbrant"};
inline constexpr char guiFont[] = "DejaVuSans-10.font";
inline constexpr char guiMouseCursor[] = "TaharezLook/MouseArrow";

struct NativeResolution {
    float width, height; // pixels
};
// Native resolution that keeps an image's pixel size vertically and follows
// the window's aspect horizontally: (h × width / height, h).
NativeResolution nativeResolutionFor(float nativeHeight, int windowWidth, int windowHeight);

// Points the resource groups at `dataFolder` and sets the default groups.
void setUpResourceGroups(const std::string& dataFolder);

// Loads the schemes, fixes the imagesets' scaling and loads the font. The
// library throws when a file is missing; `loading` names the file being
// loaded, for the caller's message.
void loadLook(int windowWidth, int windowHeight, std::string& loading);
