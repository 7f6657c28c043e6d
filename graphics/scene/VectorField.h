#pragma once

#include "core/foundation/Vector.h"

#include <string>

namespace Misc::Serialization
{
class IArchive;
}

// A vector saved under its own key ("-LookAt", "-Gravity", ...): one line
// of the key, one space and the three components with six decimals,
// separated by single spaces. The key is fixed when the field is made;
// assigning copies the components only.
class CVectorField : public CVector
{
public:
    CVectorField(float x_, float y_, float z_, std::string key) : CVector(x_, y_, z_), m_key(std::move(key))
    {
    }
    CVectorField(const CVectorField&) = default;
    CVectorField& operator=(const CVectorField& other)
    {
        CVector::operator=(other);
        return *this;
    }
    CVectorField& operator=(const CVector& vector)
    {
        CVector::operator=(vector);
        return *this;
    }

    const std::string& GetKey() const { return m_key; }

    // False when a write failed.
    bool Write(Misc::Serialization::IArchive& archive) const;
    // Expects the key (another one throws the archive's reading error), then
    // three numbers; the vector changes only when all three were read.
    bool Read(Misc::Serialization::IArchive& archive);

private:
    std::string m_key;
};
