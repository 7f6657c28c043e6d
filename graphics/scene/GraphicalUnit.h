#pragma once

#include "graphics/scene/GraphicalEntity.h"

namespace Graphics::Scene
{

// A static mesh or a map (Quake 3 ".bsp" maps with their shaders), drawn as
// a plain mesh node or, with the octree option, through an octree.
class CGraphicalUnit : public CGraphicalEntity
{
public:
    CGraphicalUnit() = default;
    CGraphicalUnit(const CGraphicalUnit&) = default;
    CGraphicalUnit& operator=(const CGraphicalUnit&) = default;
    ~CGraphicalUnit() override = default;

    static constexpr uint32_t kTypeId = Misc::World::kTypeIdUnit;
    uint32_t GetTypeId() const override { return Misc::World::kTypeIdUnit; }

    // Used when the engine makes the node.
    void SetOctTree(bool octTree) { m_octTree = octTree; }
    bool GetOctTree() const { return m_octTree; }

    bool Write(Misc::Serialization::IArchive& archive) override;
    bool Read(Misc::Serialization::IArchive& archive) override;
    const char* GetTypeName() const override { return "KVOUNIT"; }

private:
    // The record's own fields, in file order; Write and Read run over them.
    static const Misc::Serialization::SStoredField<CGraphicalUnit> kStoredFields[];

    bool m_octTree = false;
};

} // namespace Graphics::Scene
