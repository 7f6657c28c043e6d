#include "gui/fonts/BitmapFontLoader.h"

#include "core/app/Application.h"
#include "core/foundation/KVOError.h"
#include "core/foundation/StringConversion.h"
#include "core/io/File.h"
#include "irrlicht/FileStandIn.h"
#include "irrlicht/ImageGate.h"
#include "irrlicht/IrrlichtFile.h"

#include <irrlicht.h>
#include <pugixml.hpp>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <map>
#include <vector>

namespace Graphics::GUI
{

using namespace irr;

namespace
{

// Offsets of a character beside its rectangle: far beyond any glyph.
constexpr long long kMaxOffset = 65536;

struct STexture
{
    std::string name;
    core::dimension2du size;
    pugi::xml_attribute hasAlpha;
};

// A whole decimal number within the bounds, spaces around it allowed.
bool ParseNumber(const char* text, long long low, long long high, long long& value)
{
    while (*text == ' ')
        ++text;
    if (*text == '\0')
        return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtoll(text, &end, 10);
    if (errno != 0 || end == text)
        return false;
    while (*end == ' ')
        ++end;
    return *end == '\0' && value >= low && value <= high;
}

// "left, top, right, bottom" as the font builder writes it.
bool ParseRectangle(const char* text, long long values[4])
{
    std::string part;
    int count = 0;
    for (const char* at = text;; ++at)
    {
        if (*at == ',' || *at == '\0')
        {
            if (count == 4 || !ParseNumber(part.c_str(), 0, 1 << 30, values[count]))
                return false;
            ++count;
            part.clear();
            if (*at == '\0')
                break;
        }
        else
            part += *at;
    }
    return count == 4;
}

// The first character of UTF-8 text (Irrlicht takes one character).
std::string FirstCharacter(const char* text)
{
    size_t length = std::strlen(text);
    if (length == 0)
        return std::string();
    size_t end = 1;
    while (end < length && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        ++end;
    return std::string(text, end);
}

struct CStringWriter : pugi::xml_writer
{
    void write(const void* data, size_t size) override { bytes.append(static_cast<const char*>(data), size); }
    std::string bytes;
};

std::wstring FolderOf(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L'/');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

} // namespace

CBitmapFontLoader::CBitmapFontLoader(gui::IGUIEnvironment* environment, const CApplication* application)
    : m_environment(environment), m_application(application)
{
}

gui::IGUIFont* CBitmapFontLoader::Load(IFile* description, std::string& error)
{
    error.clear();
    if (description == nullptr || m_environment == nullptr || m_application == nullptr)
    {
        error = "no font description";
        return nullptr;
    }
    const long size = description->getSize();
    if (size < 0 || static_cast<unsigned long>(size) > kMaxDescriptionSize)
    {
        error = "the description is larger than " + std::to_string(kMaxDescriptionSize) + " bytes";
        return nullptr;
    }
    std::string text(static_cast<size_t>(size), '\0');
    if (!description->seek(0) || description->read(text.data(), static_cast<u32>(text.size())) != size)
    {
        error = "the description could not be read";
        return nullptr;
    }
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_buffer(text.data(), text.size());
    if (!parsed)
    {
        error = std::string("the description is no complete XML document (") + parsed.description() +
                " at byte " + std::to_string(parsed.offset) + ")";
        return nullptr;
    }
    const pugi::xml_node font = document.document_element();
    if (std::strcmp(font.name(), "font") != 0 || std::strcmp(font.attribute("type").value(), "bitmap") != 0)
    {
        error = "the description is no bitmap font";
        return nullptr;
    }

    std::map<long long, STexture> textures;
    for (const pugi::xml_node texture : font.children("Texture"))
    {
        long long index = 0;
        const char* fileName = texture.attribute("filename").value();
        if (!ParseNumber(texture.attribute("index").value(), 0, kMaxTextures - 1, index) || *fileName == '\0')
        {
            error = "a texture without an index below " + std::to_string(kMaxTextures) + " or a file name";
            return nullptr;
        }
        STexture loaded;
        if (!LoadTexture(description->GetPath(), fileName, loaded.name, loaded.size, error))
            return nullptr;
        loaded.hasAlpha = texture.attribute("hasAlpha");
        textures[index] = loaded;
    }

    pugi::xml_document checked;
    pugi::xml_node out = checked.append_child("font");
    out.append_attribute("type") = "bitmap";
    for (const auto& [index, texture] : textures)
    {
        pugi::xml_node element = out.append_child("Texture");
        element.append_attribute("index") = index;
        element.append_attribute("filename") = texture.name.c_str();
        if (texture.hasAlpha)
            element.append_attribute("hasAlpha") = texture.hasAlpha.value();
    }
    size_t characters = 0;
    for (const pugi::xml_node character : font.children("c"))
    {
        const std::string glyph = FirstCharacter(character.attribute("c").value());
        long long rectangle[4] = {0, 0, 0, 0};
        long long index = 0;
        const pugi::xml_attribute textureIndex = character.attribute("i");
        if (glyph.empty() || !ParseRectangle(character.attribute("r").value(), rectangle) ||
            (textureIndex && !ParseNumber(textureIndex.value(), 0, kMaxTextures - 1, index)))
        {
            error = "a character without its text, its rectangle or a valid texture index";
            return nullptr;
        }
        const auto texture = textures.find(index);
        if (texture == textures.end() || rectangle[0] > rectangle[2] || rectangle[1] > rectangle[3] ||
            rectangle[2] > texture->second.size.Width || rectangle[3] > texture->second.size.Height)
        {
            error = "the character \"" + glyph + "\" lies outside its texture";
            return nullptr;
        }
        pugi::xml_node element = out.append_child("c");
        element.append_attribute("c") = glyph.c_str();
        element.append_attribute("r") =
            (std::to_string(rectangle[0]) + ", " + std::to_string(rectangle[1]) + ", " +
             std::to_string(rectangle[2]) + ", " + std::to_string(rectangle[3]))
                .c_str();
        if (index != 0)
            element.append_attribute("i") = index;
        for (const char* name : {"u", "o"})
        {
            long long offset = 0;
            const pugi::xml_attribute given = character.attribute(name);
            if (given && !ParseNumber(given.value(), -kMaxOffset, kMaxOffset, offset))
            {
                error = "the character \"" + glyph + "\" has an offset that is no number";
                return nullptr;
            }
            if (given)
                element.append_attribute(name) = offset;
        }
        ++characters;
    }
    // Irrlicht draws an unknown character as the first one: there must be one.
    if (characters == 0)
    {
        error = "the description has no characters";
        return nullptr;
    }

    // Irrlicht reads wide text: the rewritten description is UTF-32 with a
    // byte-order mark, as its own XML writer writes.
    CStringWriter writer;
    checked.save(writer, "", pugi::format_raw | pugi::format_write_bom, pugi::encoding_utf32_le);
    const std::string name(description->getFileName().c_str(), description->getFileName().size());
    const CFileStandIn standIn(m_environment->getFileSystem(), name, std::move(writer.bytes));
    gui::IGUIFont* loaded = m_environment->getFont(name.c_str());
    if (loaded == nullptr)
        error = "the font did not load";
    return loaded;
}

bool CBitmapFontLoader::LoadTexture(const std::wstring& descriptionPath, const char* fileName,
                                    std::string& textureName, core::dimension2du& size, std::string& error)
{
    std::wstring wanted = Misc::Text::Utf8ToWide(fileName);
    std::replace(wanted.begin(), wanted.end(), L'\\', L'/');
    // Beside the description first: the font builder names its images by
    // their bare names.
    std::vector<std::wstring> candidates;
    const std::wstring folder = FolderOf(descriptionPath);
    if (wanted[0] != L'/' && !folder.empty())
        candidates.push_back(folder + L"/" + wanted);
    candidates.push_back(wanted);
    IFile* file = nullptr;
    for (const std::wstring& candidate : candidates)
    {
        try
        {
            file = m_application->OpenFile(candidate);
        }
        catch (const Misc::Error::CKVOError&)
        {
        }
        catch (const std::exception&)
        {
        }
        if (file != nullptr)
            break;
    }
    if (file == nullptr)
    {
        error = std::string("the texture ") + fileName + " was not found";
        return false;
    }
    video::IVideoDriver* driver = m_environment->getVideoDriver();
    const io::path path = file->getFileName().c_str();
    // Decoded by the engine's readers whatever loaders the driver has, also
    // when the driver has the texture already: its size checks the
    // characters' rectangles (the null driver's textures have none).
    const CImageGate gate(driver, CImageLoader::kMaxSide);
    std::string refusal;
    CIrrlichtFile* adapted = CIrrlichtFile::Adopt(file);
    video::IImage* image = gate.Decode(adapted, refusal);
    adapted->drop();
    if (image == nullptr)
    {
        error = std::string("the texture ") + fileName + " did not load: " + refusal;
        return false;
    }
    size = image->getDimension();
    if (driver->findTexture(path) == nullptr)
    {
        // Font images are drawn pixel for pixel: no mip maps.
        const bool mipMaps = driver->getTextureCreationFlag(video::ETCF_CREATE_MIP_MAPS);
        driver->setTextureCreationFlag(video::ETCF_CREATE_MIP_MAPS, false);
        driver->addTexture(path, image);
        driver->setTextureCreationFlag(video::ETCF_CREATE_MIP_MAPS, mipMaps);
    }
    image->drop();
    textureName.assign(path.c_str(), path.size());
    return true;
}

} // namespace Graphics::GUI
