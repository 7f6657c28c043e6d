// Textures, render targets, shaders and drawing without pixels: before a
// device exists and on the NULL driver, whose textures are 0 x 0 and whose
// locks give no memory. Nothing may crash, and the answers are neutral.

#include "graphics/engine/GraphicsTestSupport.h"

#include "core/app/Application.h"
#include "core/foundation/KVOError.h"
#include "support/ErrorOf.h"
#include "support/TestFolder.h"
#include "irrlicht/ExtensionMappers.h"
#include "graphics/engine/RenderTarget.h"
#include "graphics/meshes/MeshGate.h"
#include "graphics/engine/TextureLocks.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

using namespace irr;
using Graphics::CGraphicsEngine;
using Misc::Error::CKVOError;

// A 2 x 2 uncompressed 24-bit TGA without the footer that would let
// Irrlicht recognise it by its contents: only its extension says what it is.
std::string TestTarga()
{
    std::string targa(18, '\0');
    targa[2] = 2;  // uncompressed true colour
    targa[12] = 2; // width
    targa[14] = 2; // height
    targa[16] = 24;
    for (int pixel = 0; pixel < 4; ++pixel)
        targa += std::string("\x10\x20\x30", 3);
    return targa;
}

// An uncompressed 24-bit BMP with 16 bytes of pixels whose header claims
// 4000 x 4000: Irrlicht's reader would copy 48 MB from them and crash.
std::string LyingBitmap()
{
    std::string bitmap(54, '\0');
    auto put = [&bitmap](size_t at, uint32_t value)
    {
        for (int shift = 0; shift < 32; shift += 8)
            bitmap[at + shift / 8] = static_cast<char>(value >> shift);
    };
    bitmap[0] = 'B';
    bitmap[1] = 'M';
    put(2, 54 + 16); // file size
    put(10, 54);     // data offset
    put(14, 40);     // information header size
    put(18, 4000);   // width
    put(22, 4000);   // height
    bitmap[26] = 1;  // planes
    bitmap[28] = 24; // bits per pixel
    bitmap += std::string(16, '\x40');
    return bitmap;
}

const char* const kTriangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";

TEST(TextureWithoutDeviceTest, EverythingAnswersNeutrally)
{
    CGraphicsSimulation simulation;
    CGraphicsEngine& engine = simulation.graphics;
    EXPECT_EQ(engine.GetTexture(L"missing.png", true), nullptr);
    EXPECT_FALSE(engine.LoadTexture(L"missing.png"));
    EXPECT_FALSE(engine.TextureExists(L"missing.png"));
    engine.UnloadTexture(L"missing.png");
    EXPECT_FALSE(engine.CreateTexture(L"new", CPoint(16, 16), 3));
    EXPECT_FALSE(engine.MapTextureExtension(L".abc", L".bmp"));
    EXPECT_FALSE(engine.MapMeshExtension(L".xyz", L".obj"));
    EXPECT_EQ(engine.GetNumberOfLoadedMeshes(), 0u);
    EXPECT_EQ(engine.AddLowLevelShader(L"a.vsh", L"a.psh", 0, 0), -1);
    EXPECT_EQ(engine.AddHighLevelShader(L"a.vert", "main", 0, L"a.frag", "main", 0, 0, 0), -1);
    EXPECT_FALSE(engine.ScreenShot(L"shot.png", 0));
    const CColor white(1, 1, 1, 1);
    engine.Draw2DLine(CPoint(0, 0), CPoint(1, 1), white);
    engine.Draw2DRectangle(CRect(0, 0, 1, 1), white);
    engine.Draw2DRectangleGradient(CRect(0, 0, 1, 1), white, white, white, white);
    engine.Draw2DRectangleClipped(CRect(0, 0, 1, 1), white, CRect());
    engine.Draw2DRectangleGradientClipped(CRect(0, 0, 1, 1), white, white, white, white, CRect());
    engine.Draw2DCircle(CPoint(0.5f, 0.5f), 0.1f, white, 10);
    engine.DrawText(L"font", L"text", CRect(0, 0, 1, 1), white, true, true);
    engine.Draw3DLine(CVector(), CVector(1, 1, 1), white);
    engine.Draw3DBox(CVector(), CVector(1, 1, 1), white);
    engine.Draw3DTriangle(CVector(), CVector(1, 0, 0), CVector(0, 1, 0), white);
    engine.Draw2DImage(L"image.png", CPoint(), true);
    engine.Draw2DImageScaled(L"image.png", CRect(0, 0, 1, 1), CRect(0, 0, 1, 1), CRect(), white, true);
    EXPECT_EQ(engine.GetScreenPosFrom3DPos(CVector(1, 2, 3)).x, 0.0f);

    // A render target without a device stays without texture.
    EXPECT_FALSE(engine.CreateRenderTarget(L"target", CPoint(64, 64), nullptr, 0));
    EXPECT_TRUE(engine.RenderTargetExists(L"target"));
    EXPECT_EQ(engine.GetRenderTarget(L"target").GetTexture(), nullptr);
    EXPECT_EQ(WideErrorOf([&] { engine.GetRenderTarget(L"other"); }),
              L"[CGraphicsEngine::GetRenderTarget] Render target id not found");
    EXPECT_EQ(WideErrorOf([&] { engine.RemoveChild(nullptr); }),
              L"[CGraphicsEngine::RemoveChild] Graphical entity not initialised");
}

class TextureNullDriverTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(simulation.InitNull(800, 600)); }

    CTestFolder folder;
    CGraphicsSimulation simulation;
    CGraphicsEngine& engine = simulation.graphics;
};

TEST_F(TextureNullDriverTest, AMissingTextureIsMadeOnceWhenAskedTo)
{
    EXPECT_EQ(engine.GetTexture(L"missing.png", false), nullptr);
    EXPECT_FALSE(engine.LoadTexture(L"missing.png"));
    video::ITexture* made = engine.GetTexture(L"missing.png", true);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(engine.GetTexture(L"missing.png", true), made);
    EXPECT_TRUE(engine.TextureExists(L"missing.png"));
    EXPECT_EQ(engine.GetTextureFilename(made, true), L"missing.png");
    EXPECT_EQ(engine.GetNumberOfLoadedTextures(), 1u);
    engine.UnloadTexture(L"missing.png");
    EXPECT_FALSE(engine.TextureExists(L"missing.png"));
    EXPECT_EQ(engine.GetNumberOfLoadedTextures(), 0u);
    // The device's log stayed where it was.
    EXPECT_EQ(engine.GetDevice()->getLogger()->getLogLevel(), ELL_INFORMATION);
}

TEST_F(TextureNullDriverTest, ATextureLoadsThroughTheFileLookupAndIsFoundByItsName)
{
    folder.Write("images/tile.tga", TestTarga());
    ASSERT_TRUE(simulation.GetApplication()->AddSearchPath(folder.Wide("images"), false, 1));
    EXPECT_FALSE(engine.TextureExists(L"tile.tga"));
    ASSERT_TRUE(engine.LoadTexture(L"tile.tga"));
    // Loaded under the path it was found at, still found by its name.
    EXPECT_TRUE(engine.TextureExists(L"tile.tga"));
    EXPECT_EQ(engine.GetTexture(L"tile.tga", false), engine.GetTexture(L"tile.tga", true));
    EXPECT_EQ(engine.GetNumberOfLoadedTextures(), 1u);
    engine.UnloadTexture(L"tile.tga");
    EXPECT_FALSE(engine.TextureExists(L"tile.tga"));

    // An image whose header promises more than the file holds is not
    // handed to the reader: no texture, unless a blank one is asked for.
    folder.Write("images/lying.bmp", LyingBitmap());
    EXPECT_FALSE(engine.LoadTexture(L"lying.bmp"));
    EXPECT_EQ(engine.GetTexture(L"lying.bmp", false), nullptr);
    EXPECT_FALSE(engine.TextureExists(L"lying.bmp"));
    video::ITexture* blank = engine.GetTexture(L"lying.bmp", true);
    ASSERT_NE(blank, nullptr);
}

