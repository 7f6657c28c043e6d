#include "script_api/world/EntityKinds.h"

#include <cctype>

namespace ScriptWorld
{

const SEntityKind* KindOf(uint32_t typeId)
{
    for (const SEntityKind& kind : kEntityKinds)
    {
        if (kind.typeId == typeId)
            return &kind;
    }
    return nullptr;
}

SKindBlockNames KindBlockNames(const SEntityKind& kind)
{
    const std::string stem = kind.stem;
    const std::string plural = kind.plural;
    // "lightExists", "particleSystemExists": the stem with a lower-case
    // first letter.
    std::string lowerStem = stem;
    lowerStem[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(lowerStem[0])));
    return SKindBlockNames{
        "clear" + plural,
        "are" + plural + "Visible",
        "set" + plural + "Visible",
        "getSelected" + stem,
        "getNumberOfSelected" + plural,
        "get" + stem + "TypeId",
        "getNumberOf" + plural,
        "create" + stem,
        lowerStem + "Exists",
        "load" + stem,
        "forEachSelected" + stem,
        "forEach" + stem,
        "add" + stem,
        "delete" + stem,
    };
}

} // namespace ScriptWorld
