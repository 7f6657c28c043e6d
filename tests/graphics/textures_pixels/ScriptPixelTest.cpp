// The IGraphics texture and drawing functions from Lua with real pixels on
// the Burnings renderer (under xvfb-run, see tests.cmake): a texture
// written from a string, read back, copied, saved and loaded; pixels out of
// range refused; primitives drawn from a frame's draw handler at known
// pixels.

#include "graphics/textures/ScriptedEngine.h"

#include "support/TestFolder.h"

#include <irrlicht.h>

#include <cstdlib>

namespace
{

using namespace irr;

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
    -- A colour as 0xRRGGBBAA-like text of whole channels.
    function channels(color)
        local function c(value) return math.floor(value * 255 + 0.5) end
        return string.format("%d %d %d %d", c(color:getRed()), c(color:getGreen()), c(color:getBlue()),
            c(color:getAlpha()))
    end
    G = IGraphics
)lua";

class ScriptPixelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (std::getenv("HALVANE_PIXEL_TESTS") == nullptr)
            GTEST_SKIP() << "runs under xvfb-run (ctest -R textures_pixels)";
        ASSERT_TRUE(engine.Open("SOFTWARE", 160, 120));
        ASSERT_EQ(engine.Run(kHelpers), "");
        ASSERT_EQ(engine.Run("folder = '" + folder.Path().string() + "'"), "");
    }

    CTestFolder folder;
    CScriptedEngine engine;
};

TEST_F(ScriptPixelTest, ATextureIsWrittenFromAStringReadCopiedSavedAndLoaded)
{
    ASSERT_EQ(engine.Run(R"lua(
        expect(G:createTexture("canvas", "4 2", 3), true, "createTexture")
        expect(G:createTexture("copy", "4 4", 3), true, "createTexture copy")
        expect(G:getTextureColorFormat("canvas"), 3, "format")
        expect(G:getTexturePitch("canvas"), 16, "pitch")
        local lock = G:textureLock("canvas")
        -- Raw R8G8B8 data is blue, green, red: 4 x 2 pixels.
        local raw = ""
        for y = 0, 1 do
            for x = 0, 3 do raw = raw .. string.char(10 * x, 100 + y, 200) end
        end
        G:textureWriteData(lock, raw, "4 2", 2, 0, false)
        expect(channels(G:textureGetPixel(lock, 0, 0)), "200 100 0 255", "pixel (0, 0)")
        expect(channels(G:textureGetPixel(lock, 3, 1)), "200 101 30 255", "pixel (3, 1)")
        -- Flipped, the last row comes first.
        G:textureWriteDataRaw(lock, raw, "4 2", 2, 0, true)
        expect(channels(G:textureGetPixel(lock, 3, 0)), "200 101 30 255", "flipped pixel (3, 0)")
        G:textureSetPixel(lock, 1, 1, IMisc:colorCreate(0, 1, 0, 1))
        expect(channels(G:textureGetPixel(lock, 1, 1)), "0 255 0 255", "set pixel")

        -- Pixels, sizes and data outside what the texture and the string hold.
        -- (Positions are whole numbers of 32 bits: 2^31 is -2^31, 1e300 is -1.)
        for _, position in ipairs({{-1, 0}, {4, 0}, {0, 2}, {2 ^ 31, 0}, {1e300, 1e300}, {0, -2 ^ 31}}) do
            raises("Pixel position outside the texture", function() G:textureGetPixel(lock, position[1], position[2]) end)
            raises("Pixel position outside the texture",
                function() G:textureSetPixel(lock, position[1], position[2], "1 1 1 1") end)
        end
        raises("[CGraphicsEngine::WriteTexture] Raw image data too short",
            function() G:textureWriteData(lock, string.sub(raw, 2), "4 2", 2, 0, false) end)
        raises("[CGraphicsEngine::WriteTexture] Raw image data too short",
            function() G:textureWriteData(lock, raw, "65536 65536", 2, 0, false) end)
        raises("[CGraphicsEngine::WriteTexture] Raw image data too short",
            function() G:textureWriteData(lock, raw, "1e300 1", 2, 0, false) end)
        raises("Unknown input color format", function() G:textureWriteData(lock, raw, "4 2", 1, 0, false) end)
        raises("Unknown input color format", function() G:textureWriteData(lock, raw, "4 2", 1e300, 0, false) end)
        raises("[CGraphicsEngine::writeToTextureWithScale] Unknown input color format",
            function() G:textureWriteData(lock, raw, "2 1", 3, 3, false) end)
        -- Modes that scale nothing write nothing.
        G:textureWriteData(lock, raw, "4 2", 2, 99, false)
        G:textureWriteData(lock, "", "0 0", 2, 1, false)
        expect(channels(G:textureGetPixel(lock, 1, 1)), "0 255 0 255", "unchanged")
        G:textureUnlock(lock)

        -- A block of the canvas into the other texture; blocks beyond the
        -- texture are cut, starts outside refused.
        G:textureCopyData("canvas", 1, 0, 100, 100, "copy", 0, 2)
        local copied = G:textureLock("copy")
        expect(channels(G:textureGetPixel(copied, 0, 3)), "0 255 0 255", "copied pixel")
        expect(channels(G:textureGetPixel(copied, 3, 3)), "0 0 0 0", "beyond the block")
        G:textureUnlock(copied)
        raises("[CGraphicsEngine::CopyTexture] Source position outside the texture: (4, 0)",
            function() G:textureCopyData("canvas", 4, 0, 1, 1, "copy", 0, 0) end)
        raises("[CGraphicsEngine::CopyTexture] Destination position outside the texture: (0, -1)",
            function() G:textureCopyData("canvas", 0, 0, 1, 1, "copy", 0, -1) end)
        raises("[CGraphicsEngine::CopyTexture] Destination image data not defined",
            function() G:textureCopyData("canvas", 0, 0, 1, 1, "missing.png", 0, 0) end)

        -- Saved as PNG and loaded again.
        local png = folder .. "/canvas.png"
        expect(G:textureWriteToFile("canvas", png, 0), true, "textureWriteToFile")
        expect(G:textureExists(png), false, "not loaded yet")
        expect(G:loadTexture(png), true, "loadTexture")
        local size = G:getTextureSize(png)
        expect(size:getX() .. " " .. size:getY(), "4 2", "loaded size")
        local loaded = G:textureLock(png)
        expect(channels(G:textureGetPixel(loaded, 1, 1)), "0 255 0 255", "loaded pixel")
        expect(channels(G:textureGetPixel(loaded, 0, 1)), "200 100 0 255", "loaded pixel (0, 1)")
        G:unloadTexture(png)
        raises("Invalid texture lock handle", function() G:textureGetPixel(loaded, 0, 0) end)

        -- Colour keys through the name.
        G:textureCreateAlphaChannelFromColor("canvas", "0 1 0 1")
        G:textureCreateAlphaChannelFromPos("canvas", "0 0")
        raises("[CGraphicsEngine::TextureCreateAlphaChannelFromPos] Pixel position outside the texture",
            function() G:textureCreateAlphaChannelFromPos("canvas", "4 0") end)
        local keyed = G:textureLock("canvas")
        expect(channels(G:textureGetPixel(keyed, 1, 1)), "0 255 0 0", "keyed by colour")
        expect(channels(G:textureGetPixel(keyed, 3, 1)), "200 100 30 255", "other colours stay")
        G:textureUnlock(keyed)
      )lua"),
              "");
}

