#include "Engine/Scene/NodeManager.h"
#include "Engine/Scene/SceneGraphNode.h"

#include "SceneTestSupport.h"

namespace {

SceneGraphNode* root() { return NodeManager::getInstance()->getRoot(); }

} // namespace

class SceneGraphNodeTest : public SceneTest {};

TEST_F(SceneGraphNodeTest, MovesAndTurnsApplyToEveryDescendantsWorldTransform)
{
    auto *parent = new SceneGraphNode("parent"), *child = new SceneGraphNode("child");
    auto* grandchild = new SceneGraphNode("grandchild");
    parent->addChild(child);
    parent->addChild(nullptr); // refused, as is its removal
    child->addChild(grandchild);
    grandchild->translate(0, 0, 5);
    parent->translate(10, 0, 0);

    // Each node turns about its own origin: positions stay, headings change.
    parent->rotateY(90);
    grandchild->setScale(2, 2, 2);
    expectNear(grandchild->getTransform().translationPart(), {10, 0, 5});
    expectNear(grandchild->getTransform().transformDirection({0, 0, 1}), {2, 0, 0});

    parent->resetRotation(); // and the scale below it
    parent->resetTranslation();
    expectNear(grandchild->getTransform().transformDirection({0, 0, 1}), {0, 0, 1});
    expectNear(grandchild->getTransform().translationPart(), {0, 0, 0});
    parent->removeChild(nullptr);
    EXPECT_EQ(parent->getChildren(), (std::vector<SceneGraphNode*>{child}));

    // Facing a point turns about Y only; a point straight above gives no heading (and no NaN).
    parent->translate(5, 1, 5);
    parent->faceTowards({15, 100, 5});
    expectNear(grandchild->getTransform().transformDirection({0, 0, 1}), {1, 0, 0});
    const Mat4 facing = grandchild->getTransform();
    parent->faceTowards({5, 30, 5});
    EXPECT_EQ(grandchild->getTransform(), facing);
}

TEST_F(SceneGraphNodeTest, InSceneFollowsTheTopAncestorAndDeletionTakesOnlyTheSubtree)
{
    auto *group = new SceneGraphNode("group"), *leaf = new SceneGraphNode("leaf");
    group->addChild(leaf);
    leaf->addChild(new SceneGraphNode("deep"));
    root()->addChild(group);
    EXPECT_TRUE(leaf->isInScene());
    auto* detached = new SceneGraphNode("detached");
    group->setParent(detached);
    EXPECT_FALSE(leaf->isInScene());
    EXPECT_TRUE(root()->getChildren().empty());
    delete detached; // its children live on without a parent
    EXPECT_EQ(group->getParent(), nullptr);
    const size_t before = NodeManager::getInstance()->nodeCount();
    group->deleteDescendants();
    EXPECT_TRUE(group->getChildren().empty());
    EXPECT_EQ(NodeManager::getInstance()->nodeCount(), before - 2);
}
