--! stdout: CHECKS PASSED
--! stdout: [CGraphicsEngine::LoadMesh] Mesh file refused [
--! stdout: /bad.obj]: face index out of range in line 2
--! not-stdout: /tri.obj]
--! not-stdout: /tri.x]
--! env: DISPLAY=
-- The functions of IWorld that belong to one kind of entity, on the real
-- engine with the NULL driver: each kind's settings read back as set, each
-- kind's lookup and its documented error, cameras in the scene, the sky and
-- the fog.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local files = dofile(os.getenv("HALVANE_TEST_LIB") .. "/files.lua")
local work = os.getenv("HALVANE_TEST_WORK")

local function notFound(id) return "[CWorldMap::GetUnit] Unit not found [" .. id .. "]" end
local function groupNotFound(id) return "[CWorldMapGroup::GetUnit] Unit not found [" .. id .. "]" end
local function vector(x, y, z) return IMisc:vectorCreate(x, y, z) end
local function near3(v, x, y, z, what)
    check.near(v:getX(), x, 1e-4, what .. " x")
    check.near(v:getY(), y, 1e-4, what .. " y")
    check.near(v:getZ(), z, 1e-4, what .. " z")
end

check.truthy(IGraphics:init("NULL", 640, 480, false, 32, false, false, false, 60, true), "NULL device")

-- Particle systems: every emitter setting round-trips, vectors and colours
-- also from their text form.
local ps = IWorld:createParticleSystem()
local light = IWorld:createLight()
local settings = {
    {"Direction", "1 2 3", "1.000000 2.000000 3.000000"},
    {"Gravity", vector(0, -9.5, 0.25), "0.000000 -9.500000 0.250000"},
    {"GravityTime", 750, 750},
    {"FadeoutColor", "0.1 0.2 0.3 0.4", "0.10 0.20 0.30 0.40"},
    {"FadeoutTime", 120, 120},
    {"StartColorMin", IMisc:colorCreate(0.5, 0.25, 1, 0.75), "0.50 0.25 1.00 0.75"},
    {"StartColorMax", "1 0 0 1", "1.00 0.00 0.00 1.00"},
    {"SizeMin", 0.5, 0.5},
    {"SizeMax", 3.25, 3.25},
    {"ParticlesPerSecondMin", 10, 10},
    {"ParticlesPerSecondMax", 250.5, 250.5},
    {"LifetimeMin", 1234, 1234},
    {"LifetimeMax", 9876, 9876},
    {"AngleVariance", 15, 15},
}
for _, setting in ipairs(settings) do
    local name, value, expected = setting[1], setting[2], setting[3]
    IWorld["setParticleSystemEmitter" .. name](IWorld, ps, value)
    check.eq(tostring(IWorld["getParticleSystemEmitter" .. name](IWorld, ps)), tostring(expected), name)
    check.raises(notFound(light), IWorld["setParticleSystemEmitter" .. name], IWorld, light, value)
end

-- Agents: found among all entities, but only an agent answers.
local agent = IWorld:createAgent()
IWorld:setAgentShadowsEnabled(agent, true, "shadow.x")
check.eq(IWorld:getAgentShadowsEnabled(agent), true, "agent shadows")
check.eq(IWorld:getAgentShadowMeshName(agent), "shadow.x", "agent shadow mesh")
check.raises(groupNotFound(light), IWorld.getAgentShadowsEnabled, IWorld, light)
check.raises(groupNotFound("nobody"), IWorld.setAgentShadowsEnabled, IWorld, "nobody", true, "")

-- Units and waters.
local unit = IWorld:createUnit()
local water = IWorld:createWater()
check.eq(IWorld:getUnitOctree(unit), false, "octree")
IWorld:setUnitOctree(unit, true)
check.eq(IWorld:getUnitOctree(unit), true, "octree set")
check.raises(notFound(water), IWorld.setUnitOctree, IWorld, water, true)
IWorld:setWaterWaveLength(water, 42.5)
check.eq(IWorld:getWaterWaveLength(water), 42.5, "wave length")
check.eq(IWorld:getWaterWaveSpeed(water), 300, "wave speed unchanged")
IWorld:setWaterWaveHeight(water, 0.5)
IWorld:setWaterWaveSpeed(water, 60)
check.eq(IWorld:getWaterWaveHeight(water), 0.5, "wave height")
check.eq(IWorld:getWaterWaveSpeed(water), 60, "wave speed")
check.eq(IWorld:getCursorTypeId(), 32768, "cursor type id")
check.eq(IWorld:getTriggerTypeId(), 512, "trigger type id")
check.eq(IWorld:getBillboardTypeId(), 1024, "billboard type id")

