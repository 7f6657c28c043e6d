#pragma once

#include <string>

namespace Platform
{

// The running program's own file, as the system knows it (absolute, links
// resolved); empty when the system cannot tell.
std::string GetExecutablePath();

} // namespace Platform