TEST_F(TextureNullDriverTest, NullTexturesAndLocksDoNothing)
{
    // The NULL driver's textures have no size and no memory.
    ASSERT_TRUE(engine.CreateTexture(L"empty", CPoint(32, 32), 3));
    video::ITexture* texture = engine.GetTexture(L"empty", false);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(engine.GetTextureSize(texture).x, 0.0f);
    Graphics::CTextureLocks& locks = engine.GetTextureLocks();
    const uint32_t id = locks.Lock(texture);
    ASSERT_NE(id, 0u);
    EXPECT_EQ(locks.Find(id)->pixels, nullptr);
    CColor color(0.5f, 0.5f, 0.5f, 0.5f);
    EXPECT_FALSE(engine.TextureGetPixel(texture, locks.Find(id)->pixels, 0, 0, color));
    EXPECT_FALSE(engine.TextureSetPixel(texture, locks.Find(id)->pixels, 0, 0, color));
    const std::string raw(12, 'x');
    engine.WriteTexture(raw.data(), raw.size(), 2, 2, 2, 2, texture, locks.Find(id)->pixels, 0, false);
    engine.WriteTexture(raw.data(), raw.size(), 2, 2, 2, 2, texture, locks.Find(id)->pixels, 3, true);
    engine.CopyTexture(texture, 0, 0, 10, 10, texture, 0, 0);
    EXPECT_FALSE(engine.TextureWriteToFile(texture, folder.Wide("empty.png"), 0));
    engine.TextureCreateAlphaChannelFromColor(texture, color);
    engine.TextureCreateAlphaChannelFromPos(texture, 5, 5);
    engine.TextureCreateNormalMap(texture, 2.0f);
    EXPECT_TRUE(locks.Unlock(id));
    EXPECT_FALSE(locks.Unlock(id));

    EXPECT_EQ(WideErrorOf([&] { engine.TextureWriteToFile(nullptr, L"x.png", 0); }),
              L"[CGraphicsEngine::TextureWriteToFile] Input texture not specified.");
    EXPECT_EQ(WideErrorOf([&] { engine.TextureCreateAlphaChannelFromColor(nullptr, color); }),
              L"[CGraphicsEngine::TextureCreateAlphaChannelFromColor] Input texture not defined");
    EXPECT_EQ(WideErrorOf([&] { engine.TextureCreateAlphaChannelFromPos(nullptr, 0, 0); }),
              L"[CGraphicsEngine::TextureCreateAlphaChannelFromPos] Input texture not defined");
    EXPECT_EQ(WideErrorOf([&] { engine.TextureCreateNormalMap(nullptr, 1); }),
              L"[CGraphicsEngine::TextureCreateNormalMap] Input texture not defined");
}

TEST_F(TextureNullDriverTest, TexturesAreCreatedOnlyInKnownFormatsAndWholePixels)
{
    EXPECT_TRUE(engine.CreateTexture(L"a", CPoint(0.5f, 0.25f), 0));
    EXPECT_TRUE(engine.CreateTexture(L"b", CPoint(std::nanf(""), 1e30f), 3));
    EXPECT_FALSE(engine.CreateTexture(L"c", CPoint(16, 16), -1));
    EXPECT_FALSE(engine.CreateTexture(L"d", CPoint(16, 16), video::ECF_UNKNOWN));
    EXPECT_FALSE(engine.CreateTexture(L"e", CPoint(16, 16), 1 << 30));
    // A fraction of less than a pixel.
    EXPECT_FALSE(engine.CreateTexture(L"f", CPoint(1e-6f, 0.5f), 3));
    EXPECT_FALSE(engine.CreateTexture(L"", CPoint(16, 16), 3));
}

