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
    if (count == 0)
    {
        m_rest.clear();
        m_empty = true;
        return;
    }
    // Materials appended are default ones, the first as well.
    if (m_empty)
        m_first = CMaterial();
    m_empty = false;
    m_rest.resize(count - 1);
}

void CMaterials::Reset()
{
    m_first = CMaterial();
    m_rest.clear();
    m_empty = false;
}

void CMaterials::Append(const CMaterial& material)
{
    if (m_empty)
    {
        m_first = material;
        m_empty = false;
    }
    else
        m_rest.push_back(material);
}

bool CMaterials::Write(Misc::Serialization::IArchive& archive)
{
    // Dropping an unset material in front of a set one would move the set
    // one down a place on reading: its settings would land on the node's
    // wrong material. Unset ones keep their places; only the tail goes.
    size_t saved = GetCount();
    while (saved > 0 && !At(saved - 1).IsSet())
        --saved;
    archive.EndLine(0);
    archive.WriteString("Materials{");
    archive.EndLine(+1);
    for (size_t index = 0; index < saved; ++index)
        At(index).Write(archive);
    archive.EndLine(-1);
    archive.WriteString("}");
    archive.EndLine(0);
    return true;
}

bool CMaterials::Read(Misc::Serialization::IArchive& archive)
{
    archive.ExpectToken("Materials{");
    m_rest.clear();
    m_empty = true;
    CMaterial scratch;
    while (scratch.Read(archive))
        Append(scratch);
    if (m_empty)
        Reset();
    return true;
}

} // namespace Graphics::Scene
