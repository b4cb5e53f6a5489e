#include "Game/AIAgent.h"

#include "Engine/Collision/CollisionWorld.h"
#include "Engine/Scene/NodeManager.h"
#include "Game/PlayerCharacter.h"
#include "Import/GameObjects.h"
#include "Navigation/CrowdAgent.h"

#include <DetourCrowd.h>

#include <cmath>

namespace {

constexpr float noPlayerDistance = 10000000.0f;
constexpr float stopDistance = 0.1f;      // metres between the target and the agent before stopping
constexpr float chaseRetarget = 0.3f;     // metres the player moves before the chase target follows
constexpr float turnSpeed = 0.1f;         // metres per second below which a skull keeps its heading
constexpr float degreesPerRadian = 57.295776f;

float agentRadius(int agentIndex)
{
    const dtCrowdAgent* agent = crowdAgent(agentIndex);
    return agent ? agent->params.radius : 0.0f;
}

} // namespace

AIAgent::AIAgent() : PathFindSceneNode(requireGameObjectTemplate(GameObject::Skull))
{
    CollisionWorld::getInstance()->setOwner(this, this);
    setParent(NodeManager::getInstance()->getRoot());
    if (dtCrowdAgent* agent = crowdAgent(agentIndex)) {
        agent->params.updateFlags |= DT_CROWD_SEPARATION;
        agent->params.separationWeight = separationWeight;
        agent->params.maxSpeed = maxSpeed;
        agent->params.maxAcceleration = maxAcceleration;
    }
    setAnimationLayer(LungeLayer);
}

AIAgent::~AIAgent()
{
    if (CollisionWorld* world = CollisionWorld::existingInstance())
        world->removeOwner(this);
    deleteDescendants();
}

void AIAgent::update(double dt, const std::vector<PlayerCharacter*>& players)
{
    followAgent();
    findNearestPlayer(players);
    attackCooldown -= dt;
    runStateMachine();
    animate(dt);
    if (targetDistance > 0.001f)
        face();
}

void AIAgent::findNearestPlayer(const std::vector<PlayerCharacter*>& players)
{
    target = nullptr;
    targetDistance = 0.0f;
    float nearest = noPlayerDistance;
    Vec3 here = getTransform().translationPart();
    for (PlayerCharacter* player : players) {
        float distance = length(player->position() - here);
        if (distance < nearest) {
            nearest = distance;
            target = player;
            targetDistance = distance;
        }
    }
}

float AIAgent::reach(float factor) const
{
    float playerRadius = target ? agentRadius(target->agentIndex) : 0.0f;
    return factor * attackReach + playerRadius + agentRadius(agentIndex);
}

void AIAgent::enterState(State state, Layer layer, bool looping)
{
    aiState = state;
    setAnimationLayer(layer);
    setLooping(looping);
}

void AIAgent::stopWhereItIs(Vec3 here)
{
    if (length(targetPosition - here) > stopDistance)
        setTarget(here);
}

void AIAgent::runStateMachine()
{
    switch (aiState) {
    case Wait:
        if (targetDistance > sightRange)
            stopWhereItIs(agentPosition(agentIndex, getTransform().translationPart()));
        else
            enterState(Chase, ChaseLayer, true);
        break;
    case Chase:
        if (!target) {
            enterState(Wait, HoverLayer, true);
        } else if (targetDistance <= reach(0.5f)) {
            enterState(Attack, LungeLayer, false);
            if (attackCooldown < 0.0)
                attackCooldown = 0.0;
        } else {
            Vec3 playerPosition = agentPosition(target->agentIndex, target->position());
            if (length(targetPosition - playerPosition) > chaseRetarget)
                setTarget(playerPosition);
        }
        break;
    case Attack:
        if (!target) {
            enterState(Wait, HoverLayer, true);
        } else if (targetDistance <= reach(1.0f)) {
            if (attackCooldown <= 0.0) {
                hitTarget();
                attackCooldown += attackInterval;
            }
        } else {
            enterState(Chase, ChaseLayer, true);
        }
        break;
    }
}

void AIAgent::hitTarget()
{
    setAnimationLayer(LungeLayer);
    target->takeDamage(attackDamage);
}

void AIAgent::face()
{
    if (targetDistance > faceTargetDistance) {
        const dtCrowdAgent* agent = crowdAgent(agentIndex);
        if (!agent)
            return;
        float vx = agent->vel[0], vy = agent->vel[1], vz = agent->vel[2];
        float horizontal = std::sqrt(vx * vx + vz * vz);
        if (std::sqrt(vx * vx + vy * vy + vz * vz) <= turnSpeed || horizontal == 0.0f)
            return;
        float heading = std::acos(vz / horizontal) * degreesPerRadian;
        resetRotation();
        rotateY(vx < 0.0f ? -heading : heading);
    } else if (target) {
        faceTowards(agentPosition(target->agentIndex, target->position()));
    }
}
