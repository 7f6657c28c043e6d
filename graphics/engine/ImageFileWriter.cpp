#include "graphics/engine/ImageFileWriter.h"

#include "core/io/SaveFile.h"
#include "irrlicht/IrrlichtFile.h"

#include <IVideoDriver.h>

namespace Graphics
{

bool CImageFileWriter::Write(irr::video::IVideoDriver* driver, irr::video::IImage* image,
                             const std::wstring& path, uint32_t parameter)
{
    if (driver == nullptr || image == nullptr)
        return false;
    CFilePtr file(new CSaveFile(path));
    auto* save = static_cast<CSaveFile*>(file.get());
    if (!save->IsOk())
        return false;
    // The writer is chosen by the target's name, which the save file keeps.
    auto* adapted = new CIrrlichtFile(save);
    const bool written = driver->writeImageToFile(image, adapted, parameter);
    adapted->drop();
    return written && save->Commit();
}

} // namespace Graphics
