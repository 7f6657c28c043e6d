// The GUI manager's skin part: activation by name, copies, transparency,
// slots as scripts number them, ".kvoskin" files of every age and form, and
// the font registry.
#include "gui/GuiFixtures.h"
#include "gui/skin/SkinManager.h"

#include "core/app/Application.h"
#include "core/io/ArchiveHandle.h"
#include "gui/sprites/GuiKVOSpriteBank.h"
#include "gui/skin/SkinImpl.h"

#include "gui/GuiTestDevice.h"
#include "core/io/ArchiveTestUtil.h"
#include "support/ByteMutation.h"
#include "sound/MemoryFile.h"

#include <IGUIFont.h>
#include <IImage.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

using ArchiveTest::ErrorOf;
using Graphics::CSkinImpl;
using Graphics::GUI::CSkinManager;
using GuiTest::Fixture;

namespace
{

using namespace irr;

class SkinManagerTest : public ::testing::Test
{
protected:
    SkinManagerTest()
    {
        application.AddSearchPath(folder.Wide(), false, 0);
        skins.SetEnvironment(device.Environment());
        // Skin images name these textures; the driver finds them by name.
        AddTexture("tick.png", 16, 8);
        AddTexture("button.png", 32, 32);
    }

    void AddTexture(const char* name, u32 width, u32 height)
    {
        video::IImage* image =
            device.Driver()->createImage(video::ECF_A8R8G8B8, core::dimension2d<u32>(width, height));
        device.Driver()->addTexture(name, image);
        image->drop();
    }
    // A bitmap font of two letters in the test folder; its path.
    std::wstring WriteFont(const std::string& name = "tiny_font")
    {
        folder.Write(name + ".xml", Fixture("tiny_font.xml"));
        video::IImage* image =
            device.Driver()->createImage(video::ECF_A8R8G8B8, core::dimension2d<u32>(16, 8));
        image->fill(video::SColor(255, 255, 255, 255));
        device.Driver()->writeImageToFile(image, io::path((folder / "tiny_font0.png").c_str()));
        image->drop();
        return folder.Wide(name + ".xml");
    }
    gui::IGUISkin* Skin() const { return device.Environment()->getSkin(); }
    std::vector<u32> Alphas() const
    {
        std::vector<u32> alphas;
        for (u32 i = 0; i < gui::EGDC_COUNT; ++i)
            alphas.push_back(Skin()->getColor(static_cast<gui::EGUI_DEFAULT_COLOR>(i)).getAlpha());
        return alphas;
    }