TEST_F(ScriptPixelTest, PrimitivesDrawnFromADrawHandlerLandOnKnownPixels)
{
    ASSERT_EQ(engine.Run(R"lua(
        handler = IEvents:subscribeDrawPostGui(function()
            G:draw2DRectangle("0 0 0.25 0.25", "1 0 0 1")
            G:draw2DBox("0.5 0.5 0.75 0.75", "0 1 0 1")
            -- Reaches below the clip: its bottom edge lies on the clip's.
            G:draw2DBoxClipped("0.5 0 1 0.5", "0 0 1 0.25", "0 0 1 1")
            G:draw2DLine("0 1", "1 1", "1 1 0 1")
            G:draw2DRectangleClipped("0 0.5 0.25 1", "0 0.75 1 1", "1 0 1 1")
        end, nil, 0)
      )lua"),
              "");
    ASSERT_TRUE(engine.graphics->Draw(false, false, false));
    video::IImage* image = engine.graphics->GetDevice()->getVideoDriver()->createScreenShot();
    ASSERT_NE(image, nullptr);
    const auto rgb = [&](u32 x, u32 y) { return image->getPixel(x, y).color & 0xFFFFFFu; };
    EXPECT_EQ(rgb(0, 0), 0xFF0000u);
    EXPECT_EQ(rgb(39, 29), 0xFF0000u);
    EXPECT_EQ(rgb(40, 30), 0u);
    // The box's outline, not its inside.
    EXPECT_EQ(rgb(100, 60), 0x00FF00u);
    EXPECT_EQ(rgb(100, 90), 0x00FF00u);
    EXPECT_EQ(rgb(100, 75), 0u);
    // The clipped box's bottom edge on row 30.
    EXPECT_EQ(rgb(120, 30), 0x0000FFu);
    EXPECT_EQ(rgb(130, 60), 0u);
    // Clipped to the lower quarter.
    EXPECT_EQ(rgb(10, 70), 0u);
    EXPECT_EQ(rgb(10, 100), 0xFF00FFu);
    image->drop();
    ASSERT_EQ(engine.Run("IEvents:unsubscribe(handler)"), "");
}

} // namespace
