// fbx_load_bench [work-directory]
// Writes a large generated level (a million quads, raw and zlib-compressed
// arrays), a medium ASCII file and a small scene in three encodings, then
// loads each file in a child process and prints load speed (MB/s of file),
// peak resident memory and its ratio to the inflated content size. With
// Assimp available the same files are loaded by Assimp::Importer::ReadFile
// (no post-processing) and the speed ratio is printed.
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "Fbx/Load.h"
#include "Fbx/Parse.h"
#include "Fbx/Writer.h"

#ifdef FBX_BENCH_WITH_ASSIMP
#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#endif

extern char** environ;

namespace {

constexpr int kLargeGrid = 1000;   // 1000 x 1000 quads
constexpr int kMediumGrid = 300;   // ASCII file
constexpr double kMinSeconds = 1.0;  // small files are loaded repeatedly for this long

// A grid of n x n quads with normals, indexed UVs and two materials.
void buildGrid(fbx::Scene& scene, int n) {
  fbx::Node* node = scene.addNode("Floor");
  fbx::Mesh* mesh = scene.addMesh("FloorMesh");
  fbx::Scene::setAttribute(node, mesh);
  const int side = n + 1;
  mesh->controlPoints.reserve(static_cast<size_t>(side) * side);
  fbx::LayerElement normals, uvs;
  normals.mapping = fbx::MappingMode::ByControlPoint;
  uvs.components = 2;
  uvs.mapping = fbx::MappingMode::ByPolygonVertex;
  uvs.reference = fbx::ReferenceMode::IndexToDirect;
  for (int z = 0; z < side; ++z) {
    for (int x = 0; x < side; ++x) {
      const double h = 0.01 * ((x * 7919 + z * 104729) % 97);
      mesh->controlPoints.push_back({x * 1.0, h, z * 1.0});
      normals.direct.insert(normals.direct.end(), {0.0, 1.0, h});
      uvs.direct.insert(uvs.direct.end(), {x / double(n), z / double(n)});
    }
  }
  fbx::MaterialElement materials{fbx::MappingMode::ByPolygon, fbx::ReferenceMode::IndexToDirect, {}};
  mesh->polygonVertices.reserve(4 * static_cast<size_t>(n) * n);
  for (int z = 0; z < n; ++z) {
    for (int x = 0; x < n; ++x) {
      const int a = z * side + x;
      mesh->addPolygon({a, a + 1, a + side + 1, a + side});
      materials.indices.push_back((x + z) % 2);
    }
  }
  uvs.index = mesh->polygonVertices;
  mesh->normals.push_back(std::move(normals));
  mesh->uvs.push_back(std::move(uvs));
  mesh->materialElements.push_back(std::move(materials));
  mesh->layers.push_back({0, -1, -1, 0, -1, 0});
  for (const char* name : {"Stone", "Moss"}) {
    fbx::Material* m = scene.addMaterial(name);
    m->textures[fbx::Material::kDiffuse].push_back(scene.addTexture(std::string(name) + "Tex", "stone.png"));
    node->materials.push_back(m);
  }
}

// A small scene like a game object: a few meshes, a light, a camera, animation.
void buildSmall(fbx::Scene& scene) {
  buildGrid(scene, 20);
  fbx::Node* lamp = scene.addNode("Lamp");
  fbx::Scene::setAttribute(lamp, scene.addLight("LampLight"));
  fbx::Node* cam = scene.addNode("Cam");
  fbx::Scene::setAttribute(cam, scene.addCamera("CamCamera"));
  fbx::AnimStack* stack = scene.addAnimStack("Take 001");
  stack->localStop = fbx::kTicksPerSecond;
  fbx::AnimLayer* layer = scene.addAnimLayer(stack, "Base");
  fbx::AnimCurveNode* t = scene.addCurveNode(layer, lamp, "Lcl Translation", {"X", "Y", "Z"}, {0, 0, 0});
  fbx::AnimCurve* c = scene.addChannelCurve(t, "X");
  for (int k = 0; k <= 30; ++k) c->keys.push_back({k * fbx::kTicksPerSecond / 30, float(k), fbx::Interpolation::Linear});
}

bool writeScene(const fbx::Scene& scene, const std::string& path, fbx::WriteOptions options) {
  if (!fbx::writeFile(scene, path, options).ok()) {
    std::cerr << path << ": cannot write file\n";
    return false;
  }
  return true;
}

std::vector<std::string> generate(const std::string& dir) {
  std::vector<std::string> files;
  fbx::WriteOptions raw, zlib, v75, ascii;
  raw.compressArrays = false;
  v75.version = 7500;
  ascii.format = fbx::Format::Ascii;
  {
    fbx::Scene large;
    buildGrid(large, kLargeGrid);
    if (writeScene(large, dir + "/large_raw.fbx", raw)) files.push_back(dir + "/large_raw.fbx");
    if (writeScene(large, dir + "/large_zlib.fbx", zlib)) files.push_back(dir + "/large_zlib.fbx");
  }
  {
    fbx::Scene medium;
    buildGrid(medium, kMediumGrid);
    if (writeScene(medium, dir + "/medium_ascii.fbx", ascii)) files.push_back(dir + "/medium_ascii.fbx");
  }
  fbx::Scene small;
  buildSmall(small);
  const std::pair<const char*, fbx::WriteOptions> variants[] = {
      {"/small_7400.fbx", zlib}, {"/small_7500.fbx", v75}, {"/small_ascii.fbx", ascii}};
  for (const auto& [name, options] : variants) {
    if (writeScene(small, dir + name, options)) files.push_back(dir + name);
  }
  return files;
}

// Peak resident memory of this process image (VmHWM; getrusage would also
// count the parent's memory inherited through posix_spawn).
double peakMegabytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  }
  return 0;
}

