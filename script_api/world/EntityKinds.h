#pragma once

// The kinds of entity that IWorld gives a block of functions each, and the
// names of that block. The block is the same for every kind, so it is
// written once and registered for each row of the table:
//
//     RegisterEntityKindBlock(table, Misc::World::kTypeIdLight);   // clearLights, ..., deleteLight
//
// (a kind known at compile time, for its own class, takes its row by type
// id: KindOf(Misc::World::kTypeIdLight)).

#include "core/world/TypeId.h"

#include <array>
#include <cstdint>
#include <string>

class CScriptMetaTable;

namespace ScriptWorld
{

// One kind: its ITypeId bit, the stems of its script names and the record
// name its entities are saved under (the kind table's row).
using SEntityKind = Misc::World::SKind;

// In the order IWorld registers their blocks.
inline constexpr auto kEntityKinds = Misc::World::KindsInOrder<Misc::World::EKindOrder::ScriptBlocks>();

// The row of a type id; null for a bit that is no kind with a block (sky).
const SEntityKind* KindOf(uint32_t typeId);

// The fourteen script names of one kind's block, in registration order.
struct SKindBlockNames
{
    std::string clear;               // clearLights
    std::string areVisible;          // areLightsVisible
    std::string setVisible;          // setLightsVisible
    std::string getSelected;         // getSelectedLight
    std::string getNumberOfSelected; // getNumberOfSelectedLights
    std::string getTypeId;           // getLightTypeId
    std::string getNumber;           // getNumberOfLights
    std::string create;              // createLight
    std::string exists;              // lightExists
    std::string load;                // loadLight
    std::string forEachSelected;     // forEachSelectedLight
    std::string forEach;             // forEachLight
    std::string add;                 // addLight
    std::string remove;              // deleteLight
};

SKindBlockNames KindBlockNames(const SEntityKind& kind);

// Registers the fourteen functions of the kind's block on the table, in the
// order of SKindBlockNames.
void RegisterEntityKindBlock(CScriptMetaTable& table, uint32_t typeId);

} // namespace ScriptWorld
