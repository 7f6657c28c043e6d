// Real pixels of the own skin and of screen sprites, drawn by the Burnings
// software renderer. This program runs under a virtual X server (its CTest
// entry starts it through xvfb-run).
#include "core/events/Multicast.h"
#include "gui/sprites/GuiKVOSpriteBank.h"
#include "gui/skin/SkinImpl.h"

#include "core/app/FakeClock.h"

#include <IGUIEnvironment.h>
#include <IGUIStaticText.h>
#include <IImage.h>
#include <IVideoDriver.h>
#include <gtest/gtest.h>
#include <irrlicht.h>

#include <cstdlib>
#include <functional>
#include <memory>

using Graphics::CSkinImpl;
using Graphics::Sprite::CGuiKVOSpriteBank;

namespace
{

using namespace irr;
using Rect32 = core::rect<s32>;

// The default skin colours the rules draw with.
const video::SColor kLight(255, 255, 255, 255);
const video::SColor kDark(255, 50, 50, 50);
const video::SColor kFace(255, 210, 210, 210);
const video::SColor kShadow(255, 130, 130, 130);
const video::SColor kBlack(255, 0, 0, 0);
const video::SColor kRed(255, 255, 0, 0);
const video::SColor kGreen(255, 0, 255, 0);
const video::SColor kBlue(255, 0, 0, 255);

// Whether two colours agree within a few steps per channel (gradients are
// interpolated by the renderer).
::testing::AssertionResult Near(video::SColor actual, video::SColor expected, u32 tolerance = 6)
{
    const auto close = [&](u32 a, u32 b) { return (a > b ? a - b : b - a) <= tolerance; };
    if (close(actual.getRed(), expected.getRed()) && close(actual.getGreen(), expected.getGreen()) &&
        close(actual.getBlue(), expected.getBlue()))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "got " << actual.getRed() << "," << actual.getGreen() << "," << actual.getBlue() << " expected "
           << expected.getRed() << "," << expected.getGreen() << "," << expected.getBlue();
}

class SkinPixelTest : public ::testing::Test
{
protected:
    SkinPixelTest()
    {
        SIrrlichtCreationParameters parameters;
        parameters.DriverType = video::EDT_BURNINGSVIDEO;
        parameters.WindowSize = core::dimension2d<u32>(256, 256);
        parameters.LoggingLevel = ELL_NONE;
        device = createDeviceEx(parameters);
    }
    ~SkinPixelTest() override
    {
        if (skin)
            skin->drop();
        if (device)
            device->drop();
    }
    void SetUp() override
    {
        ASSERT_NE(device, nullptr) << "the Burnings renderer needs a display (run under xvfb-run)";
        environment = device->getGUIEnvironment();
        driver = device->getVideoDriver();
        skin = new CSkinImpl(environment, environment->getSkin());
        AddSolidTexture("red.png", kRed);
        AddSolidTexture("green.png", kGreen);
        // Left half red, right half blue: two frames of one texture.
        video::IImage* image = driver->createImage(video::ECF_A8R8G8B8, core::dimension2d<u32>(32, 16));
        image->fill(kRed);
        image->fill(kRed);
        for (u32 y = 0; y < 16; ++y)
            for (u32 x = 16; x < 32; ++x)
                image->setPixel(x, y, kBlue);
        driver->addTexture("halves.png", image);
        image->drop();
    }

    void AddSolidTexture(const char* name, video::SColor color)
    {
        video::IImage* image = driver->createImage(video::ECF_A8R8G8B8, core::dimension2d<u32>(32, 32));
        image->fill(color);
        driver->addTexture(name, image);
        image->drop();
    }

    // Draws one frame on black and keeps what it shows.
    void Render(const std::function<void()>& draw)
    {
        driver->beginScene(true, true, kBlack);
        draw();
        shot.reset(driver->createScreenShot());
        driver->endScene();
        ASSERT_NE(shot, nullptr);
    }
    video::SColor Pixel(s32 x, s32 y) const
    {
        return shot->getPixel(static_cast<u32>(x), static_cast<u32>(y));
    }

