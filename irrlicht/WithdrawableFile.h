#pragma once

#include <IReadFile.h>

namespace Graphics
{

// A read file that can be withdrawn from whoever tries it next. Irrlicht
// offers a file that one image loader refused to every other loader that
// claims its name or its first bytes; the engine's image gate withdraws a
// file it refuses, so that the loaders after it find a nameless, empty
// file and leave it alone. Until then every call goes to the wrapped file.
class CWithdrawableFile : public irr::io::IReadFile
{
public:
    // Holds the file (which may be null: then the wrapper is withdrawn).
    explicit CWithdrawableFile(irr::io::IReadFile* file);
    ~CWithdrawableFile() override;
    CWithdrawableFile(const CWithdrawableFile&) = delete;
    CWithdrawableFile& operator=(const CWithdrawableFile&) = delete;

    // The file in a wrapper of its own, or null for null; the caller drops
    // the wrapper. A file that is already a wrapper is returned grabbed.
    static CWithdrawableFile* Wrap(irr::io::IReadFile* file);

    void Withdraw() { m_withdrawn = true; }
    bool IsWithdrawn() const { return m_withdrawn; }

    // Withdrawn: reads fill the buffer with zeros and return 0.
    irr::s32 read(void* buffer, irr::u32 sizeToRead) override;
    bool seek(long finalPos, bool relativeMovement = false) override;
    long getSize() const override;
    long getPos() const override;
    const irr::io::path& getFileName() const override;

private:
    irr::io::IReadFile* m_file;
    bool m_withdrawn;
    irr::io::path m_noName;
};

} // namespace Graphics
