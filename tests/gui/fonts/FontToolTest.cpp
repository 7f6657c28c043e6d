// The bitmap-font builder on this machine's fonts: character sets and font
// names from fontconfig, glyph packing, the images and description written,
// and the font Irrlicht loads back from them.
#include "gui/FontconfigLeakSuppression.h"
#include "gui/fonts/FontTool.h"

#include "core/foundation/StringConversion.h"

#include "gui/GuiTestDevice.h"
#include "support/TestFolder.h"

#include <IGUIFont.h>
#include <IGUIFontBitmap.h>
#include <IGUISpriteBank.h>
#include <IImage.h>
#include <gtest/gtest.h>

#include <algorithm>

using irr::CFontTool;

namespace
{

using namespace irr;

// The test machine's bootstrap installs the DejaVu fonts.
const wchar_t* const kFont = L"DejaVu Sans Mono";

class FontToolTest : public ::testing::Test
{
protected:
    FontToolTest() : tool(new CFontTool(device.Device())) {}
    ~FontToolTest() override { tool->drop(); }

    // Index of the font in the current character set's names, or -1.
    int FontIndex(const std::wstring& name) const
    {
        const auto& names = tool->GetFontNames();
        const auto found = std::find(names.begin(), names.end(), name);
        return found == names.end() ? -1 : static_cast<int>(found - names.begin());
    }
    // The description file as text (Irrlicht writes UTF-32 with a BOM).
    std::wstring Description(const std::string& name) const
    {
        const std::string bytes = folder.Read(name);
        std::wstring text;
        for (size_t i = 4; i + 3 < bytes.size(); i += 4)
        {
            const auto* b = reinterpret_cast<const unsigned char*>(bytes.data() + i);
            text.push_back(static_cast<wchar_t>(b[0] | (b[1] << 8) | (b[2] << 16) | (b[3] << 24)));
        }
        return text;
    }

