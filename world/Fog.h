#pragma once

#include "core/foundation/Color.h"
#include "core/io/Serializable.h"
#include "core/io/StoredFields.h"

// The world's fog: its colour and the distances where it starts and where
// it is whole. Saved as the "Fog{" block of a world.
class CFog : public Misc::Serialization::ISerializable
{
public:
    CFog() = default;
    CFog(const CFog&) = default;
    CFog& operator=(const CFog&) = default;
    virtual ~CFog() = default;

    const CColor& GetColor() const { return m_color; }
    void SetColor(const CColor& color) { m_color = color; }
    float GetStart() const { return m_start; }
    void SetStart(float start) { m_start = start; }
    float GetEnd() const { return m_end; }
    void SetEnd(float end) { m_end = end; }

    // "-Start", "-End", then "-Color".
    bool Write(Misc::Serialization::IArchive& archive) override;
    // A missing key throws the archive's reading error, a value that does
    // not read "[CFog::Read] Value of %s unreadable".
    bool Read(Misc::Serialization::IArchive& archive) override;
    const char* GetTypeName() const override { return "KVOFOG"; }

private:
    // The block's fields, in file order; Write and Read run over them.
    static const Misc::Serialization::SStoredField<CFog> kStoredFields[];

    CNamedColor m_color{0.0f, 0.0f, 0.0f, 0.0f, "-Color"};
    float m_start = 0.0f;
    float m_end = 0.0f;
};