    CTestFolder folder;
    CGuiTestDevice device;
    CApplication application;
    CSkinManager skins{&application};
};

TEST_F(SkinManagerTest, NamesSelectBuiltInSkinsOrTheOwnSkin)
{
    // A skin file named like a built-in skin is never opened for it.
    folder.Write("CLASSIC.kvoskin", Fixture("skin_own_v1030.kvoskin"));
    const struct
    {
        const wchar_t* name;
        int type;
        const wchar_t* nameAfter;
    } cases[] = {
        {L"CLASSIC", gui::EGST_WINDOWS_CLASSIC, L"CLASSIC"},
        {L"METALLIC", gui::EGST_WINDOWS_METALLIC, L"METALLIC"},
        {L"BURN", gui::EGST_BURNING_SKIN, L"BURN"},
        // Not a built-in name: an own skin, and the file found without
        // regard to case decides the name.
        {L"classic", gui::EGST_UNKNOWN, L"Stone"},
        {L"NoSuchFile", gui::EGST_UNKNOWN, L"NoSuchFile"},
    };
    for (const auto& entry : cases)
    {
        SCOPED_TRACE(std::string(entry.name, entry.name + std::wcslen(entry.name)));
        EXPECT_TRUE(skins.SkinActivate(entry.name, false, true));
        EXPECT_EQ(Skin()->getType(), entry.type);
        EXPECT_EQ(skins.GetSkinName(), entry.nameAfter);
        EXPECT_EQ(skins.IsSkinInitialised(), entry.type == gui::EGST_UNKNOWN);
        EXPECT_EQ(Alphas()[gui::EGDC_3D_FACE], 255u);
    }

    // Without a GUI nothing happens.
    CSkinManager without(&application);
    EXPECT_FALSE(without.SkinActivate(L"CLASSIC", false, false));
    EXPECT_FALSE(without.CreateSkin(3, true));
    EXPECT_FALSE(without.IsSkinInitialised());
    without.DeactivateSkin();
    without.SetGuiAlpha(0.5f, true);
    EXPECT_EQ(without.GetSkinSize(0), 0);
    EXPECT_EQ(ErrorOf([&] { without.GetFont(L"x", false); }),
              "[CGuiManager::GetFont] Font not available. Gui manager not initialised.");
}

TEST_F(SkinManagerTest, CopiesKeepTheCurrentSkinsSettings)
{
    ASSERT_TRUE(skins.SkinActivate(L"METALLIC", false, false));
    Skin()->setSize(gui::EGDS_SCROLLBAR_SIZE, 33);
    Skin()->setSize(gui::EGDS_BUTTON_PRESSED_TEXT_OFFSET_X, 7);
    Skin()->setColor(gui::EGDC_WINDOW, video::SColor(10, 1, 2, 3));
    Skin()->setColor(gui::EGDC_FOCUSED_EDITABLE, video::SColor(10, 4, 5, 6));
    Skin()->setDefaultText(gui::EGDT_MSG_BOX_NO, L"Nein");
    Skin()->setIcon(gui::EGDI_FILE, 77);
    gui::IGUISpriteBank* metallicIcons = Skin()->getSpriteBank();

    ASSERT_TRUE(skins.SkinActivate(L"Mine", true, false));
    CSkinImpl* own = skins.GetOwnSkin();
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->getSize(gui::EGDS_SCROLLBAR_SIZE), 33);
    EXPECT_EQ(own->getSize(gui::EGDS_BUTTON_PRESSED_TEXT_OFFSET_X), 7);
    EXPECT_EQ(own->getColor(gui::EGDC_WINDOW), video::SColor(255, 1, 2, 3)); // copied, then opaque
    EXPECT_EQ(own->getColor(gui::EGDC_FOCUSED_EDITABLE), video::SColor(255, 4, 5, 6));
    EXPECT_EQ(std::wstring(own->getDefaultText(gui::EGDT_MSG_BOX_NO)), L"Nein");
    EXPECT_EQ(own->getIcon(gui::EGDI_FILE), 77u);
    EXPECT_EQ(own->getSpriteBank(), metallicIcons);

    // An own skin made from an own skin keeps the same icon bank; without
    // copy the defaults come back.
    ASSERT_TRUE(skins.SkinActivate(L"Other", false, false));
    EXPECT_EQ(Skin()->getSpriteBank(), metallicIcons);
    EXPECT_EQ(Skin()->getSize(gui::EGDS_SCROLLBAR_SIZE), 14);
    EXPECT_EQ(Skin()->getIcon(gui::EGDI_FILE), 245u);

    // Deactivating returns to the classic skin and keeps the name.
    skins.DeactivateSkin();
    EXPECT_EQ(Skin()->getType(), gui::EGST_WINDOWS_CLASSIC);
    EXPECT_EQ(skins.GetSkinName(), L"Other");
    EXPECT_FALSE(skins.SetSkinImage(L"GUIIMAGE_MENU", L"button.png", {}, 0));
    EXPECT_EQ(skins.GetSkinImageCount(), 0u);
    EXPECT_EQ(skins.GetSkinImageIds(), nullptr);
    EXPECT_FALSE(skins.AreSkinHighlightsEnabled());
}

TEST_F(SkinManagerTest, GuiAlphaIsAbsoluteOrRelativeAndHeldToAByte)
{
    ASSERT_TRUE(skins.SkinActivate(L"CLASSIC", false, false));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct
    {
        float alpha;
        bool absolute;
        u32 expected;
    } steps[] = {
        {0.5f, true, 127},  {1.0f, true, 255}, {0.5f, false, 127}, {0.5f, false, 63}, {4.0f, false, 252},
        {2.0f, false, 255}, {2.0f, true, 255}, {-1.0f, true, 0},   {1.0f, true, 255}, {nan, true, 0},
    };
    for (const auto& step : steps)
    {
        skins.SetGuiAlpha(step.alpha, step.absolute);
        EXPECT_EQ(Alphas(), std::vector<u32>(gui::EGDC_COUNT, step.expected))
            << step.alpha << (step.absolute ? " absolute" : " relative");
    }
    // The colour itself stays.
    EXPECT_EQ(Skin()->getColor(gui::EGDC_3D_FACE).color & 0xFFFFFFu,
              video::SColor(0, 210, 210, 210).color & 0xFFFFFFu);
}

