#pragma once

#include <memory>
#include <string>

namespace irr::io
{
class IFileSystem;
class IFileArchive;
} // namespace irr::io

namespace Graphics
{

// For its lifetime, bytes stand in for the file of one name in Irrlicht's
// file system: an archive put in front of all others serves them under
// that name (UTF-8, as Irrlicht asks for it). The engine hands Irrlicht a
// description it has checked and rewritten in place of the file itself.
class CFileStandIn
{
public:
    CFileStandIn(irr::io::IFileSystem* files, const std::string& name, std::string bytes);
    ~CFileStandIn();
    CFileStandIn(const CFileStandIn&) = delete;
    CFileStandIn& operator=(const CFileStandIn&) = delete;

private:
    irr::io::IFileSystem* m_files;
    irr::io::IFileArchive* m_archive;
};

} // namespace Graphics
