#include "irrlicht/ExtensionMappers.h"

#include <cstring>

namespace Graphics
{

using namespace irr;

bool EndsWithExtension(const io::path& name, const io::path& extension)
{
    const u32 length = extension.size();
    if (length == 0 || name.size() < length)
        return false;
    return std::memcmp(name.c_str() + (name.size() - length), extension.c_str(), length) == 0;
}

} // namespace Graphics
