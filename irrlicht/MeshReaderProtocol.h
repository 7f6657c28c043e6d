#pragma once

// What the engine and its model reader process (halvane-meshreader) say to
// each other over the reader's two pipes. Every message is a 32-bit tag, a
// 32-bit payload length and the payload (in the form of MeshWire.h).
//
//   engine -> reader  kLoad    the model's name, the scene's loader
//                              parameters, answers told ahead (names the
//                              loader may open, each kImage or kAbsent, as
//                              a kAnswer would give them), the file's bytes
//   reader -> engine  kQuery   a file that Irrlicht's loader opens while it
//                              reads the model (a material library, a
//                              texture): its name
//   engine -> reader  kAnswer  for an image name: kImage (it exists: the
//                              reader only needs the name) or kAbsent; for
//                              any other name kAbsent, or kBytes and the
//                              file's bytes (none when the engine cannot
//                              read it)
//   reader -> engine  kResult  the mesh's description (MeshDescription.h)
//   reader -> engine  kFailure the reason Irrlicht made no mesh
//
// The reader handles one model at a time and then waits for the next; it
// ends when its input closes.

#include <cstdint>

namespace Graphics::MeshReaderProtocol
{

constexpr uint32_t kLoad = 0x44414f4c;    // "LOAD"
constexpr uint32_t kQuery = 0x454c4946;   // "FILE"
constexpr uint32_t kAnswer = 0x57534e41;  // "ANSW"
constexpr uint32_t kResult = 0x454e4f44;  // "DONE"
constexpr uint32_t kFailure = 0x4c494146; // "FAIL"

constexpr uint8_t kAbsent = 0;
constexpr uint8_t kImage = 1;
constexpr uint8_t kBytes = 2;

// Kinds of loader parameter.
constexpr uint8_t kBool = 0;
constexpr uint8_t kInt = 1;
constexpr uint8_t kFloat = 2;
constexpr uint8_t kString = 3;

// The name the engine looks for beside its program.
constexpr const char* kProgramName = "halvane-meshreader";

} // namespace Graphics::MeshReaderProtocol
