// IGraphics functions on how one world entity is drawn: the colours,
// shininess, type and textures of its materials, its visibility, whether it
// is in the scene, and its render flags. Entities are named by their ids;
// each function works on the entity's graphical part.
//
// The material setters take a negative material index as "every material",
// in index order; the getters refuse it with the list's own index error.

#include "core/foundation/KVOError.h"
#include "graphics/engine/GraphicsEngine.h"
#include "graphics/scene/GraphicalEntity.h"
#include "graphics/scene/Material.h"
#include "script_api/core/ColorScript.h"
#include "script_api/core/EngineAccess.h"
#include "script_api/graphics/IGraphicsFunctions.h"
#include "script_api/world/EntityArguments.h"

#include <cstdint>
#include <string>

using Graphics::Scene::CGraphicalEntity;
using Graphics::Scene::CMaterial;
using LuaPlus::LuaState;
using ScriptWorld::GraphicalPart;

namespace
{

// Texture layers 0 to 3; getter and setter refuse another alike.
void CheckTextureLayer(uint32_t layer, const wchar_t* operation)
{
    if (layer >= CMaterial::kTextureCount)
        throw Misc::Error::CKVOError::Format(L"[CGraphicalEntity::%s] Invalid texture layer:%u", operation,
                                             layer);
}

// Applies the change to one material, or with a negative index to every
// material in order (the count is read again after each, as a change may
// alter it).
template <typename Change>
void ForEachSelectedMaterial(CGraphicalEntity& part, int32_t material, Change change)
{
    if (material >= 0)
    {
        change(material);
        return;
    }
    for (int32_t index = 0; static_cast<size_t>(index) < part.GetMaterials().GetCount(); ++index)
        change(index);
}

template <typename Value, typename Setter>
void SetOnMaterials(CGraphicalEntity& part, int32_t material, const Value& value, Setter setter)
{
    ForEachSelectedMaterial(part, material, [&](int32_t index) { (part.*setter)(value, index); });
}

CColor getEntityAmbientColor(LuaState*, GraphicalPart part, int32_t material)
{
    return part->GetMaterials()[material].ambient;
}

CColor getEntityDiffuseColor(LuaState*, GraphicalPart part, int32_t material)
{
    return part->GetMaterials()[material].diffuse;
}

CColor getEntitySpecularColor(LuaState*, GraphicalPart part, int32_t material)
{
    return part->GetMaterials()[material].specular;
}

CColor getEntityEmissiveColor(LuaState*, GraphicalPart part, int32_t material)
{
    return part->GetMaterials()[material].emissive;
}

float getEntityShininess(LuaState*, GraphicalPart part, int32_t material)
{
    return part->GetMaterials()[material].shininess;
}

int32_t getEntityMaterialType(LuaState*, GraphicalPart part, int32_t material)
{
    return part->GetMaterials()[material].type;
}

float getEntityMaterialTypeParam(LuaState*, GraphicalPart part, int32_t material)
{
    return part->GetMaterials()[material].typeParam;
}

std::wstring getEntityTextureName(LuaState*, GraphicalPart part, uint32_t layer, int32_t material)
{
    CheckTextureLayer(layer, L"GetMaterialTexture");
    return part->GetMaterials()[material].textures[layer].GetValue();
}

uint32_t getEntityMaterialCount(LuaState*, GraphicalPart part)
{
    return static_cast<uint32_t>(part->GetMaterials().GetCount());
}

void setEntityAmbientColor(LuaState*, GraphicalPart part, int32_t material, const CColor& color)
{
    SetOnMaterials(*part, material, color, &CGraphicalEntity::SetMaterialAmbientColor);
}

void setEntityDiffuseColor(LuaState*, GraphicalPart part, int32_t material, const CColor& color)
{
    SetOnMaterials(*part, material, color, &CGraphicalEntity::SetMaterialDiffuseColor);
}

void setEntitySpecularColor(LuaState*, GraphicalPart part, int32_t material, const CColor& color)
{
    SetOnMaterials(*part, material, color, &CGraphicalEntity::SetMaterialSpecularColor);
}

void setEntityEmissiveColor(LuaState*, GraphicalPart part, int32_t material, const CColor& color)
{
    SetOnMaterials(*part, material, color, &CGraphicalEntity::SetMaterialEmissiveColor);
}

void setEntityShininess(LuaState*, GraphicalPart part, int32_t material, float shininess)
{
    SetOnMaterials(*part, material, shininess, &CGraphicalEntity::SetMaterialShininess);
}

// A type that is negative as a 16-bit value is ignored, the index unread.
void setEntityMaterialType(LuaState*, GraphicalPart part, int32_t material, int16_t type)
{
    if (type < 0)
        return;
    SetOnMaterials(*part, material, type, &CGraphicalEntity::SetMaterialType);
}

void setEntityMaterialTypeParam(LuaState*, GraphicalPart part, int32_t material, float param)
{
    SetOnMaterials(*part, material, param, &CGraphicalEntity::SetMaterialTypeParam);
}

void setEntityTextureName(LuaState*, GraphicalPart part, uint32_t layer, int32_t material,
                          const std::wstring& name)
{
    CheckTextureLayer(layer, L"SetMaterialTexture");
    ForEachSelectedMaterial(*part, material,
                            [&](int32_t index) { part->SetMaterialTexture(name, layer, index); });
}

bool isEntityInitialised(LuaState*, GraphicalPart part)
{
    return part->GetEngine() != nullptr;
}

// Not in a scene yet: added to the program's engine under the scene root;
// in one: its node is made again under the same parent.
void refreshEntity(LuaState*, GraphicalPart part)
{
    if (part->GetEngine() == nullptr)
        GetScriptGraphicsEngine().Add(part, nullptr, std::string());
    else
        part->Refresh();
}

} // namespace

