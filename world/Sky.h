#pragma once

#include "core/io/StoredFields.h"
#include "world/ManagedEntity.h"

// The world's one sky: a managed sky that can be switched off. Only whether
// it is on and how it looks are saved, as the "Sky{" block of a world.
class CSky : public CManagedEntity<Graphics::Scene::CGraphicalSky>
{
public:
    CSky() = default;
    CSky(const CSky&) = default;
    CSky& operator=(const CSky&) = default;
    ~CSky() override = default;

    bool IsEnabled() const { return m_enabled; }
    void SetEnabled(bool enabled) { m_enabled = enabled; }

    // "-Enabled", then the graphical sky's keys.
    bool Write(Archive& archive) override;
    // A missing "Sky{" or "}" throws the archive's reading error, an
    // "-Enabled" that does not read "[CSky::Read] Value of -Enabled
    // unreadable".
    bool Read(Archive& archive) override;
    const char* GetTypeName() const override { return "KVOSKY"; }

private:
    // The block's fields, in file order (the graphical sky's keys as one);
    // Write and Read run over them.
    static const Misc::Serialization::SStoredField<CSky> kStoredFields[];

    bool m_enabled = true;
};
