// The IWorld table: every function in the interface's order, and what a
// second add of one entity leaves in the scene and the physics world.
#include "support/LuaTestState.h"

#include "app/EngineComposition.h"
#include "core/script/ScriptManager.h"
#include "graphics/engine/GraphicsEngine.h"
#include "physics/PhysicsEngine.h"
#include "script_api/world/IWorld.h"
#include "world/World.h"

#include <irrlicht.h>

#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>

namespace
{

const char* const kWorldFunctions =
    "load save unload exists getPath getName getPathLong getNameLong getDataFilename getScriptName "
    "setScriptName dataExists getData getDataInt getDataFloat getDataBool setData setDataInt setDataFloat "
    "setDataBool deleteData clearData getDataCount forEachData";
const char* const kEntityFunctions =
    "selectEntity deselectEntity isEntitySelected deselectAll getNumberOfSelectedEntities getSelectedEntity "
    "forEachSelectedEntity copySelectedEntities deleteSelectedEntities manipulateSelectedEntities "
    "entityExists getNumberOfEntities getEntityTypeId getEntityName setEntityName getEntityModelName "
    "setEntityModelName getEntityPosition setEntityPosition getEntityScale setEntityScale getEntityRotation "
    "setEntityRotation getEntityFrontVector getEntityUpVector getEntityEditMode setEntityEditMode "
    "refreshEntity getEntityScript setEntityScript callEntityScript callEntityScript1 copyEntity saveEntity "
    "deleteEntity forEachEntity manipulateEntity dataExistsEntity getEntityData getEntityDataInt "
    "getEntityDataFloat getEntityDataBool setEntityData setEntityDataInt setEntityDataFloat "
    "setEntityDataBool deleteEntityData clearEntityData getEntityDataCount forEachEntityData";
// The block, with X for the stem and Xs for the plural.
const char* const kBlock = "clearXs areXsVisible setXsVisible getSelectedX getNumberOfSelectedXs getXTypeId "
                           "getNumberOfXs createX xExists loadX forEachSelectedX forEachX addX deleteX";

std::string Block(const std::string& stem)
{
    std::string lower = stem;
    lower[0] = static_cast<char>(lower[0] - 'A' + 'a');
    std::istringstream names(kBlock);
    std::string name;
    std::string out;
    while (names >> name)
    {
        if (name == "xExists")
            name = lower + "Exists";
        else
            name.replace(name.find('X'), 1, stem);
        out += " " + name;
    }
    return out;
}

std::string ExpectedOrder()
{
    std::string order = std::string(kWorldFunctions) + " " + kEntityFunctions;
    for (const char* stem : {"Cursor", "Camera", "Light", "Trigger", "Unit", "Billboard", "Water", "Terrain",
                             "Agent", "ParticleSystem", "Waypoint"})
        order += Block(stem);
    return order;
}

class IWorldTest : public LuaTestState
{
};

// The table holds exactly the listed functions (the list is in the
// interface's order), and its metatable is hidden.
TEST_F(IWorldTest, HoldsExactlyTheInterfaceFunctions)
{
    RegisterIWorld(state);
    EXPECT_EQ(
        RunScript(state,
                  "local expected, count = {}, 0\n"
                  "for name in ('" +
                      ExpectedOrder() +
                      "'):gmatch('%S+') do\n"
                      "  assert(not expected[name], 'listed twice: ' .. name)\n"
                      "  expected[name], count = true, count + 1\n"
                      "  assert(type(IWorld[name]) == 'function', name)\n"
                      "end\n"
                      "assert(count == 228, count)\n"
                      "local mt = debug.getmetatable(IWorld)\n"
                      "for name in pairs(mt.__index) do assert(expected[name], 'unlisted: ' .. name) end\n"
                      "assert(getmetatable(IWorld) == 'Metatable is readonly')\n"
                      "assert(not pcall(setmetatable, IWorld, {}))"),
        "");
}

// The nodes named after the id anywhere under the node.
int CountNodes(irr::scene::ISceneNode* node, const std::string& name)
{
    int count = name == node->getName() ? 1 : 0;
    for (irr::scene::ISceneNode* child : node->getChildren())
        count += CountNodes(child, name);
    return count;
}

TEST_F(IWorldTest, ASecondAddLeavesOneNodeAndOneBody)
{
    ::setenv("HALVANE_MESSAGEBOX", "no", 1);
    auto engine = std::make_unique<CScriptManager>(Halvane::EngineComposition());
    CScriptManager::SetInstance(engine.get());
    auto* graphics = engine->GetPart<Graphics::CGraphicsEngine>();
    ASSERT_TRUE(graphics->Init("NULL", 64, 64, false, 16, false, false, false, 60, 0, 0, -1, -1, true));
    auto* physics = engine->GetPart<CPhysicsEngine>();
    ASSERT_TRUE(physics->Init(0, 0, 0.6f, 0.5f, 0.0f, 0.0f, 1000.0f, false, 60, true));
    RegisterIWorld(state);

    const std::string id = EvalScript(state, "unit = IWorld:createUnit() return unit").GetString();
    CUnitMap::ManagedEntity* unit = nullptr;
    engine->GetPart<CWorld>()->GetData().GetUnits().GetUnit(id, unit);
    unit->SetMass(1.0f);
    irr::scene::ISceneNode* root = graphics->GetDevice()->getSceneManager()->getRootSceneNode();
    ASSERT_EQ(RunScript(state, "IWorld:addUnit(unit, '', '')"), "");
    EXPECT_EQ(CountNodes(root, id), 1);
    EXPECT_EQ(physics->GetParts().GetCount(), 1u);
    ASSERT_EQ(RunScript(state, "IWorld:addUnit(unit, '', '')"), "");
    EXPECT_EQ(CountNodes(root, id), 1);
    EXPECT_EQ(physics->GetParts().GetCount(), 1u);
    ASSERT_NE(unit->GetBody(), nullptr);

    // Deleting takes it out of both.
    ASSERT_EQ(RunScript(state, "IWorld:deleteUnit(unit)"), "");
    EXPECT_EQ(CountNodes(root, id), 0);
    EXPECT_EQ(physics->GetParts().GetCount(), 0u);

    engine.reset();
    CScriptManager::SetInstance(nullptr);
}

} // namespace
