--! stdout: CHECKS PASSED
--! env: DISPLAY=
-- Hostile arguments to the IGraphics functions on world entities: ids of
-- every kind and of deleted entities, stale and forged mesh handles,
-- texture layers, materials and billboard corners out of range, render
-- targets whose camera was deleted, and the shared list of values no
-- function expects. Every call returns or fails with a clear message.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local hostile = dofile(os.getenv("HALVANE_TEST_LIB") .. "/hostile.lua")
local work = os.getenv("HALVANE_TEST_WORK")
local G = IGraphics

check.eq(G:init("NULL", 64, 64, false, 32, false, false, false, 60, false), true, "graphics")
math.randomseed(51)

local file = io.open(work .. "/triangle.obj", "w")
file:write("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n")
file:close()

local ids = {}
local function add(kind)
    local id = IWorld["create" .. kind](IWorld)
    IWorld["add" .. kind](IWorld, id, "", "")
    ids[#ids + 1] = id
    return id
end
for _, kind in ipairs({"Unit", "Agent", "Billboard", "Camera", "Light", "Trigger", "Waypoint", "Cursor"}) do
    add(kind)
end
ids[#ids + 1] = IWorld:createUnit() -- never in the scene
local deleted = IWorld:createUnit()
IWorld:deleteUnit(deleted)
local mesh = G:getMeshId(work .. "/triangle.obj", 0)
check.truthy(mesh ~= 0, "mesh handle")

-- The documented answers to the cases that must not crash.
-- A render target bound to a camera that is then deleted; the camera's id.
local function staleTarget()
    local id = IWorld:createCamera()
    IWorld:addCamera(id, "", "")
    G:createRenderTarget("view", "16 16", id, 0)
    G:setRenderTargetCameraId("view", id, 0)
    IWorld:deleteCamera(id)
    return id
end
local camera = staleTarget()
check.eq(G:getRenderTargetCameraId("view"), "", "deleted camera forgotten")
check.raises("[CWorldMap::GetUnit] Unit not found [" .. camera .. "]", G.setRenderTargetCameraId, G, "view",
    camera, 0)
G:draw(false, false, false)
for _, layer in ipairs({4, -1, 2 ^ 32 + 4}) do
    check.raises("Invalid texture layer", G.getEntityTextureName, G, ids[1], layer, 0)
    check.raises("Invalid texture layer", G.setEntityTextureName, G, ids[1], layer, -1, "x.png")
end
for _, corner in ipairs({4, -1, 1e300}) do
    check.raises("Invalid billboard vertex", G.getBillboardVertexColor, G, ids[3], corner)
end
check.raises("Invalid mesh handle: 1e+300", G.getMeshVertexColor, G, 1e300, 0)
check.raises("Invalid mesh handle: ", G.getMeshVertexColor, G, 0 / 0, 0)
check.raises("Mesh handle or entity id expected, got table", G.getEntityVertices, G, {})
check.raises("[CWorldMapGroup::GetUnit] Unit not found [" .. deleted .. "]", G.getEntityVertices, G, deleted)
check.eq(tostring(G:getEntityJointPosition(ids[1], "none")), "0.000000 0.000000 0.000000", "no skinned node")

-- Every function, random arguments drawn from world ids, handles and the
-- shared hostile values.
local functions = {}
for name, value in pairs(debug.getmetatable(G)) do
    if type(value) == "function" and (name:find("Entit") or name:find("Mesh") or name:find("Billboard")
            or name:find("Animation") or name:find("RenderTarget") or name == "isInside"
            or name == "rayCastPolygon" or name == "getScreenPosFrom3DPos" or name == "getBoundingBox") then
        functions[#functions + 1] = name
    end
end
table.sort(functions)
check.truthy(#functions >= 80, "functions: " .. #functions)

local extra = {deleted, camera, mesh, mesh + 1, 4, 3, "hand", "READ", "MD2_RUN", "MD2_NOPE", "0.5 0.5 0.5 1",
    "view", work .. "/triangle.obj", ids}
for _, id in ipairs(ids) do extra[#extra + 1] = id end
local values = hostile.values(extra)
local calls, failures = hostile.fuzz({
    check = check,
    functions = functions,
    rounds = 6,
    call = function(name, ...) return hostile.expectCleanCall(check, G, name, {}, ...) end,
    arguments = hostile.randomArguments(values, 5),
    afterRound = function()
        G:draw(false, false, false)
        staleTarget()
    end,
})
hostile.expectSomeFail(check, calls, failures)
-- The meshes went with the cache: the handle is refused.
G:clearCache()
check.raises("Invalid mesh handle", G.getNumberOfMeshVertices, G, mesh)

check.done()
