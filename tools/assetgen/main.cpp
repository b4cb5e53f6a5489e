// assetgen <resources folder>: writes the game's generated content (level,
// light sphere, game objects, textures) into the folder.
#include <chrono>
#include <cstdio>

#include "Generator.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: assetgen <resources folder>\n");
    return 2;
  }
  const auto start = std::chrono::steady_clock::now();
  assetgen::GeneratedFiles generated;
  std::string error;
  if (!assetgen::generateContent(argv[1], generated, error)) {
    std::fprintf(stderr, "assetgen: %s\n", error.c_str());
    return 1;
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("assetgen: wrote %zu files (%.1f MB) to %s in %.2f s\n", generated.paths.size(),
              generated.totalBytes / 1048576.0, argv[1], seconds);
  return 0;
}
