// Starts the real game from a tree without shader programs: start-up must end
// through the shader manager's messages, with exit status 1.
#include "Engine/Base/Config.h"

#include "GameTree.h"
#include "Process.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

constexpr double exitSeconds = 60.0;

const fs::path gameBinary = UMBRANT_GAME_BINARY;

TEST(TreeWithoutShaders, StartUpFailsThroughTheShaderMessagesWithStatusOne)
{
    const GameTree tree(gameBinary.parent_path().parent_path() / "Resources", "ShaderPrograms",
                        GameTree::Part::LeftOut);
    ChildProcess game(gameBinary, {}, tree.bin());
    ASSERT_EQ(game.wait(exitSeconds), 1) << game.output() << game.errors();

    const std::string output = game.output();
    std::size_t position = 0;
    for (const std::string& name : config::shaderProgramNames) {
        std::size_t line = output.find("Loading shader with path: ../Resources/ShaderPrograms/" + name + "\n", position);
        ASSERT_NE(line, std::string::npos) << name << " in:\n" << output;
        position = line;
        EXPECT_NE(game.errors().find("Vertex shader file ../Resources/ShaderPrograms/" + name +
                                     ".vert does not exist.\n"),
                  std::string::npos)
            << game.errors();
    }
    const std::string verdict =
        "\n--- One or multiple shader programs weren't created successfully. Exiting program now. ---\n";
    std::size_t verdictAt = output.find(verdict, position);
    ASSERT_NE(verdictAt, std::string::npos) << output;
    EXPECT_EQ(output.find("Finished loading shaders."), std::string::npos);
    const std::string quitting = "Quitting application\n";
    ASSERT_GE(output.size(), quitting.size());
    EXPECT_EQ(output.substr(output.size() - quitting.size()), quitting);
    EXPECT_GT(output.size() - quitting.size(), verdictAt);
}

} // namespace
