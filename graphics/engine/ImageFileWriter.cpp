#include "graphics/engine/ImageFileWriter.h"

#include "core/io/SaveFile.h"

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
    // The writer is chosen by the target's name, which the save file keeps.
    return save->IsOk() &&
           driver->writeImageToFile(image, static_cast<irr::io::IWriteFile*>(save), parameter) &&
           save->Commit();
}

} // namespace Graphics
