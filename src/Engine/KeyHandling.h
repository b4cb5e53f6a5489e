#pragma once
// The game's keys and mouse over one frame's input snapshot: the camera
// switch (1/0), Shift+F between the free and the player camera, the free
// camera's flight, the follow camera's steering, and the player's W/A/S/D
// and fire. Reads and sets the globals `cameraState` and `playerMode`.
struct KeyboardSlot;
struct MouseSlot;
class CameraManager;
class GameSession;

class KeyHandling {
public:
    // `windowWidth` in pixels scales the right-button turn of the follow camera.
    KeyHandling(const KeyboardSlot& keys, const MouseSlot& mouse, CameraManager& cameras,
                GameSession& session, int windowWidth);

    // One frame of `dt` seconds; true when the player fired in it.
    bool update(double dt);

private:
    void handleCameraMode(double dt);
    void handleCameraSwitch();
    bool movePlayer();
    void stopPlayer();
    void moveFreeCamera(double dt);
    void movePlayerCamera(float dt);

    const KeyboardSlot& keys;
    const MouseSlot& mouse;
    CameraManager& cameras;
    GameSession& session;
    int windowWidth;
};
