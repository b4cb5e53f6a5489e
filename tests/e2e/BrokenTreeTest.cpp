// The real game started from a tree with one resource folder broken: start-up
// ends with exit status 1, one error line per missing part that names it, and
// "Quitting application" as the last line of its output.
#include "Engine/Base/Config.h"

#include "GameTree.h"
#include "Process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path gameBinary = UMBRANT_GAME_BINARY;
constexpr double exitSeconds = 90.0;

void renameWidget(const fs::path& layout, const std::string& from, const std::string& to)
{
    std::ifstream in(layout);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    in.close();
    text.replace(text.find("name=\"" + from + "\""), from.size() + 7, "name=\"" + to + "\"");
    std::ofstream(layout) << text;
}

struct BrokenTree {
    const char* folder;
    GameTree::Part part;
    std::function<void(const fs::path& copied)> breakFolder;
    std::vector<std::string> errors; // each on a line of its own, and nothing else
    std::string lastOutput;
};

TEST(BrokenTree, StartUpEndsWithStatusOneAndNamesWhatIsMissing)
{
    const std::string quitting = "Quitting application\n";
    std::vector<std::string> missingShaders;
    for (const std::string& name : config::shaderProgramNames)
        missingShaders.push_back("Vertex shader file ../Resources/ShaderPrograms/" + name + ".vert does not exist.");
    const BrokenTree cases[] = {
        {"CEGUI datafiles", GameTree::Part::Copied,
         [](const fs::path& gui) { fs::remove(gui / "layouts" / "Umbrant_menu.layout"); },
         {"layout \"Umbrant_menu.layout\""}, quitting},
        {"CEGUI datafiles", GameTree::Part::Copied,
         [](const fs::path& gui) { renameWidget(gui / "layouts" / "Umbrant_debug.layout", "TextFPS", "TextFps"); },
         {"widget \"TextFPS\""}, quitting},
        {"CEGUI datafiles", GameTree::Part::Copied,
         [](const fs::path& gui) { fs::remove(gui / "schemes" / "Umbrant.scheme"); },
         {"scheme \"Umbrant.scheme\""}, quitting},
        {"ShaderPrograms", GameTree::Part::LeftOut, [](const fs::path&) {}, missingShaders,
         "\n--- One or multiple shader programs weren't created successfully. Exiting program now. ---\n" + quitting},
    };
    for (const BrokenTree& c : cases) {
        const GameTree tree(gameBinary.parent_path().parent_path() / "Resources", c.folder, c.part);
        c.breakFolder(tree.resources() / c.folder);
        ChildProcess game(gameBinary, {}, tree.bin());
        ASSERT_EQ(game.wait(exitSeconds), 1) << game.output() << game.errors();
        const std::string output = game.output(), errors = game.errors();
        SCOPED_TRACE(errors);
        EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), long(c.errors.size()));
        for (const std::string& error : c.errors)
            EXPECT_NE(errors.find(error), std::string::npos) << error;
        EXPECT_EQ(output.substr(output.size() - std::min(output.size(), c.lastOutput.size())), c.lastOutput) << output;
    }
}

} // namespace