TEST_F(SkinManagerTest, SlotsAsScriptsNumberThem)
{
    ASSERT_TRUE(skins.SkinActivate(L"Mine", false, false));
    EXPECT_FLOAT_EQ(skins.GetSkinColor(2).r, 210.0f / 255.0f);
    // Out of the 21 / 10 / 8 slots skin files know: neutral and ignored.
    const CColor zero = skins.GetSkinColor(21);
    EXPECT_TRUE(zero.IsZero());
    skins.SetSkinColor(21, CColor(1, 1, 1, 1));
    EXPECT_NE(Skin()->getColor(static_cast<gui::EGUI_DEFAULT_COLOR>(21)), video::SColor(255, 255, 255, 255));
    EXPECT_EQ(skins.GetSkinSize(10), 0);
    skins.SetSkinSize(10, 99);
    EXPECT_NE(Skin()->getSize(static_cast<gui::EGUI_DEFAULT_SIZE>(10)), 99);
    EXPECT_EQ(skins.GetSkinText(8), L"");
    skins.SetSkinText(8, L"x");
    skins.SetSkinText(1, L"Abbrechen");
    EXPECT_EQ(skins.GetSkinText(1), L"Abbrechen");

    // A component of 1 (out of 255) stays 1 and is no full 1.0.
    Skin()->setColor(gui::EGDC_WINDOW, video::SColor(255, 1, 0, 254));
    const CColor window = skins.GetSkinColor(gui::EGDC_WINDOW);
    EXPECT_LT(window.r, 0.01f);
    skins.SetSkinColor(gui::EGDC_WINDOW, window);
    EXPECT_EQ(Skin()->getColor(gui::EGDC_WINDOW), video::SColor(255, 1, 0, 254));
    // Fractions go to the nearest byte, as everywhere in the GUI: a third
    // read back as 85 / 255 and set again stays 85.
    skins.SetSkinColor(0, CColor(0.5f, 0.0f, 1.0f, 1.0f));
    EXPECT_EQ(Skin()->getColor(gui::EGDC_3D_DARK_SHADOW), video::SColor(255, 128, 0, 255));
    skins.SetSkinColor(0, CColor(1.0f / 3.0f, 0.0f, 84.9f / 255.0f, 1.0f));
    EXPECT_EQ(Skin()->getColor(gui::EGDC_3D_DARK_SHADOW), video::SColor(255, 85, 0, 85));
}

TEST_F(SkinManagerTest, TextSavesKeepEveryColourExactly)
{
    ASSERT_TRUE(skins.SkinActivate(L"Drift", false, false));
    for (u32 round = 0; round < 13; ++round)
    {
        SCOPED_TRACE(round);
        for (u32 i = 0; i < CSkinImpl::kFileColorCount; ++i)
        {
            const u32 value = (round * CSkinImpl::kFileColorCount + i) % 256;
            Skin()->setColor(static_cast<gui::EGUI_DEFAULT_COLOR>(i),
                             video::SColor(255 - value, value, (value * 7) % 256, 255 - value));
        }
        std::vector<video::SColor> before;
        for (u32 i = 0; i < CSkinImpl::kFileColorCount; ++i)
            before.push_back(Skin()->getColor(static_cast<gui::EGUI_DEFAULT_COLOR>(i)));
        ASSERT_TRUE(skins.SaveSkin(folder.Wide("drift.kvoskin"), "UTF8"));
        skins.DeactivateSkin();
        ASSERT_TRUE(skins.SkinActivate(folder.Wide("drift.kvoskin"), false, true));
        ASSERT_EQ(skins.GetSkinName(), L"Drift");
        for (u32 i = 0; i < CSkinImpl::kFileColorCount; ++i)
            EXPECT_EQ(Skin()->getColor(static_cast<gui::EGUI_DEFAULT_COLOR>(i)), before[i]) << "colour " << i;
    }
}

