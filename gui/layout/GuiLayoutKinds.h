#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace irr::gui
{
class IGUIElement;
}

namespace Misc::Serialization
{
class IArchive;
}

namespace Graphics::GUI
{

class CGuiLayoutReader;
class CGuiLayoutWriter;

// One row of the element-kind table of layouts: the block name, the
// scripts' type number, the reader that makes an element of the kind from
// its block and the writer of the block body.
struct SGuiLayoutKind
{
    using Reader = irr::gui::IGUIElement* (CGuiLayoutReader::*)(Misc::Serialization::IArchive& archive);
    using Writer = bool (CGuiLayoutWriter::*)(Misc::Serialization::IArchive& archive,
                                              irr::gui::IGUIElement* element);
    const char* blockName;
    int32_t type;
    Reader reader;
    Writer writer;
};

// The element kinds layouts know, in their stored order: reading takes the
// first row of a block name, writing the first row of a type.
class CGuiLayoutKinds
{
public:
    static const SGuiLayoutKind* GetAll(size_t& count);
    // Null when no row has the block name or the type.
    static const SGuiLayoutKind* FindByName(const std::string& blockName);
    static const SGuiLayoutKind* FindByType(int32_t type);
};

} // namespace Graphics::GUI
