#include "Engine/Scene/NodeManager.h"
#include "Engine/Scene/SceneGraphNode.h"

#include "SceneTestSupport.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

const char* notInMapWarning =
    "Warning - NodeManager findByName(string initialName): Name not in map (returnvalue = NULL)\n";

// Records the order in which the registry deletes nodes.
struct RecordingNode : SceneGraphNode {
    RecordingNode(const std::string& name, std::vector<std::string>& log) : SceneGraphNode(name), log(log) {}
    ~RecordingNode() override { log.push_back(getName()); }
    std::vector<std::string>& log;
};

} // namespace

TEST(NodeManager, FindByNameWarnsForEveryMiss)
{
    NodeManager* registry = NodeManager::getInstance();
    delete new SceneGraphNode("All_RootNode");
    CaptureStdout();
    for (const char* name : {"root", "", "All_RootNode"})
        EXPECT_EQ(registry->findByName(name), nullptr) << name;
    EXPECT_EQ(GetCapturedStdout(), std::string(notInMapWarning) + notInMapWarning + notInMapWarning);
    NodeManager::destroyInstance();
}

TEST(NodeManager, MakeUniqueNameTakesTheFirstFreeCounter)
{
    NodeManager* registry = NodeManager::getInstance();
    EXPECT_EQ(registry->makeUniqueName("box", 0), "box");
    new SceneGraphNode("box");
    EXPECT_EQ(registry->makeUniqueName("box", 0), "box_1");
    new SceneGraphNode("box_1");
    EXPECT_EQ(registry->makeUniqueName("box", 0), "box_2");
    new SceneGraphNode("box_3");
    EXPECT_EQ(registry->makeUniqueName("box", 0), "box_2");
    EXPECT_EQ(registry->makeUniqueName("box", 2), "box_4");
    NodeManager::destroyInstance();
}

TEST(NodeManager, DeletesEveryNodeOnceInAscendingNameOrder)
{
    std::vector<std::string> log;
    NodeManager::getInstance()->createRoot();
    SceneGraphNode* root = NodeManager::getInstance()->getRoot();
    auto* level = new RecordingNode("All_RootNode", log);
    level->setParent(root);
    auto* b = new RecordingNode("B", log);
    level->addChild(b);
    b->addChild(new RecordingNode("a", log));
    level->addChild(new RecordingNode("All_Z", log));
    new RecordingNode("Skull_RootNode", log); // a detached template
    NodeManager::destroyInstance();

    EXPECT_EQ(log, (std::vector<std::string>{"All_RootNode", "All_Z", "B", "Skull_RootNode", "a"}));
    EXPECT_EQ(NodeManager::existingInstance(), nullptr);
}

// Two nodes of one name: deleting the earlier leaves the later findable, and
// both are deleted at shutdown.
TEST(NodeManager, ShadowedNodesStayFindableAndAreStillDeletedAtShutdown)
{
    NodeManager* registry = NodeManager::getInstance();
    auto* first = new SceneGraphNode("Cube");
    auto* second = new SceneGraphNode("Cube");
    delete first;
    EXPECT_EQ(registry->findByName("Cube"), second);
    delete second;
    EXPECT_EQ(registry->nodeCount(), 0u);

    std::vector<std::string> log;
    new RecordingNode("Cube", log);
    new RecordingNode("Cube", log);
    auto* third = new RecordingNode("Cube", log);
    new RecordingNode("Ball", log);
    EXPECT_EQ(registry->findByName("Cube"), third);
    NodeManager::destroyInstance();
    EXPECT_EQ(log, (std::vector<std::string>{"Ball", "Cube", "Cube", "Cube"}));
}

TEST(NodeManager, DeletingTheRootClearsIt)
{
    NodeManager::getInstance()->createRoot();
    delete NodeManager::getInstance()->getRoot();
    EXPECT_EQ(NodeManager::getInstance()->getRoot(), nullptr);
    NodeManager::destroyInstance();
}