TEST_F(SkinManagerTest, HandWrittenOwnSkinSetsEverySlotImageAndIcon)
{
    folder.Write("Stone.kvoskin", Fixture("skin_own_v1030.kvoskin"));
    ASSERT_TRUE(skins.SkinActivate(L"Stone", true, true));
    CSkinImpl* own = skins.GetOwnSkin();
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(skins.GetSkinName(), L"Stone");
    EXPECT_EQ(skins.GetSkinText(0), L"D'accord");
    EXPECT_EQ(skins.GetSkinText(6), L"Réduire");
    EXPECT_EQ(skins.GetSkinText(7), L"Taille d'origine");
    EXPECT_EQ(skins.GetSkinSize(0), 16);
    EXPECT_EQ(skins.GetSkinSize(9), -1);
    // Six-decimal fractions come back as the bytes they were written from.
    EXPECT_EQ(own->getColor(gui::EGDC_3D_DARK_SHADOW), video::SColor(255, 1, 1, 1));
    EXPECT_EQ(own->getColor(gui::EGDC_3D_SHADOW), video::SColor(255, 101, 101, 101));
    EXPECT_EQ(own->getColor(gui::EGDC_ICON_HIGH_LIGHT), video::SColor(127, 8, 36, 107));
    EXPECT_FALSE(skins.AreSkinHighlightsEnabled());
    EXPECT_EQ(skins.GetSkinImageCount(), 2u);
    EXPECT_EQ(skins.GetSkinImage(L"GUIIMAGE_BUTTON_NORMAL"), L"button.png");
    EXPECT_EQ(skins.GetSkinImage(L"nothing"), L"");
    // The tick icon now comes from its image.
    EXPECT_TRUE(own->IsIconFromImage(gui::EGDI_CHECK_BOX_CHECKED));
    EXPECT_EQ(own->getIcon(gui::EGDI_CHECK_BOX_CHECKED),
              static_cast<u32>(own->GetOwnSpriteBank()->FindSprite(L"GUIICON_CHECK_BOX_CHECKED")));
    // The empty font lines register the built-in font under "0" to "4".
    EXPECT_EQ(skins.GetFontFiles().size(), 5u);
    EXPECT_EQ(skins.GetFontFilename(L"0"), L"");
    EXPECT_EQ(own->getFont(gui::EGDF_DEFAULT), device.Environment()->getBuiltInFont());

    // Images are cleared one by one or all together.
    skins.ClearSkinImage(L"GUIIMAGE_BUTTON_NORMAL");
    EXPECT_EQ(skins.GetSkinImageCount(), 1u);
    ASSERT_NE(skins.GetSkinImageIds(), nullptr);
    EXPECT_EQ(skins.GetSkinImageIds()->begin()->first, L"GUIICON_CHECK_BOX_CHECKED");
    skins.ClearAllSkinImages();
    EXPECT_EQ(skins.GetSkinImageCount(), 0u);
}

TEST_F(SkinManagerTest, BuiltInAndLegacySkinBodies)
{
    folder.Write("metal.kvoskin", Fixture("skin_metallic_v1030.kvoskin"));
    ASSERT_TRUE(skins.SkinActivate(folder.Wide("metal"), false, true));
    EXPECT_EQ(Skin()->getType(), gui::EGST_WINDOWS_METALLIC);
    EXPECT_EQ(skins.GetSkinName(), L"METALLIC");
    EXPECT_EQ(skins.GetSkinSize(9), 7);
    EXPECT_EQ(Skin()->getColor(gui::EGDC_WINDOW), video::SColor(255, 51, 102, 153));

    // Old bodies only set the GUI alpha; the skin stays as it was.
    const struct
    {
        const char* fixture;
        u32 alpha;
    } legacy[] = {{"skin_legacy_v1018.kvoskin", 127},
                  {"skin_legacy_v1012.kvoskin", 63},
                  {"skin_legacy_v2.kvoskin", 191}};
    for (const auto& entry : legacy)
    {
        SCOPED_TRACE(entry.fixture);
        ASSERT_TRUE(skins.SkinActivate(L"Plain", false, false));
        folder.Write("old.kvoskin", Fixture(entry.fixture));
        ASSERT_TRUE(skins.SkinActivate(folder.Wide("old.kvoskin"), false, true));
        EXPECT_EQ(skins.IsSkinInitialised(), true);
        EXPECT_EQ(Alphas(), std::vector<u32>(gui::EGDC_COUNT, entry.alpha));
        EXPECT_EQ(skins.GetSkinSize(0), 14);
        EXPECT_EQ(skins.GetSkinText(0), L"OK");
    }
}

