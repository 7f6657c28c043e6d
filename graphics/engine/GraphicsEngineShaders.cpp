// Shader materials of the graphics engine: new material types from vertex
// and pixel program files, with the engine's constant callbacks.

#include "graphics/engine/GraphicsEngine.h"

#include "core/app/Application.h"
#include "core/foundation/KVOError.h"
#include "core/foundation/StringConversion.h"
#include "core/io/File.h"
#include "graphics/engine/ShaderCallBacks.h"
#include "irrlicht/IrrlichtFile.h"

#include <irrlicht.h>

#include <exception>

namespace Graphics
{

using namespace irr;

namespace
{

// A program file opened through the application's file lookup (Irrlicht's
// own file system in an engine without one); null when it cannot be opened.
class CProgramFile
{
public:
    CProgramFile(const ::CApplication* application, IrrlichtDevice* device, const std::wstring& name)
    {
        if (name.empty())
            return;
        if (application == nullptr)
        {
            m_file = device->getFileSystem()->createAndOpenFile(Misc::Text::WideToUtf8(name).c_str());
            return;
        }
        try
        {
            m_file = CIrrlichtFile::Adopt(application->OpenFile(name));
        }
        catch (const Misc::Error::CKVOError&)
        {
        }
        catch (const std::exception&)
        {
        }
    }
    ~CProgramFile()
    {
        if (m_file != nullptr)
            m_file->drop();
    }
    CProgramFile(const CProgramFile&) = delete;
    CProgramFile& operator=(const CProgramFile&) = delete;

    io::IReadFile* Get() const { return m_file; }

private:
    io::IReadFile* m_file = nullptr;
};

// Holds one reference to a new callback for a scope: the driver grabs its own
// when it keeps the material.
template <class CallBack> class COwnCallBack
{
public:
    explicit COwnCallBack(CGraphicsEngine* engine) : m_callBack(new CallBack(engine)) {}
    ~COwnCallBack() { m_callBack->drop(); }
    COwnCallBack(const COwnCallBack&) = delete;
    COwnCallBack& operator=(const COwnCallBack&) = delete;

    CallBack* Get() const { return m_callBack; }

private:
    CallBack* m_callBack;
};

} // namespace

int32_t CGraphicsEngine::AddLowLevelShader(const std::wstring& vertexShaderFile,
                                           const std::wstring& pixelShaderFile, int32_t baseMaterial,
                                           int32_t userData)
{
    if (m_device == nullptr)
        return -1;
    video::IVideoDriver* driver = m_device->getVideoDriver();
    video::IGPUProgrammingServices* services = driver->getGPUProgrammingServices();
    if (services == nullptr || baseMaterial < 0 ||
        static_cast<u32>(baseMaterial) >= driver->getMaterialRendererCount())
        return -1;
    COwnCallBack<LowLevelShaderCallBack> callBack(this);
    CProgramFile vertex(GetApplication(), m_device, vertexShaderFile);
    CProgramFile pixel(GetApplication(), m_device, pixelShaderFile);
    return services->addShaderMaterialFromFiles(vertex.Get(), pixel.Get(), callBack.Get(),
                                                static_cast<video::E_MATERIAL_TYPE>(baseMaterial), userData);
}

int32_t CGraphicsEngine::AddHighLevelShader(const std::wstring& vertexShaderFile,
                                            const std::string& vertexEntryPoint, int32_t vertexShaderType,
                                            const std::wstring& pixelShaderFile,
                                            const std::string& pixelEntryPoint, int32_t pixelShaderType,
                                            int32_t baseMaterial, int32_t userData)
{
    if (m_device == nullptr)
        return -1;
    video::IVideoDriver* driver = m_device->getVideoDriver();
    video::IGPUProgrammingServices* services = driver->getGPUProgrammingServices();
    if (services == nullptr || baseMaterial < 0 ||
        static_cast<u32>(baseMaterial) >= driver->getMaterialRendererCount())
        return -1;
    if (vertexShaderType < 0 || vertexShaderType >= static_cast<int32_t>(video::EVST_COUNT) ||
        pixelShaderType < 0 || pixelShaderType >= static_cast<int32_t>(video::EPST_COUNT))
        return -1;
    COwnCallBack<HighLevelShaderCallBack> callBack(this);
    CProgramFile vertex(GetApplication(), m_device, vertexShaderFile);
    CProgramFile pixel(GetApplication(), m_device, pixelShaderFile);
    // OpenGL compiles both as GLSL.
    return services->addHighLevelShaderMaterialFromFiles(
        vertex.Get(), vertexEntryPoint.c_str(), static_cast<video::E_VERTEX_SHADER_TYPE>(vertexShaderType),
        pixel.Get(), pixelEntryPoint.c_str(), static_cast<video::E_PIXEL_SHADER_TYPE>(pixelShaderType),
        callBack.Get(), static_cast<video::E_MATERIAL_TYPE>(baseMaterial), userData, video::EGSL_DEFAULT);
}

} // namespace Graphics
