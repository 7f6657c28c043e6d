#include "graphics/scene/Materials.h"

#include "core/foundation/KVOError.h"
#include "core/io/Archive.h"

namespace Graphics::Scene
{

void CMaterials::ThrowInvalidIndex(int32_t index)
{
    throw Misc::Error::CKVOError::Format(L"[CMaterials::operator[]]Invalid material index:%i", index);
}

void CMaterials::Resize(size_t count)
{
    m_materials.resize(count);
}

void CMaterials::Reset()
{
    m_materials.clear();
    m_materials.emplace_back();
}

bool CMaterials::Write(Misc::Serialization::IArchive& archive)
{
    // Dropping an unset material in front of a set one would move the set
    // one down a place on reading: its settings would land on the node's
    // wrong material. Unset ones keep their places; only the tail goes.
    size_t saved = m_materials.size();
    while (saved > 0 && !m_materials[saved - 1].IsSet())
        --saved;
    archive.EndLine(0);
    archive.WriteString("Materials{");
    archive.EndLine(+1);
    for (size_t index = 0; index < saved; ++index)
        m_materials[index].Write(archive);
    archive.EndLine(-1);
    archive.WriteString("}");
    archive.EndLine(0);
    return true;
}

bool CMaterials::Read(Misc::Serialization::IArchive& archive)
{
    archive.ExpectToken("Materials{");
    m_materials.clear();
    CMaterial scratch;
    while (scratch.Read(archive))
        m_materials.push_back(scratch);
    if (m_materials.empty())
        m_materials.emplace_back();
    return true;
}

} // namespace Graphics::Scene
