#pragma once

#include "core/foundation/Color.h"
#include "core/io/Serializable.h"
#include "core/io/StoredFields.h"
#include "core/io/TextValue.h"

#include <array>
#include <cstdint>

namespace Graphics::Scene
{

// One material of a graphical entity as it is stored and saved: four
// texture names, four colours, shininess, the Irrlicht material type and
// its parameter. Type -1 marks a material whose settings are not applied to
// the scene node.
class CMaterial : public Misc::Serialization::ISerializable
{
public:
    static constexpr uint32_t kTextureCount = 4;

    CMaterial();
    CMaterial(const CMaterial& other);
    CMaterial& operator=(const CMaterial& other);
    virtual ~CMaterial() = default;

    // A "Material{" block.
    bool Write(Misc::Serialization::IArchive& archive) override;
    // False, with the token read, when the next token is not "Material{".
    bool Read(Misc::Serialization::IArchive& archive) override;
    const char* GetTypeName() const override { return "KVOMATERIAL"; }

    bool IsSet() const { return type >= 0; }

    // Texture names keyed "-Texture0" to "-Texture3".
    std::array<CTextValue, kTextureCount> textures;
    CNamedColor ambient{0.5f, 0.5f, 0.5f, 1.0f, "-Ambient"};
    CNamedColor diffuse{1.0f, 1.0f, 1.0f, 1.0f, "-Diffuse"};
    CNamedColor emissive{0.0f, 0.0f, 0.0f, 0.0f, "-Emissive"};
    CNamedColor specular{0.0f, 0.0f, 0.0f, 0.0f, "-Specular"};
    float shininess = 20.0f;
    int32_t type = -1;
    float typeParam = 0.5f;

private:
    // The fields inside the block, in file order; Write and Read run over
    // them.
    static const Misc::Serialization::SStoredField<CMaterial> kStoredFields[];
};

} // namespace Graphics::Scene
