#pragma once

// Extensions that the engine's gates map onto known ones: files whose names
// end in the new extension are read as files of the known one are.

#include <path.h>

namespace Graphics
{

// Whether the name ends in the extension (which begins with "."), exactly
// as written: "x.abc" ends in ".abc", "x.abc.old" and "x.ABC" do not.
bool EndsWithExtension(const irr::io::path& name, const irr::io::path& extension);

} // namespace Graphics
