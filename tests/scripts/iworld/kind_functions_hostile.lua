--! stdout: CHECKS PASSED
--! env: DISPLAY=
-- Hostile input to the functions of IWorld that belong to one kind of
-- entity: every value type, NaN, infinities and huge numbers in every
-- argument, ids of the wrong kind and of deleted entities, calls from
-- coroutines and a weak table whose value has gone. Each call answers or
-- fails with a "[...]" message; the entities stay usable.
local check = dofile(os.getenv("HALVANE_TEST_LIB") .. "/check.lua")
local hostile = dofile(os.getenv("HALVANE_TEST_LIB") .. "/hostile.lua")

check.truthy(IGraphics:init("NULL", 320, 240, false, 32, false, false, false, 60, true), "NULL device")
local ids = {}
for _, kind in ipairs({"ParticleSystem", "Agent", "Unit", "Water", "Terrain", "Light", "Camera"}) do
    ids[kind] = IWorld["create" .. kind](IWorld)
end
IWorld:addCamera(ids.Camera, "", "")
IWorld:addLight(ids.Light, "", "")
local gone = IWorld:createLight()
IWorld:deleteLight(gone)

local functions = {}
for name in pairs({
    getParticleSystemEmitterDirection = 1, setParticleSystemEmitterDirection = 1, getParticleSystemEmitterGravity = 1,
    setParticleSystemEmitterGravity = 1, getParticleSystemEmitterGravityTime = 1,
    setParticleSystemEmitterGravityTime = 1, getParticleSystemEmitterFadeoutColor = 1,
    setParticleSystemEmitterFadeoutColor = 1, getParticleSystemEmitterFadeoutTime = 1,
    setParticleSystemEmitterFadeoutTime = 1, getParticleSystemEmitterStartColorMin = 1,
    setParticleSystemEmitterStartColorMin = 1, getParticleSystemEmitterStartColorMax = 1,
    setParticleSystemEmitterStartColorMax = 1, getParticleSystemEmitterSizeMin = 1,
    setParticleSystemEmitterSizeMin = 1, getParticleSystemEmitterSizeMax = 1, setParticleSystemEmitterSizeMax = 1,
    getParticleSystemEmitterParticlesPerSecondMin = 1, setParticleSystemEmitterParticlesPerSecondMin = 1,
    getParticleSystemEmitterParticlesPerSecondMax = 1, setParticleSystemEmitterParticlesPerSecondMax = 1,
    getParticleSystemEmitterLifetimeMin = 1, setParticleSystemEmitterLifetimeMin = 1,
    getParticleSystemEmitterLifetimeMax = 1, setParticleSystemEmitterLifetimeMax = 1,
    getParticleSystemEmitterAngleVariance = 1, setParticleSystemEmitterAngleVariance = 1,
    setAgentShadowsEnabled = 1, getAgentShadowsEnabled = 1, getAgentShadowMeshName = 1, setUnitOctree = 1,
    getUnitOctree = 1, setWaterWaveHeight = 1, getWaterWaveHeight = 1, setWaterWaveLength = 1,
    getWaterWaveLength = 1, setWaterWaveSpeed = 1, getWaterWaveSpeed = 1, getTerrainHeightMapName = 1,
    setTerrainHeightMapName = 1, getTerrainSmoothFactor = 1, setTerrainSmoothFactor = 1, getTerrainPatchSize = 1,
    setTerrainPatchSize = 1, getTerrainMaxLOD = 1, setTerrainMaxLOD = 1, getTerrainPhysicsLOD = 1,
    setTerrainPhysicsLOD = 1, setTerrainTextureScales = 1, getTerrainTextureScale1 = 1,
    getTerrainTextureScale2 = 1, getTerrainHeight = 1, getTerrainCenter = 1, setTerrainLODDistance = 1,
    setTerrainMovementDelta = 1, setTerrainRotationDelta = 1, getLightShadowsEnabled = 1,
    setLightShadowsEnabled = 1, getLightRange = 1, setLightRange = 1, getLightType = 1, setLightType = 1,
    getLightSpotParameters = 1, setLightSpotParameters = 1, getCameraLookAt = 1, getCameraLookAtVector = 1,
    setCameraLookAt = 1, getCameraLookVector = 1, getCameraUpVector = 1, setCameraUpVector = 1,
    getCameraOffset = 1, setCameraOffset = 1, getCameraNearClip = 1, setCameraNearClip = 1, getCameraFarClip = 1,
    setCameraFarClip = 1, getCameraAspectRatio = 1, setCameraAspectRatio = 1, getCameraFOV = 1, setCameraFOV = 1,
    setCameraOrthogonal = 1, setCameraPerspective = 1, getCameraOrthogonal = 1, getCameraType = 1,
    setCameraType = 1, getCameraViewPort = 1, setCameraViewPort = 1, cameraMoveForward = 1, cameraStrafeLeft = 1,
    cameraStrafeUp = 1, cameraRotateLeft = 1, cameraRotateUp = 1, addSecondaryCamera = 1,
    removeSecondaryCamera = 1, setActiveCameraId = 1, getActiveCameraId = 1, getActiveCameraName = 1,
    changeActiveCameraId = 1, clearSecondaryCameras = 1, isSkyEnabled = 1, setSkyEnabled = 1, getSkyType = 1,
    getSkyTop = 1, getSkyBottom = 1, getSkyLeft = 1, getSkyRight = 1, getSkyFront = 1, getSkyBack = 1,
    getSkyDome = 1, getSkyDomeHorizontalResolution = 1, getSkyDomeVerticalResolution = 1,
    getSkyDomePercentage = 1, getSkyDomeSpherePercentage = 1, setSkyBox = 1, setSkyDome = 1, setFog = 1,
    getFogStart = 1, getFogEnd = 1, getFogColor = 1,
}) do
    check.eq(type(IWorld[name]), "function", name)
    functions[#functions + 1] = name
end
table.sort(functions)

local extra = {gone, "0 0 0", "1 2 3 4", IMisc:vectorCreate(0 / 0, 1 / 0, -1 / 0), IMisc:colorCreate(2, -1, 0 / 0, 1),
               IMisc:rectCreate(1, 1, 0, 0)}
for _, id in pairs(ids) do extra[#extra + 1] = id end
local values = hostile.values(extra)

local function call(name, ...)
    return hostile.expectCleanCall(check, IWorld, name, nil, ...)
end

-- The id of the kind a function belongs to (sky and fog take none).
local function idFor(name)
    for _, kind in ipairs({"ParticleSystem", "Agent", "Unit", "Water", "Terrain", "Light"}) do
        if name:find(kind, 1, true) then return ids[kind] end
    end
    return ids.Camera
end

-- Every value in every position, the other positions holding the id of the
-- function's kind and plain numbers.
for _, name in ipairs(functions) do
    for position = 1, 4 do
        for index = 1, #values + 1 do
            local arguments = {idFor(name), 1, 1, 1}
            arguments[position] = values[index]
            call(name, unpack(arguments, 1, 4))
        end
    end
end

math.randomseed(47)
local calls, failures = hostile.fuzz({
    check = check,
    functions = functions,
    rounds = 20,
    call = call,
    arguments = hostile.randomArguments(values, 7),
})
hostile.expectSomeFail(check, calls, failures)

-- The entities are still there and answer.
check.truthy(IWorld:lightExists(ids.Light), "light stays")
check.eq(type(IWorld:getCameraFOV(ids.Camera)), "number", "camera answers")
IGraphics:destroy()
check.done()
