#pragma once
// A skull enemy: a copy of the skull model driven by its own crowd agent.
// Each frame it finds the nearest player and a three-state machine decides
// whether it waits, chases the player through the crowd or attacks him.
#include "Game/HealthObject.h"
#include "Navigation/PathFindSceneNode.h"

#include <vector>

class PlayerCharacter;

class AIAgent : public PathFindSceneNode, public HealthObject {
public:
    enum State { Wait = 0, Chase = 1, Attack = 2 };
    // Animation layers of the skull model.
    enum Layer { HoverLayer = 0, LungeLayer = 1, ChaseLayer = 2 };

    static constexpr float attackDamage = 3.0f;
    static constexpr float maxSpeed = 7.0f;        // metres per second
    static constexpr float maxAcceleration = 9.0f; // metres per second squared
    static constexpr float separationWeight = 0.3f;

    // Copies the skull template, becomes the owner of its meshes and joins the scene.
    AIAgent();
    // Leaves the owner map and deletes the copied model with the enemy.
    ~AIAgent() override;

    // One frame against `players`; `dt` in seconds.
    void update(double dt, const std::vector<PlayerCharacter*>& players);

    int aiState = Wait;
    float attackReach = 1.0f;         // metres beyond both agents' radii
    float faceTargetDistance = 5.0f;  // metres: closer, the skull faces the player
    float sightRange = 65.0f;         // metres: a waiting skull sees the player this far
    double attackCooldown = 0.0;      // seconds until the next hit may land
    double attackInterval = 2.0;      // seconds between hits
    PlayerCharacter* target = nullptr; // the nearest player this frame
    float targetDistance = 0.0f;

private:
    void findNearestPlayer(const std::vector<PlayerCharacter*>& players);
    void runStateMachine();
    void enterState(State state, Layer layer, bool looping);
    void stopWhereItIs(Vec3 here);
    void hitTarget();
    void face();
    // Reach for starting (factor 0.5) and keeping (factor 1) an attack.
    float reach(float factor) const;
};
