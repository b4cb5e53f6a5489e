#include "GameTree.h"

namespace fs = std::filesystem;

GameTree::GameTree(const fs::path& realResources, const std::string& folder, Part part)
{
    fs::create_directories(bin());
    fs::create_directories(resources());
    for (const fs::directory_entry& entry : fs::directory_iterator(realResources)) {
        const fs::path name = entry.path().filename();
        if (name != folder)
            fs::create_symlink(entry.path(), resources() / name);
        else if (part == Part::Copied)
            fs::copy(entry.path(), resources() / name, fs::copy_options::recursive);
    }
}
