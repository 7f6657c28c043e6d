--! stdout: CHECKS PASSED
--! stderr: [CGraphicsEngine::LoadMesh] Mesh file refused [
--! stderr: /broken.md2]: MD2 triangle 0 names a missing corner
--! stderr: /missing.b3d]: file not found
--! not-stderr: /run.md2]
--! not-stderr: /skinned.b3d]
--! not-stderr: /map.bsp]
-- Models of the formats that carry animation reach the animation, joint and
-- attachment functions, on the real engine with the NULL driver: an MD2
-- agent plays "MD2_RUN" to its end, a skinned agent's joints move with its
-- frames and carry a billboard, a Quake 3 map and a textured OBJ load as
-- units, and a refused or missing model leaves the placeholder cube.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local work = os.getenv("HALVANE_TEST_WORK")
local writer = assert(os.getenv("HALVANE_TEST_MODEL_WRITER"), "HALVANE_TEST_MODEL_WRITER is not set")
check.truthy(os.execute(writer .. " '" .. work .. "'") == 0, "model fixtures written")

check.truthy(IGraphics:init("NULL", 320, 240, false, 32, false, false, false, 100, false), "NULL device")
IGraphics:setBackgroundRenderingEnabled(true)
local camera = IWorld:createCamera()
IWorld:setEntityPosition(camera, IMisc:vectorCreate(0, 0, -10))
IWorld:addCamera(camera, "", "")

local ended = {}
IEvents:subscribeAnimationComplete(function(...)
    local args = {...}
    ended[#ended + 1] = args[#args]
    return false
end, "AnimationComplete", 0)

local function agentOf(model)
    local agent = IWorld:createAgent()
    IWorld:setEntityModelName(agent, work .. "/" .. model)
    IWorld:addAgent(agent, "", "")
    return agent
end

-- MD2: the run animation by its standard name changes the frame range and,
-- not looping, ends with the event.
local runner = agentOf("run.md2")
check.eq(IGraphics:getEntityAnimationFrameCount(runner), 8, "MD2 frames (two, as Irrlicht counts them)")
IGraphics:setEntityAnimationFrames(runner, 0, 3)
check.eq(IGraphics:getEntityAnimationEndFrame(runner), 3, "frame range before")
IGraphics:setEntityAnimation(runner, "MD2_RUN", false, 30)
check.truthy(IGraphics:getEntityAnimationEndFrame(runner) ~= 3, "MD2_RUN sets its own range")
check.raises("[convertMD2Animation] Unknown MD2 animation type:MD2_run", IGraphics.setEntityAnimation, IGraphics,
    runner, "MD2_run", false, 30)
IGraphics:setEntityAnimation(runner, "run", false, 30)
IApp:run(300)
check.eq(IGraphics:isAnimationComplete(runner), true, "the run ended")
check.truthy(#ended >= 1, "the animation end event arrived")

-- A skinned B3D: its joints by index, a joint that moves with the frames,
-- and a billboard on the joint that follows it.
local walker = agentOf("skinned.b3d")
check.eq(IGraphics:getEntityAnimationFrameCount(walker), 20, "B3D frames")
check.eq(IGraphics:getEntityJointName(walker, 0), "root", "joint 0")
check.eq(IGraphics:getEntityJointName(walker, 1), "hand", "joint 1")
check.eq(IGraphics:getEntityJointName(walker, 2), nil, "no joint 2")
local board = IWorld:createBillboard()
IWorld:addBillboard(board, "", "")
IGraphics:attachToEntity(walker, board, "hand")
check.eq(IGraphics:getEntityAttachment(board), "hand", "billboard on the joint")
IGraphics:setEntityJointMode(walker, "READ")
local function at(frame)
    IGraphics:setEntityAnimationFrame(walker, frame, 0)
    IGraphics:animateEntityJoints(walker)
    return IGraphics:getEntityJointPosition(walker, "hand"):getY(), IGraphics:getEntityAbsolutePosition(board):getY()
end
local handStart, boardStart = at(0)
local handEnd, boardEnd = at(19)
check.near(handEnd - handStart, 1.9, 0.05, "the hand rises with the frames")
check.near(boardEnd - boardStart, 1.9, 0.05, "the billboard follows the hand")

-- Units of a Quake 3 map and of a textured OBJ.
local function unitOf(model)
    local unit = IWorld:createUnit()
    IWorld:setEntityModelName(unit, work .. "/" .. model)
    IWorld:addUnit(unit, "", "")
    return unit
end
check.truthy(IApp:addSearchPath(work, false, 0), "search path for the map's scripts")
check.eq(IGraphics:getNumberOfMeshVertices(unitOf("map.bsp")), 4, "the map's polygon")
local textured = unitOf("textured.obj")
check.eq(IGraphics:getNumberOfMeshVertices(textured), 3, "OBJ vertices")
check.eq(IGraphics:getEntityMaterialCount(textured), 1, "OBJ material")

-- A refused and a missing model: logged on standard error, a placeholder
-- cube of size 1.
local broken = io.open(work .. "/run.md2", "rb"):read("*a")
broken = broken:sub(1, 144) .. string.char(9, 0) .. broken:sub(147)
local file = io.open(work .. "/broken.md2", "wb")
file:write(broken)
file:close()
for _, model in ipairs({"broken.md2", "missing.b3d"}) do
    local unit = unitOf(model)
    local box = IGraphics:getBoundingBox(unit)
    check.near(box.min:getX(), -0.5, 1e-5, model .. " placeholder")
    check.near(box.max:getY(), 0.5, 1e-5, model .. " placeholder")
end
check.done()
