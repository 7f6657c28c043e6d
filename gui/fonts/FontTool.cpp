#include "gui/fonts/FontTool.h"

#include "core/foundation/StringConversion.h"
#include "core/io/SaveFile.h"
#include "irrlicht/IrrlichtFile.h"

#include <IFileSystem.h>
#include <IImage.h>
#include <ILogger.h>
#include <ITexture.h>
#include <IVideoDriver.h>
#include <IXMLWriter.h>
#include <IrrlichtDevice.h>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <algorithm>
#include <memory>
#include <set>

namespace irr
{

namespace
{

// Releases Irrlicht's view of a file when its owner goes.
struct SDropWriteFile
{
    void operator()(io::IWriteFile* file) const { file->drop(); }
};

// The character sets offered, in order. Each lists the fonts that
// fontconfig says cover its language; "All Available" lists every font and
// "Symbol" the fonts that cover no Latin text.
struct SCharacterSet
{
    const wchar_t* name;
    const char* language; // null: no language filter
};

const SCharacterSet kCharacterSets[] = {
    {L"ANSI", "en"},
    {L"All Available", nullptr},
    {L"OEM", "en"},
    {L"Baltic", "lt"},
    {L"Chinese Simplified", "zh-cn"},
    {L"Chinese Traditional", "zh-tw"},
    {L"Eastern European", "pl"},
    {L"Greek", "el"},
    {L"Hangul", "ko"},
    {L"Macintosh", "en"},
    {L"Russian", "ru"},
    {L"Japanese", "ja"},
    {L"Symbol", nullptr},
    {L"Turkish", "tr"},
    {L"Vietnamese", "vi"},
    {L"Johab", "ko"},
    {L"Arabic", "ar"},
    {L"Hebrew", "he"},
    {L"Thai", "th"},
};
constexpr u32 kCharacterSetCount = sizeof(kCharacterSets) / sizeof(kCharacterSets[0]);
constexpr u32 kSymbolCharacterSet = 12;

// The screen resolution glyphs are rendered for.
constexpr FT_UInt kDotsPerInch = 96;

template <typename T, void (*Release)(T*)> struct SReleaser
{
    void operator()(T* object) const
    {
        if (object)
            Release(object);
    }
};
using PatternPtr = std::unique_ptr<FcPattern, SReleaser<FcPattern, FcPatternDestroy>>;
using ObjectSetPtr = std::unique_ptr<FcObjectSet, SReleaser<FcObjectSet, FcObjectSetDestroy>>;
using FontSetPtr = std::unique_ptr<FcFontSet, SReleaser<FcFontSet, FcFontSetDestroy>>;

// One FreeType library and face for one build.
class CFreeTypeFace
{
public:
    CFreeTypeFace() = default;
    ~CFreeTypeFace()
    {
        if (m_face)
            FT_Done_Face(m_face);
        if (m_library)
            FT_Done_FreeType(m_library);
    }
    CFreeTypeFace(const CFreeTypeFace&) = delete;
    CFreeTypeFace& operator=(const CFreeTypeFace&) = delete;

