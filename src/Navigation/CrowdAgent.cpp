#include "Navigation/CrowdAgent.h"

#include "Navigation/NavigationHolder.h"
#include "Navigation/PathfindTool.h"

dtCrowdAgent* crowdAgent(int agentIndex)
{
    PathfindTool* tool = NavigationHolder::crowd();
    if (!tool || !tool->isAgentIndex(agentIndex))
        return nullptr;
    dtCrowdAgent* agent = tool->getCrowd().getEditableAgent(agentIndex);
    return agent && agent->active ? agent : nullptr;
}

Vec3 agentPosition(int agentIndex, Vec3 fallback)
{
    const dtCrowdAgent* agent = crowdAgent(agentIndex);
    return agent ? Vec3{agent->npos[0], agent->npos[1], agent->npos[2]} : fallback;
}
