// The window, cursor, clipboard and system queries of the graphics engine.

#include "core/app/Application.h"
#include "core/app/SimulationManager.h"
#include "core/foundation/KVOError.h"
#include "core/foundation/Pixels.h"
#include "core/foundation/StringConversion.h"
#include "graphics/engine/GraphicsEngine.h"

#include "graphics/engine/ImageFileWriter.h"
#include "graphics/engine/OpenGlFrameReader.h"
#include "irrlicht/IrrlichtConversions.h"
#include "gui/manager/GuiManager.h"
#include "platform/SystemInfo.h"
#include "platform/X11Window.h"

#include <irrlicht.h>

#include <algorithm>

namespace Graphics
{

using namespace irr;

namespace
{

// The cursor names scripts use, each with the Irrlicht cursor closest to
// the system cursor of that name.
struct SCursorType
{
    const char* name;
    gui::ECURSOR_ICON icon;
};

constexpr SCursorType kCursorTypes[] = {
    {"APPSTARTING", gui::ECI_WAIT},  {"CROSS", gui::ECI_CROSS},       {"HAND", gui::ECI_HAND},
    {"HELP", gui::ECI_HELP},         {"IBEAM", gui::ECI_IBEAM},       {"NO", gui::ECI_NO},
    {"SIZEALL", gui::ECI_SIZEALL},   {"SIZENESW", gui::ECI_SIZENESW}, {"SIZENS", gui::ECI_SIZENS},
    {"SIZENWSE", gui::ECI_SIZENWSE}, {"SIZEWE", gui::ECI_SIZEWE},     {"UPARROW", gui::ECI_UP},
    {"WAIT", gui::ECI_WAIT},         {"ARROW", gui::ECI_NORMAL},
};

// The desktop's size in pixels; 0 by 0 without a display.
core::dimension2d<u32> DesktopSize()
{
    uint32_t width = 0;
    uint32_t height = 0;
    Platform::GetDesktopSize(width, height);
    return core::dimension2d<u32>(width, height);
}

} // namespace

void CGraphicsEngine::RequireDevice(const wchar_t* message) const
{
    if (m_device == nullptr || m_device->getVideoDriver() == nullptr)
        throw Misc::Error::CKVOError(message);
}

bool CGraphicsEngine::IsWindowActive() const
{
    if (m_backgroundRendering)
        return true;
    return m_device != nullptr && m_device->isWindowActive();
}

void CGraphicsEngine::SetAmbientColor(const CColor& color)
{
    if (m_device != nullptr)
        m_device->getSceneManager()->setAmbientLight(video::SColorf(color.r, color.g, color.b, color.a));
}

CColor CGraphicsEngine::GetAmbientColor() const
{
    if (m_device == nullptr)
        return CColor();
    const video::SColorf light = m_device->getSceneManager()->getAmbientLight();
    CColor color;
    color.r = light.r;
    color.g = light.g;
    color.b = light.b;
    color.a = light.a;
    return color;
}

void CGraphicsEngine::SetFog(const CColor& color, float start, float end)
{
    if (m_device != nullptr)
        m_device->getVideoDriver()->setFog(ToIrrlichtColor(color), video::EFT_FOG_LINEAR, start, end, 0.01f,
                                           false, false);
}

WindowHandle CGraphicsEngine::GetWindowHandle() const
{
    if (m_device == nullptr)
        return 0;
    // Only the OpenGL driver tells its X11 window.
    video::IVideoDriver* driver = m_device->getVideoDriver();
    if (driver->getDriverType() != video::EDT_OPENGL)
        return 0;
    return static_cast<WindowHandle>(driver->getExposedVideoData().OpenGLLinux.X11Window);
}

void CGraphicsEngine::SetWindowCaption(const std::wstring& caption)
{
    m_windowCaption = caption;
    if (m_device != nullptr)
        m_device->setWindowCaption(m_windowCaption.c_str());
}

bool CGraphicsEngine::SetWindowIcon(const std::wstring& fileName)
{
    if (GetWindowHandle() == 0)
        return false;
    const CApplication* application = GetOwner() != nullptr ? GetOwner()->GetApplication() : nullptr;
    if (application == nullptr || application->GetFilenameFromFileSystem(fileName).empty())
        return false;
    // Icon files (.ico) have no loader here, so no icon reaches the window.
    return false;
}

void CGraphicsEngine::SetWindowParams(uint32_t style, int32_t left, int32_t top, int32_t width,
                                      int32_t height)
{
    m_windowStyle = style;
    const WindowHandle window = GetWindowHandle();
    if (window == 0)
        return;
    // X11 windows get their frame from the window manager: the size is the
    // client size.
    const int64_t windowWidth = width > 0 ? width : static_cast<int64_t>(m_screenWidth);
    const int64_t windowHeight = height > 0 ? height : static_cast<int64_t>(m_screenHeight);
    const core::dimension2d<u32> desktop = DesktopSize();
    const int64_t windowLeft = left >= 0 ? left : (static_cast<int64_t>(desktop.Width) - windowWidth) / 2;
    const int64_t windowTop = top >= 0 ? top : (static_cast<int64_t>(desktop.Height) - windowHeight) / 2;
    Platform::MoveResizeWindow(m_device->getVideoDriver()->getExposedVideoData().OpenGLLinux.X11Display,
                               window,
                               static_cast<int32_t>(std::clamp<int64_t>(windowLeft, INT32_MIN, INT32_MAX)),
                               static_cast<int32_t>(std::clamp<int64_t>(windowTop, INT32_MIN, INT32_MAX)),
                               static_cast<uint32_t>(windowWidth), static_cast<uint32_t>(windowHeight));
}

uint32_t CGraphicsEngine::GetDesktopWidth() const
{
    return DesktopSize().Width;
}

uint32_t CGraphicsEngine::GetDesktopHeight() const
{
    return DesktopSize().Height;
}

void CGraphicsEngine::SetCursorVisible(bool visible)
{
    if (m_device != nullptr)
        m_device->getCursorControl()->setVisible(visible);
}

bool CGraphicsEngine::IsCursorVisible() const
{
    return m_device != nullptr && m_device->getCursorControl()->isVisible();
}

void CGraphicsEngine::SetCursorPosition(float x, float y)
{
    // In pixels here: the library's own fraction conversion has no guard
    // against values beyond the integer range.
    if (m_device != nullptr)
        m_device->getCursorControl()->setPosition(Misc::FractionToPixels(m_screenWidth, x),
                                                  Misc::FractionToPixels(m_screenHeight, y));
}

CPoint CGraphicsEngine::GetCursorPosition() const
{
    if (m_device == nullptr || m_screenWidth == 0 || m_screenHeight == 0)
        return CPoint();
    const CPoint pixels = GetCursorPixelPosition();
    return CPoint(pixels.x / static_cast<float>(m_screenWidth),
                  pixels.y / static_cast<float>(m_screenHeight));
}

CPoint CGraphicsEngine::GetCursorPixelPosition() const
{
    if (m_device == nullptr)
        return CPoint();
    const core::position2d<s32> position = m_device->getCursorControl()->getPosition();
    return CPoint(static_cast<float>(position.X), static_cast<float>(position.Y));
}

void CGraphicsEngine::SetCursorType(const std::string& name)
{
    if (m_device == nullptr)
        return;
    for (const SCursorType& type : kCursorTypes)
    {
        if (name == type.name)
        {
            m_device->getCursorControl()->setActiveIcon(type.icon);
            return;
        }
    }
}

CPoint CGraphicsEngine::GetTextPixelDimensions(const std::wstring& fontName, const std::wstring& text)
{
    if (m_device == nullptr)
        return CPoint();
    gui::IGUIFont* font = m_guiManager->GetFont(fontName, false);
    if (font == nullptr)
        return CPoint();
    const core::dimension2d<u32> size = font->getDimension(text.c_str());
    return CPoint(static_cast<float>(size.Width), static_cast<float>(size.Height));
}

CPoint CGraphicsEngine::GetTextDimensions(const std::wstring& fontName, const std::wstring& text)
{
    const CPoint pixels = GetTextPixelDimensions(fontName, text);
    if (m_screenWidth == 0 || m_screenHeight == 0)
        return CPoint();
    return CPoint(pixels.x / static_cast<float>(m_screenWidth),
                  pixels.y / static_cast<float>(m_screenHeight));
}

void CGraphicsEngine::WriteClipboard(const std::string& text)
{
    // The clipboard needs a window: the NULL device has none.
    if (m_device != nullptr && m_device->getVideoDriver()->getDriverType() != video::EDT_NULL)
        m_device->getOSOperator()->copyToClipboard(text.c_str());
}

std::optional<std::string> CGraphicsEngine::ReadClipboard() const
{
    if (m_device == nullptr || m_device->getVideoDriver()->getDriverType() == video::EDT_NULL)
        return std::nullopt;
    const c8* text = m_device->getOSOperator()->getTextFromClipboard();
    if (text == nullptr)
        return std::nullopt;
    return std::string(text);
}

int32_t CGraphicsEngine::GetFrameRate() const
{
    return m_device != nullptr ? m_device->getVideoDriver()->getFPS() : 0;
}

uint32_t CGraphicsEngine::GetNumberOfTris() const
{
    return m_device != nullptr ? m_device->getVideoDriver()->getPrimitiveCountDrawn() : 0;
}

uint32_t CGraphicsEngine::GetNumberOfLoadedTextures() const
{
    return m_device != nullptr ? m_device->getVideoDriver()->getTextureCount() : 0;
}

bool CGraphicsEngine::ScreenShot(const std::wstring& fileName, uint32_t parameter)
{
    if (m_device == nullptr)
        return false;
    video::IVideoDriver* driver = m_device->getVideoDriver();
    video::IImage* image = driver->getDriverType() == video::EDT_OPENGL ? COpenGlFrameReader::Read(driver)
                                                                        : driver->createScreenShot();
    if (image == nullptr)
        return false;
    const bool written = CImageFileWriter::Write(driver, image, fileName, parameter);
    image->drop();
    return written;
}

bool CGraphicsEngine::SetTextureFlag(uint32_t flag, bool enable)
{
    if (m_device == nullptr)
        return false;
    m_device->getVideoDriver()->setTextureCreationFlag(static_cast<video::E_TEXTURE_CREATION_FLAG>(flag),
                                                       enable);
    return true;
}

bool CGraphicsEngine::GetTextureFlag(uint32_t flag) const
{
    return m_device != nullptr && m_device->getVideoDriver()->getTextureCreationFlag(
                                      static_cast<video::E_TEXTURE_CREATION_FLAG>(flag));
}

void CGraphicsEngine::SetTextureQualityOptimized(bool enable)
{
    SetTextureFlag(video::ETCF_OPTIMIZED_FOR_QUALITY, enable);
}

bool CGraphicsEngine::GetTextureQualityOptimized() const
{
    return GetTextureFlag(video::ETCF_OPTIMIZED_FOR_QUALITY);
}

void CGraphicsEngine::SetTextureSpeedOptimized(bool enable)
{
    SetTextureFlag(video::ETCF_OPTIMIZED_FOR_SPEED, enable);
}

bool CGraphicsEngine::GetTextureSpeedOptimized() const
{
    return GetTextureFlag(video::ETCF_OPTIMIZED_FOR_SPEED);
}

void CGraphicsEngine::SetTextureMipMapping(bool enable)
{
    SetTextureFlag(video::ETCF_CREATE_MIP_MAPS, enable);
}

bool CGraphicsEngine::GetTextureMipMapping() const
{
    return GetTextureFlag(video::ETCF_CREATE_MIP_MAPS);
}

std::wstring CGraphicsEngine::GetOperatingSystemVersion()
{
    RequireDevice(L"[CGraphicsEngine::GetOperatingSystemVersion] Graphics Engine not initialised");
    return Misc::Text::Utf8ToWide(Platform::GetOperatingSystemVersion());
}

uint32_t CGraphicsEngine::GetOperatingSystemMHz()
{
    RequireDevice(L"[CGraphicsEngine::GetOperatingSystemMHz] Graphics Engine not initialised");
    return Platform::GetProcessorSpeedMHz();
}

uint32_t CGraphicsEngine::GetOperatingSystemMemoryTotal()
{
    RequireDevice(L"[CGraphicsEngine::GetOperatingSystemMemoryTotal] Graphics Engine not initialised");
    return Platform::GetMemoryTotal();
}

uint32_t CGraphicsEngine::GetOperatingSystemMemoryFree()
{
    RequireDevice(L"[CGraphicsEngine::GetOperatingSystemMemoryFree] Graphics Engine not initialised");
    return Platform::GetMemoryFree();
}

namespace
{

// The mode an index names: past the last one the last; -1 without modes.
s32 ClampedMode(const video::IVideoModeList* modes, uint32_t index)
{
    const s32 count = modes->getVideoModeCount();
    if (count <= 0)
        return -1;
    return static_cast<s32>(std::min<uint32_t>(index, static_cast<uint32_t>(count - 1)));
}

} // namespace

uint32_t CGraphicsEngine::GetNumberOfVideoModes()
{
    RequireDevice(L"[CGraphicsEngine::GetNumberOfVideoModes] Graphics Engine not initialised");
    return static_cast<uint32_t>(std::max<s32>(m_device->getVideoModeList()->getVideoModeCount(), 0));
}

uint32_t CGraphicsEngine::GetVideoModeDepth(uint32_t index)
{
    RequireDevice(L"[CGraphicsEngine::GetVideoModeDepth] Graphics Engine not initialised");
    const video::IVideoModeList* modes = m_device->getVideoModeList();
    const s32 mode = ClampedMode(modes, index);
    return mode < 0 ? 0 : static_cast<uint32_t>(modes->getVideoModeDepth(mode));
}

uint32_t CGraphicsEngine::GetVideoModeWidth(uint32_t index)
{
    RequireDevice(L"[CGraphicsEngine::GetVideoModeWidth] Graphics Engine not initialised");
    const video::IVideoModeList* modes = m_device->getVideoModeList();
    const s32 mode = ClampedMode(modes, index);
    return mode < 0 ? 0 : modes->getVideoModeResolution(mode).Width;
}

uint32_t CGraphicsEngine::GetVideoModeHeight(uint32_t index)
{
    RequireDevice(L"[CGraphicsEngine::GetVideoModeHeight] Graphics Engine not initialised");
    const video::IVideoModeList* modes = m_device->getVideoModeList();
    const s32 mode = ClampedMode(modes, index);
    return mode < 0 ? 0 : modes->getVideoModeResolution(mode).Height;
}

bool CGraphicsEngine::QueryFeature(uint32_t feature)
{
    RequireDevice(L"[CGraphicsEngine::QueryFeature] Graphics Engine not initialised");
    // The drivers index their feature tables with the code unchecked.
    if (feature >= static_cast<uint32_t>(video::EVDF_COUNT))
        return false;
    return m_device->getVideoDriver()->queryFeature(static_cast<video::E_VIDEO_DRIVER_FEATURE>(feature));
}

} // namespace Graphics