    bool Open(const char* file, int index)
    {
        return FT_Init_FreeType(&m_library) == 0 && FT_New_Face(m_library, file, index, &m_face) == 0;
    }
    FT_Face Get() const { return m_face; }

private:
    FT_Library m_library = nullptr;
    FT_Face m_face = nullptr;
};

// What the font's matching file looks like, found by family and style.
struct SMatchedFont
{
    std::string file;
    int index = 0;
    int weight = FC_WEIGHT_REGULAR;
    int slant = FC_SLANT_ROMAN;
};

bool MatchFont(const std::wstring& family, bool bold, bool italic, SMatchedFont& matched)
{
    const std::string name = Misc::Text::WideToUtf8(family);
    PatternPtr pattern(FcPatternCreate());
    if (!pattern)
        return false;
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    PatternPtr match(FcFontMatch(nullptr, pattern.get(), &result));
    if (!match)
        return false;
    // fontconfig always finds something; only the family asked for counts.
    bool familyFound = false;
    FcChar8* value = nullptr;
    for (int i = 0; !familyFound && FcPatternGetString(match.get(), FC_FAMILY, i, &value) == FcResultMatch;
         ++i)
        familyFound = FcStrCmpIgnoreCase(value, reinterpret_cast<const FcChar8*>(name.c_str())) == 0;
    if (!familyFound || FcPatternGetString(match.get(), FC_FILE, 0, &value) != FcResultMatch)
        return false;
    matched.file = reinterpret_cast<const char*>(value);
    FcPatternGetInteger(match.get(), FC_INDEX, 0, &matched.index);
    FcPatternGetInteger(match.get(), FC_WEIGHT, 0, &matched.weight);
    FcPatternGetInteger(match.get(), FC_SLANT, 0, &matched.slant);
    return true;
}

// A rendered glyph: its ABC widths and its coverage (0-255) rows.
struct SGlyph
{
    s32 a = 0;   // underhang: from the pen to the first column
    s32 b = 0;   // width of the drawn columns
    s32 c = 0;   // overhang: from the last column to the next pen position
    s32 top = 0; // bitmap rows above the baseline
    u32 rows = 0;
    std::vector<u8> coverage; // rows x b, empty for a blank glyph
};

class CGlyphRenderer
{
public:
    CGlyphRenderer(FT_Face face, bool embolden, bool oblique, bool antiAlias)
        : m_face(face), m_embolden(embolden), m_oblique(oblique), m_antiAlias(antiAlias)
    {
    }

