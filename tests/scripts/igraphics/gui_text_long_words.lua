--! stdout: CHECKS PASSED
-- A static text does not wrap a text with a word of more than 1,024
-- characters: the library's line breaking would take seconds on it, and
-- such a word runs past its line anyway. Text with ordinary words wraps.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
check.truthy(IGraphics:init("NULL", 800, 600, false, 32, false, false, false, 60, true), "NULL device")
local white = IMisc:colorCreate(1, 1, 1, 1)
local word = string.rep("x", 100000)
local words = string.rep("word ", 20000)

check.truthy(IGraphics:createText("long", word, "0.1 0.1 0.5 0.5", false, true, false, white, ""), "created")
check.eq(IGraphics:getStaticTextWordWrap("long"), false, "a long word is not wrapped")
IGraphics:setStaticTextWordWrap("long", true)
check.eq(IGraphics:getStaticTextWordWrap("long"), false, "nor when asked again")
IGraphics:setControlText("long", words)
IGraphics:setStaticTextWordWrap("long", true)
check.eq(IGraphics:getStaticTextWordWrap("long"), true, "ordinary words wrap")
IGraphics:setControlText("long", "a " .. word)
check.eq(IGraphics:getStaticTextWordWrap("long"), false, "a long word set later stops the wrapping")
check.eq(#IGraphics:getControlText("long"), 100002, "the text is kept whole")
IGraphics:setControlSize("long", 0.2, 0.2)
IGraphics:draw()

check.truthy(IGraphics:createText("edge", string.rep("y", 1024), "0.1 0.6 0.5 0.9", false, true, false, white, ""),
    "created")
check.eq(IGraphics:getStaticTextWordWrap("edge"), true, "1,024 characters still wrap")
check.done()
