// fbxinfo's JSON report: what an exporter's file means, and names and numbers
// that JSON cannot hold as they are.
#include <gtest/gtest.h>

#include <sstream>

#include "Fbx/Load.h"
#include "Report.h"

namespace fbx {
namespace {

std::string jsonOf(const Scene& scene) {
  std::ostringstream out;
  fbxinfo::writeJson(scene, out);
  return out.str();
}

void expectIn(const std::string& text, const std::string& needle) {
  EXPECT_NE(text.find(needle), std::string::npos) << "missing: " << needle;
}

// Written by Blender's own exporter (exporters/make_blender_files.py).
TEST(FbxInfoJson, BlenderExportShowsWhatTheFileMeans) {
  const SceneResult loaded = loadFile(std::string(UMBRANT_FBX_SAMPLES) + "/blender_scene.fbx");
  ASSERT_TRUE(loaded.ok()) << loaded.error();
  const Scene& scene = **loaded;
  const std::string json = jsonOf(scene);
  // A 35 mm lens on 36 x 24 mm film in focal-length mode.
  expectIn(json, R"("aperture_mode": 3, )");
  expectIn(json, R"("vertical_field_of_view": 36.288)");
  // Blender stores cone angles only for spot lights.
  expectIn(json, R"({"node": "Spot", "type": 2, )");
  EXPECT_NEAR(scene.findNode("Spot")->light()->innerAngle, 45, 1e-4);
  EXPECT_NEAR(scene.findNode("Spot")->light()->outerAngle, 60, 1e-4);
  EXPECT_EQ(scene.findNode("Bulb")->light()->innerAngle, 0);
  // Texture paths as on the artist's machine; the normal map through Blender's Normal Map node.
  expectIn(json, R"({"name": "Wall", "diffuse": ["/tmp/blender-art/wall.png"], )"
                 R"("normal_map": ["/tmp/blender-art/wall_n.png"]})");
  // The light map's UVs come in a second layer.
  const Mesh& panel = *scene.findNode("Panel")->mesh();
  ASSERT_EQ(panel.layers.size(), 2u);
  EXPECT_EQ(panel.layerUVs(1)->name, "LightMap");
  EXPECT_NE(panel.layerTangents(0), nullptr);
  // Frames 1 to 48 at 24 frames per second.
  expectIn(json, R"("start": 0.041666)");
  expectIn(json, R"("stop": 2})");
}

TEST(FbxInfoJson, NamesAreEscapedAndNonFiniteNumbersAreNull) {
  Scene scene;
  Node* n = scene.addNode("quote\" back\\ ctl\x01 bad\xff");
  n->transform.translation = {std::numeric_limits<double>::quiet_NaN(), 0, 0};
  const std::string json = jsonOf(scene);
  expectIn(json, R"("name": "quote\" back\\ ctl\u0001 bad\u00ff")");
  expectIn(json, R"("translation": [null,0,0])");
}

}  // namespace
}  // namespace fbx
