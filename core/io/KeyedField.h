#pragma once

#include "core/foundation/Rect.h"
#include "core/foundation/Vector.h"

#include <cstddef>
#include <string>
#include <utility>

// One float parameter per component, whatever the component is.
template <auto> using KeyedFieldFloat = float;

// A value of float components saved under its own key ("-Position",
// "-LookAt", "-ViewPort", ...): one line of the key, then each component,
// in the order Components lists them, after one space with six decimals.
// The key is fixed when the field is made; assigning copies the
// components only. Archive is the archive interface; it stays a template
// parameter so that this header needs no archive.
template <class Value, float Value::*... Components> class CKeyedField : public Value
{
public:
    CKeyedField(KeyedFieldFloat<Components>... components, std::string key) : m_key(std::move(key))
    {
        ((this->*Components = components), ...);
    }
    CKeyedField(const CKeyedField&) = default;
    CKeyedField& operator=(const CKeyedField& other)
    {
        Value::operator=(other);
        return *this;
    }
    CKeyedField& operator=(const Value& value)
    {
        Value::operator=(value);
        return *this;
    }

    const std::string& GetKey() const { return m_key; }

    // False when a write failed.
    template <class Archive> bool Write(Archive& archive) const
    {
        return archive.WriteString(m_key, true) &&
               ((archive.WriteSpaces(1) && archive.WriteFloat(this->*Components, 6)) && ...) &&
               archive.EndLine(0);
    }
    // Expects the key (another one throws the archive's reading error), then
    // the numbers; the value changes only when all of them were read.
    template <class Archive> bool Read(Archive& archive)
    {
        archive.ExpectToken(m_key.c_str());
        float values[] = {(this->*Components)...};
        for (float& value : values)
        {
            if (!archive.ReadFloat(value))
                return false;
        }
        size_t index = 0;
        ((this->*Components = values[index++]), ...);
        return true;
    }

private:
    std::string m_key;
};

// x, y, z.
using CVectorField = CKeyedField<CVector, &CVector::x, &CVector::y, &CVector::z>;
// The corners' values x1, y1, x2, y2.
using CRectField = CKeyedField<CRect, &CRect::x1, &CRect::y1, &CRect::x2, &CRect::y2>;