TEST_F(SkinManagerTest, SkinsSavedAfterDeactivationStayReadable)
{
    // Saved while a built-in skin was current under an own skin's name: no
    // extensions, and the body is complete without them.
    folder.Write("plain.kvoskin", Fixture("skin_deactivated_v1030.kvoskin"));
    ASSERT_TRUE(skins.SkinActivate(folder.Wide("plain"), false, true));
    EXPECT_TRUE(skins.IsSkinInitialised());
    EXPECT_EQ(skins.GetSkinName(), L"Stone");
    EXPECT_EQ(skins.GetSkinSize(9), 5);

    // The same made by the program, in every form.
    ASSERT_TRUE(skins.SkinActivate(L"Granite", false, false));
    skins.DeactivateSkin();
    for (const char* mode : {"UTF8", "BINARY", "COMPRESSED"})
    {
        SCOPED_TRACE(mode);
        ASSERT_TRUE(skins.SaveSkin(folder.Wide("granite.kvoskin"), mode));
        ASSERT_TRUE(skins.SkinActivate(folder.Wide("granite.kvoskin"), false, true));
        EXPECT_TRUE(skins.IsSkinInitialised());
        EXPECT_EQ(skins.GetSkinName(), L"Granite");
        skins.DeactivateSkin();
    }

    // The other way round: an own skin current under a built-in name
    // writes its extensions, which are read past.
    ASSERT_TRUE(skins.SkinActivate(L"BURN", false, false));
    ASSERT_TRUE(skins.CreateSkin(CSkinManager::kSkinOwn, false));
    ASSERT_TRUE(skins.SetSkinImage(L"GUIIMAGE_MENU", L"button.png", {}, 0));
    ASSERT_TRUE(skins.SaveSkin(folder.Wide("burn.kvoskin"), "UTF8"));
    ASSERT_TRUE(skins.SkinActivate(folder.Wide("burn.kvoskin"), false, true));
    EXPECT_EQ(Skin()->getType(), gui::EGST_BURNING_SKIN);
}

TEST_F(SkinManagerTest, OwnSkinsRoundTripThroughEveryArchiveForm)
{
    const std::wstring font = WriteFont();
    ASSERT_TRUE(skins.SkinActivate(L"Marble", false, false));
    ASSERT_TRUE(skins.SetFont(L"1", font));
    skins.SetSkinText(3, L"Nö \"quoted\"");
    skins.SetSkinSize(7, 44);
    Skin()->setColor(gui::EGDC_TOOLTIP, video::SColor(200, 1, 128, 254));
    skins.EnableSkinHighlights(false);
    ASSERT_TRUE(skins.SetSkinImage(L"GUIICON_FILE", L"tick.png", {{0, 0, 8, 8}, {8, 0, 16, 8}}, 30));
    ASSERT_TRUE(skins.SetSkinImage(L"okButton", L"button.png", {}, 0));

    for (const char* mode : {"UTF8", "utf16", "BINARY", "COMPRESSED"})
    {
        SCOPED_TRACE(mode);
        ASSERT_TRUE(skins.SaveSkin(folder.Wide("marble.kvoskin"), mode));
        skins.DeactivateSkin();
        ASSERT_TRUE(skins.SkinActivate(folder.Wide("marble"), false, true));
        CSkinImpl* own = skins.GetOwnSkin();
        ASSERT_NE(own, nullptr);
        EXPECT_EQ(skins.GetSkinName(), L"Marble");
        EXPECT_EQ(skins.GetFontFilename(L"1"), font);
        EXPECT_NE(own->getFont(gui::EGDF_BUTTON), device.Environment()->getBuiltInFont());
        EXPECT_EQ(skins.GetSkinText(3), L"Nö \"quoted\"");
        EXPECT_EQ(skins.GetSkinSize(7), 44);
        EXPECT_EQ(own->getColor(gui::EGDC_TOOLTIP), video::SColor(200, 1, 128, 254));
        EXPECT_FALSE(skins.AreSkinHighlightsEnabled());
        EXPECT_EQ(skins.GetSkinImageCount(), 2u);
        EXPECT_TRUE(own->IsIconFromImage(gui::EGDI_FILE));
        const irr::gui::SGUISprite& file =
            own->GetOwnSpriteBank()->getSprites()[own->GetOwnSpriteBank()->FindSprite(L"GUIICON_FILE")];
        EXPECT_EQ(file.frameTime, 30u);
        EXPECT_EQ(file.Frames.size(), 2u);
    }
    // A save that cannot be written says so.
    EXPECT_FALSE(skins.SaveSkin(folder.Wide("no/such/folder/x.kvoskin"), "UTF8"));
    EXPECT_FALSE(skins.SaveSkin(folder.Wide("no/such/folder/x.kvoskin"), "BINARY"));
}

