// Shader materials on OpenGL: a GLSL material and an ARB assembly material
// whose programs use the engine's constants, drawn into a render target
// from a camera and read back. CTest runs this case alone in its process
// under xvfb-run (see tests.cmake, which sets HALVANE_OPENGL_TESTS and the
// LSan suppression for the GL driver's libraries); elsewhere it is skipped.
// A screenshot of a double-buffered OpenGL window reads black here, hence
// the render target.

#include "graphics/engine/GraphicsTestSupport.h"

#include "support/GlDriverPin.h"
#include "support/TestFolder.h"
#include "graphics/engine/RenderTarget.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace
{

using namespace irr;

// Every channel is 1 when the constants are right: the light colour's green
// and blue; red when the light position is the camera's (0, 0, -10), the
// inverse world takes the node's position (1, 0, 0) back to the origin and
// the transposed world holds the position in its last row.
const char* const kVertexShader = R"(
uniform mat4 mWorldViewProj;
uniform mat4 mInvWorld;
uniform mat4 mTransWorld;
uniform vec3 mLightPos;
uniform vec4 mLightColor;
varying vec4 colour;
void main()
{
    gl_Position = mWorldViewProj * gl_Vertex;
    float light = abs(mLightPos.z + 10.0) < 0.01 && abs(mLightPos.x) < 0.01 ? 1.0 : 0.0;
    vec4 origin = mInvWorld * vec4(1.0, 0.0, 0.0, 1.0);
    float inverse = length(origin.xyz) < 0.01 ? 1.0 : 0.0;
    float transposed = abs(mTransWorld[0][3] - 1.0) < 0.01 ? 1.0 : 0.0;
    colour = vec4(light * inverse * transposed, mLightColor.g, mLightColor.b, 1.0);
}
)";

const char* const kPixelShader = R"(
varying vec4 colour;
void main()
{
    gl_FragColor = colour;
}
)";

// HLSL does not compile as GLSL.
const char* const kHlslShader = R"(
float4x4 mWorldViewProj;
float4 vertexMain(float4 position : POSITION) : POSITION
{
    return mul(position, mWorldViewProj);
}
)";

// The same transform through registers 4-7 (rows of the world-view-
// projection), the colour from register 9.
const char* const kArbVertexProgram = "!!ARBvp1.0\n"
                                      "PARAM mvp[4] = { program.local[4..7] };\n"
                                      "TEMP position;\n"
                                      "MUL position, mvp[0], vertex.position.x;\n"
                                      "MAD position, mvp[1], vertex.position.y, position;\n"
                                      "MAD position, mvp[2], vertex.position.z, position;\n"
                                      "ADD result.position, mvp[3], position;\n"
                                      "MOV result.color, program.local[9];\n"
                                      "END\n";
const char* const kArbPixelProgram = "!!ARBfp1.0\n"
                                     "MOV result.color, fragment.color;\n"
                                     "END\n";