-- Terrains.
local terrain = IWorld:createTerrain()
for _, case in ipairs({{9, 9}, {10, 17}, {17, 17}, {18, 33}, {64, 65}, {66, 129}, {1000, 129}, {0, 9}, {-1, 129}}) do
    IWorld:setTerrainPatchSize(terrain, case[1])
    check.eq(IWorld:getTerrainPatchSize(terrain), case[2], "patch size " .. case[1])
end
IWorld:setTerrainTextureScales(terrain, 4, 8)
check.eq(IWorld:getTerrainTextureScale1(terrain), 4, "texture scale 1")
check.eq(IWorld:getTerrainTextureScale2(terrain), 8, "texture scale 2")
IWorld:setTerrainPhysicsLOD(terrain, 3)
check.eq(IWorld:getTerrainPhysicsLOD(terrain), 3, "physics LOD")
check.raises("[CGraphicalTerrain::GetHeight] Graphical scene node not initialised", IWorld.getTerrainHeight, IWorld,
    terrain, 1, 2)
check.raises(notFound(unit), IWorld.getTerrainMaxLOD, IWorld, unit)
-- A damaged height map is refused by the image reader: the terrain is a
-- placeholder without heights.
files.write(work .. "/height.png", "\137PNG\r\n\26\n" .. string.rep("\255", 64))
IWorld:setTerrainHeightMapName(terrain, work .. "/height.png")
IWorld:addTerrain(terrain, "", "")
check.eq(IWorld:getTerrainHeight(terrain, 1, 2), 0, "no heights from a refused height map")

-- Unit meshes: an OBJ whose faces index what it defines and an X file are
-- read; an OBJ that indexes beyond is refused (logged) and leaves the unit a
-- placeholder.
IApp:showConsoleWindow(65001, 0)
ILog:setOutputLevel(ILog:getSystemLevel())
files.write(work .. "/tri.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n")
files.write(work .. "/bad.obj", "v 0 0 0\nf 1 2 3\n")
files.write(work .. "/tri.x", "xof 0303txt 0032\nMesh m {\n3;\n0;0;0;,\n1;0;0;,\n0;1;0;;\n1;\n3;0,1,2;;\n}\n")
for _, name in ipairs({"tri.obj", "bad.obj", "tri.x"}) do
    local mesh = IWorld:createUnit()
    IWorld:setEntityModelName(mesh, work .. "/" .. name)
    IWorld:addUnit(mesh, "", "")
end

-- Lights: types by exact name, the range is the scale.
for _, case in ipairs({{"spot", "spot"}, {"Spot", "null"}, {"directional", "directional"}, {"point", "point"}}) do
    IWorld:setLightType(light, case[1])
    check.eq(IWorld:getLightType(light), case[2], "light type " .. case[1])
end
IWorld:setLightRange(light, 250)
check.eq(IWorld:getLightRange(light), 250, "light range")
IWorld:setEntityScale(light, vector(1, 3, -7))
check.eq(IWorld:getLightRange(light), 7, "light range from the scale")
IWorld:setLightSpotParameters(light, vector(10, 20, 0.5))
near3(IWorld:getLightSpotParameters(light), 10, 20, 0.5, "spot parameters")
IWorld:setLightShadowsEnabled(light, false)
check.eq(IWorld:getLightShadowsEnabled(light), false, "light shadows")
check.raises(groupNotFound(agent), IWorld.getLightShadowsEnabled, IWorld, agent)

