#pragma once

#include "core/io/Serializable.h"
#include "graphics/scene/Material.h"

#include <cstddef>
#include <vector>

namespace Graphics::Scene
{

// A graphical entity's ordered list of materials, one per material of its
// scene node. A new list holds one default material, and reading never
// leaves it empty. The first material is held in the list itself: nearly
// every entity has only the one, and a world makes them by the thousand.
class CMaterials : public Misc::Serialization::ISerializable
{
public:
    CMaterials() = default;
    CMaterials(const CMaterials&) = default;
    CMaterials& operator=(const CMaterials&) = default;
    virtual ~CMaterials() = default;

    // Throws "[CMaterials::operator[]]Invalid material index:%i" for an
    // index below 0 or not below the count.
    CMaterial& operator[](int32_t index)
    {
        if (index < 0 || static_cast<size_t>(index) >= GetCount())
            ThrowInvalidIndex(index);
        return At(static_cast<size_t>(index));
    }
    const CMaterial& operator[](int32_t index) const
    {
        if (index < 0 || static_cast<size_t>(index) >= GetCount())
            ThrowInvalidIndex(index);
        return At(static_cast<size_t>(index));
    }
    size_t GetCount() const { return m_empty ? 0 : 1 + m_rest.size(); }
    // Appends default materials or removes from the end.
    void Resize(size_t count);
    // One default material.
    void Reset();

    // A "Materials{" block. Materials whose type is not set are saved only
    // where a set material follows them, so that every set material reads
    // back at its own index; unset ones at the end are left out.
    bool Write(Misc::Serialization::IArchive& archive) override;
    // Replaces the list with the block's materials (one default material
    // when the block holds none). A field that a block does not carry keeps
    // the previous block's value.
    bool Read(Misc::Serialization::IArchive& archive) override;
    const char* GetTypeName() const override { return "KVOMATERIALS"; }

private:
    [[noreturn]] static void ThrowInvalidIndex(int32_t index);
    // The material at an index below the count.
    CMaterial& At(size_t index) { return index == 0 ? m_first : m_rest[index - 1]; }
    const CMaterial& At(size_t index) const { return index == 0 ? m_first : m_rest[index - 1]; }
    // Puts a copy of the material at the end.
    void Append(const CMaterial& material);

    CMaterial m_first;
    // The materials after the first.
    std::vector<CMaterial> m_rest;
    // No material at all (m_first then holds nothing of the list's).
    bool m_empty = false;
};

} // namespace Graphics::Scene
