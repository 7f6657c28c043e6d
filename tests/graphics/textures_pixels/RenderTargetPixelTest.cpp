// Render targets on the Burnings renderer: the scene drawn from a camera
// into a texture before a camera pass, at most at the target's rate, and
// the screen left as the frame's passes drew it.

#include "BurningsSupport.h"

#include "graphics/engine/RenderTarget.h"
#include "graphics/engine/TextureLocks.h"

namespace
{

using namespace irr;
using Graphics::CGraphicsEngine;

// A scene node that counts how often the scene is drawn.
class CCountingNode : public scene::ISceneNode
{
public:
    explicit CCountingNode(scene::ISceneManager* scene) : ISceneNode(scene->getRootSceneNode(), scene)
    {
        setAutomaticCulling(scene::EAC_OFF);
    }
    void OnRegisterSceneNode() override
    {
        SceneManager->registerNodeForRendering(this);
        ISceneNode::OnRegisterSceneNode();
    }
    void render() override { ++draws; }
    const core::aabbox3d<f32>& getBoundingBox() const override { return m_box; }

    int draws = 0;

private:
    core::aabbox3d<f32> m_box;
};

class RenderTargetPixelTest : public BurningsTest
{
protected:
    void SetUp() override
    {
        BurningsTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        scene::ISceneManager* scene = engine.GetDevice()->getSceneManager();
        // A white cube in the middle of the view, on blue.
        scene::ISceneNode* cube = scene->addCubeSceneNode(2.0f);
        cube->setMaterialFlag(video::EMF_LIGHTING, false);
        counter = new CCountingNode(scene);
        counter->drop();
        engine.SetBackColor(CColor(0, 0, 1, 1));
    }

    // The texture's pixel as 0xRRGGBB.
    uint32_t TexturePixel(video::ITexture* texture, int32_t x, int32_t y)
    {
        void* pixels = engine.TextureLock(texture);
        CColor color;
        EXPECT_TRUE(engine.TextureGetPixel(texture, pixels, x, y, color));
        engine.TextureUnlock(texture);
        return static_cast<uint32_t>(color.r * 255) << 16 | static_cast<uint32_t>(color.g * 255) << 8 |
               static_cast<uint32_t>(color.b * 255);
    }

    // Ticks the engine's loop once a millisecond from the start on.
    void RunFrom(uint32_t start, uint32_t milliseconds)
    {
        for (uint32_t time = start; time < start + milliseconds; ++time)
            engine.Update(Simulation::Multicast::CEvtTick{&simulation, time, time - 1});
    }

    CCountingNode* counter = nullptr;
};

TEST_F(RenderTargetPixelTest, TheSceneIsDrawnIntoThePowerOfTwoTexture)
{
    CTestCamera camera(engine, "camera");
    engine.SetActiveCamera(&camera);
    ASSERT_TRUE(engine.CreateRenderTarget(L"target", CPoint(300, 200), &camera, 0));
    CGraphicsEngine::CRenderTarget& target = engine.GetRenderTarget(L"target");
    video::ITexture* texture = target.GetTexture();
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->getSize(), core::dimension2d<u32>(256, 128));
    EXPECT_EQ(target.GetWidth(), 256.0f);
    EXPECT_EQ(target.GetHeight(), 128.0f);

    video::IImage* screen = DrawFrame([] {});
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(TexturePixel(texture, 128, 64), 0xFFFFFFu);
    EXPECT_EQ(TexturePixel(texture, 2, 2), 0x0000FFu);
    // The screen keeps the back colour and the scene its pass drew.
    EXPECT_EQ(Rgb(screen, 80, 60), 0xFFFFFFu);
    EXPECT_EQ(Rgb(screen, 2, 2), 0x0000FFu);
    screen->drop();
    // Once for the target, once for the pass.
    EXPECT_EQ(counter->draws, 2);
    engine.SetActiveCamera(nullptr);
}

TEST_F(RenderTargetPixelTest, ALaterPassDoesNotWipeWhatEarlierPassesDrew)
{
    // Two passes side by side; the target draws before each of them.
    CTestCamera left(engine, "left", CRect(0, 0, 0.5f, 1));
    CTestCamera right(engine, "right", CRect(0.5f, 0, 1, 1));
    engine.SetActiveCamera(&left);
    engine.AddSecondaryCamera(&right);
    ASSERT_TRUE(engine.CreateRenderTarget(L"target", CPoint(64, 64), &left, 0));
    video::IImage* screen = DrawFrame([] {});
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(counter->draws, 4);
    // The left pass's cube and background survive the right pass.
    EXPECT_EQ(Rgb(screen, 40, 60), 0xFFFFFFu);
    EXPECT_EQ(Rgb(screen, 2, 2), 0x0000FFu);
    EXPECT_EQ(Rgb(screen, 120, 60), 0xFFFFFFu);
    EXPECT_EQ(Rgb(screen, 157, 2), 0x0000FFu);
    screen->drop();
    engine.ClearSecondaryCameras();
    engine.SetActiveCamera(nullptr);
}

