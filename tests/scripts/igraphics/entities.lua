--! stdout: CHECKS PASSED
--! env: DISPLAY=
-- IGraphics on entities of the world map, named by their ids: materials
-- with the every-material index, scene membership, vertices of a mesh file
-- and of a billboard, picking against an entity's triangles, and a render
-- target bound to a world camera that is then deleted.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local work = os.getenv("HALVANE_TEST_WORK")

check.eq(IGraphics:init("NULL", 64, 64, false, 32, false, false, false, 60, false), true, "graphics")

local names = 0
for _, value in pairs(debug.getmetatable(IGraphics)) do
    if type(value) == "function" then names = names + 1 end
end
check.eq(names, 525, "IGraphics names")

local unit = IWorld:createUnit()
IWorld:addUnit(unit, "", "")
local loose = IWorld:createUnit()
local billboard = IWorld:createBillboard()
IWorld:addBillboard(billboard, "", "")
local camera = IWorld:createCamera()
IWorld:addCamera(camera, "", "")

-- Materials: a negative index sets every material, and no getter takes it.
check.eq(IGraphics:getEntityMaterialCount(unit), 1, "one material")
check.eq(tostring(IGraphics:getEntityAmbientColor(unit, 0)), "0.50 0.50 0.50 1.00", "default ambient")
IGraphics:setEntityDiffuseColor(unit, -1, "0.2 0.4 0.6 1")
check.eq(tostring(IGraphics:getEntityDiffuseColor(unit, 0)), "0.20 0.40 0.60 1.00", "diffuse of all")
check.raises("[CMaterials::operator[]]Invalid material index:-1", IGraphics.getEntityDiffuseColor, IGraphics,
    unit, -1)
check.raises("[CMaterials::operator[]]Invalid material index:1", IGraphics.setEntityShininess, IGraphics, unit, 1, 5)
check.raises("[CGraphicalEntity::GetMaterialTexture] Invalid texture layer:4", IGraphics.getEntityTextureName,
    IGraphics, unit, 4, 0)
IGraphics:setEntityTextureName(unit, 2, -1, "none.png")
check.eq(IGraphics:getEntityTextureName(unit, 2, 0), "none.png", "texture name kept")
check.raises("[CWorldMapGroup::GetUnit] Unit not found [nobody]", IGraphics.isEntityVisible, IGraphics, "nobody")

-- Into the scene on request.
check.eq(IGraphics:isEntityInitialised(loose), false, "loose unit not in the scene")
IGraphics:setEntityVisible(loose, false)
check.eq(IGraphics:isEntityVisible(loose), false, "visibility stored")
IGraphics:refreshEntity(loose)
check.eq(IGraphics:isEntityInitialised(loose), true, "refreshed into the scene")

-- A mesh file by handle; the handle goes with the cache.
local file = io.open(work .. "/triangle.obj", "w")
file:write("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n")
file:close()
local mesh = IGraphics:getMeshId(work .. "/triangle.obj", 0)
check.truthy(mesh ~= 0, "mesh handle")
check.eq(IGraphics:getMeshId(work .. "/absent.obj", 0), 0, "no file, no handle")
for _, frame in ipairs({ 1, 2, -1, 2 ^ 31 }) do
    check.eq(IGraphics:getMeshId(work .. "/triangle.obj", frame), 0, "a one-frame mesh has no frame " .. frame)
end
check.eq(IGraphics:getNumberOfMeshVertices(mesh), 3, "vertices")
IGraphics:setMeshVertexPosition(mesh, 2, "0 5 0")
check.eq(tostring(IGraphics:getMeshVertexPosition(mesh, 2)), "0.000000 5.000000 0.000000", "vertex written")
check.eq(#IGraphics:getEntityFaces(mesh, 0), 3, "one triangle")
check.eq(IGraphics:getNumberOfMeshVertices(0), 0, "handle 0")

-- Billboard corners 0 to 3.
IGraphics:setBillboardVertexColor(billboard, 2, "0 1 0 1")
check.eq(tostring(IGraphics:getBillboardVertexColor(billboard, 2)), "0.00 1.00 0.00 1.00", "corner colour")
check.raises("[CGraphicalBillboard::GetVertexUV] Invalid billboard vertex:4", IGraphics.getBillboardVertexUV,
    IGraphics, billboard, 4)
check.raises("[CWorldMap::GetUnit] Unit not found [" .. unit .. "]", IGraphics.getBillboardVertexUV, IGraphics,
    unit, 0)

-- Picking and inside tests against the unit's cube at the origin.
IGraphics:draw(false, false, false)
check.eq(IGraphics:isInside(unit, "0.1 0 0"), true, "inside")
check.eq(IGraphics:isInside(unit, "3 0 0"), false, "outside")
local hits = IGraphics:rayCastPolygon("0 0 -5", "0 0 5", {unit}, true)
check.eq(hits and hits[1].entity, unit, "polygon hit")
check.eq(IGraphics:rayCastPolygon("0 0 -5", "0 0 5", {}, true), nil, "no targets")
local box = IGraphics:getBoundingBox(unit)
check.eq(tostring(box.max), "0.500000 0.500000 0.500000", "bounding box")

-- A render target bound to a world camera forgets the camera deleted.
IGraphics:createRenderTarget("view", "32 32", camera, 0)
check.eq(IGraphics:setRenderTargetCameraId("view", camera, 30), true, "bound")
check.eq(IGraphics:getRenderTargetCameraId("view"), camera, "bound camera")
check.raises("[CWorldMap::GetUnit] Unit not found [" .. unit .. "]", IGraphics.setRenderTargetCameraId, IGraphics,
    "view", unit, 30)
check.truthy(tostring(IGraphics:getScreenPosFrom3DPos("0 0 0", camera)):find("^%-?[%d.]+ %-?[%d.]+$"),
    "screen position")
IWorld:deleteCamera(camera)
check.eq(IGraphics:getRenderTargetCameraId("view"), "", "camera forgotten")
IGraphics:draw(false, false, false)
check.raises("[CWorldMap::GetUnit] Unit not found [" .. camera .. "]", IGraphics.getScreenPosFrom3DPos, IGraphics,
    "0 0 0", camera)

-- Clearing the cache lets go of the mesh file: its handle is refused.
IGraphics:clearCache()
check.raises("[IGraphics::getNumberOfMeshVertices] Invalid mesh handle: " .. mesh,
    IGraphics.getNumberOfMeshVertices, IGraphics, mesh)

check.done()
