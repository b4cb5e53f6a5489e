#include "Platform/WindowTitles.h"

#include "GLContext.h"

#include <GLFW/glfw3.h>

#include <set>

namespace {

std::set<std::string> takenTitles;
bool isTaken(const std::string& title) { return takenTitles.count(title) != 0; }

} // namespace

TEST(UniqueWindowTitle, CountsUpFromTwoPastTakenTitles)
{
    takenTitles = {};
    EXPECT_EQ(platform::uniqueWindowTitle("Game", isTaken), "Game");
    takenTitles = {"Game"};
    EXPECT_EQ(platform::uniqueWindowTitle("Game", isTaken), "Game (2)");
    takenTitles = {"Game", "Game (2)"};
    EXPECT_EQ(platform::uniqueWindowTitle("Game", isTaken), "Game (3)");
    takenTitles = {"Game", "Game (3)"}; // the first free number wins
    EXPECT_EQ(platform::uniqueWindowTitle("Game", isTaken), "Game (2)");
}

class TopLevelWindowTest : public GLTest {};

TEST_F(TopLevelWindowTest, FindsAMappedWindowByItsExactTitle)
{
    glfwWindowHint(GLFW_VISIBLE, GLFW_TRUE);
    GLFWwindow* window = glfwCreateWindow(32, 32, "title lookup test", nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    glfwPollEvents();
    EXPECT_TRUE(platform::topLevelWindowExists("title lookup test"));
    EXPECT_FALSE(platform::topLevelWindowExists("title lookup"));
    EXPECT_FALSE(platform::topLevelWindowExists("no window is called this"));
    glfwDestroyWindow(window);
}
