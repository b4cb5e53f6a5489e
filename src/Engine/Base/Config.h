#pragma once
// The program's constants: resource locations, file names and start-up
// settings. The game has no configuration file; everything is fixed here.
// Paths are relative to the working directory (the game runs from bin/).
#include <array>
#include <string>

namespace config {

// Window
inline const std::string windowTitle = "RV4 2011 - The Umbrant Kelvarn";
constexpr int width = 1024;           // pixels
constexpr int height = 768;           // pixels
constexpr int depthBits = 24;
constexpr int stencilBits = 8;
constexpr int glVersionMajor = 3;     // requested, and the minimum accepted
constexpr int glVersionMinor = 3;

// Node registry: joins a name and a counter when a name is made unique.
inline const std::string nameSeparator = "_";

// Game-object templates
inline const std::string gameObjectFolder = "../Resources/GameObjects/";
inline const std::string skullFile = "Skull.fbx";
inline const std::string playerDummyFile = "PlayerDummy.fbx";
inline const std::string pistolFile = "Pistol.fbx";
inline const std::string flashlightFile = "Flashlight.fbx";
inline const std::string muzzleFlashFile = "MuzzleFlash.fbx";
inline const std::string ammoFile = "Ammo9mm.fbx";

// Scenes loaded at start-up, with their node-name prefixes
inline const std::string sphereFile = "../Resources/sphere.fbx";
inline const std::string spherePrefix = "Sphere";
inline const std::string sphereNode = "Sphere_sphere";
inline const std::string levelFile = "../Resources/testlevel.fbx";
inline const std::string levelPrefix = "All";
inline const std::string levelRootNode = "All_RootNode";

// Navigation
inline const std::string navMeshFile = "../Resources/Navmesh/all_tiles_navmesh.bin";

// Shader programs, numbered 0 to 7 in this order
inline const std::string shaderFolder = "../Resources/ShaderPrograms/";
inline const std::array<std::string, 8> shaderProgramNames = {
    "basic", "spotlight", "pointlight", "compositor",
    "blurX", "blurY", "textureDisplay", "lightshafts"};

// Textures
inline const std::string textureFolder = "../Resources/Textures/";

// Sound
inline const std::string soundFolder = "../Resources/sound/";
inline const std::string musicFile = "chaos.ogg";       // source 0, toggled by B
inline const std::string gunshotFile = "gunshot.ogg";   // source 1, played on fire
inline const std::string thirdSoundFile = "raa.ogg";    // source 2

// Free camera speeds, units per second
constexpr double freeCameraSpeed = 30.0;
constexpr double freeCameraBoostedSpeed = 90.0;

// Names of the input binding kinds, indexed by InputSource::deviceType - 1
inline const std::array<std::string, 6> inputKindNames = {
    "KeyboardKey", "MouseButton", "MouseAxis", "JoystickButton", "JoystickAxis", "JoystickPov"};

} // namespace config