-- Cameras.
local camera = IWorld:createCamera()
local other = IWorld:createCamera()
check.eq(IWorld:getCameraType(camera), "unknown", "new camera type")
check.eq(IWorld:getActiveCameraId(), "", "no active camera yet")
check.raises(notFound(""), IWorld.getActiveCameraName, IWorld)
IWorld:setCameraFOV(camera, 2.5)
check.eq(IWorld:getCameraFOV(camera), 2.5, "FOV")
check.raises("[IWorld::setCameraFOV] Invalid field of view: 0", IWorld.setCameraFOV, IWorld, camera, 0)
check.raises("[IWorld::setCameraAspectRatio] Invalid aspect ratio: 0", IWorld.setCameraAspectRatio, IWorld, camera, 0)
-- Two valid clip distances in either order; zero and negative ones refused.
IWorld:setCameraNearClip(camera, 1)
IWorld:setCameraFarClip(camera, 100)
IWorld:setCameraNearClip(camera, 5000)
IWorld:setCameraFarClip(camera, 10000)
check.eq(IWorld:getCameraNearClip(camera), 5000, "near clip beyond the old far one")
check.eq(IWorld:getCameraFarClip(camera), 10000, "far clip")
check.raises("[IWorld::setCameraNearClip] Invalid near clip distance: 0", IWorld.setCameraNearClip, IWorld, camera, 0)
check.raises("[IWorld::setCameraFarClip] Invalid far clip distance: -1", IWorld.setCameraFarClip, IWorld, camera, -1)
IWorld:setCameraNearClip(camera, 1)
IWorld:setCameraFarClip(camera, 2000)
IWorld:setCameraOrthogonal(camera, 10, 10)
check.eq(IWorld:getCameraOrthogonal(camera), false, "orthogonal without a node")
IWorld:setEntityPosition(camera, vector(0, 0, 4))
IWorld:setCameraLookAt(camera, vector(0, 0, 10))
near3(IWorld:getCameraLookAt(camera), 0, 0, 10, "look-at")
near3(IWorld:getCameraLookAtVector(camera), 0, 0, 6, "look-at vector")
IWorld:setCameraUpVector(camera, vector(1, 0, 0))
near3(IWorld:getCameraUpVector(camera), 0, 1, 0, "up vector from the rotation")
IWorld:setCameraUpVector(camera, vector(0, 1, 0))
IWorld:addCamera(camera, "", "")
IWorld:addCamera(other, "", "")
IWorld:setCameraOrthogonal(camera, 10, 10)
check.eq(IWorld:getCameraOrthogonal(camera), true, "orthogonal")
IWorld:setCameraPerspective(camera)
check.eq(IWorld:getCameraOrthogonal(camera), false, "perspective")
IWorld:setActiveCameraId(camera)
check.eq(IWorld:getActiveCameraId(), camera, "active camera")
IWorld:setEntityName(camera, "main")
check.eq(IWorld:getActiveCameraName(), "main", "active camera name")
IWorld:setCameraType(camera, "follow")
check.eq(IWorld:getCameraType(camera), "follow", "camera type")
check.eq(IWorld:getActiveCameraId(), camera, "still active after its type changed")
IWorld:setCameraType(other, "fixed")
check.eq(IWorld:getActiveCameraId(), camera, "another camera's type changes nothing")
IWorld:changeActiveCameraId(true)
check.eq(IWorld:getActiveCameraId(), other, "next camera")
IWorld:changeActiveCameraId(true)
check.eq(IWorld:getActiveCameraId(), camera, "wrapped round")
IGraphics:draw(false, false, false)
local ray = IWorld:getCameraLookVector(camera, 0.5, 0.5, false)
check.eq(type(ray), "table", "look vector")
check.near(ray["end"]:getX(), 0, 1e-2, "ray along the look, x")
check.truthy(ray["end"]:getZ() > ray.start:getZ(), "ray along the look, z")
check.eq(IWorld:addSecondaryCamera(other), true, "secondary added")
check.eq(IWorld:addSecondaryCamera(other), false, "secondary added twice")
check.eq(IWorld:removeSecondaryCamera(other), true, "secondary removed")
check.eq(IWorld:removeSecondaryCamera(other), false, "secondary removed twice")
IWorld:clearSecondaryCameras()
check.raises(notFound(light), IWorld.setActiveCameraId, IWorld, light)

-- Sky and fog.
check.eq(IWorld:setSkyBox("top.png", "bottom.png", "left.png", "right.png", "front.png", "back.png"), true, "sky box")
check.eq(IWorld:getSkyType(), "box", "box type")
check.eq(IWorld:setSkyDome("dome.png", 16, 8, 1.5, -0.2), true, "sky dome")
check.eq(IWorld:getSkyType(), "dome", "dome type")
check.eq(IWorld:getSkyDomePercentage(), 1, "texture percentage clamped")
check.eq(IWorld:getSkyDomeSpherePercentage(), 0, "sphere percentage clamped")
check.eq(IWorld:getSkyTop(), "top.png", "box textures stay")
check.eq(IWorld:getSkyBack(), "back.png", "box textures stay")
check.eq(IWorld:getSkyDome(), "dome.png", "dome texture")
for _, case in ipairs({{16, 16}, {-5, 1}, {0, 1}, {0 / 0, 1}, {1e12, 255}, {255, 255}, {256, 255}, {2 ^ 32 + 3, 255}}) do
    IWorld:setSkyDome("dome.png", case[1], case[1], 1, 1)
    check.eq(IWorld:getSkyDomeHorizontalResolution(), case[2], "horizontal resolution " .. tostring(case[1]))
    check.eq(IWorld:getSkyDomeVerticalResolution(), case[2], "vertical resolution " .. tostring(case[1]))
end
check.eq(IWorld:isSkyEnabled(), true, "sky on")
IWorld:setSkyEnabled(false)
check.eq(IWorld:isSkyEnabled(), false, "sky off")
IWorld:setSkyEnabled(true)
check.eq(IWorld:isSkyEnabled(), true, "sky on again")
IWorld:setFog(10, 200, "0.5 0.25 0.75 1")
check.eq(IWorld:getFogStart(), 10, "fog start")
check.eq(IWorld:getFogEnd(), 200, "fog end")
check.eq(tostring(IWorld:getFogColor()), "0.50 0.25 0.75 1.00", "fog colour")

IGraphics:destroy()
check.done()
