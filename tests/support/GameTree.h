#pragma once
// A tree to run the real game from, in a temporary folder: an empty bin/ and
// a Resources/ that links every real resource except one folder, which is
// either copied (for a test to break it) or left out.
#include "TempFolder.h"

#include <filesystem>
#include <string>

class GameTree {
public:
    enum class Part { Copied, LeftOut };
    GameTree(const std::filesystem::path& realResources, const std::string& folder, Part part);

    std::filesystem::path bin() const { return root.path() / "bin"; }
    std::filesystem::path resources() const { return root.path() / "Resources"; }

private:
    TempFolder root{"umbrant-game-tree"};
};
