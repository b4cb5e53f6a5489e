#pragma once
// src/Navigation: the navigation mesh file, the Detour query and the crowd that walks every
// character. Its core uses only Detour; its scene nodes use the engine.
//
// Owner of the navigation mesh, the navigation query and the crowd tool.
// A lazily created singleton: the engine creates it during start-up, loads
// the mesh and crowd with init, and destroys it at shutdown.
#include "Engine/Base/Config.h"
#include "Engine/Base/Singleton.h"
#include "Navigation/NavMeshFile.h"
#include "Navigation/PathfindTool.h"

#include <memory>
#include <string>

class dtNavMeshQuery;

class NavigationHolder : public Singleton<NavigationHolder> {
public:
    static constexpr int kMaxQueryNodes = 2048;

    // The crowd tool the characters use, or null when there is no holder or
    // it has no tool yet. Never creates the holder.
    static PathfindTool* crowd();

    NavigationHolder();
    // Destroys the crowd tool (and so the crowd), the query and the mesh, in that order.
    ~NavigationHolder();
    NavigationHolder(const NavigationHolder&) = delete;
    NavigationHolder& operator=(const NavigationHolder&) = delete;

    // Loads the mesh from `path` (none when the file is unusable), points the
    // query at it and creates a new crowd tool on it. The previous mesh and
    // tool, if any, are released first.
    void init(const std::string& path = config::navMeshFile);

    struct QueryDeleter {
        void operator()(dtNavMeshQuery* query) const;
    };

    navigation::NavMeshPtr navMesh;
    std::unique_ptr<dtNavMeshQuery, QueryDeleter> navQuery;
    std::unique_ptr<PathfindTool> crowdTool;
};