// Child mode: loads `path` with the chosen reader until kMinSeconds pass
// (at least once) and prints "<seconds per load> <peak MB of the loads>"
// (the peak above the process's resident size before the first load).
int loadAndReport(const std::string& reader, const std::string& path) {
  const double baseline = peakMegabytes();
  int loads = 0;
  double total = 0;
  while (loads == 0 || total < kMinSeconds) {
    const auto start = std::chrono::steady_clock::now();
    bool ok = false;
    if (reader == "fbx") {
      ok = fbx::loadFile(path).ok();
#ifdef FBX_BENCH_WITH_ASSIMP
    } else {
      Assimp::Importer importer;
      ok = importer.ReadFile(path, 0) != nullptr;
#endif
    }
    total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ++loads;
    if (!ok) {
      std::cerr << reader << " failed to load " << path << "\n";
      return 1;
    }
  }
  std::printf("%.9f %.1f\n", total / loads, peakMegabytes() - baseline);
  return 0;
}

struct Measurement {
  bool ok = false;
  double seconds = 0, peakMb = 0;
};

Measurement measureInChild(const std::string& self, const std::string& reader, const std::string& path) {
  int fds[2];
  Measurement m;
  if (pipe(fds) != 0) return m;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  std::vector<std::string> args = {self, "--load", reader, path};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, self.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  char buf[128] = {};
  const ssize_t got = spawned == 0 ? read(fds[0], buf, sizeof buf - 1) : -1;
  close(fds[0]);
  int status = 0;
  if (spawned == 0) waitpid(pid, &status, 0);
  if (got > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0 &&
      std::sscanf(buf, "%lf %lf", &m.seconds, &m.peakMb) == 2) {
    m.ok = true;
  }
  return m;
}

size_t arrayBytes(const fbx::Property& p) {
  const size_t element = p.type() == 'd' || p.type() == 'l' ? 8 : p.type() == 'b' || p.type() == 'c' ? 1 : 4;
  return p.arraySize() * element;
}

// Bytes of the record tree with every array inflated (binary sizes).
double inflatedMegabytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto doc = fbx::parseRecords(bytes.data(), bytes.size(), path);
  if (!doc) return 0;
  size_t total = 0;
  std::vector<const fbx::Record*> stack = {&doc->root};
  while (!stack.empty()) {
    const fbx::Record* r = stack.back();
    stack.pop_back();
    total += r->name.size() + 13;
    for (const fbx::Property& p : r->properties) {
      total += 1 + (p.isString() ? p.toString().size() + 4 : p.isArray() ? arrayBytes(p) + 12 : 8);
    }
    for (const fbx::Record& c : r->children) stack.push_back(&c);
  }
  return total / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--load") == 0) return loadAndReport(argv[2], argv[3]);
  const std::string dir = argc > 1 ? argv[1] : (std::filesystem::temp_directory_path() / "fbx_bench").string();
  std::filesystem::create_directories(dir);
  const std::string self = std::filesystem::canonical("/proc/self/exe").string();
  std::cout << "Generating files in " << dir << " ...\n";
  const std::vector<std::string> files = generate(dir);
  std::printf("%-18s %9s %9s %9s %9s %7s", "file", "file MB", "infl. MB", "MB/s", "peak MB", "peak/x");
  // peak MB: resident memory added by one load; peak/x: that over the inflated size.
#ifdef FBX_BENCH_WITH_ASSIMP
  std::printf(" %12s %10s %9s", "assimp MB/s", "assimp MB", "speed x");
#endif
  std::printf("\n");
  for (const std::string& path : files) {
    const double fileMb = std::filesystem::file_size(path) / 1e6;
    const double inflated = inflatedMegabytes(path);
    const Measurement ours = measureInChild(self, "fbx", path);
    std::printf("%-18s %9.1f %9.1f", std::filesystem::path(path).filename().c_str(), fileMb, inflated);
    if (ours.ok) {
      std::printf(" %9.1f %9.1f %7.2f", fileMb / ours.seconds, ours.peakMb, ours.peakMb / inflated);
    } else {
      std::printf(" %9s %9s %7s", "failed", "-", "-");
    }
#ifdef FBX_BENCH_WITH_ASSIMP
    const Measurement theirs = measureInChild(self, "assimp", path);
    if (theirs.ok && ours.ok) {
      std::printf(" %12.1f %10.1f %9.1f", fileMb / theirs.seconds, theirs.peakMb, theirs.seconds / ours.seconds);
    } else {
      std::printf(" %12s %10s %9s", "failed", "-", "-");
    }
#endif
    std::printf("\n");
    std::fflush(stdout);
  }
  return 0;
}