    // False when the font has no drawable glyph for the character.
    bool Render(FT_ULong character, SGlyph& glyph) const
    {
        const FT_Int32 target = m_antiAlias ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO;
        if (FT_Load_Char(m_face, character, FT_LOAD_NO_BITMAP | target) != 0)
            return false;
        FT_GlyphSlot slot = m_face->glyph;
        if (m_embolden)
            FT_GlyphSlot_Embolden(slot);
        if (m_oblique)
            FT_GlyphSlot_Oblique(slot);
        if (FT_Render_Glyph(slot, m_antiAlias ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0)
            return false;
        const FT_Bitmap& bitmap = slot->bitmap;
        const s32 advance = static_cast<s32>((slot->advance.x + 32) >> 6);
        glyph = SGlyph();
        if (bitmap.width == 0 || bitmap.rows == 0)
        {
            // Blank characters (spaces) keep their advance as an empty area.
            if (advance <= 0)
                return false;
            glyph.b = advance;
            return true;
        }
        glyph.a = slot->bitmap_left;
        glyph.b = static_cast<s32>(bitmap.width);
        glyph.c = advance - glyph.a - glyph.b;
        glyph.top = slot->bitmap_top;
        glyph.rows = bitmap.rows;
        glyph.coverage.resize(static_cast<size_t>(bitmap.rows) * bitmap.width);
        for (u32 y = 0; y < bitmap.rows; ++y)
        {
            const unsigned char* row = bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch;
            for (u32 x = 0; x < bitmap.width; ++x)
            {
                u8 value = 0;
                if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
                    value = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
                else if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY)
                    value = static_cast<u8>(bitmap.num_grays == 256 ? row[x]
                                                                    : row[x] * 255 / (bitmap.num_grays - 1));
                glyph.coverage[static_cast<size_t>(y) * bitmap.width + x] = value;
            }
        }
        return true;
    }

private:
    FT_Face m_face;
    bool m_embolden;
    bool m_oblique;
    bool m_antiAlias;
};

// Characters a bitmap font can carry: 16-bit ones (as on the platform the
// files come from) that XML can hold.
bool IsFontCharacter(FT_ULong character)
{
    if (character < 0x20 || (character >= 0x7F && character < 0xA0))
        return false;
    return character < 0xFFFE && !(character >= 0xD800 && character < 0xE000);
}

u32 PowerOfTwoAtLeast(u32 value)
{
    u32 result = 1;
    while (result < value && result < 0x80000000u)
        result <<= 1;
    return result;
}

std::wstring FileName(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    return Misc::Text::Utf8ToWide(slash == std::string::npos ? path : path.substr(slash + 1));
}

} // namespace

CFontTool::CFontTool(IrrlichtDevice* device) : m_device(device)
{
    for (const SCharacterSet& set : kCharacterSets)
        m_charsetNames.push_back(set.name);
    SelectCharacterSet(0);
}

CFontTool::~CFontTool()
{
    ClearFont();
}

void CFontTool::Log(const std::string& text) const
{
    if (m_device && m_device->getLogger())
        m_device->getLogger()->log(text.c_str(), ELL_INFORMATION);
}

void CFontTool::SelectCharacterSet(u32 index)
{
    if (index >= kCharacterSetCount)
        return;
    m_fontNames.clear();
    PatternPtr pattern(FcPatternCreate());
    ObjectSetPtr objects(FcObjectSetBuild(FC_FAMILY, FC_LANG, nullptr));
    if (!pattern || !objects)
        return;
    // Outline fonts only: bitmap fonts cannot be drawn at any size.
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    if (kCharacterSets[index].language)
        FcPatternAddString(pattern.get(), FC_LANG,
                           reinterpret_cast<const FcChar8*>(kCharacterSets[index].language));
    FontSetPtr fonts(FcFontList(nullptr, pattern.get(), objects.get()));
    if (!fonts)
        return;
    std::set<std::wstring> families;
    for (int i = 0; i < fonts->nfont; ++i)
    {
        FcPattern* font = fonts->fonts[i];
        if (index == kSymbolCharacterSet)
        {
            FcLangSet* languages = nullptr;
            if (FcPatternGetLangSet(font, FC_LANG, 0, &languages) == FcResultMatch &&
                FcLangSetHasLang(languages, reinterpret_cast<const FcChar8*>("en")) != FcLangDifferentLang)
                continue;
        }
        FcChar8* family = nullptr;
        if (FcPatternGetString(font, FC_FAMILY, 0, &family) == FcResultMatch)
            families.insert(Misc::Text::Utf8ToWide(reinterpret_cast<const char*>(family)));
    }
    m_fontNames.assign(families.begin(), families.end());
}

void CFontTool::ClearFont()
{
    for (video::IImage* image : m_images)
        image->drop();
    m_images.clear();
    video::IVideoDriver* driver = m_device ? m_device->getVideoDriver() : nullptr;
    for (video::ITexture* texture : m_textures)
    {
        // Out of the driver's cache too, so rebuilding does not pile up
        // textures there.
        if (driver)
            driver->removeTexture(texture);
        texture->drop();
    }
    m_textures.clear();
    m_areas.clear();
    m_characters.clear();
}

bool CFontTool::BuildFont(u32 fontIndex, u32 charsetIndex, s32 fontSize, u32 textureWidth, u32 textureHeight,
                          bool bold, bool italic, bool antiAlias, bool alpha)
{
    if (fontIndex >= m_fontNames.size() || charsetIndex >= kCharacterSetCount)
        return false;
    m_useAlpha = alpha;
    if (fontSize < 1 || fontSize > kMaxFontSize)
    {
        Log("Font size out of range, aborting.");
        return false;
    }
    if (textureWidth < 1 || textureHeight < 1 || textureWidth > kMaxTextureSize ||
        textureHeight > kMaxTextureSize)
    {
        Log("Texture size out of range, aborting.");
        return false;
    }
    video::IVideoDriver* driver = m_device ? m_device->getVideoDriver() : nullptr;
    if (!driver)
        return false;

    SMatchedFont matched;
    CFreeTypeFace face;
    if (!MatchFont(m_fontNames[fontIndex], bold, italic, matched) ||
        !face.Open(matched.file.c_str(), matched.index) ||
        FT_Set_Char_Size(face.Get(), 0, static_cast<FT_F26Dot6>(fontSize) * 64, kDotsPerInch, kDotsPerInch) !=
            0)
        return false;
    FT_Face ft = face.Get();
    if (ft->charmap == nullptr)
        FT_Select_Charmap(ft, FT_ENCODING_UNICODE);
    // Styles the font file lacks are made from the regular outlines.
    const CGlyphRenderer renderer(ft, bold && matched.weight < FC_WEIGHT_DEMIBOLD,
                                  italic && matched.slant == FC_SLANT_ROMAN, antiAlias);
    const s32 ascent = static_cast<s32>((ft->size->metrics.ascender + 63) >> 6);
    const s32 descent = static_cast<s32>(ft->size->metrics.descender >> 6);
    const s32 height = ascent - descent;

    ClearFont();
    if (height < 1)
        return false;
    if (static_cast<u32>(height) + 1 > textureHeight)
    {
        Log("The font does not fit the texture size, aborting.");
        return false;
    }

    // First pass: measure and place every glyph.
    struct SPlaced
    {
        wchar_t character;
        SFontArea area;
    };
    std::vector<SPlaced> placed;
    s32 x = 0;
    s32 y = 0;
    s32 rowHeight = 0;
    u32 image = 0;
    SGlyph glyph;
    FT_UInt glyphIndex = 0;
    for (FT_ULong character = FT_Get_First_Char(ft, &glyphIndex); glyphIndex != 0;
         character = FT_Get_Next_Char(ft, character, &glyphIndex))
    {
        if (!IsFontCharacter(character) || !renderer.Render(character, glyph))
            continue;
        if (glyph.b < 1)
            continue;
        if (static_cast<u32>(glyph.b) > textureWidth)
        {
            Log("The font does not fit the texture size, aborting.");
            return false;
        }
        if (static_cast<u32>(x + glyph.b) > textureWidth)
        {
            y += rowHeight;
            x = 0;
            if (static_cast<u32>(y + rowHeight) > textureHeight)
            {
                ++image;
                y = 0;
                // Stop measuring as soon as the images could not be made.
                if (static_cast<uint64_t>(image) * textureHeight * textureWidth * 4 > kMaxImageBytes)
                {
                    Log("The font needs too much image memory, aborting.");
                    return false;
                }
            }
            rowHeight = 0;
        }
        SFontArea area;
        area.rectangle = core::rect<s32>(x, y, x + glyph.b, y + height);
        area.underhang = glyph.a;
        area.overhang = glyph.c;
        area.sourceImage = image;
        placed.push_back({static_cast<wchar_t>(character), area});
        x += glyph.b + 1;
        rowHeight = std::max(rowHeight, height + 1);
    }
    if (placed.empty())
        return false;

    const u32 imageCount = image + 1;
    const u32 lastHeight = PowerOfTwoAtLeast(static_cast<u32>(y + rowHeight));
    const uint64_t bytes =
        (static_cast<uint64_t>(imageCount - 1) * textureHeight + lastHeight) * textureWidth * 4;
    if (bytes > kMaxImageBytes)
    {
        Log("The font needs too much image memory, aborting.");
        return false;
    }

    for (u32 i = 0; i < imageCount; ++i)
    {
        Log("Creating image " + std::to_string(i + 1) + " of " + std::to_string(imageCount));
        const core::dimension2d<u32> size(textureWidth, i + 1 == imageCount ? lastHeight : textureHeight);
        video::IImage* created = driver->createImage(video::ECF_A8R8G8B8, size);
        if (!created)
        {
            Log("Something went wrong, aborting.");
            ClearFont();
            return false;
        }
        created->fill(alpha ? video::SColor(0, 255, 255, 255) : video::SColor(255, 0, 0, 0));
        m_images.push_back(created);
    }

    // Second pass: draw each glyph into its place, white on the background.
    for (const SPlaced& entry : placed)
    {
        m_characters[entry.character] = static_cast<u32>(m_areas.size());
        m_areas.push_back(entry.area);
        if (!renderer.Render(entry.character, glyph) || glyph.coverage.empty())
            continue;
        video::IImage* target = m_images[entry.area.sourceImage];
        const core::rect<s32>& rect = entry.area.rectangle;
        const s32 firstRow = ascent - glyph.top;
        const s32 imageHeight = static_cast<s32>(target->getDimension().Height);
        for (u32 row = 0; row < glyph.rows; ++row)
        {
            const s32 cellRow = firstRow + static_cast<s32>(row);
            const s32 py = rect.UpperLeftCorner.Y + cellRow;
            if (cellRow < 0 || cellRow >= height || py >= imageHeight)
                continue;
            for (s32 column = 0; column < glyph.b && column < rect.getWidth(); ++column)
            {
                const u8 value = glyph.coverage[static_cast<size_t>(row) * glyph.b + column];
                if (value == 0)
                    continue;
                target->setPixel(static_cast<u32>(rect.UpperLeftCorner.X + column), static_cast<u32>(py),
                                 alpha ? video::SColor(value, 255, 255, 255)
                                       : video::SColor(255, value, value, value));
            }
        }
    }

    for (video::IImage* built : m_images)
    {
        video::ITexture* texture = driver->addTexture("GUIFontImage", built);
        if (texture)
        {
            texture->grab();
            m_textures.push_back(texture);
        }
    }
    return true;
}

bool CFontTool::SaveFont(const std::string& fileBase, const std::string& imageFormat)
{
    if (m_images.empty())
    {
        Log("No image data to write, aborting.");
        return false;
    }
    video::IVideoDriver* driver = m_device ? m_device->getVideoDriver() : nullptr;
    io::IFileSystem* fileSystem = m_device ? m_device->getFileSystem() : nullptr;
    if (!driver || !fileSystem)
        return false;

    // Every file is written to a save file first; the old files are
    // replaced only once all of them were written whole. Irrlicht writes
    // through an adapter of each.
    std::vector<CFilePtr> saves;
    std::vector<std::unique_ptr<io::IWriteFile, SDropWriteFile>> adapters;
    const auto open = [&saves, &adapters](const std::string& path) -> io::IWriteFile*
    {
        saves.emplace_back(new CSaveFile(Misc::Text::Utf8ToWide(path)));
        auto* save = static_cast<CSaveFile*>(saves.back().get());
        if (!save->IsOk())
            return nullptr;
        adapters.emplace_back(new Graphics::CIrrlichtFile(save));
        return adapters.back().get();
    };
    std::vector<std::wstring> imageNames;
    for (size_t i = 0; i < m_images.size(); ++i)
    {
        const std::string path = fileBase + std::to_string(i) + "." + imageFormat;
        io::IWriteFile* save = open(path);
        if (!save || !driver->writeImageToFile(m_images[i], save))
        {
            Log("Could not write " + path + ", aborting.");
            return false;
        }
        // The description names each image by its file name: the font
        // loader looks for it beside the description.
        imageNames.push_back(FileName(path));
    }

    const std::string descriptionPath = fileBase + ".xml";
    io::IWriteFile* description = open(descriptionPath);
    io::IXMLWriter* writer = description ? fileSystem->createXMLWriter(description) : nullptr;
    if (!writer)
    {
        Log("Could not write " + descriptionPath + ", aborting.");
        return false;
    }
    writer->writeXMLHeader();
    writer->writeLineBreak();
    writer->writeElement(L"font", false, L"type", L"bitmap");
    writer->writeLineBreak();
    writer->writeLineBreak();
    for (size_t i = 0; i < imageNames.size(); ++i)
    {
        writer->writeElement(L"Texture", true, L"index", std::to_wstring(i).c_str(), L"filename",
                             imageNames[i].c_str(), L"hasAlpha", m_useAlpha ? L"true" : L"false");
        writer->writeLineBreak();
    }
    writer->writeLineBreak();
    for (const auto& [character, index] : m_characters)
    {
        const SFontArea& area = m_areas[index];
        core::array<core::stringw> names;
        core::array<core::stringw> values;
        const wchar_t text[2] = {character, 0};
        names.push_back(L"c");
        values.push_back(text);
        if (area.sourceImage != 0)
        {
            names.push_back(L"i");
            values.push_back(std::to_wstring(area.sourceImage).c_str());
        }
        const core::rect<s32>& r = area.rectangle;
        names.push_back(L"r");
        values.push_back(
            (std::to_wstring(r.UpperLeftCorner.X) + L", " + std::to_wstring(r.UpperLeftCorner.Y) + L", " +
             std::to_wstring(r.LowerRightCorner.X) + L", " + std::to_wstring(r.LowerRightCorner.Y))
                .c_str());
        if (area.underhang != 0)
        {
            names.push_back(L"u");
            values.push_back(std::to_wstring(area.underhang).c_str());
        }
        if (area.overhang != 0)
        {
            names.push_back(L"o");
            values.push_back(std::to_wstring(area.overhang).c_str());
        }
        writer->writeElement(L"c", true, names, values);
        writer->writeLineBreak();
    }
    writer->writeClosingTag(L"font");
    writer->drop();
    for (const CFilePtr& save : saves)
    {
        if (!static_cast<CSaveFile*>(save.get())->Commit())
        {
            Log("Could not write " + std::string(save->getFileName().c_str()) + ", aborting.");
            return false;
        }
    }
    Log("Bitmap font saved.");
    return true;
}

} // namespace irr
