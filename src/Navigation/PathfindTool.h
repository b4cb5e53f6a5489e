#pragma once
// The crowd that moves every character over the navigation mesh, with the
// agent operations the characters use: add, place, give a move target, remove.
//
// The tool does not own the mesh or the query; NavigationHolder does. Without
// a mesh the crowd is never initialised: it has no agent slots, addAgent
// returns -1 and update does nothing.
#include <DetourCrowd.h>

class dtNavMesh;
class dtNavMeshQuery;

class PathfindTool {
public:
    static constexpr int kMaxAgents = 256;
    static constexpr float kMaxAgentRadius = 3.0f;        // metres
    static constexpr int kAvoidancePresetCount = 4;
    static constexpr float kDefaultSeparationWeight = 2.0f;
    // Parameters of every new agent
    static constexpr float kAgentMaxAcceleration = 8.0f;  // metres per second squared
    static constexpr float kAgentMaxSpeed = 3.5f;         // metres per second
    static constexpr float kCollisionQueryRangeFactor = 8.0f;   // times the radius
    static constexpr float kPathOptimizationRangeFactor = 30.0f; // times the radius

    PathfindTool() = default;
    virtual ~PathfindTool() = default;
    PathfindTool(const PathfindTool&) = delete;
    PathfindTool& operator=(const PathfindTool&) = delete;

    // Takes the holder's mesh and query. With a mesh, initialises the crowd for
    // kMaxAgents agents of radius up to kMaxAgentRadius, lets the query filter
    // pass every polygon flag at cost 1 in all areas, and sets the four
    // obstacle-avoidance quality presets.
    void init(dtNavMesh* mesh, dtNavMeshQuery* query);

    // Adds an agent at (0, 0, 0) (the crowd moves it onto the nearest polygon)
    // with the given radius and height in metres. When a move target was set
    // before (targetRef != 0) the agent is sent there at once.
    // Returns the agent index, or -1 when no slot is free.
    int addAgent(float radius, float height);

    // Steps the crowd by dt seconds [Limit: > 0]; nothing happens without a mesh.
    virtual void update(float dt);

    // Finds the polygon nearest to point [(x, y, z)] with the crowd's query
    // half-extents and filter into targetRef/targetPos, and asks agent
    // `agentIndex` to move there when it is an active agent.
    void setMoveTarget(int agentIndex, const float* point);

    // Places agent `agentIndex` on the polygon nearest to point [(x, y, z)]
    // (half-extents 2r, 1.5r, 2r for agent radius r), as the crowd places an
    // agent it adds: no move request, one-polygon corridor, empty boundary,
    // no neighbours, velocities and speed zero, active. Without a polygon
    // nearby, or for an index that names no agent, nothing changes.
    void teleport(int agentIndex, const float* point);

    // Marks agent `agentIndex` inactive when 0 <= agentIndex < agent count.
    void removeAgent(int agentIndex);

    // True when 0 <= agentIndex < the crowd's agent count.
    bool isAgentIndex(int agentIndex) const;

    dtCrowd& getCrowd() { return crowd; }
    bool hasMesh() const { return navMesh != nullptr; }

    dtNavMesh* navMesh = nullptr;
    dtNavMeshQuery* navQuery = nullptr;
    // The last move target found by any agent's setMoveTarget.
    dtPolyRef targetRef = 0;
    float targetPos[3] = {0.0f, 0.0f, 0.0f};
    // Update-flag switches for new agents
    bool anticipateTurns = true;
    bool optimizeVisibility = true;
    bool optimizeTopology = true;
    bool obstacleAvoidance = true;
    bool separation = false;
    float obstacleAvoidanceType = 3.0f;  // new agents get it truncated to a preset index
    float separationWeight = kDefaultSeparationWeight;

private:
    void setAvoidancePresets();
    unsigned char updateFlags() const;

    dtCrowd crowd;
    dtCrowdAgentDebugInfo agentDebug{-1, {}, {}, nullptr};
};
