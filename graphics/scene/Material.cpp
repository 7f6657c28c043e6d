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

bool CMaterial::Write(Misc::Serialization::IArchive& archive)
{
    archive.WriteString("Material{");
    archive.EndLine(+1);
    if (archive.WriteString("-Type") && archive.WriteSpaces(1) && archive.WriteLong(type))
        archive.EndLine(0);
    for (CTextValue& texture : textures)
        texture.Write(archive);
    ambient.Write(archive);
    diffuse.Write(archive);
    emissive.Write(archive);
    specular.Write(archive);
    archive.WriteKeyFloat("-Shininess", shininess);
    archive.WriteKeyFloat("-Param", typeParam);
    archive.EndLine(-1);
    archive.WriteString("}");
    archive.EndLine(0);
    return true;
}

bool CMaterial::Read(Misc::Serialization::IArchive& archive)
{
    if (archive.GetString() != "Material{")
        return false;
    archive.ExpectToken("-Type");
    archive.ReadLong(type);
    for (CTextValue& texture : textures)
    {
        if (!texture.Read(archive))
            break;
    }
    ambient.Read(archive);
    diffuse.Read(archive);
    emissive.Read(archive);
    specular.Read(archive);
    archive.ReadKeyFloat("-Shininess", shininess);
    // The parameter came with kMaterialParameter; older files keep the value.
    if (archive.IsVersionAtLeast(FileVersion::kMaterialParameter))
        archive.ReadKeyFloat("-Param", typeParam);
    archive.ExpectToken("}");
    return true;
}

} // namespace Graphics::Scene
