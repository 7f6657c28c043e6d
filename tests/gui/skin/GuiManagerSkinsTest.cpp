// The GUI manager's skins, fonts and sprite bank as the engine attaches
// them: the layout blocks "Skin", "Font"/"Fonts" and "Sprites" read through
// the manager, each leaving the block's "}" to its caller; the one font
// registry; a fresh bank and skin for every device.

#include "gui/FontconfigLeakSuppression.h"
#include "gui/GuiFixtures.h"
#include "graphics/engine/GraphicsTestSupport.h"

#include "core/io/ArchiveHandle.h"
#include "core/io/ArchiveText.h"
#include "gui/sprites/GuiKVOSpriteBank.h"
#include "gui/manager/GuiManager.h"
#include "gui/skin/SkinManager.h"

#include "support/TestFolder.h"
#include "core/io/ArchiveTestUtil.h"
#include "sound/MemoryFile.h"
#include "gui/fonts/FontToolRegistry.h"

#include <gtest/gtest.h>

#include <irrlicht.h>

namespace
{

using Graphics::GUI::CGuiManager;
using GuiTest::Fixture;

const char* const kHeader = "KVOGUI\r\nVersion{\r\n\t-Version 1030\r\n}\r\n";

class GuiManagerSkinsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(simulation.InitNull(800, 600));
        for (const wchar_t* name : {L"hero.png", L"coin.png"})
            ASSERT_TRUE(simulation.graphics.CreateTexture(name, CPoint(32, 32), 3));
    }

    irr::gui::IGUIEnvironment* environment() { return simulation.graphics.GetDevice()->getGUIEnvironment(); }

    CGraphicsSimulation simulation;
    CGuiManager& gui = *simulation.graphics.GetGuiManager();
    CTestFolder folder;
};

TEST_F(GuiManagerSkinsTest, LayoutBlocksAreReadUpToTheirBrace)
{
    // "Sprites": the bank's sprite blocks; an entry whose texture cannot be
    // had is left out.
    std::string sprites = Fixture("sprites_v1030.kvosprites");
    sprites = sprites.substr(sprites.find("Sprite{"));
    CMemoryFile spriteFile(kHeader + sprites + "}\r\n");
    Misc::Serialization::CArchiveHandle spriteArchive(&spriteFile, false, "KVOGUI", 1);
    ASSERT_TRUE(spriteArchive.IsOpen());
    EXPECT_TRUE(gui.loadSpriteBank(spriteArchive, nullptr));
    EXPECT_TRUE(spriteArchive.TestToken("}"));
    EXPECT_EQ(gui.GetSpriteBankCount(), 2u);
    EXPECT_TRUE(gui.SpriteBankEntryExists(L"big coin"));
    EXPECT_TRUE(gui.SpriteBankEntryExists(L"walk"));
    EXPECT_FALSE(gui.SpriteBankEntryExists(L"lost"));
    // Layouts older than the bank's format are not read.
    CMemoryFile oldFile("KVOGUI\r\nVersion{\r\n\t-Version 1018\r\n}\r\n" + sprites + "}\r\n");
    Misc::Serialization::CArchiveHandle oldArchive(&oldFile, false, "KVOGUI", 1);
    gui.ClearSpriteBank();
    EXPECT_FALSE(gui.loadSpriteBank(oldArchive, nullptr));
    EXPECT_EQ(gui.GetSpriteBankCount(), 0u);

    // "Font"/"Fonts": key lines into the one registry.
    CMemoryFile fontFile(std::string(kHeader) + "-0 nowhere.xml\r\n-title \"no where.xml\"\r\n}\r\n");
    Misc::Serialization::CArchiveHandle fontArchive(&fontFile, false, "KVOGUI", 1);
    gui.ReadFonts(fontArchive);
    EXPECT_TRUE(fontArchive.TestToken("}"));
    EXPECT_EQ(gui.GetSkins().GetFontFilename(L"0"), L"nowhere.xml");
    EXPECT_EQ(gui.GetSkins().GetFontFilename(L"title"), L"no where.xml");
    EXPECT_EQ(gui.GetFont(L"title", false), environment()->getBuiltInFont());

    // "Skin": the skin file's body; written by the manager, read back.
    std::string skin = Fixture("skin_own_v1030.kvoskin");
    skin = skin.substr(skin.find("-SkinName"));
    CMemoryFile skinFile(kHeader + skin + "}\r\n");
    Misc::Serialization::CArchiveHandle skinArchive(&skinFile, false, "KVOGUI", 1);
    gui.ReadSkin(skinArchive);
    EXPECT_TRUE(skinArchive.TestToken("}"));
    EXPECT_TRUE(gui.GetSkins().IsSkinInitialised());
    EXPECT_EQ(gui.GetSkins().GetSkinName(), L"Stone");
    const int32_t menuHeight = gui.GetSkins().GetSkinSize(1);
    EXPECT_EQ(menuHeight, 24);
    {
        Misc::Serialization::CArchiveText out(folder.Wide("skin.kvogui"), true, "KVOGUI", 1030);
        EXPECT_TRUE(gui.WriteSkin(out));
    }
    gui.GetSkins().DeactivateSkin();
    CMemoryFile written(folder.Read("skin.kvogui"));
    Misc::Serialization::CArchiveHandle writtenArchive(&written, false, "KVOGUI", 1);
    gui.ReadSkin(writtenArchive);
    EXPECT_TRUE(gui.GetSkins().IsSkinInitialised());
    EXPECT_EQ(gui.GetSkins().GetSkinSize(1), menuHeight);
}

