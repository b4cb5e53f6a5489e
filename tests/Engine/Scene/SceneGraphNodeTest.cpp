#include "Engine/Scene/NodeManager.h"
#include "Engine/Scene/SceneGraphNode.h"

#include "SceneTestSupport.h"

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

SceneGraphNode* root() { return NodeManager::getInstance()->getRoot(); }

// Stands in for a mesh with a fixed world box (a plain leaf's box is recomputed as empty).
struct FixedBoxNode : SceneGraphNode {
    FixedBoxNode(const std::string& n, Vec3 lo, Vec3 hi) : SceneGraphNode(n), lo(lo), hi(hi) {}
    void computeBounds() override { setBounds(lo, hi); }
    Vec3 lo, hi;
};

} // namespace

class SceneGraphNodeTest : public RegistryTest {};

TEST_F(SceneGraphNodeTest, MovesApplyToEveryDescendantsWorldTransform)
{
    auto *parent = new SceneGraphNode("parent"), *child = new SceneGraphNode("child");
    auto* grandchild = new SceneGraphNode("grandchild");
    parent->addChild(child);
    child->addChild(grandchild);
    grandchild->translate(0, 0, 5); // own offset before the group moves

    parent->translate(10, 0, 0);
    expectNear(parent->getTransform().translationPart(), {10, 0, 0});
    expectNear(grandchild->getTransform().translationPart(), {10, 0, 5});

    // Each node turns about its own origin: positions stay, headings change.
    parent->rotateY(90);
    expectNear(grandchild->getTransform().translationPart(), {10, 0, 5});
    expectNear(grandchild->getTransform().transformDirection({0, 0, 1}), {1, 0, 0});

    grandchild->setScale(2, 2, 2);
    expectNear(grandchild->getTransform().transformDirection({0, 0, 1}), {2, 0, 0});
    expectNear(child->getTransform().transformDirection({0, 0, 1}), {1, 0, 0});

    parent->resetRotation();
    expectNear(grandchild->getTransform().transformDirection({0, 0, 1}), {0, 0, 1});
    parent->resetTranslation();
    expectNear(grandchild->getTransform().translationPart(), {0, 0, 0});
}

TEST_F(SceneGraphNodeTest, TranslateMovesTheBoundsAndUpdateUnitesChildBoxes)
{
    auto* group = new SceneGraphNode("group");
    group->addChild(new FixedBoxNode("a", {0, 0, 0}, {1, 1, 1}));
    group->addChild(new FixedBoxNode("b", {-2, 3, 0.5f}, {-1, 4, 0.75f}));
    auto* empty = new SceneGraphNode("empty");
    group->addChild(empty);
    root()->addChild(group);

    root()->update();
    // The empty leaf contributes its all-zero box to the union.
    EXPECT_EQ(group->getBoundsMin(), (Vec3{-2, 0, 0}));
    EXPECT_EQ(group->getBoundsMax(), (Vec3{1, 4, 1}));
    EXPECT_EQ(root()->getBoundsMax(), (Vec3{1, 4, 1}));
    EXPECT_EQ(empty->getBoundsMin(), (Vec3{}));
    EXPECT_EQ(empty->getBoundsMax(), (Vec3{}));

    group->translate(1, 2, 3);
    EXPECT_EQ(group->getBoundsMin(), (Vec3{-1, 2, 3}));
}

TEST_F(SceneGraphNodeTest, ChildListsKeepDuplicatesUntilOneRemoveTakesThemAll)
{
    auto* parent = new SceneGraphNode("parent");
    auto *a = new SceneGraphNode("a"), *b = new SceneGraphNode("b");
    for (SceneGraphNode* child : {a, b, a})
        parent->addChild(child);
    ASSERT_EQ(parent->getChildren().size(), 3u);
    parent->removeChild(a);
    ASSERT_EQ(parent->getChildren().size(), 1u);
    EXPECT_EQ(parent->getChildren()[0], b);
    EXPECT_EQ(a->getParent(), nullptr);

    CaptureStdout();
    parent->addChild(nullptr);
    parent->removeChild(nullptr);
    EXPECT_EQ(GetCapturedStdout(),
              "Warning - SceneGraphNode: addChild(NULL)\nWarning - SceneGraphNode: removeChild(NULL)\n");
    EXPECT_EQ(parent->getChildren().size(), 1u);
}

