#pragma once
// Process-wide game flags and the window size, shared by the engine core,
// the camera, the renderer, the GUI and the game session.

extern bool gameRunning;   // a game is in progress; gates game updates and 3D rendering
extern bool playerMode;    // true: follow camera and W/A/S/D move the player; false: free camera
extern bool musicOn;       // the background-music source counts as playing
extern int cameraState;    // 1: free/player camera handling; 0: the scene's first FBX camera
extern float screenWidth;  // window size in pixels, set by the Engine constructor
extern float screenHeight;
