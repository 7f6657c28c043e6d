#pragma once

#include "core/foundation/Rect.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace Misc::Serialization
{
class IArchive;
}

// The small steps every GUI layout reader and writer shares.
namespace Graphics::GUI::Layout
{

// The type tag that heads layout files.
inline constexpr const char* kLayoutTypeName = "KVOGUI";

// A value that does not read ends the load ("[CGuiManager::<method>]
// Invalid value for key:<key>"), rather than leave a default and read the
// following keys out of step.
void Require(bool read, const char* key, const wchar_t* method = L"Read");

// The key, then count floats; one that does not read ends the load as
// Require does.
void ReadKeyFloats(Misc::Serialization::IArchive& archive, const char* key, float* values, size_t count,
                   const wchar_t* method = L"Read");
// The key and its floats on one line, each with 6 decimals.
bool WriteKeyFloats(Misc::Serialization::IArchive& archive, const char* key,
                    std::initializer_list<float> values);

// "Name{" and a deeper indent; the indent back and "}".
bool WriteBlockStart(Misc::Serialization::IArchive& archive, const char* name);
bool WriteBlockEnd(Misc::Serialization::IArchive& archive);

// The archive attribute "useRelativeCoordinates" (false when unset).
bool UsesRelativeCoordinates(Misc::Serialization::IArchive& archive);

// The rectangle in pixels by the rectangle rule (all four strictly between
// -2 and 2: fractions of the screen).
CRect ToPixels(const CRect& rect, uint32_t screenWidth, uint32_t screenHeight);

} // namespace Graphics::GUI::Layout
