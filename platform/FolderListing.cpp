#include "platform/FolderListing.h"

#include <dirent.h>

namespace Platform
{

bool ListFolderNames(const std::string& folder, std::vector<std::string>& names)
{
    names.clear();
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return false;
    while (const dirent* entry = readdir(dir))
    {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        names.emplace_back(name);
    }
    closedir(dir);
    return true;
}

} // namespace Platform
