// Writes the whole generated content tree below a resources folder:
// Textures/, GameObjects/, testlevel.fbx and sphere.fbx. Output is the same
// bytes on every run.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace assetgen {

struct GeneratedFiles {
  std::vector<std::string> paths;  // every file written
  size_t totalBytes = 0;
};

// Returns false with "path: problem" in `error` when a folder or file
// cannot be written.
bool generateContent(const std::string& resourcesFolder, GeneratedFiles& generated, std::string& error);

}  // namespace assetgen
