// fbxinfo [--json] file.fbx
// Prints what the FBX reader sees in a file. A file that cannot be read
// gives one error line on standard error and exit status 1.
#include <cstring>
#include <iostream>

#include "Fbx/Load.h"
#include "Report.h"

int main(int argc, char** argv) {
  bool json = false;
  const char* path = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--json") == 0) {
      json = true;
    } else if (!path) {
      path = argv[i];
    } else {
      path = nullptr;
      break;
    }
  }
  if (!path) {
    std::cerr << "usage: fbxinfo [--json] file.fbx\n";
    return 2;
  }
  fbx::SceneResult loaded = fbx::loadFile(path);
  if (!loaded) {
    std::cerr << loaded.error() << "\n";
    return 1;
  }
  if (json) {
    fbxinfo::writeJson(**loaded, std::cout);
  } else {
    fbxinfo::writeSummary(**loaded, std::cout);
  }
  return 0;
}
