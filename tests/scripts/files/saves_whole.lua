--! stdout: CHECKS PASSED
--! xvfb
-- Every save of the engine writes a whole regular file or fails: a FIFO or
-- a device node (named directly or through a link), a read-only file and a
-- link to a regular file stay what they were, a name with a NUL writes
-- nothing, key descriptions with the format's separator are refused, and
-- each save loads back after the change.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local files = dofile(os.getenv("HALVANE_TEST_LIB") .. "/files.lua")
local G = IGraphics
local work = os.getenv("HALVANE_TEST_WORK")

local function shell(command) return os.execute(command) == 0 end
local function kind(path)
    for _, test in ipairs({ { "-p", "fifo" }, { "-c", "device" }, { "-f", "file" } }) do
        if shell("test " .. test[1] .. " '" .. path .. "'") then return test[2] end
    end
    return "nothing"
end

local function open()
    for _ = 1, 5 do
        if G:init("SOFTWARE", 64, 48, false, 32, false, false, false, 100, true) then return true end
    end
    return false
end
check.truthy(open(), "the software renderer opens")
G:setBackgroundRenderingEnabled(true)
check.truthy(G:createTexture("shot", "8 8", 2), "a texture")
check.eq(G:createButton("button", "A button", "0 0 0.2 0.1"), true, "a button")
ISkin:activate("Saved", false)
G:addSpriteBankEntry("", {}, 0, "nothing")
IKey:addActionKeyCode("Forward", "W key", 0x57, false, false)

-- Each save, by the path it writes to.
local saves = {
    saveGui = function(path) return G:saveGui(path, "UTF8", true) end,
    saveGuiControl = function(path) return G:saveGuiControl(path, "BINARY", false, "button") end,
    skin = function(path) return ISkin:save(path, "UTF8") end,
    saveSpriteBank = function(path) return G:saveSpriteBank(path, "UTF8") end,
    saveCodes = function(path) return IKey:saveCodes(path, "UTF8") ~= 0 end,
    textureWriteToFile = function(path) return G:textureWriteToFile("shot", path .. ".png", 0) end,
    screenShot = function(path) return G:draw(false, false, true) and G:screenShot(path .. ".bmp", 0) end,
}

assert(shell("mkfifo '" .. work .. "/fifo' '" .. work .. "/fifo.png' '" .. work .. "/fifo.bmp'"))
assert(shell("ln -s fifo '" .. work .. "/link' && ln -s fifo.png '" .. work .. "/link.png' && ln -s fifo.bmp '" ..
    work .. "/link.bmp'"))
-- A read-only file, and a link to a regular file elsewhere: never written.
for _, suffix in ipairs({ "", ".png", ".bmp" }) do
    files.write(work .. "/readonly" .. suffix, "old")
    assert(shell("chmod 0444 '" .. work .. "/readonly" .. suffix .. "'"))
    assert(shell("ln -s outside '" .. work .. "/tofile" .. suffix .. "'"))
end
files.write(work .. "/outside", "old")
local targets = { "fifo", "link", "readonly", "tofile" }
-- A device node needs root; made inside the test's folder, like /dev/null.
if shell("mknod '" .. work .. "/null' c 1 3 2>/dev/null && mknod '" .. work .. "/null.png' c 1 3 && mknod '" ..
        work .. "/null.bmp' c 1 3") then
    targets[#targets + 1] = "null"
end
for name, save in pairs(saves) do
    for _, target in ipairs(targets) do
        local ok, result = pcall(save, work .. "/" .. target)
        check.truthy(not ok or not result, name .. " to " .. target .. " reports failure")
    end
    check.eq(kind(work .. "/fifo"), "fifo", name .. " leaves the FIFO")
    check.eq(kind(work .. "/fifo.png"), "fifo", name .. " leaves the FIFO")
    for _, suffix in ipairs({ "", ".png", ".bmp" }) do
        check.eq(files.read(work .. "/readonly" .. suffix), "old", name .. " leaves the read-only file")
        check.truthy(shell("test -L '" .. work .. "/tofile" .. suffix .. "'"), name .. " leaves the link")
    end
    check.eq(files.read(work .. "/outside"), "old", name .. " leaves the file behind the link")
    if targets[3] then check.eq(kind(work .. "/null"), "device", name .. " leaves the device") end

    -- "nul\0.evil" must not write "nul".
    local ok, result = pcall(save, work .. "/nul\0.evil")
    check.truthy(not ok or not result, name .. " with a NUL reports failure")
    check.eq(kind(work .. "/nul"), "nothing", name .. " with a NUL wrote nothing")
    check.eq(kind(work .. "/nul.png"), "nothing", name .. " with a NUL wrote nothing")

    check.eq(save(work .. "/" .. name), true, name .. " to a file")
end

-- Each save loads back.
G:removeGui()
check.eq(G:loadGui(work .. "/saveGui", ""), true, "the layout loads back")
G:removeGui()
check.eq(G:loadGui(work .. "/saveGuiControl", ""), true, "the control loads back")
check.eq(G:getControlText("button"), "A button", "with its text")
check.eq(ISkin:activate(work .. "/skin", true), true, "the skin loads back")
IKey:clear()
check.eq(IKey:loadCodes(work .. "/saveCodes"), 1, "the key map loads back")
check.eq(IKey:getActionKeyDescription("Forward", 1), "W key", "with its description")
check.eq(G:loadTexture(work .. "/textureWriteToFile.png"), true, "the written texture loads back")
check.eq(G:loadTexture(work .. "/screenShot.bmp"), true, "the screen shot loads back")

-- "|" separates bindings in the saved form and has no escape.
check.raises("may not contain \"|\"", IKey.addActionKeyCode, IKey, "Fire", "Ctrl|Alt", 0x11, false, false)
check.eq(IKey:actionExists("Fire"), false, "the refused binding is not added")
check.raises("may not contain \"|\"", IKey.setActionKeyDescription, IKey, "Forward", 1, "a|b")
check.eq(IKey:getActionKeyDescription("Forward", 1), "W key", "the description is kept")
IKey:addActionKeyCode("Fire", "Ctrl:Alt", 0x11, false, false)
check.eq(IKey:saveCodes(work .. "/keys", "UTF8"), 2, "a colon is kept")
IKey:clear()
check.eq(IKey:loadCodes(work .. "/keys"), 2, "two actions load back")
check.eq(IKey:getActionKeyCount("Fire"), 1, "one binding")
check.eq(IKey:getActionKeyDescription("Fire", 1), "Ctrl:Alt", "with its description")

check.done()
