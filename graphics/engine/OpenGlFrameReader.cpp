#include "graphics/engine/OpenGlFrameReader.h"

#include <GL/gl.h>
#include <irrlicht.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace Graphics
{

using namespace irr;

video::IImage* COpenGlFrameReader::Read(video::IVideoDriver* driver)
{
    if (driver == nullptr || driver->getDriverType() != video::EDT_OPENGL)
        return nullptr;
    // The window's size: the render target may be a texture just now.
    const core::dimension2d<u32> size = driver->getScreenSize();
    if (size.Width == 0 || size.Height == 0)
        return nullptr;

    GLint readBuffer = GL_BACK;
    GLint packAlignment = 4;
    glGetIntegerv(GL_READ_BUFFER, &readBuffer);
    glGetIntegerv(GL_PACK_ALIGNMENT, &packAlignment);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    while (glGetError() != GL_NO_ERROR)
    {
    }
    // B, G, R, A bytes are A8R8G8B8 words on this little-endian machine.
    const size_t rowBytes = static_cast<size_t>(size.Width) * 4;
    std::vector<uint8_t> pixels(rowBytes * size.Height);
    glReadPixels(0, 0, static_cast<GLsizei>(size.Width), static_cast<GLsizei>(size.Height), GL_BGRA,
                 GL_UNSIGNED_BYTE, pixels.data());
    const bool failed = glGetError() != GL_NO_ERROR;
    glPixelStorei(GL_PACK_ALIGNMENT, packAlignment);
    glReadBuffer(static_cast<GLenum>(readBuffer));
    if (failed)
        return nullptr;

    video::IImage* image = driver->createImage(video::ECF_A8R8G8B8, size);
    if (image == nullptr)
        return nullptr;
    auto* target = static_cast<uint8_t*>(image->lock());
    const u32 pitch = image->getPitch();
    // OpenGL's rows go bottom up; a window's alpha means nothing on screen.
    for (u32 y = 0; y < size.Height; ++y)
    {
        uint8_t* row = target + static_cast<size_t>(y) * pitch;
        std::memcpy(row, pixels.data() + (size.Height - 1 - y) * rowBytes, rowBytes);
        for (u32 x = 0; x < size.Width; ++x)
            row[x * 4 + 3] = 0xff;
    }
    image->unlock();
    return image;
}

} // namespace Graphics