    struct SDropImage
    {
        void operator()(video::IImage* image) const
        {
            if (image)
                image->drop();
        }
    };

    IrrlichtDevice* device = nullptr;
    gui::IGUIEnvironment* environment = nullptr;
    video::IVideoDriver* driver = nullptr;
    CSkinImpl* skin = nullptr;
    std::unique_ptr<video::IImage, SDropImage> shot;
};

// A standard button is a face-to-shadow gradient with light top and left
// edges and dark right and bottom edges, on the rectangle's own lines; a
// pressed one swaps the edges.
TEST_F(SkinPixelTest, ButtonsAreGradientsWithHighlightFrames)
{
    const Rect32 button(20, 20, 120, 60);
    for (bool pressed : {false, true})
    {
        SCOPED_TRACE(pressed ? "pressed" : "standard");
        Render(
            [&]
            {
                if (pressed)
                    skin->draw3DButtonPanePressed(nullptr, button);
                else
                    skin->draw3DButtonPaneStandard(nullptr, button);
            });
        const video::SColor topLeft = pressed ? kDark : kLight;
        const video::SColor bottomRight = pressed ? kLight : kDark;
        EXPECT_TRUE(Near(Pixel(70, 20), topLeft));
        EXPECT_TRUE(Near(Pixel(20, 40), topLeft));
        EXPECT_TRUE(Near(Pixel(120, 40), bottomRight));
        EXPECT_TRUE(Near(Pixel(70, 60), bottomRight));
        EXPECT_TRUE(Near(Pixel(70, 21), kFace));
        EXPECT_TRUE(Near(Pixel(70, 59), kShadow));
        EXPECT_TRUE(Near(Pixel(70, 40), video::SColor(255, 170, 170, 170), 10));
        EXPECT_TRUE(Near(Pixel(70, 61), kBlack));
        EXPECT_TRUE(Near(Pixel(121, 40), kBlack));
    }

    // Without highlights: the gradient alone, which ends before the
    // rectangle's right and bottom lines.
    skin->EnableHighlights(false);
    Render([&] { skin->draw3DButtonPaneStandard(nullptr, button); });
    EXPECT_TRUE(Near(Pixel(70, 20), kFace));
    EXPECT_TRUE(Near(Pixel(119, 40), video::SColor(255, 170, 170, 170), 10));
    EXPECT_TRUE(Near(Pixel(120, 40), kBlack));
    EXPECT_TRUE(Near(Pixel(70, 60), kBlack));
}

TEST_F(SkinPixelTest, WindowsHaveATitleBarGradient)
{
    const Rect32 window(10, 10, 210, 150);
    Rect32 title;
    Render([&] { title = skin->draw3DWindowBackground(nullptr, true, kBlue, window); });
    EXPECT_EQ(title, Rect32(12, 12, 208, 29));
    EXPECT_TRUE(Near(Pixel(100, 10), kLight));      // frame
    EXPECT_TRUE(Near(Pixel(210, 100), kDark));      // frame
    EXPECT_TRUE(Near(Pixel(13, 20), kBlue, 12));    // title bar, left: its colour
    EXPECT_TRUE(Near(Pixel(206, 20), kDark, 12));   // right: dark
    EXPECT_TRUE(Near(Pixel(100, 11), kFace, 8));    // the pane above the title bar
    EXPECT_TRUE(Near(Pixel(100, 148), kShadow, 8)); // and at the bottom
}

// An image named for a role replaces that pane; an image named after an
// element replaces all of its panes; the frames stay.
TEST_F(SkinPixelTest, SkinImagesReplacePanes)
{
    ASSERT_TRUE(skin->SetImage(L"GUIIMAGE_BUTTON_NORMAL", L"red.png", {}, 0));
    ASSERT_TRUE(skin->SetImage(L"okButton", L"green.png", {}, 0));
    skin->SetElementNameLookup([](gui::IGUIElement* e) { return e->getID() == 5 ? L"okButton" : L""; });
    gui::IGUIElement* named = environment->addStaticText(L"", Rect32(0, 0, 1, 1), false, false, nullptr, 5);
    const Rect32 button(20, 20, 120, 60);

    Render([&] { skin->draw3DButtonPaneStandard(nullptr, button); });
    EXPECT_TRUE(Near(Pixel(70, 40), kRed));
    EXPECT_TRUE(Near(Pixel(70, 20), kLight));

    Render([&] { skin->draw3DButtonPanePressed(nullptr, button); }); // no pressed image
    EXPECT_TRUE(Near(Pixel(70, 40), video::SColor(255, 170, 170, 170), 10));

    for (bool pressed : {false, true})
    {
        Render(
            [&]
            {
                if (pressed)
                    skin->draw3DButtonPanePressed(named, button);
                else
                    skin->draw3DButtonPaneStandard(named, button);
            });
        EXPECT_TRUE(Near(Pixel(70, 40), kGreen));
        EXPECT_TRUE(Near(Pixel(70, 20), pressed ? kDark : kLight));
    }

    // A sunken pane without fill shows only its frame, image or not; a
    // rectangle outside its clip draws nothing at all.
    ASSERT_TRUE(skin->SetImage(L"GUIIMAGE_PANE_SUNKEN", L"red.png", {}, 0));
    ASSERT_TRUE(skin->SetImage(L"GUIIMAGE_RECTANGLE", L"red.png", {}, 0));
    const Rect32 clip(200, 200, 250, 250);
    Render(
        [&]
        {
            skin->draw3DSunkenPane(nullptr, kBlue, false, false, button);
            skin->draw2DRectangle(nullptr, kBlue, Rect32(10, 100, 60, 150), &clip);
        });
    EXPECT_TRUE(Near(Pixel(70, 40), kBlack));
    EXPECT_TRUE(Near(Pixel(70, 20), kDark));
    EXPECT_TRUE(Near(Pixel(120, 40), kLight));
    EXPECT_TRUE(Near(Pixel(30, 120), kBlack));
}

TEST_F(SkinPixelTest, TabsOpenTowardsEachOther)
{
    Render(
        [&]
        {
            skin->draw3DTabButton(nullptr, true, Rect32(20, 20, 80, 50));
            skin->draw3DTabBody(nullptr, true, true, Rect32(20, 100, 200, 220));
        });
    // The tab button: light top and left, dark right one pixel in, no
    // bottom line.
    EXPECT_TRUE(Near(Pixel(50, 20), kLight));
    EXPECT_TRUE(Near(Pixel(20, 35), kLight));
    EXPECT_TRUE(Near(Pixel(79, 35), kDark));
    EXPECT_TRUE(Near(Pixel(50, 49), kFace));
    // The body starts a button height and 2 below; no top line.
    const s32 top = 100 + 30 + 2;
    EXPECT_TRUE(Near(Pixel(100, top - 1), kBlack));
    EXPECT_TRUE(Near(Pixel(100, top), kFace, 8));
    EXPECT_TRUE(Near(Pixel(20, 150), kLight));
    EXPECT_TRUE(Near(Pixel(200, 150), kDark));
    EXPECT_TRUE(Near(Pixel(100, 220), kDark));
}

// Screen sprites: drawing order by z order, the pass before or after the
// GUI, and frames on the application clock. (Burnings stretches images
// without their clip rectangle and corner colours, so a screen sprite's clip
// and tint show only on the OpenGL driver: checked by hand.)
TEST_F(SkinPixelTest, ScreenSpritesDrawInOrderUnderOrOverTheGui)
{
    CFakeClock clock(5000);
    auto* bank = new CGuiKVOSpriteBank(environment);
    const std::unique_ptr<CGuiKVOSpriteBank, void (*)(CGuiKVOSpriteBank*)> holder(
        bank, [](CGuiKVOSpriteBank* b) { b->drop(); });
    ASSERT_EQ(bank->AddSpriteBankEntry(L"red", L"red.png", {}, 0), L"red");
    ASSERT_EQ(bank->AddSpriteBankEntry(L"green", L"green.png", {}, 0), L"green");
    ASSERT_EQ(bank->AddSpriteBankEntry(L"halves", L"halves.png", {{0, 0, 16, 16}, {16, 0, 32, 16}}, 100),
              L"halves");
    const CColor white(1, 1, 1, 1);

    // Red first with the higher z order, green after with the lower one:
    // green is drawn first, red over it.
    bank->AddSpriteToScreen(L"red", {10, 10, 50, 50}, 0, true, false, 1, white, false, {});
    bank->AddSpriteToScreen(L"green", {30, 30, 70, 70}, 0, true, false, 0, white, false, {});
    // A GUI pane between the passes: one sprite beneath it, one above.
    gui::IGUIStaticText* pane =
        environment->addStaticText(L"", Rect32(100, 100, 200, 200), false, false, nullptr, -1, true);
    pane->setBackgroundColor(kBlue);
    bank->AddSpriteToScreen(L"red", {90, 90, 130, 130}, 0, true, false, 0, white, true, {});
    bank->AddSpriteToScreen(L"green", {170, 170, 210, 210}, 0, true, false, 0, white, false, {});
    // Animated: frame 0 red, frame 1 blue.
    const std::wstring animated =
        bank->AddSpriteToScreen(L"halves", {220, 10, 236, 26}, 0, true, false, 0, white, false, {});

    const auto frame = [&]
    {
        Render(
            [&]
            {
                Misc::Multicast::CMulticast<Graphics::Multicast::CEvtGraphicsDrawPreGui>::Publish({});
                environment->drawAll();
                Misc::Multicast::CMulticast<Graphics::Multicast::CEvtGraphicsDrawPostGui>::Publish({});
            });
    };
    frame();
    EXPECT_TRUE(Near(Pixel(20, 20), kRed));
    EXPECT_TRUE(Near(Pixel(40, 40), kRed)); // the overlap: red on top
    EXPECT_TRUE(Near(Pixel(60, 60), kGreen));
    EXPECT_TRUE(Near(Pixel(95, 95), kRed));     // before the GUI, outside the pane
    EXPECT_TRUE(Near(Pixel(120, 120), kBlue));  // beneath the pane
    EXPECT_TRUE(Near(Pixel(180, 180), kGreen)); // after the GUI, over the pane
    EXPECT_TRUE(Near(Pixel(228, 18), kRed));

    clock.Advance(100);
    frame();
    EXPECT_TRUE(Near(Pixel(228, 18), kBlue));
    bank->MoveSprite(animated, {220, 100, 220, 100});
    clock.Advance(100);
    frame();
    EXPECT_TRUE(Near(Pixel(228, 18), kBlack));
    EXPECT_TRUE(Near(Pixel(228, 108), kRed));
}

TEST_F(SkinPixelTest, IconsFromImagesAreCentredOnTheirPosition)
{
    ASSERT_TRUE(
        skin->SetImage(L"GUIICON_CHECK_BOX_CHECKED", L"halves.png", {{0, 0, 16, 16}, {16, 0, 32, 16}}, 100));
    Render([&] { skin->drawIcon(nullptr, gui::EGDI_CHECK_BOX_CHECKED, {100, 100}, 0, 50); });
    EXPECT_TRUE(Near(Pixel(92, 92), kRed));
    EXPECT_TRUE(Near(Pixel(107, 107), kRed));
    EXPECT_TRUE(Near(Pixel(91, 100), kBlack));
    // It loops: the third frame time shows the first frame again.
    Render([&] { skin->drawIcon(nullptr, gui::EGDI_CHECK_BOX_CHECKED, {100, 100}, 0, 250); });
    EXPECT_TRUE(Near(Pixel(100, 100), kRed));
    Render([&] { skin->drawIcon(nullptr, gui::EGDI_CHECK_BOX_CHECKED, {100, 100}, 0, 150); });
    EXPECT_TRUE(Near(Pixel(100, 100), kBlue));
    // Clipped to its left half.
    const Rect32 clip(0, 0, 100, 256);
    Render([&] { skin->drawIcon(nullptr, gui::EGDI_CHECK_BOX_CHECKED, {100, 100}, 0, 0, false, &clip); });
    EXPECT_TRUE(Near(Pixel(99, 100), kRed));
    EXPECT_TRUE(Near(Pixel(100, 100), kBlack));
}

} // namespace
