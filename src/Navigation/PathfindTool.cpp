#include "Navigation/PathfindTool.h"

#include <DetourNavMesh.h>
#include <DetourNavMeshQuery.h>

#include <initializer_list>


namespace {

constexpr unsigned short kAllPolygonFlags = 0xffff;
constexpr float kAreaCost = 1.0f;
// Agent placement searches 2r sideways and 1.5r vertically around the point.
constexpr float kPlacementHorizontalFactor = 2.0f;
constexpr float kPlacementVerticalFactor = 1.5f;

struct AvoidancePreset {
    float velocityBias;
    unsigned char adaptiveDivisions, adaptiveRings, adaptiveDepth;
};
// Quality from low (0) to high (3): more velocity samples per ring and more rings.
constexpr AvoidancePreset kAvoidancePresets[PathfindTool::kAvoidancePresetCount] = {
    {0.5f, 5, 2, 1}, {0.5f, 5, 2, 2}, {0.5f, 7, 2, 3}, {0.5f, 7, 3, 3}};

} // namespace

void PathfindTool::init(dtNavMesh* mesh, dtNavMeshQuery* query)
{
    navMesh = mesh;
    navQuery = query;
    if (!navMesh)
        return;
    crowd.init(kMaxAgents, kMaxAgentRadius, navMesh);
    dtQueryFilter* filter = crowd.getEditableFilter(0);
    filter->setIncludeFlags(kAllPolygonFlags);
    for (int area = 0; area < DT_MAX_AREAS; ++area)
        filter->setAreaCost(area, kAreaCost);
    setAvoidancePresets();
}

void PathfindTool::setAvoidancePresets()
{
    // Each preset starts from the crowd's current preset 0.
    const dtObstacleAvoidanceParams base = *crowd.getObstacleAvoidanceParams(0);
    for (int i = 0; i < kAvoidancePresetCount; ++i) {
        dtObstacleAvoidanceParams params = base;
        params.velBias = kAvoidancePresets[i].velocityBias;
        params.adaptiveDivs = kAvoidancePresets[i].adaptiveDivisions;
        params.adaptiveRings = kAvoidancePresets[i].adaptiveRings;
        params.adaptiveDepth = kAvoidancePresets[i].adaptiveDepth;
        crowd.setObstacleAvoidanceParams(i, &params);
    }
}

unsigned char PathfindTool::updateFlags() const
{
    unsigned char flags = 0;
    if (anticipateTurns)
        flags |= DT_CROWD_ANTICIPATE_TURNS;
    if (obstacleAvoidance)
        flags |= DT_CROWD_OBSTACLE_AVOIDANCE;
    if (separation)
        flags |= DT_CROWD_SEPARATION;
    if (optimizeVisibility)
        flags |= DT_CROWD_OPTIMIZE_VIS;
    if (optimizeTopology)
        flags |= DT_CROWD_OPTIMIZE_TOPO;
    return flags;
}

int PathfindTool::addAgent(float radius, float height)
{
    dtCrowdAgentParams params{};
    params.radius = radius;
    params.height = height;
    params.maxAcceleration = kAgentMaxAcceleration;
    params.maxSpeed = kAgentMaxSpeed;
    params.collisionQueryRange = radius * kCollisionQueryRangeFactor;
    params.pathOptimizationRange = radius * kPathOptimizationRangeFactor;
    params.separationWeight = separationWeight;
    params.updateFlags = updateFlags();
    params.obstacleAvoidanceType = static_cast<unsigned char>(obstacleAvoidanceType);
    params.queryFilterType = 0;

    const float origin[3] = {0.0f, 0.0f, 0.0f};
    const int index = crowd.addAgent(origin, &params);
    if (index >= 0 && targetRef != 0)
        crowd.requestMoveTarget(index, targetRef, targetPos);
    return index;
}

void PathfindTool::update(float dt)
{
    if (navMesh && dt > 0.0f)
        crowd.update(dt, &agentDebug);
}

bool PathfindTool::isAgentIndex(int agentIndex) const
{
    return agentIndex >= 0 && agentIndex < crowd.getAgentCount();
}

void PathfindTool::setMoveTarget(int agentIndex, const float* point)
{
    if (!navMesh)
        return;
    navQuery->findNearestPoly(point, crowd.getQueryHalfExtents(), crowd.getFilter(0), &targetRef, targetPos);
    if (isAgentIndex(agentIndex) && crowd.getAgent(agentIndex)->active)
        crowd.requestMoveTarget(agentIndex, targetRef, targetPos);
}

void PathfindTool::teleport(int agentIndex, const float* point)
{
    // A removed agent's slot stays removed: placing it would bring it back to life.
    if (!navMesh || !isAgentIndex(agentIndex) || !crowd.getAgent(agentIndex)->active)
        return;
    dtCrowdAgent* agent = crowd.getEditableAgent(agentIndex);
    const float r = agent->params.radius;
    const float halfExtents[3] = {kPlacementHorizontalFactor * r, kPlacementVerticalFactor * r,
                                  kPlacementHorizontalFactor * r};
    dtPolyRef ref = 0;
    float nearest[3];
    if (dtStatusFailed(navQuery->findNearestPoly(point, halfExtents, crowd.getFilter(0), &ref, nearest)) || !ref)
        return;

    // A request left from before would be replanned from the new place.
    crowd.resetMoveTarget(agentIndex);
    agent->corridor.reset(ref, nearest);
    agent->boundary.reset();
    agent->nneis = 0;
    agent->topologyOptTime = 0.0f;
    for (float* v : {agent->dvel, agent->nvel, agent->vel})
        v[0] = v[1] = v[2] = 0.0f;
    agent->desiredSpeed = 0.0f;
    for (int i = 0; i < 3; ++i)
        agent->npos[i] = nearest[i];
    // This crowd moves only agents that walk on a polygon; one that was added
    // off the mesh stays invalid until it is placed on one.
    agent->state = DT_CROWDAGENT_STATE_WALKING;
}

void PathfindTool::removeAgent(int agentIndex)
{
    if (isAgentIndex(agentIndex))
        crowd.removeAgent(agentIndex);
}
