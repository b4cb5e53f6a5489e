// src/Fbx: our FBX reader and writer, from bytes to a checked scene model and back.
// The bottom layer: no OpenGL, no engine types; the importer and the tools build on it.
//
// The FBX library in one include.
//
// Layers, bottom to top:
//   Records.h, Parse.h   record tree; binary and ASCII parsers
//   Scene.h, Mesh.h,     scene model: node tree under "RootNode", attributes
//   Object.h,            (mesh, camera, light, skeleton, null, other),
//   Animation.h          materials and textures, animation stacks and curves
//   Load.h               loadFile / loadMemory: file -> Scene or error
//   Evaluator.h          transforms and property values at a time
//   Writer.h             Scene -> binary 7.4 (or 7.5 / ASCII) bytes
//   Math.h               Vec2/Vec3, column-major Matrix4 (double)
#pragma once

#include "Fbx/Animation.h"
#include "Fbx/Evaluator.h"
#include "Fbx/Load.h"
#include "Fbx/Math.h"
#include "Fbx/Mesh.h"
#include "Fbx/Object.h"
#include "Fbx/Parse.h"
#include "Fbx/Records.h"
#include "Fbx/Scene.h"
#include "Fbx/Writer.h"
