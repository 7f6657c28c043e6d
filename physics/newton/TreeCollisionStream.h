#pragma once

// Our stream format for tree collisions (all little-endian):
//   "HVTC", version 1 (u32), vertex count (u32), triangle count (u32),
//   vertices (3 x f32 each), triangles (3 x u32 indices, i32 attribute),
//   FNV-1a checksum of everything before it (u32).
// The reader trusts nothing: counts are bounded, memory grows only with
// data actually read, and any short read, bad index, non-finite vertex or
// checksum mismatch refuses the whole stream.

#include "physics/newton/Newton.h"
#include "physics/newton/TreeMesh.h"

#include <memory>

namespace TreeCollisionStream
{

constexpr uint32_t kMaxTriangles = 1u << 24;

void Write(const TreeMesh& mesh, NewtonSerialize write, void* handle);
std::unique_ptr<TreeMesh> Read(NewtonDeserialize read, void* handle);

} // namespace TreeCollisionStream