TEST_F(RenderTargetPixelTest, ATargetDrawsAtMostAtItsRate)
{
    CTestCamera camera(engine, "camera");
    engine.SetActiveCamera(&camera);
    engine.SetDesiredFrameRate(60);
    struct SCase
    {
        uint32_t rate;
        // Drawings of the target in a second, at 60 frames a second.
        int minimum;
        int maximum;
    };
    // Rate 0 and rates above the frame rate draw at every frame.
    const SCase cases[] = {{10, 9, 11}, {30, 25, 32}, {0, -1, -1}, {1000, -1, -1}};
    uint32_t start = 1;
    for (const SCase& test : cases)
    {
        SCOPED_TRACE(test.rate);
        ASSERT_TRUE(engine.CreateRenderTarget(L"target", CPoint(32, 32), &camera, test.rate));
        EXPECT_EQ(engine.GetRenderTarget(L"target").GetPeriod(), test.rate != 0 ? 1000 / test.rate : 0u);
        engine.EnableFrameCounter(true, true);
        counter->draws = 0;
        RunFrom(start, 1000);
        start += 1000;
        const int frames = static_cast<int>(engine.GetTotalFrames());
        EXPECT_GE(frames, 60);
        const int drawings = counter->draws - frames;
        EXPECT_GE(drawings, test.minimum < 0 ? frames : test.minimum);
        EXPECT_LE(drawings, test.maximum < 0 ? frames : test.maximum);
    }
    engine.SetActiveCamera(nullptr);
}

TEST_F(RenderTargetPixelTest, TargetsWithoutCameraOrPixelsNeverDraw)
{
    CTestCamera camera(engine, "camera");
    engine.SetActiveCamera(&camera);
    // No camera: a texture, but never drawn.
    ASSERT_TRUE(engine.CreateRenderTarget(L"blind", CPoint(32, 32), nullptr, 0));
    EXPECT_NE(engine.GetRenderTarget(L"blind").GetTexture(), nullptr);
    // Smaller than a pixel, not a number, or larger than the renderer takes:
    // no texture.
    for (const CPoint& size : {CPoint(0.5f, 64), CPoint(64, 0), CPoint(-1, -1), CPoint(std::nanf(""), 8),
                               CPoint(1e9f, 1e9f), CPoint(16384, 1)})
    {
        SCOPED_TRACE(size.ToString());
        EXPECT_FALSE(engine.CreateRenderTarget(L"none", size, &camera, 0));
        EXPECT_TRUE(engine.RenderTargetExists(L"none"));
        EXPECT_EQ(engine.GetRenderTarget(L"none").GetTexture(), nullptr);
    }
    // One pixel is enough.
    EXPECT_TRUE(engine.CreateRenderTarget(L"dot", CPoint(1, 1), nullptr, 0));
    counter->draws = 0;
    ASSERT_TRUE(engine.Draw(false, false, false));
    EXPECT_EQ(counter->draws, 1);

    // A camera that goes away stops its target.
    ASSERT_TRUE(engine.CreateRenderTarget(L"seeing", CPoint(32, 32), &camera, 0));
    ASSERT_TRUE(engine.Draw(false, false, false));
    EXPECT_EQ(counter->draws, 3);
    engine.ForgetCamera(&camera);
    EXPECT_EQ(engine.GetRenderTarget(L"seeing").GetCamera(), nullptr);
    engine.SetActiveCamera(&camera);
    ASSERT_TRUE(engine.Draw(false, false, false));
    EXPECT_EQ(counter->draws, 4);
    engine.SetActiveCamera(nullptr);
}

TEST_F(RenderTargetPixelTest, ReplacedAndRemovedTargetsTakeTheirTexturesAlong)
{
    CTestCamera camera(engine, "camera");
    const uint32_t textures = engine.GetNumberOfLoadedTextures();
    ASSERT_TRUE(engine.CreateRenderTarget(L"target", CPoint(64, 64), &camera, 0));
    EXPECT_EQ(engine.GetNumberOfLoadedTextures(), textures + 1);
    video::ITexture* first = engine.GetRenderTarget(L"target").GetTexture();
    // A script's lock of the texture ends with it.
    const uint32_t lock = engine.GetTextureLocks().Lock(first);
    ASSERT_TRUE(engine.CreateRenderTarget(L"target", CPoint(32, 16), &camera, 5));
    EXPECT_EQ(engine.GetTextureLocks().Find(lock), nullptr);
    EXPECT_EQ(engine.GetNumberOfLoadedTextures(), textures + 1);
    EXPECT_EQ(engine.GetRenderTarget(L"target").GetTexture()->getSize(), core::dimension2d<u32>(32, 16));
    EXPECT_EQ(engine.GetRenderTarget(L"target").GetPeriod(), 200u);
    engine.RemoveRenderTarget(L"target");
    EXPECT_EQ(engine.GetNumberOfLoadedTextures(), textures);
}

} // namespace
