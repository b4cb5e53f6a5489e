#include "Engine/Scene/NodeManager.h"
#include "Engine/Scene/SceneGraphNode.h"

#include "SceneTestSupport.h"

namespace {

// Records the order in which the registry deletes nodes.
struct RecordingNode : SceneGraphNode {
    RecordingNode(const std::string& name, std::vector<std::string>& log) : SceneGraphNode(name), log(log) {}
    ~RecordingNode() override { log.push_back(getName()); }
    std::vector<std::string>& log;
};

} // namespace

// Every node is deleted once in ascending name order, namesakes shadowed by a
// later node last; deleting the earlier of two namesakes leaves the later findable.
TEST(NodeManager, DeletesEveryNodeOnceInAscendingNameOrder)
{
    std::vector<std::string> log;
    NodeManager* registry = NodeManager::getInstance();
    registry->createRoot();
    auto* level = new RecordingNode("All_RootNode", log);
    level->setParent(registry->getRoot());
    auto* b = new RecordingNode("B", log);
    level->addChild(b);
    b->addChild(new RecordingNode("a", log));
    delete new SceneGraphNode("gone");
    EXPECT_EQ(registry->findByName("gone"), nullptr);
    auto* shadowed = new SceneGraphNode("Cube");
    new RecordingNode("Cube", log);
    auto* later = new RecordingNode("Cube", log);
    delete shadowed;
    EXPECT_EQ(registry->findByName("Cube"), later);
    delete registry->getRoot();
    EXPECT_EQ(registry->getRoot(), nullptr);
    NodeManager::destroyInstance();

    EXPECT_EQ(log, (std::vector<std::string>{"All_RootNode", "B", "Cube", "a", "Cube"}));
}
