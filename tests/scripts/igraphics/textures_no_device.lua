--! stdout: CHECKS PASSED
-- IGraphics texture, render-target and shader functions before a device
-- exists: neutral answers, the engine's errors for missing textures, and
-- hostile input refused by name, never a crash.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local G = IGraphics

check.eq(G:textureExists("a.png"), false, "textureExists")
check.eq(G:createTexture("a", "16 16", 3), false, "createTexture")
check.eq(G:loadTexture("a.png"), false, "loadTexture")
G:unloadTexture("a.png")
check.eq(G:getTexturePitch("a"), 0, "pitch")
check.eq(G:getTextureColorFormat("a"), 0, "format")
check.eq(G:getTextureMipMapsExist("a"), false, "mip maps")
check.eq(G:textureMipMapsRegenerate("a"), false, "regenerate")
check.eq(G:getTextureOriginalSize("a"), nil, "original size")
check.eq(G:getTextureSize("a"), nil, "size")
check.eq(G:textureLock("a"), 0, "lock of a missing texture")
G:textureUnlock(0)
check.eq(G:textureGetPixel(0, 0, 0), nil, "pixel of no lock")
G:textureSetPixel(0, 0, 0, "1 1 1 1")
G:textureWriteData(0, "abc", "1 1", 2, 0, false)
G:textureWriteDataRaw(0, "abc", "1 1", 2, 0, false)

-- The engine's messages for textures that cannot be had.
check.raises("[CGraphicsEngine::CopyTexture] Source image data not defined",
    function() G:textureCopyData("a", 0, 0, 1, 1, "b", 0, 0) end)
check.raises("[CGraphicsEngine::TextureCreateAlphaChannelFromColor] Input texture not defined",
    function() G:textureCreateAlphaChannelFromColor("a", "1 0 0 1") end)
check.raises("[CGraphicsEngine::TextureCreateAlphaChannelFromPos] Input texture not defined",
    function() G:textureCreateAlphaChannelFromPos("a", "0 0") end)
check.raises("[CGraphicsEngine::TextureCreateNormalMap] Input texture not defined",
    function() G:textureCreateNormalMap("a", 1) end)
check.raises("[CGraphicsEngine::TextureWriteToFile] Input texture not specified.",
    function() G:textureWriteToFile("a", "a.png", 0) end)

-- Caches, loaders and options without a device.
G:clearCache()
check.eq(G:getNumberOfLoadedTextures(), 0, "textures")
check.eq(G:getNumberOfLoadedMeshes(), 0, "meshes")
check.eq(G:mapTextureExtension(".abc", ".bmp"), false, "mapTextureExtension")
check.eq(G:mapMeshExtension(".xyz", ".obj"), false, "mapMeshExtension")
for _, option in ipairs({"TextureSpeedOptimized", "TextureQualityOptimized", "TextureMipMapping"}) do
    G["set" .. option](G, true)
    check.eq(G["get" .. option](G), false, option)
end

-- Render targets, shaders, the device.
check.raises("[CGraphicsEngine::GetRenderTarget] Render target id not found",
    function() G:getRenderTargetDimensions("view") end)
check.eq(G:renderTargetExists("view"), false, "renderTargetExists")
G:removeRenderTarget("view")
G:removeAllRenderTarget()
check.eq(G:addLowLevelShader("a.vsh", "a.psh", 0), -1, "addLowLevelShader")
check.eq(G:addHighLevelShader("a.vert", "main", 0, "a.frag", "main", 0, 0), -1, "addHighLevelShader")
check.eq(G:getEngineDevice(), 0, "getEngineDevice")

-- Lock handles: numbers that name no lock are errors naming the function;
-- 0 and what is no number (read as 0) are "no lock".
local stale = {0 / 0, -1, 1e300, -1e300, 1 / 0, 2 ^ 32, 2 ^ 53, 1.5, 12345, "7", "1e999"}
for _, number in ipairs(stale) do
    check.raises("[IGraphics::textureUnlock] Invalid texture lock handle",
        function() G:textureUnlock(number) end)
    check.raises("[IGraphics::textureGetPixel] Invalid texture lock handle",
        function() G:textureGetPixel(number, 0, 0) end)
    check.raises("[IGraphics::textureSetPixel] Invalid texture lock handle",
        function() G:textureSetPixel(number, 0, 0, "1 1 1 1") end)
    check.raises("[IGraphics::textureWriteData] Invalid texture lock handle",
        function() G:textureWriteData(number, "abc", "1 1", 2, 0, false) end)
    check.raises("[IGraphics::textureWriteDataRaw] Invalid texture lock handle",
        function() G:textureWriteDataRaw(number, "abc", "1 1", 2, 0, false) end)
end
for _, none in ipairs({0, "text", {}, false, nil}) do
    G:textureUnlock(none)
    check.eq(G:textureGetPixel(none, 0, 0), nil, "pixel of " .. tostring(none))
end

-- The data is a string of bytes: an address (a number) or anything else is
-- refused before the handle's lock is looked at.
for _, data in ipairs({140737488355328, 0, {}, true, function() end}) do
    check.raises("[IGraphics::textureWriteDataRaw] Raw image data must be a string of bytes",
        function() G:textureWriteDataRaw(0, data, "1 1", 2, 0, false) end)
    check.raises("[IGraphics::textureWriteData] Raw image data must be a string of bytes",
        function() G:textureWriteData(0, data, "1 1", 2, 0, false) end)
end
check.raises("[IGraphics::textureWriteData] Invalid image size",
    function() G:textureWriteData(0, "abc", "-1 1", 2, 0, false) end)

-- Names, sizes and numbers of any type or value.
local odd = {nil, 0 / 0, 1 / 0, -1e300, 1e300, {}, true, "", string.rep("x", 10000), "\0\255"}
for index = 1, 10 do
    local value = odd[index]
    check.eq(G:textureExists(value), false, "textureExists of odd value " .. index)
    check.eq(G:createTexture(value, value, value), false, "createTexture of odd value " .. index)
    check.eq(G:textureLock(value), 0, "textureLock of odd value " .. index)
    check.eq(G:getTextureSize(value), nil, "getTextureSize of odd value " .. index)
    check.eq(G:renderTargetExists(value), false, "renderTargetExists of odd value " .. index)
    check.eq(G:addHighLevelShader(value, value, value, value, value, value, value), -1, "shader " .. index)
end

-- From a coroutine, and with the object given by a dot call.
local fromCoroutine = coroutine.wrap(function()
    coroutine.yield(G:textureLock("a"))
    return G:getNumberOfLoadedMeshes()
end)
check.eq(fromCoroutine(), 0, "textureLock in a coroutine")
check.eq(fromCoroutine(), 0, "getNumberOfLoadedMeshes after a yield")
check.eq(G.textureExists(nil, "a.png"), false, "dot call")
check.done()
