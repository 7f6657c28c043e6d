// The IGraphics texture, render-target and drawing functions from Lua on
// the NULL driver: textures without pixels, lock handles checked on every
// use, the mesh count, and errors raised inside a frame's draw handler.

#include "ScriptedEngine.h"

#include "support/TestFolder.h"
#include "core/script/lua/ScriptAddress.h"
#include "graphics/engine/RenderTarget.h"

#include <irrlicht.h>

namespace
{

// Lua helpers for the cases: expect(actual, wanted, what) and
// raises(text, function).
const char* const kHelpers = R"lua(
    function expect(actual, wanted, what)
        if actual ~= wanted then
            error(what .. ": expected " .. tostring(wanted) .. ", got " .. tostring(actual), 2)
        end
    end
    function raises(text, fn)
        local ok, message = pcall(fn)
        if ok then error("no error, expected " .. text, 2) end
        if not string.find(tostring(message), text, 1, true) then
            error("error '" .. tostring(message) .. "' lacks " .. text, 2)
        end
    end
    G = IGraphics
)lua";

class ScriptTexturesNullTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(engine.Open("NULL", 640, 480));
        ASSERT_EQ(engine.Run(kHelpers), "");
    }

    CScriptedEngine engine;
};

TEST_F(ScriptTexturesNullTest, TexturesWithoutPixelsAnswerNeutrallyAndLocksAreCheckedIds)
{
    ASSERT_EQ(engine.Run(R"lua(
        expect(G:createTexture("canvas", "32 32", 3), true, "createTexture")
        expect(G:textureExists("canvas"), true, "textureExists")
        local size = G:getTextureSize("canvas")
        expect(size:getX(), 0, "the NULL driver's textures have no size")
        local first = G:textureLock("canvas")
        local second = G:textureLock("canvas")
        expect(first ~= 0 and second ~= 0 and first ~= second, true, "two locks")
        expect(G:textureGetPixel(first, 0, 0), nil, "no pixels to read")
        G:textureSetPixel(first, 0, 0, "1 1 1 1")
        G:textureWriteData(first, "abcdef", "2 1", 2, 0, false)
        G:textureWriteDataRaw(second, "abcdef", "1 1", 2, 3, true)
        G:textureUnlock(first)
        raises("[IGraphics::textureUnlock] Invalid texture lock handle: " .. first,
            function() G:textureUnlock(first) end)
        raises("[IGraphics::textureGetPixel] Invalid texture lock handle", function() G:textureGetPixel(first, 0, 0) end)
        -- The other lock lives until the texture goes.
        expect(G:textureGetPixel(second, 0, 0), nil, "second lock still usable")
        G:unloadTexture("canvas")
        expect(G:textureExists("canvas"), false, "unloaded")
        raises("Invalid texture lock handle", function() G:textureUnlock(second) end)

        -- Clearing the cache ends locks as well.
        expect(G:createTexture("again", "8 8", 3), true, "createTexture again")
        local third = G:textureLock("again")
        G:clearCache()
        raises("Invalid texture lock handle", function() G:textureSetPixel(third, 0, 0, "1 1 1 1") end)
        expect(G:getNumberOfLoadedTextures(), 0, "textures after clearCache")

        -- A name that loads nothing: 1 x 1 made only by createTexture, never
        -- by the lock.
        expect(G:textureLock("missing.png"), 0, "lock of a missing texture")
        expect(G:getTextureOriginalSize("missing.png"), nil, "original size of a missing texture")
      )lua"),
              "");
}

