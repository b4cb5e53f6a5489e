// fbxinfo [--json | --ascii] file.fbx, fbxinfo --help (what each JSON field holds)
// Prints what the FBX reader sees in a file: a summary, the JSON report, or
// (--ascii) the whole scene as read, written back as ASCII FBX. A file that
// cannot be read gives one error line on standard error and exit status 1.
#include <cstring>
#include <iostream>

#include "Fbx/Load.h"
#include "Fbx/Writer.h"
#include "Report.h"

namespace {

const char* const kHelp =
    "usage: fbxinfo [--json | --ascii] file.fbx\n"
    "Without an option: a readable summary. With --ascii: the scene as read, written back\n"
    "as ASCII FBX (every value the reader keeps). With --json one object:\n"
    "  format, version       \"binary\" or \"ascii\", and the FBX version (7400 = 7.4)\n"
    "  nodes                 depth-first pre-order from \"RootNode\": name, parent, attribute,\n"
    "                        local translation, rotation (degrees), scaling, and the rest-pose\n"
    "                        global matrix (16 numbers, column-major)\n"
    "  meshes                per mesh node: polygon, polygon-vertex and control-point counts,\n"
    "                        the mapping of each layer's elements, the material names\n"
    "  materials             texture file names on the diffuse and the normal-map channel\n"
    "                        (a texture on \"Bump\" is a height map and is not listed)\n"
    "  lights                type (0 point, 1 directional, 2 spot), colour, intensity, inner and\n"
    "                        outer cone angles in degrees (inner 0 when the file stores none)\n"
    "  cameras               projection, aperture mode (0 horizontal and vertical, 1 horizontal,\n"
    "                        2 vertical, 3 focal length), field of view as stored, the vertical\n"
    "                        field of view the camera projects with, focal length (mm), near and\n"
    "                        far plane, film width and height (inches)\n"
    "  anim_stacks           name, layer count, and start and stop in seconds: the stack's own\n"
    "                        local span, or the span of the take of the same name when the stack\n"
    "                        stores none\n";

}  // namespace

int main(int argc, char** argv) {
  bool json = false;
  bool ascii = false;
  const char* path = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0) {
      std::cout << kHelp;
      return 0;
    }
    if (std::strcmp(argv[i], "--json") == 0) {
      json = true;
    } else if (std::strcmp(argv[i], "--ascii") == 0) {
      ascii = true;
    } else if (!path) {
      path = argv[i];
    } else {
      path = nullptr;
      break;
    }
  }
  if (!path || (json && ascii)) {
    std::cerr << kHelp;
    return 2;
  }
  fbx::SceneResult loaded = fbx::loadFile(path);
  if (!loaded) {
    std::cerr << loaded.error() << "\n";
    return 1;
  }
  if (ascii) {
    fbx::WriteOptions options;
    options.format = fbx::Format::Ascii;
    std::cout << fbx::encodeAscii(fbx::sceneToRecords(**loaded, options));
  } else if (json) {
    fbxinfo::writeJson(**loaded, std::cout);
  } else {
    fbxinfo::writeSummary(**loaded, std::cout);
  }
  return 0;
}
