// Files as other exporters write them: alternative record names, missing
// Layer records, layered textures, instanced geometry, 7.7 time units, and
// mesh data that must be refused.
#include <gtest/gtest.h>

#include "TestScene.h"

namespace fbx {
namespace {

std::string document(const std::string& objects, const std::string& connections,
                     const std::string& header = "; FBX 7.4.0 project file\n") {
  return header + "Objects:  {\n" + objects + "}\nConnections:  {\n" + connections + "}\n";
}

// Normals by vertex, tangents by polygon with an "Index" reference, UVs only
// in layer 1, and a last polygon without its closing negative index; a
// material whose diffuse channel is a layered texture of two.
const char* const kQuirkyMesh = R"(
	Geometry: 100, "Geometry::Tri", "Mesh" {
		Vertices: *12 { a: 0,0,0,1,0,0,1,1,0,0,1,0 }
		PolygonVertexIndex: *7 { a: 0,1,-3,0,2,3,1 }
		LayerElementNormal: 0 {
			MappingInformationType: "ByVertex"
			ReferenceInformationType: "Direct"
			Normals: *12 { a: 0,0,1,0,0,1,0,0,1,0,0,1 }
		}
		LayerElementTangent: 0 {
			MappingInformationType: "ByPolygon"
			ReferenceInformationType: "Index"
			Tangent: *6 { a: 1,0,0,0,1,0 }
			TangentIndex: *2 { a: 1,0 }
		}
		LayerElementUV: 1 {
			MappingInformationType: "ByPolygonVertex"
			ReferenceInformationType: "IndexToDirect"
			UV: *4 { a: 0,0,1,1 }
			UVIndex: *7 { a: 0,1,0,1,0,1,0 }
		}
	}
	Model: 200, "Model::A", "Mesh" { }
	Model: 201, "Model::B", "Mesh" { }
	Material: 1, "Material::Mat", "" { }
	LayeredTexture: 2, "LayeredTexture::Stack", "" { }
	Texture: 3, "Texture::Base", "" { FileName: "base.png" }
	Texture: 4, "Texture::Detail", "" { FileName: "detail.png" }
	Texture: 5, "Texture::Bumps", "" { FileName: "bumps.png" }
)";

TEST(ExporterQuirks, MeshWithoutLayerRecordsAlternativeNamesAndLayeredTextures) {
  const auto scene = test::loadBytes(test::toBytes(document(
      kQuirkyMesh, "C: \"OO\",100,200\nC: \"OO\",100,201\nC: \"OO\",200,0\nC: \"OO\",201,0\n"
                   "C: \"OP\",2,1,\"DiffuseColor\"\nC: \"OO\",3,2\nC: \"OO\",4,2\nC: \"OP\",5,1,\"Bump\"\n")));
  ASSERT_TRUE(scene);
  const Mesh* mesh = scene->findNode("A")->mesh();
  ASSERT_NE(mesh, nullptr);
  EXPECT_EQ(scene->findNode("B")->mesh(), mesh);  // instanced geometry
  EXPECT_EQ(mesh->polygonSize(1), 4);
  ASSERT_EQ(mesh->layers.size(), 2u);  // layers from the elements' typed indices
  Vec3 n;
  EXPECT_TRUE(mesh->polygonVertexNormal(1, 2, n));
  EXPECT_EQ(n, (Vec3{0, 0, 1}));
  const LayerElement* tangents = mesh->layerTangents(0);
  ASSERT_NE(tangents, nullptr);
  EXPECT_EQ(tangents->vec3(tangents->directIndex(mesh->mappingIndex(tangents->mapping, 0, 0))), (Vec3{0, 1, 0}));
  EXPECT_EQ(mesh->textureUVIndex(1, 1, 0), -1);
  EXPECT_EQ(mesh->textureUVIndex(1, 1, 1), 0);
  const Material& m = *scene->materials().at(0);
  ASSERT_EQ(m.diffuseTextures().size(), 2u);
  EXPECT_EQ(m.diffuseTextures()[1]->fileName, "detail.png");
  EXPECT_EQ(m.texturesOn(Material::kBump).size(), 1u);  // a bump map is a height map, not a normal map

  std::string objects = kQuirkyMesh;
  objects.replace(objects.find("a: 0,1,-3,0,2,3,1"), 17, "a: 0,1,-3,0,2,3,9");
  const auto bytes = test::toBytes(document(objects, ""));
  SceneResult r = loadMemory(bytes.data(), bytes.size(), "mesh.fbx");
  ASSERT_FALSE(r.ok());
  EXPECT_EQ(r.error().find("mesh.fbx: offset "), 0u) << r.error();
  EXPECT_NE(r.error().find("uses control point 9 of only 4"), std::string::npos) << r.error();
}

// Stacks without a span of their own take their take's; 7.7 files count time
// in their own units.
TEST(ExporterQuirks, WhatTheFileLeavesOutComesFromTakesAndClassDefaults) {
  const char* const objects = R"(
	AnimationStack: 1, "AnimStack::Empty", "" { }
	AnimationStack: 2, "AnimStack::Own", "" { Properties70: { P: "LocalStop", "KTime", "Time", "",7 } }
	AnimationStack: 4, "AnimStack::Take", "" { Properties70: { P: "LocalStop", "KTime", "Time", "",141120000 } }
)";
  const std::string takes = "Takes:  {\n Take: \"Empty\" { LocalTime: 5,900 }\n Take: \"Own\" { LocalTime: 5,900 }\n}\n";
  const auto scene = test::loadBytes(test::toBytes(document(objects, "") + takes));
  ASSERT_TRUE(scene);
  EXPECT_EQ(scene->findAnimStack("Empty")->localStart, 5);
  EXPECT_EQ(scene->findAnimStack("Empty")->localStop, 900);
  EXPECT_EQ(scene->findAnimStack("Own")->localStop, 7);
  EXPECT_EQ(scene->findAnimStack("Take")->localStop, 141120000);

  const char* const header = "; FBX 7.7.0 project file\nFBXHeaderExtension: { OtherFlags: { TCDefinition: 0 } }\n";
  const auto version77 = test::loadBytes(test::toBytes(document(objects, "", header)));
  ASSERT_TRUE(version77);
  EXPECT_EQ(version77->findAnimStack("Take")->localStop, kTicksPerSecond);
}

}  // namespace
}  // namespace fbx
