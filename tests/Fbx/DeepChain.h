// A hostile-shaped FBX document: `depth` null nodes, each the only child of
// the one before, as compact ASCII (about 50 bytes a node).
#pragma once

#include <string>

namespace fbx::test {

inline std::string deepChainDocument(int depth) {
  std::string objects, connections;
  for (int i = 1; i <= depth; ++i) {
    const std::string id = std::to_string(i);
    objects += "Model: " + id + ", \"Model::N" + id + "\", \"Null\" {\n}\n";
    connections += "C: \"OO\"," + id + "," + std::to_string(i - 1) + "\n";
  }
  return "; FBX 7.4.0 project file\nObjects: {\n" + objects + "}\nConnections: {\n" + connections + "}\n";
}

}  // namespace fbx::test
