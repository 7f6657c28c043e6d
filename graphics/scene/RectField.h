#pragma once

#include "core/foundation/Rect.h"

#include <string>

namespace Misc::Serialization
{
class IArchive;
}

// A rectangle saved under its own key ("-ViewPort"): one line of the key,
// one space and the four corners' values x1, y1, x2, y2 with six decimals,
// separated by single spaces. Assigning copies the values only.
class CRectField : public CRect
{
public:
    CRectField(float x1_, float y1_, float x2_, float y2_, std::string key)
        : CRect(x1_, y1_, x2_, y2_), m_key(std::move(key))
    {
    }
    CRectField(const CRectField&) = default;
    CRectField& operator=(const CRectField& other)
    {
        CRect::operator=(other);
        return *this;
    }
    CRectField& operator=(const CRect& rect)
    {
        CRect::operator=(rect);
        return *this;
    }

    const std::string& GetKey() const { return m_key; }

    bool Write(Misc::Serialization::IArchive& archive) const;
    // Expects the key, then four numbers; the rectangle changes only when
    // all four were read.
    bool Read(Misc::Serialization::IArchive& archive);

private:
    std::string m_key;
};
