#include "app/meshreader/ReaderArchive.h"

#include "irrlicht/BytesFile.h"
#include "irrlicht/MeshReaderProtocol.h"
#include "irrlicht/MeshWire.h"

#include <irrlicht.h>

namespace MeshReader
{

using namespace irr;
namespace Protocol = Graphics::MeshReaderProtocol;

namespace
{

// A file's bytes, answered by the engine.
constexpr size_t kMaxAnswer = 80u * 1024 * 1024;

} // namespace

s32 CReaderArchive::Lookup(const io::path& name) const
{
    for (size_t index = 0; index < m_files.size(); ++index)
    {
        if (m_files[index].name == name)
            return m_files[index].present ? static_cast<s32>(index) : -1;
    }
    // No file of the engine has an empty name: not worth a question.
    if (m_broken || name.empty())
        return -1;
    Graphics::CWireWriter query;
    query.Text(name.c_str());
    uint32_t tag = 0;
    std::string_view answer;
    if (!m_channel.Send(Protocol::kQuery, query.Bytes()) ||
        !m_channel.Receive(tag, m_answers, answer, kMaxAnswer) || tag != Protocol::kAnswer || answer.empty())
    {
        m_broken = true;
        return -1;
    }
    const uint8_t status = static_cast<uint8_t>(answer[0]);
    SFile file{name, status == Protocol::kImage || status == Protocol::kBytes,
               status == Protocol::kBytes ? std::string(answer.substr(1)) : std::string()};
    m_files.push_back(std::move(file));
    return m_files.back().present ? static_cast<s32>(m_files.size() - 1) : -1;
}

io::IReadFile* CReaderArchive::createAndOpenFile(const io::path& filename)
{
    const s32 index = Lookup(filename);
    return index >= 0 ? createAndOpenFile(static_cast<u32>(index)) : nullptr;
}

io::IReadFile* CReaderArchive::createAndOpenFile(u32 index)
{
    if (index >= m_files.size() || !m_files[index].present)
        return nullptr;
    return new Graphics::CBytesFile(m_files[index].name, m_files[index].bytes);
}

const io::path& CReaderArchive::getFileName(u32 index) const
{
    return index < m_files.size() ? m_files[index].name : m_noPath;
}

u32 CReaderArchive::getFileSize(u32 index) const
{
    return index < m_files.size() ? static_cast<u32>(m_files[index].bytes.size()) : 0;
}

s32 CReaderArchive::findFile(const io::path& filename, bool isFolder) const
{
    return isFolder ? -1 : Lookup(filename);
}

} // namespace MeshReader
