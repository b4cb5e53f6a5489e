#pragma once
// Access to a character's crowd agent.
#include "Engine/Scene/Math.h"

struct dtCrowdAgent;

// The active agent with this index in the current crowd, or null.
dtCrowdAgent* crowdAgent(int agentIndex);
// The agent's position, or `fallback` without an agent.
Vec3 agentPosition(int agentIndex, Vec3 fallback);