TEST_F(GuiManagerSkinsTest, EveryDeviceStartsWithItsOwnBankAndTheClassicSkin)
{
    ASSERT_NE(gui.GetSpriteBank(), nullptr);
    EXPECT_EQ(gui.AddSpriteBankEntry(L"hero", L"hero.png", {}, 0), L"hero");
    gui.GetSkins().SkinActivate(L"Own", false, false);
    ASSERT_TRUE(gui.SetFont(L"3", L"nowhere.xml"));
    const std::wstring sprite = gui.AddSpriteToScreen(L"hero", CRect(0.5f, 0.5f, 0.0f, 0.0f), 0, true, false,
                                                      0, CColor(1, 1, 1, 1), false, CRect());
    // Fractions of the screen become pixels before the bank sees them.
    const CRect position = gui.GetSpritePosition(sprite, true);
    EXPECT_EQ(position.x1, 400.0f);
    EXPECT_EQ(position.y1, 300.0f);

    // Closing the device lets go of the bank, the fonts and the builders.
    const uint32_t tool = gui.GetFontTools().Create(gui.GetDevice());
    ASSERT_NE(tool, 0u);
    simulation.graphics.Destroy();
    EXPECT_EQ(gui.GetSpriteBank(), nullptr);
    EXPECT_EQ(gui.GetSkins().GetEnvironment(), nullptr);
    EXPECT_TRUE(gui.GetSkins().GetFontFiles().empty());
    EXPECT_EQ(gui.GetFontTools().Get(tool), nullptr);
    EXPECT_FALSE(gui.GetFontTools().Destroy(tool));
    EXPECT_EQ(gui.GetFontTools().Create(gui.GetDevice()), 0u);
    try
    {
        gui.GetSpriteBankCount();
        ADD_FAILURE() << "no error";
    }
    catch (const Misc::Error::CKVOError& error)
    {
        EXPECT_EQ(error.GetMessage(), L"[CGuiManager::GetSpriteBankCount] Graphics engine not initialised.");
    }

    ASSERT_TRUE(simulation.InitNull(640, 480));
    ASSERT_NE(gui.GetSpriteBank(), nullptr);
    EXPECT_EQ(gui.GetSpriteBankCount(), 0u);
    EXPECT_FALSE(gui.GetSkins().IsSkinInitialised());
    EXPECT_EQ(environment()->getSkin()->getType(), irr::gui::EGST_WINDOWS_CLASSIC);
    EXPECT_EQ(gui.GetSkins().GetSkinName(), L"Own");
    const uint32_t next = gui.GetFontTools().Create(gui.GetDevice());
    EXPECT_GT(next, tool);
    EXPECT_TRUE(gui.GetFontTools().Destroy(next));
}

} // namespace