TEST_F(ScriptTexturesNullTest, TheMeshCountCountsMeshes)
{
    CTestFolder folder;
    folder.Write("triangle.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    ASSERT_NE(engine.graphics->GetDevice()->getSceneManager()->getMesh((folder / "triangle.obj").c_str()),
              nullptr);
    ASSERT_EQ(engine.Run(R"lua(
        expect(G:getNumberOfLoadedMeshes(), 1, "meshes")
        expect(G:getNumberOfLoadedTextures(), 0, "textures")
        G:createTexture("a", "4 4", 3)
        G:createTexture("b", "4 4", 3)
        expect(G:getNumberOfLoadedMeshes(), 1, "meshes after two textures")
        expect(G:getNumberOfLoadedTextures(), 2, "textures after two textures")
        G:clearCache()
        expect(G:getNumberOfLoadedMeshes(), 0, "meshes after clearCache")
      )lua"),
              "");
}

TEST_F(ScriptTexturesNullTest, LoadersOptionsTargetsShadersAndTheDevice)
{
    ASSERT_TRUE(engine.graphics->CreateRenderTarget(L"view", CPoint(300, 200), nullptr, 0) == false);
    const std::string device =
        std::to_string(static_cast<long long>(LuaPlus::AddressToNumber(engine.graphics->GetDevice())));
    ASSERT_EQ(engine.Run("expect(G:getEngineDevice(), " + device + R"lua(, "getEngineDevice")
        expect(G:mapTextureExtension("abc", ".tga"), true, "mapTextureExtension")
        expect(G:mapTextureExtension(".abc", ".nothing"), false, "unknown known extension")
        expect(G:mapMeshExtension(".xyz", ".obj"), true, "mapMeshExtension")
        for _, option in ipairs({"TextureSpeedOptimized", "TextureQualityOptimized", "TextureMipMapping"}) do
            for _, value in ipairs({false, true, false}) do
                G["set" .. option](G, value)
                expect(G["get" .. option](G), value, option)
            end
        end
        -- The NULL driver makes no render-target texture; the target is kept
        -- with its size.
        expect(G:renderTargetExists("view"), true, "renderTargetExists")
        local size = G:getRenderTargetDimensions("view")
        expect(size:getX(), 256, "width reduced to a power of two")
        expect(size:getY(), 128, "height reduced to a power of two")
        G:removeRenderTarget("view")
        expect(G:renderTargetExists("view"), false, "removed")
        raises("[CGraphicsEngine::GetRenderTarget] Render target id not found",
            function() G:getRenderTargetDimensions("view") end)
        expect(G:addLowLevelShader("a.vsh", "a.psh", 0), -1, "no shaders on NULL")
        expect(G:addHighLevelShader("a.vert", "main", 1, "a.frag", "main", 1, 0), -1, "no shaders on NULL")
      )lua"),
              "");
}

TEST_F(ScriptTexturesNullTest, AnErrorInADrawHandlerLeavesTheFrameAndTheNextFrameDraws)
{
    ASSERT_EQ(engine.Run(R"lua(
        frames = 0
        handler = IEvents:subscribeDrawPostGui(function()
            frames = frames + 1
            G:draw2DRectangle("0 0 1 1", "1 0 0 1")
            G:drawText("", "text", "1 1 1 1", "0 0 1 1", true, true)
            G:draw3DBox("-1 -1 -1", "1 1 1", "0 1 0 1")
            if fail then G:draw2DCircle("0.5 0.5", 0.1, 1000000, "1 1 1 1") end
        end, nil, 0)
      )lua"),
              "");
    ASSERT_TRUE(engine.graphics->Draw(false, false, false));
    ASSERT_EQ(engine.Run("fail = true"), "");
    std::string message;
    try
    {
        engine.graphics->Draw(false, false, false);
    }
    catch (const std::exception& error)
    {
        message = error.what();
    }
    EXPECT_NE(message.find("[CGraphicsEngine::Draw2DCircle] Too many vertices: 1000000"), std::string::npos)
        << message;
    ASSERT_EQ(engine.Run("fail = false"), "");
    EXPECT_TRUE(engine.graphics->Draw(false, false, false));
    ASSERT_EQ(engine.Run(R"lua(expect(frames, 3, "frames") IEvents:unsubscribe(handler))lua"), "");
}

} // namespace
