#pragma once
// The camera module: follows the FBX scene loaded last, its camera nodes and
// an animation clock, resolves the current camera each frame (a camera of the
// file, or the "Producer Perspective" camera that the free and player cameras
// steer) and publishes its view and projection into `currentCamera`.
// The list and publishing live in CameraManager.cpp, the free camera in
// FreeCamera.cpp, the follow camera in FollowCamera.cpp. The caller hands in
// the mouse and keys the steering needs; the module reads no input itself.
#include "Engine/Base/Singleton.h"
#include "Engine/Scene/Math.h"
#include "Fbx/Animation.h"

#include <memory>
#include <string>
#include <vector>

namespace fbx {
class AnimLayer;
class AnimStack;
class Camera;
class Evaluator;
class Node;
class Scene;
} // namespace fbx

class CameraManager : public Singleton<CameraManager> {
public:
    // Interaction status of the mouse steering.
    enum Status { StatusNone = 0, StatusOrbit = 1, StatusZoom = 2, StatusPan = 3 };

    // Player camera distance limits and smoothing (distance units: 1/60 m).
    static constexpr float minFollowDistance = 100.0f;
    static constexpr float maxFollowDistance = 1000.0f;
    static constexpr float followSmoothingTime = 0.4f; // seconds
    static constexpr float followDistanceScale = 60.0f;
    static constexpr float followZoomStep = 200.0f;    // distance per unit of zoom input
    static constexpr float focusDrop = 0.15f;          // the camera looks this far below the player's height
    static constexpr double clockSpeedUp = 3.0;        // scene animations run at 3x real time

    // Adopts `scene`: collects its camera nodes in pre-order, reads the stack
    // names, resets the clock to one frame of the scene's time mode.
    void setCameraScene(fbx::Scene* scene);
    // Stores the window size and chooses the default camera: the second
    // camera node when there are two or more, else the producer perspective.
    void initCameras(float width, float height);
    // The default camera becomes `name` (a camera node's or a producer camera's name).
    void setDefaultCamera(const std::string& name);
    const std::string& defaultCamera() const;
    // Makes the first animation stack current and runs the clock over its take.
    void selectAnimationStack();
    void advanceClock(double seconds);
    // Resolves the current camera and publishes its matrices and frustum.
    void applyCamera();
    // Forgets the scene's cameras and stacks (the scenes are being released).
    void reset();

    // Free-camera steering of the producer perspective camera; each does
    // nothing while another camera is current.
    void moveForward(float distance);
    void strafe(float distance); // positive: to the left
    void zoom(float amount);     // positive: narrower field of view
    void orbit(float dxDegrees, float dyDegrees);
    void pan(float dx, float dy);
    // Mouse motion (degrees). Turns the view when the last updateMouseStatus
    // saw neither the left Alt key nor a button; with Alt it orbits, zooms or
    // pans by the held button; a button without Alt leaves the camera alone.
    void lookAround(float dx, float dy);
    // The mouse buttons that choose the steering of lookAround.
    struct MouseButtons {
        bool left = false;
        bool right = false;
        bool middle = false;
    };
    // Left button: orbit, else middle: pan, else right: zoom. The game's key
    // handling never calls this: its free camera turns with lookAround while
    // the right button is held, which a status of zoom would stop.
    void updateMouseStatus(bool leftAltHeld, MouseButtons held);
    // Places the producer camera behind and above `focus` (the player's
    // ground position with his height as y; null: the origin). `turn` in
    // radians, `zoomInput` in distance steps, `seconds` the frame time.
    void followPlayer(float turn, float zoomInput, const Vec3* focus, float seconds);

    const std::vector<fbx::Node*>& cameraNodes() const { return cameras; }
    fbx::Time currentTime() const { return time; }
    float followDistance() const { return smoothedDistance; }
    float followYaw() const { return yaw; } // radians; the player steers relative to it
    float followTargetDistance() const { return targetDistance; }
    Vec3 centre() const { return publishedCentre; }
    Vec3 up() const { return publishedUp; }
    Vec3 right() const { return publishedRight; }
    float fieldOfViewRadians() const { return fovYRadians; }
    // The producer perspective camera of the current scene (null without a scene).
    fbx::Camera* producerPerspective();

private:
    friend class Singleton<CameraManager>;
    CameraManager();
    ~CameraManager();

    // The camera frames are drawn from, and its node (null for producer cameras).
    fbx::Camera* resolveCurrentCamera(fbx::Node*& node);
    void refreshFromNode(fbx::Camera& camera, const fbx::Node& node);
    double currentLayerValue(const fbx::Camera& camera, const char* property, double stored) const;
    fbx::Camera* steerableCamera();
    void publish(const fbx::Camera& camera, Vec3 eye, Vec3 centre, Vec3 up, Vec3 right, Vec3 forward);

    fbx::Scene* scene = nullptr;
    std::unique_ptr<fbx::Evaluator> evaluator;
    std::vector<fbx::Node*> cameras; // pre-order
    std::vector<std::string> stackNames;
    fbx::AnimStack* currentStack = nullptr;
    fbx::AnimLayer* currentLayer = nullptr;
    fbx::Time start = 0, stop = 0, time = 0, period = 0;
    bool producerDefaultsApplied = false;
    int status = StatusNone;
    bool lookMode = true;
    double orthoZoom = 1.0;

    Vec3 publishedCentre, publishedUp{0, 1, 0}, publishedRight{1, 0, 0};
    float fovYRadians = 0.0f;

    float smoothedDistance = 750.0f;
    float targetDistance = 750.0f;
    float distanceVelocity = 0.0f;
    float yaw = 1.5708f; // radians
};
