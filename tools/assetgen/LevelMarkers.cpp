// What the level holds besides geometry: spawn pads, lights and the
// overview camera's flight.
#include <cmath>
#include <cstdio>

#include "LevelDesign.h"

namespace assetgen {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kPadRadius = 0.5, kPadHeight = 0.06;  // metres
constexpr int kPadSegments = 16;

constexpr double kFlightSeconds = 24.0;      // one loop around the arena
constexpr double kFlightRadius = 72.0;       // metres from the centre
constexpr double kFlightHeight = 55.0;       // metres above the floor
constexpr double kFlightKeyStep = 1.0;       // seconds between path keys
constexpr double kSwayAmplitude = 4.0;       // metres up and down
constexpr double kSwayPeriod = 6.0;          // seconds
constexpr double kSwayKeyStep = 0.5;         // seconds between sway keys

// Pads on walkable floor: rooms, corridors, courtyard, outskirts, the yard
// and the platform top. x, z, floor height.
const Vec3 kPads[] = {
    {-44, 0, -44}, {-28, 0, -31}, {35, 0, -40},  {-30, 0, 44}, {0, 0, -35.5}, {-35.5, 0, 0},
    {-14, 0, 18},  {14, 0, -12},  {22, 0, 25},   {40, kPlatformHeight, 40}, {55, 0, 0}, {0, 0, 55}, {0, 0, -47},
};

}  // namespace

void placeSpawnPads(LevelDesign& design) {
  int n = 0;
  for (const Vec3& p : kPads) {
    char name[32];
    std::snprintf(name, sizeof name, "SpawnPad%02d", ++n);
    Piece pad{"SpawnPoints", name, {}, false};
    addCylinder(pad.mesh, p, kPadRadius, kPadHeight, kPadSegments, Surface::Gunmetal, Surface::MetalPlates);
    design.spawnPads.push_back(std::move(pad));
  }
}

void placeLights(LevelDesign& design) {
  using fbx::LightType;
  const Vec3 down{-90, 0, 0};
  design.lights = {
      {"ArmorySpotWest", LightType::Spot, {-43, 4.6, -35}, down, {1.0, 0.88, 0.7}, 30, 60},
      {"ArmorySpotEast", LightType::Spot, {-27, 4.6, -35}, down, {0.5, 0.7, 1.0}, 30, 60},
      {"HallSpotWest", LightType::Spot, {31, 7.5, -35}, {-75, 90, 0}, {1.0, 0.25, 0.2}, 25, 55},
      {"HallSpotEast", LightType::Spot, {39, 7.5, -35}, {-75, -90, 0}, {1.0, 0.7, 0.3}, 25, 55},
      {"HallSpotSouth", LightType::Spot, {35, 7.5, -26}, down, {0.9, 0.9, 1.0}, 35, 70},
      {"StorageSpot", LightType::Spot, {-35, 3.7, 35}, down, {0.4, 1.0, 0.5}, 35, 70},
      {"CorridorNorthSpot", LightType::Spot, {0, 3.4, -35.5}, down, {0.4, 0.9, 1.0}, 30, 65},
      {"CorridorWestSpot", LightType::Spot, {-35.5, 3.4, 0}, down, {0.8, 0.4, 1.0}, 30, 65},
      {"PlatformSpot", LightType::Spot, {34, 10, 34}, {-60, 45, 0}, {1.0, 0.95, 0.7}, 20, 45},
      {"CourtyardSpot", LightType::Spot, {0, 14, 0}, down, {0.6, 0.7, 1.0}, 30, 60},
      {"PillarLightNorthWest", LightType::Point, {-10, 6.6, -10}, {}, {1.0, 0.55, 0.2}},
      {"PillarLightNorthEast", LightType::Point, {10, 6.6, -10}, {}, {1.0, 0.45, 0.15}},
      {"PillarLightSouthWest", LightType::Point, {-10, 6.6, 10}, {}, {1.0, 0.6, 0.25}},
      {"PillarLightSouthEast", LightType::Point, {10, 6.6, 10}, {}, {0.95, 0.5, 0.2}},
      {"YardLight", LightType::Point, {24, 3, 30}, {}, {1.0, 0.3, 0.7}},
      {"PlatformLight", LightType::Point, {45, 5, 45}, {}, {1.0, 0.9, 0.4}},
      {"StorageLight", LightType::Point, {-44, 3, 44}, {}, {1.0, 0.7, 0.4}},
      {"ArmoryLight", LightType::Point, {-35, 3.5, -46}, {}, {1.0, 0.2, 0.1}},
      {"HallLight", LightType::Point, {35, 5, -48}, {}, {0.2, 1.0, 0.8}},
      {"OutskirtsLight", LightType::Point, {0, 3, 50}, {}, {0.7, 0.8, 1.0}},
  };
}

void planCameraFlight(LevelDesign& design) {
  design.flyoverSeconds = kFlightSeconds;
  design.cameraTarget = {0, 0, 0};
  design.cameraPath.clear();
  for (double t = 0; t <= kFlightSeconds + 1e-9; t += kFlightKeyStep) {
    const double angle = 2 * kPi * t / kFlightSeconds;
    design.cameraPath.push_back({t, {kFlightRadius * std::sin(angle), kFlightHeight, kFlightRadius * std::cos(angle)}});
  }
  design.cameraSway.clear();
  for (double t = 0; t <= kFlightSeconds + 1e-9; t += kSwayKeyStep) {
    design.cameraSway.push_back({t, {0, kSwayAmplitude * std::sin(2 * kPi * t / kSwayPeriod), 0}});
  }
}

}  // namespace assetgen
