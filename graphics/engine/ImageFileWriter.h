#pragma once

#include <cstdint>
#include <string>

namespace irr::video
{
class IImage;
class IVideoDriver;
} // namespace irr::video

namespace Graphics
{

// Writes images to files whole or not at all: Irrlicht's writer for the
// file's extension writes into a CSaveFile, which replaces the file only
// when every byte was written. A failed write leaves the old file as it
// was; a target that is no regular file (a device, a FIFO) is refused.
class CImageFileWriter
{
public:
    // parameter: the writer's quality setting (JPEG).
    static bool Write(irr::video::IVideoDriver* driver, irr::video::IImage* image, const std::wstring& path,
                      uint32_t parameter);
};

} // namespace Graphics