void RegisterIGraphicsEntityMaterials(CScriptMetaTable& table)
{
    table.RegisterHelper("getEntityAmbientColor", &getEntityAmbientColor);
    table.RegisterHelper("getEntityDiffuseColor", &getEntityDiffuseColor);
    table.RegisterHelper("getEntitySpecularColor", &getEntitySpecularColor);
    table.RegisterHelper("getEntityEmissiveColor", &getEntityEmissiveColor);
    table.RegisterHelper("getEntityShininess", &getEntityShininess);
    table.RegisterHelper("getEntityMaterialType", &getEntityMaterialType);
    table.RegisterHelper("getEntityMaterialTypeParam", &getEntityMaterialTypeParam);
    table.RegisterHelper("getEntityTextureName", &getEntityTextureName);
    table.RegisterHelper("getEntityMaterialCount", &getEntityMaterialCount);
    table.RegisterHelper("setEntityAmbientColor", &setEntityAmbientColor);
    table.RegisterHelper("setEntityDiffuseColor", &setEntityDiffuseColor);
    table.RegisterHelper("setEntitySpecularColor", &setEntitySpecularColor);
    table.RegisterHelper("setEntityEmissiveColor", &setEntityEmissiveColor);
    table.RegisterHelper("setEntityShininess", &setEntityShininess);
    table.RegisterHelper("setEntityMaterialType", &setEntityMaterialType);
    table.RegisterHelper("setEntityMaterialTypeParam", &setEntityMaterialTypeParam);
    table.RegisterHelper("setEntityTextureName", &setEntityTextureName);

    table.RegisterHelper("isEntityInitialised", &isEntityInitialised);
    table.RegisterMethod<GraphicalPart>("isEntityVisible", &CGraphicalEntity::IsVisible);
    table.RegisterMethod<GraphicalPart>("setEntityVisible", &CGraphicalEntity::SetVisible);
    table.RegisterHelper("refreshEntity", &refreshEntity);

    table.RegisterMethod<GraphicalPart>("getEntityLightingEnabled", &CGraphicalEntity::IsLightingEnabled);
    table.RegisterMethod<GraphicalPart>("setEntityLightingEnabled", &CGraphicalEntity::SetLightingEnabled);
    table.RegisterMethod<GraphicalPart>("getEntityFogEnabled", &CGraphicalEntity::IsFogEnabled);
    table.RegisterMethod<GraphicalPart>("setEntityFogEnabled", &CGraphicalEntity::SetFogEnabled);
    table.RegisterMethod<GraphicalPart>("getEntitySolid", &CGraphicalEntity::IsSolid);
    table.RegisterMethod<GraphicalPart>("setEntitySolid", &CGraphicalEntity::SetSolid);
    table.RegisterMethod<GraphicalPart>("getEntityGouraud", &CGraphicalEntity::IsGouraud);
    table.RegisterHelper(
        "setEntityGouraud", +[](LuaState*, GraphicalPart part, bool on) { part->SetGouraud(on); });
    table.RegisterMethod<GraphicalPart>("getEntityZBufferEnabled", &CGraphicalEntity::IsZBufferEnabled);
    table.RegisterMethod<GraphicalPart>("setEntityZBufferEnabled", &CGraphicalEntity::SetZBufferEnabled);
    table.RegisterMethod<GraphicalPart>("getEntityZBufferWriteEnabled",
                                        &CGraphicalEntity::IsZBufferWriteEnabled);
    table.RegisterMethod<GraphicalPart>("setEntityZBufferWriteEnabled",
                                        &CGraphicalEntity::SetZBufferWriteEnabled);
}
