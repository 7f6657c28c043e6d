#include "graphics/scene/Material.h"

#include "core/io/Archive.h"
#include "core/io/FileVersions.h"

namespace FileVersion = Misc::Serialization::FileVersion;

namespace Graphics::Scene
{

namespace
{
std::array<CTextValue, CMaterial::kTextureCount> MakeTextures()
{
    return {CTextValue(L"-Texture0"), CTextValue(L"-Texture1"), CTextValue(L"-Texture2"),
            CTextValue(L"-Texture3")};
}
} // namespace

CMaterial::CMaterial() : textures(MakeTextures()) {}

CMaterial::CMaterial(const CMaterial& other) : textures(MakeTextures())
{
    *this = other;
}

CMaterial& CMaterial::operator=(const CMaterial& other)
{
    for (uint32_t layer = 0; layer < kTextureCount; ++layer)
        textures[layer].SetValue(other.textures[layer].GetValue());
    ambient = other.ambient;
    diffuse = other.diffuse;
    emissive = other.emissive;
    specular = other.specular;
    shininess = other.shininess;
    type = other.type;
    typeParam = other.typeParam;
    return *this;
}

namespace Field = Misc::Serialization::StoredField;
using Misc::Serialization::IArchive;

// The type is required and stored as a long. The textures are read until
// one is not next; the colours keep their values when they do not read, and
// older files keep the parameter.
const Misc::Serialization::SStoredField<CMaterial> CMaterial::kStoredFields[] = {
    {"-Type", 0,
     [](IArchive& archive, CMaterial& material, const char* key)
     {
         return archive.WriteString(key) && archive.WriteSpaces(1) && archive.WriteLong(material.type) &&
                archive.EndLine(0);
     },
     [](IArchive& archive, CMaterial& material, const char* key)
     {
         archive.ExpectToken(key);
         return archive.ReadLong(material.type);
     }},
    {"-Texture", 0,
     [](IArchive& archive, CMaterial& material, const char*)
     {
         bool written = true;
         for (CTextValue& texture : material.textures)
             written = texture.Write(archive) && written;
         return written;
     },
     [](IArchive& archive, CMaterial& material, const char*)
     {
         for (CTextValue& texture : material.textures)
         {
             if (!texture.Read(archive))
                 return false;
         }
         return true;
     }},
    Field::Object<&CMaterial::ambient>("-Ambient"),
    Field::Object<&CMaterial::diffuse>("-Diffuse"),
    Field::Object<&CMaterial::emissive>("-Emissive"),
    Field::Object<&CMaterial::specular>("-Specular"),
    Field::Float<&CMaterial::shininess>("-Shininess"),
    Field::Float<&CMaterial::typeParam>("-Param", FileVersion::kMaterialParameter),
};

bool CMaterial::Write(IArchive& archive)
{
    archive.WriteString("Material{");
    archive.EndLine(+1);
    Misc::Serialization::WriteFields(archive, *this, kStoredFields);
    archive.EndLine(-1);
    archive.WriteString("}");
    archive.EndLine(0);
    return true;
}

bool CMaterial::Read(IArchive& archive)
{
    if (archive.GetString() != "Material{")
        return false;
    Misc::Serialization::ReadFields(archive, *this, kStoredFields);
    archive.ExpectToken("}");
    return true;
}

} // namespace Graphics::Scene
