// The own skin object: defaults, range-checked slots, fonts held by
// reference, images and icons, and what its drawing operations return. The
// pixels it draws are checked under a display (tests/gui/pixels).
#include "gui/skin/SkinImpl.h"

#include "gui/sprites/GuiKVOSpriteBank.h"

#include "gui/GuiTestDevice.h"
#include "core/io/ArchiveTestUtil.h"

#include <IGUIButton.h>
#include <IGUIFont.h>
#include <gtest/gtest.h>

using ArchiveTest::ErrorOf;
using Graphics::CSkinImpl;

namespace
{

using namespace irr;
using Rect32 = core::rect<s32>;

class SkinImplTest : public ::testing::Test
{
protected:
    SkinImplTest()
    {
        source = device.Environment()->getSkin();
        skin = new CSkinImpl(device.Environment(), source);
        textures.Add("tick.png", 16, 8);
        textures.Add("button.png", 32, 32);
        skin->GetOwnSpriteBank()->SetTextureLoader(textures.Loader());
    }
    ~SkinImplTest() override { skin->drop(); }

    CGuiTestDevice device;
    CFakeTextureStore textures;
    gui::IGUISkin* source = nullptr;
    CSkinImpl* skin = nullptr;
};

TEST_F(SkinImplTest, DefaultsOfTheSlotsFilesKnowAndIrrlichtsForTheRest)
{
    EXPECT_EQ(skin->getType(), gui::EGST_UNKNOWN);
    const struct
    {
        gui::EGUI_DEFAULT_COLOR slot;
        video::SColor color;
    } colors[] = {
        {gui::EGDC_3D_DARK_SHADOW, {255, 50, 50, 50}},  {gui::EGDC_3D_FACE, {255, 210, 210, 210}},
        {gui::EGDC_ACTIVE_BORDER, {255, 16, 14, 115}},  {gui::EGDC_TOOLTIP_BACKGROUND, {255, 255, 255, 225}},
        {gui::EGDC_ICON_HIGH_LIGHT, {255, 8, 36, 107}},
    };
    for (const auto& entry : colors)
        EXPECT_EQ(skin->getColor(entry.slot), entry.color) << entry.slot;
    const s32 sizes[] = {14, 30, 15, 18, 500, 200, 80, 30, 2, 0};
    for (u32 i = 0; i < CSkinImpl::kFileSizeCount; ++i)
        EXPECT_EQ(skin->getSize(static_cast<gui::EGUI_DEFAULT_SIZE>(i)), sizes[i]) << i;
    EXPECT_EQ(std::wstring(skin->getDefaultText(gui::EGDT_WINDOW_RESTORE)), L"Restore");
    EXPECT_EQ(skin->getIcon(gui::EGDI_WINDOW_MAXIMIZE), 225u);
    EXPECT_EQ(skin->getIcon(gui::EGDI_MENU_MORE), 232u);
    EXPECT_EQ(skin->getIcon(gui::EGDI_DIRECTORY), 246u);
    for (u32 i = 0; i < CSkinImpl::kFontCount; ++i)
        EXPECT_EQ(skin->getFont(static_cast<gui::EGUI_DEFAULT_FONT>(i)),
                  device.Environment()->getBuiltInFont());
    EXPECT_TRUE(skin->AreHighlightsEnabled());
    EXPECT_EQ(skin->getSpriteBank(), source->getSpriteBank());

    // The slots Irrlicht added later hold its classic skin's values.
    gui::IGUISkin* classic = device.Environment()->createSkin(gui::EGST_WINDOWS_CLASSIC);
    for (u32 i = CSkinImpl::kFileColorCount; i < gui::EGDC_COUNT; ++i)
        EXPECT_EQ(skin->getColor(static_cast<gui::EGUI_DEFAULT_COLOR>(i)),
                  classic->getColor(static_cast<gui::EGUI_DEFAULT_COLOR>(i)));
    for (u32 i = CSkinImpl::kFileSizeCount; i < gui::EGDS_COUNT; ++i)
        EXPECT_EQ(skin->getSize(static_cast<gui::EGUI_DEFAULT_SIZE>(i)),
                  classic->getSize(static_cast<gui::EGUI_DEFAULT_SIZE>(i)));
    classic->drop();
}

TEST_F(SkinImplTest, SlotsOutOfRangeAreNeutralAndIgnored)
{
    const auto color = [](int i) { return static_cast<gui::EGUI_DEFAULT_COLOR>(i); };
    const auto size = [](int i) { return static_cast<gui::EGUI_DEFAULT_SIZE>(i); };
    for (int bad : {static_cast<int>(gui::EGDC_COUNT), -1, 1 << 30})
    {
        skin->setColor(color(bad), video::SColor(1, 2, 3, 4));
        EXPECT_EQ(skin->getColor(color(bad)), video::SColor(0));
    }
    for (int bad : {static_cast<int>(gui::EGDS_COUNT), -5})
    {
        skin->setSize(size(bad), 9);
        EXPECT_EQ(skin->getSize(size(bad)), 0);
    }
    skin->setDefaultText(static_cast<gui::EGUI_DEFAULT_TEXT>(8), L"x");
    EXPECT_EQ(std::wstring(skin->getDefaultText(static_cast<gui::EGUI_DEFAULT_TEXT>(8))), L"");
    skin->setIcon(static_cast<gui::EGUI_DEFAULT_ICON>(23), 5);
    EXPECT_EQ(skin->getIcon(static_cast<gui::EGUI_DEFAULT_ICON>(23)), 0u);
    skin->setFont(device.Environment()->getBuiltInFont(), static_cast<gui::EGUI_DEFAULT_FONT>(5));
    EXPECT_EQ(skin->getFont(static_cast<gui::EGUI_DEFAULT_FONT>(5)), nullptr);
    skin->drawIcon(nullptr, static_cast<gui::EGUI_DEFAULT_ICON>(40), {0, 0});

    // The last slots Irrlicht has are in range.
    skin->setColor(gui::EGDC_FOCUSED_EDITABLE, video::SColor(1, 2, 3, 4));
    EXPECT_EQ(skin->getColor(gui::EGDC_FOCUSED_EDITABLE), video::SColor(1, 2, 3, 4));
    skin->setSize(gui::EGDS_BUTTON_PRESSED_TEXT_OFFSET_Y, 3);
    EXPECT_EQ(skin->getSize(gui::EGDS_BUTTON_PRESSED_TEXT_OFFSET_Y), 3);

    skin->setDefaultText(gui::EGDT_MSG_BOX_OK, nullptr);
    EXPECT_EQ(std::wstring(skin->getDefaultText(gui::EGDT_MSG_BOX_OK)), L"");
}

TEST_F(SkinImplTest, FontsAreHeldWhileSet)
{
    gui::IGUIFont* font = device.Environment()->getBuiltInFont();
    const s32 before = font->getReferenceCount();
    skin->setFont(font, gui::EGDF_MENU); // the same font again
    EXPECT_EQ(font->getReferenceCount(), before);
    skin->setFont(nullptr, gui::EGDF_MENU);
    EXPECT_EQ(font->getReferenceCount(), before - 1);
    EXPECT_EQ(skin->getFont(gui::EGDF_MENU), nullptr);
    skin->setFont(font, gui::EGDF_MENU);
    EXPECT_EQ(font->getReferenceCount(), before);
}

TEST_F(SkinImplTest, TheIconBankIsFixed)
{
    EXPECT_EQ(ErrorOf([&] { skin->setSpriteBank(nullptr); }), "[Skin::setSpriteBank] Not used.");
    EXPECT_EQ(skin->getSpriteBank(), source->getSpriteBank());
}

TEST_F(SkinImplTest, IconImagesBindOnlyToIconNames)
{
    EXPECT_TRUE(skin->SetImage(L"GUIICON_CHECK_BOX_CHECKED", L"tick.png", {{0, 0, 8, 8}, {8, 0, 16, 8}}, 50));
    EXPECT_TRUE(skin->IsIconFromImage(gui::EGDI_CHECK_BOX_CHECKED));
    EXPECT_EQ(skin->getIcon(gui::EGDI_CHECK_BOX_CHECKED),
              static_cast<u32>(skin->GetOwnSpriteBank()->FindSprite(L"GUIICON_CHECK_BOX_CHECKED")));
    EXPECT_EQ(skin->GetImageFile(L"GUIICON_CHECK_BOX_CHECKED"), L"tick.png");

    // A "GUIICON_" id that names no icon, an icon name without the prefix
    // and a texture that does not exist bind nothing.
    EXPECT_TRUE(skin->SetImage(L"GUIICON_NOPE", L"tick.png", {}, 0));
    EXPECT_TRUE(skin->SetImage(L"FILE", L"tick.png", {}, 0));
    EXPECT_TRUE(skin->SetImage(L"GUIICON_FILE_", L"tick.png", {}, 0));
    EXPECT_FALSE(skin->SetImage(L"GUIICON_DROP_DOWN", L"missing.png", {}, 0));
    for (u32 i = 0; i < CSkinImpl::kIconCount; ++i)
    {
        if (i != gui::EGDI_CHECK_BOX_CHECKED)
        {
            EXPECT_FALSE(skin->IsIconFromImage(static_cast<gui::EGUI_DEFAULT_ICON>(i))) << i;
        }
    }
    EXPECT_EQ(CSkinImpl::GetIconImageId(gui::EGDI_RADIO_BUTTON_CHECKED), L"GUIICON_RADIO_BUTTON_CHECKED");
    EXPECT_EQ(CSkinImpl::GetIconImageId(23), L"");

    // Drawing icons from either bank, looping or not, clips or none.
    const Rect32 clip(0, 0, 4, 4);
    skin->drawIcon(nullptr, gui::EGDI_CHECK_BOX_CHECKED, {10, 10}, 0, 120, false, &clip);
    skin->drawIcon(nullptr, gui::EGDI_WINDOW_CLOSE, {10, 10}, 0, 120);
}

TEST_F(SkinImplTest, ElementImagesComeBeforeRoleImages)
{
    gui::IGUIButton* named = device.Environment()->addButton(Rect32(0, 0, 10, 10), nullptr, 5);
    gui::IGUIButton* other = device.Environment()->addButton(Rect32(0, 0, 10, 10), nullptr, 6);
    EXPECT_EQ(skin->FindElementImage(named, L"GUIIMAGE_BUTTON_NORMAL"), -1);
    ASSERT_TRUE(skin->SetImage(L"GUIIMAGE_BUTTON_NORMAL", L"button.png", {}, 0));
    ASSERT_TRUE(skin->SetImage(L"okButton", L"tick.png", {}, 0));
    const s32 role = skin->GetOwnSpriteBank()->FindSprite(L"GUIIMAGE_BUTTON_NORMAL");
    const s32 element = skin->GetOwnSpriteBank()->FindSprite(L"okButton");

    // Without a name lookup elements have no names.
    EXPECT_EQ(skin->FindElementImage(named, L"GUIIMAGE_BUTTON_NORMAL"), role);
    skin->SetElementNameLookup([](gui::IGUIElement* e) { return e->getID() == 5 ? L"okButton" : L""; });
    EXPECT_EQ(skin->FindElementImage(named, L"GUIIMAGE_BUTTON_NORMAL"), element);
    EXPECT_EQ(skin->FindElementImage(named, L"GUIIMAGE_BUTTON_PRESSED"), element);
    EXPECT_EQ(skin->FindElementImage(other, L"GUIIMAGE_BUTTON_NORMAL"), role);
    EXPECT_EQ(skin->FindElementImage(nullptr, L"GUIIMAGE_BUTTON_NORMAL"), role);
    EXPECT_EQ(skin->FindElementImage(other, L"GUIIMAGE_MENU"), -1);
}

TEST_F(SkinImplTest, WindowBackgroundsReturnTheTitleBar)
{
    const Rect32 rect(10, 20, 210, 120);
    EXPECT_EQ(skin->draw3DWindowBackground(nullptr, true, video::SColor(255, 0, 0, 255), rect),
              Rect32(12, 22, 208, 39));
    EXPECT_EQ(skin->draw3DWindowBackground(nullptr, false, video::SColor(255, 0, 0, 255), rect), rect);
    skin->setSize(gui::EGDS_WINDOW_BUTTON_WIDTH, 25);
    EXPECT_EQ(skin->draw3DWindowBackground(nullptr, true, video::SColor(255, 0, 0, 255), rect),
              Rect32(12, 22, 208, 49));

    // Measuring only: the client area below the title bar, inside the frame.
    Rect32 client;
    EXPECT_EQ(skin->draw3DWindowBackground(nullptr, true, video::SColor(), rect, nullptr, &client),
              Rect32(12, 22, 208, 49));
    EXPECT_EQ(client, Rect32(11, 49, 209, 119));
    EXPECT_EQ(skin->draw3DWindowBackground(nullptr, false, video::SColor(), rect, nullptr, &client), rect);
    EXPECT_EQ(client, Rect32(11, 21, 209, 119));
}

TEST_F(SkinImplTest, EveryPaneDrawsWithAndWithoutImagesClipsAndHighlights)
{
    const Rect32 rect(5, 5, 60, 40);
    const Rect32 clip(0, 0, 20, 20);
    const Rect32 outside(100, 100, 120, 120);
    for (bool images : {false, true})
    {
        if (images)
        {
            for (const wchar_t* id :
                 {L"GUIIMAGE_BUTTON_NORMAL", L"GUIIMAGE_BUTTON_PRESSED", L"GUIIMAGE_PANE_SUNKEN",
                  L"GUIIMAGE_WINDOW", L"GUIIMAGE_MENU", L"GUIIMAGE_TOOLBAR", L"GUIIMAGE_TAB_BUTTON",
                  L"GUIIMAGE_TAB_BODY", L"GUIIMAGE_RECTANGLE"})
                ASSERT_TRUE(skin->SetImage(id, L"button.png", {{0, 0, 16, 16}, {16, 0, 32, 16}}, 40));
        }
        for (bool highlights : {true, false})
        {
            skin->EnableHighlights(highlights);
            for (const Rect32* c : {static_cast<const Rect32*>(nullptr), &clip, &outside})
            {
                skin->draw3DButtonPaneStandard(nullptr, rect, c);
                skin->draw3DButtonPanePressed(nullptr, rect, c);
                skin->draw3DSunkenPane(nullptr, video::SColor(255, 1, 2, 3), true, true, rect, c);
                skin->draw3DSunkenPane(nullptr, video::SColor(255, 1, 2, 3), false, false, rect, c);
                skin->draw3DWindowBackground(nullptr, true, video::SColor(255, 0, 0, 255), rect, c);
                skin->draw3DMenuPane(nullptr, rect, c);
                skin->draw3DToolBar(nullptr, rect, c);
                skin->draw3DTabButton(nullptr, true, rect, c);
                skin->draw3DTabBody(nullptr, true, true, rect, c);
                skin->draw2DRectangle(nullptr, video::SColor(255, 9, 9, 9), rect, c);
                skin->draw3DButtonPaneStandard(nullptr, Rect32(10, 10, 5, 5), c); // inverted
            }
        }
    }
}

} // namespace
