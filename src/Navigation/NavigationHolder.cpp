#include "Navigation/NavigationHolder.h"

#include <DetourNavMeshQuery.h>

#include <iostream>

namespace {
// The holder's set-up gives every new agent this separation weight,
// overriding the tool's own default.
constexpr float kSeparationWeight = 1.0f;
} // namespace

PathfindTool* NavigationHolder::crowd()
{
    NavigationHolder* holder = existingInstance();
    return holder ? holder->crowdTool.get() : nullptr;
}

void NavigationHolder::QueryDeleter::operator()(dtNavMeshQuery* query) const { dtFreeNavMeshQuery(query); }

NavigationHolder::NavigationHolder() : navQuery(dtAllocNavMeshQuery()) {}

NavigationHolder::~NavigationHolder()
{
    crowdTool.reset();
    navQuery.reset();
    navMesh.reset();
}

void NavigationHolder::init(const std::string& path)
{
    crowdTool.reset();
    navMesh = navigation::loadNavMesh(path);
    // The query is pointed at the new mesh (or at none) so it never keeps the old one.
    const bool queryReady = navQuery && dtStatusSucceed(navQuery->init(navMesh.get(), kMaxQueryNodes));
    if (!navMesh) {
        std::cout << "Navigation: no navigation mesh; characters will not move" << std::endl;
    } else if (!queryReady) {
        std::cerr << "Navigation: the navigation query cannot be set up; characters will not move" << std::endl;
    }

    crowdTool = std::make_unique<PathfindTool>();
    crowdTool->separationWeight = kSeparationWeight;
    if (queryReady)
        crowdTool->init(navMesh.get(), navQuery.get());
}