TEST(ShaderOpenGlTest, ShaderMaterialsGetTheEnginesConstants)
{
    if (std::getenv("HALVANE_OPENGL_TESTS") == nullptr)
        GTEST_SKIP() << "runs under xvfb-run (ctest -R textures_pixels/opengl)";
    CTestFolder folder;
    folder.Write("colour.vert", kVertexShader);
    folder.Write("colour.frag", kPixelShader);
    folder.Write("hlsl.vert", kHlslShader);
    folder.Write("colour.vp", kArbVertexProgram);
    folder.Write("colour.fp", kArbPixelProgram);
    folder.Write("broken.vp", "!!ARBvp1.0\nNOT AN INSTRUCTION;\nEND\n");

    CGraphicsSimulation simulation;
    Graphics::CGraphicsEngine& engine = simulation.graphics;
    bool opened = false;
    for (int attempt = 0; attempt < 5 && !opened; ++attempt)
    {
        opened = engine.Init("OPENGL", 160, 120, false, 32, false, false, false, 60, 0, 0, -1, -1, false);
        if (!opened)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_TRUE(opened);
    PinGlDriver();
    engine.SetBackgroundRenderingEnabled(true);
    engine.SetBackColor(CColor(0, 0, 0, 1));

    const s32 glsl = engine.AddHighLevelShader(folder.Wide("colour.vert"), "main", video::EVST_VS_1_1,
                                               folder.Wide("colour.frag"), "main", video::EPST_PS_1_1,
                                               video::EMT_SOLID, 0);
    ASSERT_GE(glsl, 0);
    EXPECT_EQ(engine.AddHighLevelShader(folder.Wide("hlsl.vert"), "vertexMain", video::EVST_VS_2_0,
                                        folder.Wide("colour.frag"), "main", video::EPST_PS_2_0,
                                        video::EMT_SOLID, 0),
              -1);
    const s32 arb =
        engine.AddLowLevelShader(folder.Wide("colour.vp"), folder.Wide("colour.fp"), video::EMT_SOLID, 0);
    ASSERT_GE(arb, 0);
    EXPECT_NE(arb, glsl);
    EXPECT_EQ(
        engine.AddLowLevelShader(folder.Wide("broken.vp"), folder.Wide("colour.fp"), video::EMT_SOLID, 0),
        -1);
    // Types Irrlicht does not know.
    EXPECT_EQ(engine.AddLowLevelShader(folder.Wide("colour.vp"), folder.Wide("colour.fp"), -1, 0), -1);
    EXPECT_EQ(engine.AddLowLevelShader(folder.Wide("colour.vp"), folder.Wide("colour.fp"), 1 << 20, 0), -1);
    EXPECT_EQ(engine.AddHighLevelShader(folder.Wide("colour.vert"), "main", video::EVST_COUNT,
                                        folder.Wide("colour.frag"), "main", 0, video::EMT_SOLID, 0),
              -1);
    EXPECT_EQ(engine.AddHighLevelShader(folder.Wide("colour.vert"), "main", 0, folder.Wide("colour.frag"),
                                        "main", -5, video::EMT_SOLID, 0),
              -1);

    scene::ISceneManager* scene = engine.GetDevice()->getSceneManager();
    scene::ISceneNode* cube = scene->addCubeSceneNode(4.0f, nullptr, -1, core::vector3df(1, 0, 0));
    cube->setMaterialFlag(video::EMF_LIGHTING, false);
    CTestCamera camera(engine, "camera");
    engine.SetActiveCamera(&camera);
    ASSERT_TRUE(engine.CreateRenderTarget(L"view", CPoint(64, 64), &camera, 0));
    video::ITexture* view = engine.GetRenderTarget(L"view").GetTexture();
    ASSERT_NE(view, nullptr);

    // The centre pixel of the target for the cube drawn in a material.
    const auto centre = [&](s32 material)
    {
        cube->setMaterialType(static_cast<video::E_MATERIAL_TYPE>(material));
        EXPECT_TRUE(engine.Draw(false, false, false));
        void* pixels = engine.TextureLock(view);
        CColor color;
        EXPECT_TRUE(engine.TextureGetPixel(view, pixels, 32, 32, color));
        engine.TextureUnlock(view);
        return static_cast<uint32_t>(color.r * 255) << 16 | static_cast<uint32_t>(color.g * 255) << 8 |
               static_cast<uint32_t>(color.b * 255);
    };
    EXPECT_EQ(centre(glsl), 0xFFFFFFu);
    // The light colour (0, 1, 1, 0) from register 9.
    EXPECT_EQ(centre(arb), 0x00FFFFu);
    // The plain material for comparison: the cube's white vertices.
    EXPECT_EQ(centre(video::EMT_SOLID), 0xFFFFFFu);

    engine.SetActiveCamera(nullptr);
    engine.Destroy();
}

} // namespace
