#pragma once

#include <string>
#include <vector>

namespace Platform
{

// The names in a folder, in the order the disk gives them, "." and ".."
// left out. False (and no names) when the folder cannot be read.
bool ListFolderNames(const std::string& folder, std::vector<std::string>& names);

} // namespace Platform