TEST_F(TextureNullDriverTest, ClearingTheCacheEndsLocksAndRenderTargets)
{
    video::ITexture* texture = engine.GetTexture(L"made", true);
    const uint32_t id = engine.GetTextureLocks().Lock(texture);
    engine.CreateRenderTarget(L"target", CPoint(64, 64), nullptr, 0);
    engine.ClearCache();
    EXPECT_EQ(engine.GetTextureLocks().Find(id), nullptr);
    EXPECT_FALSE(engine.RenderTargetExists(L"target"));
    EXPECT_EQ(engine.GetNumberOfLoadedTextures(), 0u);

    // Unloading a locked texture ends its lock too, and so does the device's
    // end.
    texture = engine.GetTexture(L"made", true);
    const uint32_t unloaded = engine.GetTextureLocks().Lock(texture);
    engine.UnloadTexture(L"made");
    EXPECT_EQ(engine.GetTextureLocks().Find(unloaded), nullptr);
    const uint32_t destroyed = engine.GetTextureLocks().Lock(engine.GetTexture(L"again", true));
    engine.Destroy();
    EXPECT_EQ(engine.GetTextureLocks().Find(destroyed), nullptr);
}

TEST_F(TextureNullDriverTest, MappedExtensionsMustEndTheName)
{
    folder.Write("tile.abc", TestTarga());
    folder.Write("tile.abc.old", TestTarga());
    folder.Write("tile.ABC", TestTarga());
    video::IVideoDriver* driver = engine.GetDevice()->getVideoDriver();
    const auto loads = [&](const char* name)
    {
        video::IImage* image = driver->createImageFromFile((folder / name).c_str());
        if (image == nullptr)
            return false;
        image->drop();
        return true;
    };
    EXPECT_FALSE(loads("tile.abc"));
    EXPECT_FALSE(engine.MapTextureExtension(L".abc", L".nothing"));
    EXPECT_FALSE(engine.MapTextureExtension(L"", L".tga"));
    // The dot may be left out.
    ASSERT_TRUE(engine.MapTextureExtension(L"abc", L"tga"));
    EXPECT_TRUE(loads("tile.abc"));
    EXPECT_FALSE(loads("tile.abc.old"));
    EXPECT_FALSE(loads("tile.ABC"));

    EXPECT_TRUE(Graphics::EndsWithExtension("x.abc", ".abc"));
    EXPECT_TRUE(Graphics::EndsWithExtension(".abc", ".abc"));
    EXPECT_FALSE(Graphics::EndsWithExtension("x.abc.old", ".abc"));
    EXPECT_FALSE(Graphics::EndsWithExtension("abc", ".abc"));
    EXPECT_FALSE(Graphics::EndsWithExtension("x.abc", ""));
}

TEST_F(TextureNullDriverTest, MappedMeshExtensionsLoadAndCountAsMeshes)
{
    folder.Write("triangle.xyz", kTriangle);
    scene::ISceneManager* scene = engine.GetDevice()->getSceneManager();
    // Unmapped, the mesh gate answers its refusal (so that no loader behind
    // it reads the file), which the engine treats as no mesh; it is let go of
    // so that the next load reads the file again.
    auto* gate = dynamic_cast<Graphics::CMeshGate*>(scene->getMeshLoader(scene->getMeshLoaderCount() - 1));
    ASSERT_NE(gate, nullptr);
    scene::IAnimatedMesh* refused = scene->getMesh((folder / "triangle.xyz").c_str());
    EXPECT_TRUE(refused == nullptr || gate->IsRefusal(refused));
    if (refused != nullptr)
        scene->getMeshCache()->removeMesh(refused);
    ASSERT_TRUE(engine.MapMeshExtension(L".xyz", L".obj"));
    scene::IAnimatedMesh* mesh = scene->getMesh((folder / "triangle.xyz").c_str());
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->getMesh(0)->getMeshBuffer(0)->getVertexCount(), 3u);
    // The mesh count is the mesh cache's, not the texture count.
    EXPECT_EQ(engine.GetNumberOfLoadedMeshes(), 1u);
    EXPECT_EQ(engine.GetNumberOfLoadedTextures(), 0u);
    engine.GetTexture(L"a", true);
    engine.GetTexture(L"b", true);
    EXPECT_EQ(engine.GetNumberOfLoadedMeshes(), 1u);
    EXPECT_EQ(engine.GetNumberOfLoadedTextures(), 2u);
}

