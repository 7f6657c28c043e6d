#pragma once

#include <string>

// Text forms of the value types (points, vectors, rectangles, colours):
// printf/scanf with narrow formats, always in the "C" locale so that a
// decimal point is a point whatever the process locale says.
namespace Misc::Text
{

// Formats like snprintf into a narrow string of at most 1023 characters
// (longer results are cut).
std::string FormatNarrowC(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Scans up to `count` (1 to 4) blank-separated floats from the text, as
// sscanf with "%f %f ..." does, and returns how many were read. Scanning
// stops at the first token that is not a number; the floats it did not
// reach keep their values. A null text reads nothing.
int ScanFloatsC(const char* text, float* values, int count);

} // namespace Misc::Text