TEST_F(SceneGraphNodeTest, InSceneFollowsTheTopAncestor)
{
    auto *group = new SceneGraphNode("group"), *leaf = new SceneGraphNode("leaf");
    group->addChild(leaf);
    EXPECT_FALSE(leaf->isInScene());

    group->setParent(root());
    EXPECT_TRUE(group->isInScene());
    EXPECT_TRUE(leaf->isInScene());
    EXPECT_EQ(root()->getChildren().back(), group);

    auto* other = new SceneGraphNode("other");
    other->addChild(new SceneGraphNode("late"));
    root()->addChild(other);
    EXPECT_TRUE(other->getChildren()[0]->isInScene());

    // Below a detached node the subtree takes that node's flag.
    auto* detached = new SceneGraphNode("detached");
    group->setParent(detached);
    EXPECT_FALSE(leaf->isInScene());
    EXPECT_EQ(root()->getChildren().size(), 1u);
    group->setParent(root());
    EXPECT_TRUE(leaf->isInScene());
    group->setParent(nullptr);
    EXPECT_FALSE(group->isInScene());
    EXPECT_FALSE(leaf->isInScene());
    EXPECT_EQ(group->getParent(), nullptr);
}

TEST_F(SceneGraphNodeTest, ClonesAreDeepCopiesWithUniqueNames)
{
    auto *group = new SceneGraphNode("skull"), *jaw = new SceneGraphNode("jaw");
    group->addChild(jaw);
    group->translate(1, 2, 3);
    group->setVisible(false);
    root()->addChild(group);

    SceneGraphNode* first = group->clone(-1);
    SceneGraphNode* second = group->clone(-1);
    EXPECT_EQ(first->getName(), "skull_1");
    EXPECT_EQ(second->getName(), "skull_2");
    EXPECT_TRUE(first->isVisible());
    EXPECT_FALSE(first->isInScene());
    EXPECT_EQ(first->getParent(), nullptr);
    EXPECT_EQ(first->getTransform(), group->getTransform());

    ASSERT_EQ(first->getChildren().size(), 1u);
    SceneGraphNode* jawCopy = first->getChildren()[0];
    EXPECT_NE(jawCopy, jaw);
    EXPECT_EQ(jawCopy->getName(), "jaw_1");
    EXPECT_EQ(jawCopy->getParent(), first);
    EXPECT_EQ(second->getChildren()[0]->getName(), "jaw_2");
    EXPECT_EQ(NodeManager::getInstance()->findByName("jaw_1"), jawCopy);

    // A freed name is handed out again.
    delete second->getChildren()[0];
    delete second;
    EXPECT_EQ(group->clone(-1)->getName(), "skull_2");
}

TEST_F(SceneGraphNodeTest, DeletingAParentLeavesChildrenAliveAndRegistered)
{
    auto *parent = new SceneGraphNode("parent"), *child = new SceneGraphNode("child");
    parent->addChild(child);
    delete parent;
    EXPECT_EQ(child->getParent(), nullptr);
    EXPECT_EQ(NodeManager::getInstance()->findByName("child"), child);

    auto* group = new SceneGraphNode("group");
    group->addChild(child);
    child->addChild(new SceneGraphNode("deep"));
    group->addChild(new SceneGraphNode("second"));
    size_t before = NodeManager::getInstance()->nodeCount();
    group->deleteDescendants();
    EXPECT_TRUE(group->getChildren().empty());
    EXPECT_EQ(NodeManager::getInstance()->nodeCount(), before - 3);
}

TEST_F(SceneGraphNodeTest, FaceTowardsTurnsAboutYOnlyAndKeepsTheHeadingForAPointAbove)
{
    auto *node = new SceneGraphNode("walker"), *weapon = new SceneGraphNode("weapon");
    node->addChild(weapon);
    node->translate(5, 1, 5);
    const std::pair<Vec3, Vec3> cases[] = {{{15, 100, 5}, {1, 0, 0}}, {{-5, 0, 5}, {-1, 0, 0}}, {{5, 0, -20}, {0, 0, -1}}};
    for (const auto& [target, heading] : cases) {
        node->faceTowards(target);
        expectNear(node->getTransform().transformDirection({0, 0, 1}), heading);
        expectNear(weapon->getTransform().transformDirection({0, 0, 1}), heading);
        expectNear(node->getTransform().translationPart(), {5, 1, 5});
    }
    Mat4 before = node->getTransform();
    node->faceTowards({5, 30, 5}); // straight above: no horizontal heading, no NaN
    EXPECT_EQ(node->getTransform(), before);
}
