#pragma once

namespace irr::video
{
class IImage;
class IVideoDriver;
} // namespace irr::video

namespace Graphics
{

// Reads the last drawn frame of an OpenGL device. Irrlicht's own screen
// shot reads the front buffer, which a double-buffered window under Mesa
// (and many other drivers) never shows to the program: it reads black. The
// drawn frame is in the back buffer, both while a frame is drawn and, after
// the copying swap of a window, until the next frame clears it.
class COpenGlFrameReader
{
public:
    // A new image of the window's size (the caller drops it), top row
    // first; null when the driver is no OpenGL driver or the read fails.
    static irr::video::IImage* Read(irr::video::IVideoDriver* driver);
};

} // namespace Graphics