TEST_F(TextureNullDriverTest, RenderTargetsNeedATextureTheNullDriverCannotMake)
{
    CTestCamera camera(engine, "camera");
    // Sizes are reduced to powers of two first.
    EXPECT_FALSE(engine.CreateRenderTarget(L"target", CPoint(300, 200), &camera, 10));
    CGraphicsEngine::CRenderTarget& target = engine.GetRenderTarget(L"target");
    EXPECT_EQ(target.GetWidth(), 256.0f);
    EXPECT_EQ(target.GetHeight(), 128.0f);
    EXPECT_EQ(target.GetTexture(), nullptr);
    // Without a texture it never listens to the frame.
    EXPECT_FALSE(
        Misc::Multicast::CMulticast<Graphics::Multicast::CEvtGraphicsDrawPreScene>::IsSubscribed(&target));
    engine.SetActiveCamera(&camera);
    engine.SetBackgroundRenderingEnabled(true);
    EXPECT_TRUE(engine.Draw(false, false, false));
    engine.RemoveRenderTarget(L"target");
    EXPECT_FALSE(engine.RenderTargetExists(L"target"));
    engine.RemoveRenderTarget(L"target");
    engine.CreateRenderTarget(L"a", CPoint(1, 1), nullptr, 0);
    engine.CreateRenderTarget(L"b", CPoint(1, 1), nullptr, 0);
    engine.RemoveAllRenderTargets();
    EXPECT_FALSE(engine.RenderTargetExists(L"a"));
}

TEST_F(TextureNullDriverTest, ShadersNeedADriverWithShaders)
{
    folder.Write("shader.vert", "void main() { gl_Position = ftransform(); }\n");
    EXPECT_EQ(engine.AddLowLevelShader(folder.Wide("shader.vert"), folder.Wide("shader.vert"), 0, 0), -1);
    EXPECT_EQ(engine.AddHighLevelShader(folder.Wide("shader.vert"), "main", 0, L"", "main", 0, 0, 0), -1);
}

TEST_F(TextureNullDriverTest, HostileDrawingArgumentsDrawNothingAndRaiseNothing)
{
    const float nan = std::nanf("");
    const float huge = 3e38f;
    const CColor color(nan, -huge, huge, 2);
    engine.SetBackgroundRenderingEnabled(true);
    for (float value : {nan, huge, -huge, 0.0f})
    {
        engine.Draw2DLine(CPoint(value, 0), CPoint(0, value), color);
        engine.Draw2DRectangle(CRect(value, value, -value, huge), color);
        engine.Draw2DRectangleClipped(CRect(0, 0, 1, 1), color, CRect(value, value, value, value));
        engine.Draw2DCircle(CPoint(value, value), value, color, 100);
        engine.Draw3DBox(CVector(value, value, value), CVector(), color);
        engine.DrawText(L"", L"text", CRect(value, value, value, value), color, true, false);
        engine.Draw2DImageScaled(L"missing", CRect(value, value, value, value), CRect(), CRect(), color,
                                 true);
    }
    engine.Draw2DCircle(CPoint(0.5f, 0.5f), 0.1f, color, INT32_MIN);
    EXPECT_EQ(WideErrorOf([&] { engine.Draw2DCircle(CPoint(), 1, color, 65537); }),
              L"[CGraphicsEngine::Draw2DCircle] Too many vertices: 65537");
    engine.GetScreenPosFrom3DPos(CVector(nan, huge, -huge));
}

} // namespace
