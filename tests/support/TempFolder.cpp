#include "TempFolder.h"

#include <cstdlib>
#include <stdexcept>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

TempFolder::TempFolder(const std::string& tag) : owner(getpid())
{
    std::string pattern = (fs::temp_directory_path() / (tag + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("Cannot create a temporary folder " + pattern);
    root = pattern;
}

TempFolder::~TempFolder()
{
    if (getpid() != owner)
        return;
    std::error_code ignored;
    fs::remove_all(root, ignored);
}
