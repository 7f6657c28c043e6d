#include "core/io/TextFile.h"

#include "core/foundation/KVOError.h"
#include "core/io/File.h"

CTextFile::~CTextFile()
{
    Close();
}

int CTextFile::Open(IFile* file, int mode, uint32_t encoding, int bufferSize, bool ownFile)
{
    if (!file)
        throw Misc::Error::CKVOError(L"[CTextFile::Open] Invalid input file handle");
    if (m_file)
        throw Misc::Error::CKVOError::Format(L"[CTextFile::Open]:%s, File handle already opened",
                                             m_file->GetFileNameW());
    if (mode != kModeRead && mode != kModeWrite)
        return -2;

    std::unique_ptr<CTextFileWriter> writer;
    if (mode == kModeWrite)
    {
        switch (encoding & 0xFF)
        {
        case kEncodingAnsi:
            writer = std::make_unique<CTextFileWriterAnsi>(file, bufferSize);
            break;
        case kEncodingUtf16LE:
            writer = std::make_unique<CTextFileWriterUTF16LE>(file, bufferSize);
            break;
        case kEncodingUtf16BE:
            writer = std::make_unique<CTextFileWriterUTF16BE>(file, bufferSize);
            break;
        case kEncodingUtf8:
            writer = std::make_unique<CTextFileWriterUTF8>(file, bufferSize);
            break;
        default:
            return -2;
        }
    }

    m_file = file;
    m_ownFile = ownFile;
    m_mode = mode;
    m_encoding = encoding;
    m_raw = false;
    if (mode == kModeWrite)
    {
        m_writer = std::move(writer);
        if (m_writer->WriteBom() != 0)
            return -2;
        return 0;
    }
    try
    {
        SelectReader(bufferSize);
    }
    catch (const Misc::Error::CKVOError&)
    {
        // The caller keeps the file when the reader cannot be made.
        m_file = nullptr;
        m_ownFile = false;
        m_mode = 0;
        throw;
    }
    return 0;
}

void CTextFile::SelectReader(int bufferSize)
{
    const uint32_t flags = m_encoding & ~0xFFu;
    if ((m_encoding & 0xFF) == kEncodingAnsi)
    {
        m_reader = std::make_unique<CTextFileReaderAnsi>(m_file, bufferSize);
    }
    else
    {
        // Detection always starts at the beginning of the file.
        m_file->seek(0);
        uint8_t mark[3] = {};
        const int32_t got = m_file->read(mark, sizeof mark);
        if (got <= 0)
        {
            m_reader = std::make_unique<CTextFileReader>();
            m_encoding = flags | kEncodingAnsi;
        }
        else if (got >= 2 && mark[0] == 0xFF && mark[1] == 0xFE)
        {
            m_file->seek(2);
            m_reader = std::make_unique<CTextFileReaderUTF16LE>(m_file, bufferSize);
            m_encoding = flags | kEncodingUtf16LE;
        }
        else if (got >= 2 && mark[0] == 0xFE && mark[1] == 0xFF)
        {
            m_file->seek(2);
            m_reader = std::make_unique<CTextFileReaderUTF16BE>(m_file, bufferSize);
            m_encoding = flags | kEncodingUtf16BE;
        }
        else if (got == 3 && mark[0] == 0xEF && mark[1] == 0xBB && mark[2] == 0xBF)
        {
            m_reader = std::make_unique<CTextFileReaderUTF8>(m_file, bufferSize);
            m_encoding = flags | kEncodingUtf8;
        }
        else
        {
            m_file->seek(0);
            m_reader = std::make_unique<CTextFileReaderAnsi>(m_file, bufferSize);
            m_encoding = flags | kEncodingAnsi;
        }
    }
    m_reader->SetCodePage(m_codePage);
}

int CTextFile::Close()
{
    const int result = Flush();
    m_reader.reset();
    m_writer.reset();
    if (m_file && m_ownFile)
        m_file->drop();
    m_file = nullptr;
    m_ownFile = false;
    m_mode = 0;
    return result;
}

int CTextFile::ReadToken(std::wstring_view delimiters)
{
    if (!m_reader)
    {
        m_token.clear();
        return -1;
    }
    return m_reader->ReadToken(m_token, m_codePage, delimiters);
}

int CTextFile::ReadBytes(void* buffer, size_t count)
{
    return m_reader ? m_reader->ReadBytes(buffer, count) : -1;
}

int CTextFile::WriteText(std::wstring_view text)
{
    if (!m_writer)
        return -2;
    return m_writer->PutText(text, m_codePage, (m_encoding & kRawLineFeeds) == 0);
}

int CTextFile::WriteText(std::string_view text)
{
    if (!m_writer)
        return -2;
    return m_writer->PutText(text, m_codePage, (m_encoding & kRawLineFeeds) == 0);
}

int CTextFile::WriteTextAsIs(std::wstring_view text)
{
    if (!m_writer)
        return -2;
    return m_writer->PutText(text, m_codePage, false);
}

int CTextFile::WriteTextAsIs(std::string_view text)
{
    if (!m_writer)
        return -2;
    return m_writer->PutText(text, m_codePage, false);
}

int CTextFile::WriteChar(wchar_t c)
{
    if (c == L'\n')
        return WriteText(std::wstring_view(&c, 1));
    return m_writer ? m_writer->PutChar(c, m_codePage) : -2;
}

int CTextFile::WriteBytes(const void* bytes, size_t count)
{
    return m_writer ? m_writer->WriteBytes(bytes, count) : -2;
}

int CTextFile::Flush()
{
    if (m_mode != kModeWrite)
        return 0;
    return m_writer ? m_writer->Flush() : -2;
}

bool CTextFile::IsEnd()
{
    return !m_file || !m_reader || m_reader->IsEnd();
}

void CTextFile::SetCodePage(unsigned int codePage)
{
    m_codePage = codePage;
    if (m_reader)
        m_reader->SetCodePage(codePage);
}

void CTextFile::SetRaw(bool raw)
{
    m_raw = raw;
    if (m_reader)
        m_reader->SetRaw(raw);
}
