// fbxinfo's JSON report: field names, node order and values as documented.
#include <gtest/gtest.h>

#include <sstream>

#include "Report.h"
#include "TestScene.h"

namespace fbx {
namespace {

std::string jsonOf(const Scene& scene) {
  std::ostringstream out;
  fbxinfo::writeJson(scene, out);
  return out.str();
}

size_t at(const std::string& text, const std::string& needle) {
  const size_t p = text.find(needle);
  EXPECT_NE(p, std::string::npos) << "missing: " << needle;
  return p;
}

TEST(FbxInfoJson, ReportsTheSceneAsDocumented) {
  const auto scene = test::reload(*test::makeTestScene());
  const std::string json = jsonOf(*scene);
  at(json, R"("format": "binary", "version": 7400)");
  // Depth-first pre-order from the root, which has no parent.
  const size_t root = at(json, R"({"name": "RootNode", "parent": null, "attribute": "none")");
  const size_t cube = at(json, R"({"name": "Cube", "parent": "RootNode", "attribute": "mesh", )"
                               R"("translation": [1,2,3], "rotation": [0,45,0], "scaling": [2,2,2])");
  const size_t child = at(json, R"({"name": "Child", "parent": "Cube", "attribute": "null")");
  const size_t lamp = at(json, R"({"name": "Lamp", "parent": "RootNode", "attribute": "light")");
  EXPECT_TRUE(root < cube && cube < child && child < lamp);
  at(json, R"("global": [1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1]})");  // the root's rest transform
  at(json, R"({"node": "Cube", "polygons": 2, "polygon_vertices": 6, "control_points": 4, )"
           R"("layers": [{"normals": "by_polygon", "uv": "by_polygon_vertex", "tangents": null, "binormals": null, )"
           R"("materials": "by_polygon"}], "materials": ["Wall", "Floor"]})");
  at(json, R"({"name": "Floor", "diffuse": ["textures\\floor.tga"], "normal_map": []})");
  at(json, R"({"node": "Lamp", "type": 2, "color": [1,0.5,0.25], "intensity": 80, "inner_angle": 30, )"
           R"("outer_angle": 45})");
  at(json, R"({"node": "Cam", "projection": "perspective", "aperture_mode": 2, "field_of_view": 50, )");
  at(json, R"({"name": "Take 001", "layers": 2, "start": 0, "stop": 2})");
}

// Written by Blender's own exporter (exporters/make_blender_files.py).
TEST(FbxInfoJson, BlenderExportShowsWhatTheFileMeans) {
  const SceneResult loaded = loadFile(std::string(UMBRANT_FBX_SAMPLES) + "/blender_scene.fbx");
  ASSERT_TRUE(loaded.ok()) << loaded.error();
  const Scene& scene = **loaded;
  const std::string json = jsonOf(scene);
  // A 35 mm lens on 36 x 24 mm film in focal-length mode.
  at(json, R"("aperture_mode": 3, )");
  at(json, R"("vertical_field_of_view": 36.288)");
  // Blender stores cone angles only for spot lights.
  at(json, R"({"node": "Spot", "type": 2, )");
  EXPECT_NEAR(scene.findNode("Spot")->light()->innerAngle, 45, 1e-4);
  EXPECT_NEAR(scene.findNode("Spot")->light()->outerAngle, 60, 1e-4);
  EXPECT_EQ(scene.findNode("Bulb")->light()->innerAngle, 0);
  // Texture paths as on the artist's machine; the normal map through Blender's Normal Map node.
  at(json, R"({"name": "Wall", "diffuse": ["/tmp/blender-art/wall.png"], "normal_map": ["/tmp/blender-art/wall_n.png"]})");
  // The light map's UVs come in a second layer.
  const Mesh& panel = *scene.findNode("Panel")->mesh();
  ASSERT_EQ(panel.layers.size(), 2u);
  EXPECT_EQ(panel.layerUVs(1)->name, "LightMap");
  EXPECT_NE(panel.layerTangents(0), nullptr);
  // Frames 1 to 48 at 24 frames per second.
  at(json, R"("start": 0.041666)");
  at(json, R"("stop": 2})");
}

TEST(FbxInfoJson, NamesAreEscapedAndNonFiniteNumbersAreNull) {
  Scene scene;
  Node* n = scene.addNode("quote\" back\\ ctl\x01 bad\xff");
  n->transform.translation = {std::numeric_limits<double>::quiet_NaN(), 0, 0};
  const std::string json = jsonOf(scene);
  at(json, R"("name": "quote\" back\\ ctl\u0001 bad\u00ff")");
  at(json, R"("translation": [null,0,0])");
}

}  // namespace
}  // namespace fbx