TEST_F(SkinManagerTest, FontKeysFillSkinSlotsOrOnlyRegister)
{
    const std::wstring font = WriteFont();
    ASSERT_TRUE(skins.SkinActivate(L"Fonts", false, false));
    gui::IGUIFont* builtIn = device.Environment()->getBuiltInFont();

    ASSERT_TRUE(skins.SetFont(L"2", font));
    gui::IGUIFont* loaded = Skin()->getFont(gui::EGDF_WINDOW);
    ASSERT_NE(loaded, builtIn);
    EXPECT_EQ(loaded->getType(), gui::EGFT_BITMAP);
    EXPECT_EQ(skins.GetFontFilename(L"2"), font);
    EXPECT_EQ(skins.GetFontKey(loaded), L"2");
    EXPECT_EQ(CSkinManager::GetFontTextureCount(loaded), 1u);
    EXPECT_EQ(CSkinManager::GetFontTextureName(loaded, 0), folder.Wide("tiny_font0.png"));
    EXPECT_EQ(CSkinManager::GetFontTextureName(loaded, 1), L"");
    EXPECT_EQ(CSkinManager::GetFontTextureCount(nullptr), 0u);

    // "02" is not the canonical text of 2: only registered.
    ASSERT_TRUE(skins.SetFont(L"02", font));
    EXPECT_EQ(Skin()->getFont(gui::EGDF_DEFAULT), builtIn);
    EXPECT_EQ(skins.GetFontFilename(L"02"), font);
    ASSERT_TRUE(skins.SetFont(L"title", font));
    EXPECT_EQ(skins.GetFont(L"title", false), loaded);

    // Keys that name no skin slot are refused, and nothing changes.
    const size_t registered = skins.GetFontFiles().size();
    for (const wchar_t* key : {L"7", L"-1", L"5", L"2147483648"})
    {
        const std::wstring text(key);
        EXPECT_EQ(ErrorOf([&] { skins.SetFont(key, font); }),
                  "[CGuiManager::SetFont] Invalid font key:" + std::string(text.begin(), text.end()));
    }
    EXPECT_EQ(skins.GetFontFiles().size(), registered);

    // Names that are neither files nor keys give the built-in font; files
    // that are no fonts give none, and cannot be registered.
    EXPECT_EQ(skins.GetFont(L"nothing", false), builtIn);
    folder.Write("notes.txt", "not a font");
    EXPECT_EQ(skins.GetFont(folder.Wide("notes.txt"), false), nullptr);
    EXPECT_EQ(ErrorOf([&] { skins.SetFont(L"3", folder.Wide("notes.txt")); }),
              "[CGuiManager::SetFont] Failed to load font:" + folder / "notes.txt");
    EXPECT_EQ(skins.GetFontFilename(L"3"), L"");

    // A file name no file matches records the name and serves the built-in
    // font, which is not held in the font map.
    ASSERT_TRUE(skins.SetFont(L"4", L"missing.xml"));
    EXPECT_EQ(skins.GetFontFilename(L"4"), L"missing.xml");
    EXPECT_EQ(Skin()->getFont(gui::EGDF_TOOLTIP), builtIn);
    EXPECT_EQ(skins.GetFontKey(builtIn), L"");

    // Loading with registration registers under the name itself.
    gui::IGUIFont* registeredFont = skins.GetFont(font, true);
    EXPECT_EQ(registeredFont, loaded);
    EXPECT_EQ(skins.GetFontFilename(font), font);

    skins.ClearFonts();
    EXPECT_TRUE(skins.GetFontFiles().empty());
    EXPECT_EQ(skins.GetFontKey(loaded), L"");
}