    CTestFolder folder;
    CGuiTestDevice device;
    CFontTool* tool;
};

TEST_F(FontToolTest, CharacterSetsListTheFontsCoveringThem)
{
    const std::vector<std::wstring> expected = {L"ANSI",
                                                L"All Available",
                                                L"OEM",
                                                L"Baltic",
                                                L"Chinese Simplified",
                                                L"Chinese Traditional",
                                                L"Eastern European",
                                                L"Greek",
                                                L"Hangul",
                                                L"Macintosh",
                                                L"Russian",
                                                L"Japanese",
                                                L"Symbol",
                                                L"Turkish",
                                                L"Vietnamese",
                                                L"Johab",
                                                L"Arabic",
                                                L"Hebrew",
                                                L"Thai"};
    EXPECT_EQ(tool->GetCharacterSetNames(), expected);

    // The first set is selected at construction.
    ASSERT_GE(FontIndex(kFont), 0);
    EXPECT_TRUE(std::is_sorted(tool->GetFontNames().begin(), tool->GetFontNames().end()));
    tool->SelectCharacterSet(10); // Russian: DejaVu covers Cyrillic
    EXPECT_GE(FontIndex(kFont), 0);
    const std::vector<std::wstring> russian = tool->GetFontNames();
    tool->SelectCharacterSet(19);
    EXPECT_EQ(tool->GetFontNames(), russian);
    tool->SelectCharacterSet(1);
    EXPECT_GE(tool->GetFontNames().size(), russian.size());
}

TEST_F(FontToolTest, GlyphsArePackedInRowsAndImagesInCharacterOrder)
{
    const int font = FontIndex(kFont);
    ASSERT_GE(font, 0);
    ASSERT_TRUE(tool->BuildFont(static_cast<u32>(font), 0, 10, 128, 96, false, false, true, true));
    const auto& areas = tool->GetAreas();
    const auto& characters = tool->GetCharacterMap();
    ASSERT_GT(characters.size(), 200u);
    ASSERT_GT(tool->GetImageCount(), 2u);
    EXPECT_EQ(characters.count(L'A'), 1u);
    EXPECT_EQ(characters.count(L' '), 1u); // blank, but with its advance
    EXPECT_EQ(characters.count(L'\t'), 0u);

    const s32 height = areas[characters.at(L'A')].rectangle.getHeight();
    const CFontTool::SFontArea* previous = nullptr;
    for (const auto& [character, index] : characters)
    {
        const CFontTool::SFontArea& area = areas[index];
        ASSERT_EQ(area.rectangle.getHeight(), height);
        ASSERT_LE(area.rectangle.LowerRightCorner.X, 128);
        if (previous)
        {
            const auto& before = previous->rectangle;
            if (area.sourceImage != previous->sourceImage)
            {
                // A new image starts at the top left.
                ASSERT_EQ(area.sourceImage, previous->sourceImage + 1) << character;
                ASSERT_EQ(area.rectangle.UpperLeftCorner, core::position2di(0, 0)) << character;
            }
            else if (area.rectangle.UpperLeftCorner.Y != before.UpperLeftCorner.Y)
            {
                // A new row: one pixel below the row before, because the
                // glyph did not fit that row.
                ASSERT_EQ(area.rectangle.UpperLeftCorner.X, 0) << character;
                ASSERT_EQ(area.rectangle.UpperLeftCorner.Y, before.UpperLeftCorner.Y + height + 1)
                    << character;
                ASSERT_GT(before.LowerRightCorner.X + 1 + area.rectangle.getWidth(), 128) << character;
            }
            else
            {
                // One pixel between neighbours.
                ASSERT_EQ(area.rectangle.UpperLeftCorner.X, before.LowerRightCorner.X + 1) << character;
            }
        }
        previous = &area;
    }

    // Full images are as high as asked; the last is cut to a power of two.
    const u32 last = tool->GetImageCount() - 1;
    for (u32 i = 0; i < last; ++i)
        EXPECT_EQ(tool->GetImage(i)->getDimension(), core::dimension2d<u32>(128, 96));
    s32 used = 0;
    for (const auto& area : areas)
    {
        if (area.sourceImage == last)
            used = std::max(used, area.rectangle.LowerRightCorner.Y + 1);
    }
    const u32 lastHeight = tool->GetImage(last)->getDimension().Height;
    EXPECT_EQ(lastHeight & (lastHeight - 1), 0u);
    EXPECT_GE(lastHeight, static_cast<u32>(used));
    EXPECT_LT(lastHeight / 2, static_cast<u32>(used));

    // White glyphs on a transparent background: "A" has covered pixels and
    // the gap after it has none.
    const CFontTool::SFontArea& a = areas[characters.at(L'A')];
    video::IImage* image = tool->GetImage(a.sourceImage);
    u32 covered = 0;
    for (s32 y = a.rectangle.UpperLeftCorner.Y; y < a.rectangle.LowerRightCorner.Y; ++y)
    {
        for (s32 x = a.rectangle.UpperLeftCorner.X; x < a.rectangle.LowerRightCorner.X; ++x)
        {
            const video::SColor pixel = image->getPixel(static_cast<u32>(x), static_cast<u32>(y));
            if (pixel.getAlpha() > 0)
            {
                ++covered;
                EXPECT_EQ(pixel.color & 0xFFFFFFu, 0xFFFFFFu);
            }
        }
        EXPECT_EQ(
            image->getPixel(static_cast<u32>(a.rectangle.LowerRightCorner.X), static_cast<u32>(y)).getAlpha(),
            0u);
    }
    EXPECT_GT(covered, 10u);
}

TEST_F(FontToolTest, SavedFontsLoadBackIntoIrrlicht)
{
    const int font = FontIndex(kFont);
    ASSERT_GE(font, 0);
    EXPECT_FALSE(tool->SaveFont(folder / "empty", "png")); // nothing built yet
    ASSERT_TRUE(tool->BuildFont(static_cast<u32>(font), 0, 12, 256, 256, false, false, false, false));
    ASSERT_TRUE(tool->SaveFont(folder / "myfont", "png"));
    for (u32 i = 0; i < tool->GetImageCount(); ++i)
        EXPECT_TRUE(std::filesystem::exists(folder.Path() / ("myfont" + std::to_string(i) + ".png"))) << i;

    // The description: textures by file name, then one "c" per character,
    // each attribute only when it says something.
    const std::wstring text = Description("myfont.xml");
    EXPECT_EQ(text.find(L"<?xml"), 0u);
    EXPECT_NE(text.find(L"<font type=\"bitmap\">"), std::wstring::npos);
    EXPECT_NE(text.find(L"<Texture index=\"0\" filename=\"myfont0.png\" hasAlpha=\"false\" />"),
              std::wstring::npos);
    EXPECT_NE(text.find(L"<c c=\"&quot;\""), std::wstring::npos);
    EXPECT_NE(text.find(L"<c c=\"&amp;\""), std::wstring::npos);
    EXPECT_NE(text.rfind(L"</font>"), std::wstring::npos);
    const auto& areas = tool->GetAreas();
    const auto& characters = tool->GetCharacterMap();
    bool plainChecked = false;
    bool otherImageChecked = false;
    for (const auto& [character, index] : characters)
    {
        const CFontTool::SFontArea& area = areas[index];
        if (character == L'"' || character == L'&' || character == L'<' || character == L'>' ||
            character == L'\'')
            continue;
        const auto& r = area.rectangle;
        const std::wstring rect = L"r=\"" + std::to_wstring(r.UpperLeftCorner.X) + L", " +
                                  std::to_wstring(r.UpperLeftCorner.Y) + L", " +
                                  std::to_wstring(r.LowerRightCorner.X) + L", " +
                                  std::to_wstring(r.LowerRightCorner.Y) + L"\"";
        if (!plainChecked && area.sourceImage == 0 && area.underhang == 0 && area.overhang == 0)
        {
            EXPECT_NE(text.find(L"<c c=\"" + std::wstring(1, character) + L"\" " + rect + L" />"),
                      std::wstring::npos);
            plainChecked = true;
        }
        if (!otherImageChecked && area.sourceImage == 1)
        {
            EXPECT_NE(text.find(L"<c c=\"" + std::wstring(1, character) + L"\" i=\"1\" " + rect),
                      std::wstring::npos);
            otherImageChecked = true;
        }
    }
    EXPECT_TRUE(plainChecked);
    EXPECT_TRUE(otherImageChecked);

    // Irrlicht loads it: every character, with its widths.
    gui::IGUIFont* loaded = device.Environment()->getFont(io::path((folder / "myfont.xml").c_str()));
    ASSERT_NE(loaded, nullptr);
    ASSERT_EQ(loaded->getType(), gui::EGFT_BITMAP);
    gui::IGUISpriteBank* bank = static_cast<gui::IGUIFontBitmap*>(loaded)->getSpriteBank();
    EXPECT_EQ(bank->getTextureCount(), tool->GetImageCount());
    EXPECT_EQ(bank->getSprites().size(), characters.size());
    for (const wchar_t* sample : {L"A", L"g", L"Ж", L" ", L"&"})
    {
        const CFontTool::SFontArea& area = areas[characters.at(sample[0])];
        const core::dimension2d<u32> size = loaded->getDimension(sample);
        EXPECT_EQ(static_cast<s32>(size.Width), area.underhang + area.rectangle.getWidth() + area.overhang)
            << Misc::Text::WideToUtf8(sample);
        EXPECT_EQ(static_cast<s32>(size.Height), area.rectangle.getHeight());
    }
}

TEST_F(FontToolTest, SizesAreCheckedBeforeAnythingIsMade)
{
    const int font = FontIndex(kFont);
    ASSERT_GE(font, 0);
    const u32 index = static_cast<u32>(font);
    const struct
    {
        u32 font;
        u32 charset;
        s32 size;
        u32 width;
        u32 height;
    } refused[] = {
        {index, 0, 0, 256, 256},
        {index, 0, -12, 256, 256},
        {index, 0, 257, 256, 256},
        {index, 0, 2000000000, 256, 256},
        {index, 0, 12, 0, 256},
        {index, 0, 12, 256, 0},
        {index, 0, 12, 5000, 256},
        {index, 0, 12, 256, 1u << 31},
        {index, 0, 12, 4, 256},
        {index, 0, 12, 256, 8},
        {9999, 0, 12, 256, 256},
        {index, 19, 12, 256, 256},
        // 256-point glyphs in 4096 x 4096 images: past the memory limit.
        {index, 0, 256, 4096, 4096},
    };
    for (const auto& entry : refused)
    {
        EXPECT_FALSE(tool->BuildFont(entry.font, entry.charset, entry.size, entry.width, entry.height, false,
                                     false, true, true))
            << entry.size << " " << entry.width << "x" << entry.height;
        EXPECT_EQ(tool->GetImageCount(), 0u);
    }

    // Bold, italic and unsmoothed glyphs are made too; unsmoothed ones have
    // no grey levels.
    ASSERT_TRUE(tool->BuildFont(index, 0, 9, 256, 256, true, true, false, false));
    video::IImage* image = tool->GetImage(0);
    for (u32 y = 0; y < image->getDimension().Height; ++y)
    {
        for (u32 x = 0; x < image->getDimension().Width; ++x)
        {
            const u32 red = image->getPixel(x, y).getRed();
            ASSERT_TRUE(red == 0 || red == 255) << x << "," << y;
        }
    }
}

} // namespace
