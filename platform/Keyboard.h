#pragma once

namespace Platform
{

// Whether F7 is held down right now. Read from the X display when one is
// reachable; without a display no key counts as held.
bool IsF7Held();

} // namespace Platform