TEST_F(SkinManagerTest, FontKeysAreLookedUpAsFilesAsLongAsTheFileLookupKeepsItsAnswers)
{
    const std::wstring font = WriteFont();
    ASSERT_TRUE(skins.SetFont(L"hud", font));
    gui::IGUIFont* loaded = skins.GetFont(L"hud", false);
    ASSERT_NE(loaded, device.Environment()->getBuiltInFont());

    // A file named like the key comes first once the lookup's cached
    // answers go (here no font: none is served).
    folder.Write("hud", "not a font");
    EXPECT_EQ(skins.GetFont(L"hud", false), loaded) << "the miss is kept";
    application.GetFileSystem().ClearSearchCache();
    EXPECT_EQ(skins.GetFont(L"hud", false), nullptr);

    // A new search path is searched at once.
    CTestFolder other;
    other.Write("title", "not a font");
    EXPECT_EQ(skins.GetFont(L"title", false), device.Environment()->getBuiltInFont());
    application.AddSearchPath(other.Wide(), false, 1);
    EXPECT_EQ(skins.GetFont(L"title", false), nullptr);

    // Without the search cache nothing is kept.
    application.GetFileSystem().EnableSearchCache(false);
    EXPECT_EQ(skins.GetFont(L"late", false), device.Environment()->getBuiltInFont());
    other.Write("late", "not a font");
    EXPECT_EQ(skins.GetFont(L"late", false), nullptr);
    application.GetFileSystem().EnableSearchCache(true);
    EXPECT_EQ(skins.GetFont(L"late", false), nullptr);
    EXPECT_EQ(skins.GetFont(font, false), loaded);
}

TEST_F(SkinManagerTest, FontBlocksAreReadUpToTheirBrace)
{
    const std::wstring font = WriteFont();
    ASSERT_TRUE(skins.SkinActivate(L"Fonts", false, false));
    const std::string path(font.begin(), font.end());
    CMemoryFile file("KVOGUI\r\nVersion{\r\n\t-Version 1030\r\n}\r\n-0 \"" + path + "\"\r\n-big \"" + path +
                     "\"\r\n}\r\n");
    Misc::Serialization::CArchiveHandle archive(&file, false, "KVOGUI", 1);
    ASSERT_TRUE(archive.IsOpen());
    skins.ReadFonts(archive);
    EXPECT_TRUE(archive.TestToken("}"));
    EXPECT_EQ(skins.GetFontFilename(L"0"), font);
    EXPECT_EQ(skins.GetFontFilename(L"big"), font);
    EXPECT_NE(Skin()->getFont(gui::EGDF_DEFAULT), device.Environment()->getBuiltInFont());

    // Cut off before the brace: the archive reports the missing "}".
    CMemoryFile cut("KVOGUI\r\nVersion{\r\n\t-Version 1030\r\n}\r\n-0");
    Misc::Serialization::CArchiveHandle cutArchive(&cut, false, "KVOGUI", 1);
    skins.ReadFonts(cutArchive);
    EXPECT_NE(ErrorOf([&] { cutArchive.ExpectToken("}"); }), "(no error)");
}

// A seeded mutation run over skin files: every mutant is read through the
// skin file path; only the archive's and the manager's errors come out.
TEST_F(SkinManagerTest, MutatedSkinFilesAreReadSafely)
{
    ASSERT_TRUE(skins.SkinActivate(L"Seed", false, false));
    ASSERT_TRUE(skins.SetSkinImage(L"GUIIMAGE_MENU", L"button.png", {{1, 2, 3, 4}}, 5));
    ASSERT_TRUE(skins.SaveSkin(folder.Wide("seed.kvoskin"), "COMPRESSED"));
    const std::string seeds[] = {Fixture("skin_own_v1030.kvoskin"), Fixture("skin_legacy_v1018.kvoskin"),
                                 folder.Read("seed.kvoskin")};
    std::mt19937 random(7715);
    int read = 0;
    for (int round = 0; round < 900; ++round)
    {
        std::string bytes = seeds[round % 3];
        MutateBytes(bytes, random, {5, 12, 30});
        folder.Write("mutant.kvoskin", bytes);
        try
        {
            skins.SkinActivate(folder.Wide("mutant.kvoskin"), false, true);
            ++read;
        }
        catch (const Misc::Error::CKVOError&)
        {
        }
        // Whatever was read, the manager stays usable.
        ASSERT_NE(Skin(), nullptr);
    }
    EXPECT_GT(read, 0);
}

} // namespace
