#include "sound/OggVorbisDecoder.h"

#include "core/io/File.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>

size_t OggReadCallback(void* buffer, size_t size, size_t count, void* source)
{
    IFile* file = static_cast<IFile*>(source);
    if (file == nullptr || buffer == nullptr || size == 0 || count == 0)
        return 0;
    // Never more than one read of the file can hand back.
    const size_t items = std::min<size_t>(count, size_t(INT_MAX) / size);
    const int32_t read = file->read(buffer, static_cast<uint32_t>(items * size));
    if (read <= 0)
    {
        // The decoder takes 0 with errno set for a read error, without it
        // for the end of the file.
        errno = file->IsOk() ? 0 : EIO;
        return 0;
    }
    return static_cast<size_t>(read) / size;
}

int OggSeekCallback(void* source, ogg_int64_t offset, int origin)
{
    IFile* file = static_cast<IFile*>(source);
    if (file == nullptr)
        return -1;
    int64_t base = 0;
    if (origin == SEEK_CUR)
        base = file->getPos();
    else if (origin == SEEK_END)
        base = file->getSize();
    const int64_t size = file->getSize();
    // Checked before adding: a hostile offset must not wrap around.
    if (offset < -base || offset > size - base)
        return -1;
    return file->seek(static_cast<long>(base + offset)) ? 0 : -1;
}

int OggCloseCallback(void* /*source*/)
{
    return 0;
}

long OggTellCallback(void* source)
{
    const IFile* file = static_cast<const IFile*>(source);
    return file != nullptr ? file->getPos() : -1;
}

ov_callbacks OggFileCallbacks()
{
    ov_callbacks callbacks;
    callbacks.read_func = OggReadCallback;
    callbacks.seek_func = OggSeekCallback;
    callbacks.close_func = OggCloseCallback;
    callbacks.tell_func = OggTellCallback;
    return callbacks;
}

int DecodeOggVorbis(OggVorbis_File* record, char* buffer, int size, int channels)
{
    const SVorbisFunctions& vorbis = VorbisFunctions();
    if (record == nullptr || buffer == nullptr || size <= 0 || vorbis.ov_read == nullptr)
        return 0;

    int done = 0;
    while (done < size)
    {
        int section = 0;
        const long read = vorbis.ov_read(record, buffer + done, size - done, 0, 2, 1, &section);
        if (read <= 0)
            break;
        // A chained stream may go on with another channel count, which the
        // buffer was not made for: decoding ends at such a link, and what
        // was read of it is dropped.
        const vorbis_info* info = vorbis.ov_info != nullptr ? vorbis.ov_info(record, section) : nullptr;
        if (info == nullptr || info->channels != channels)
            break;
        done += static_cast<int>(read);
    }

    // Vorbis orders six channels front left, centre, front right, rear left,
    // rear right, low frequency. Only whole decoded frames are reordered:
    // nothing past what was decoded, nothing past the buffer.
    if (channels == 6)
    {
        int16_t frame[6];
        const int frameBytes = static_cast<int>(sizeof frame);
        for (int offset = 0; offset + frameBytes <= done; offset += frameBytes)
        {
            std::memcpy(frame, buffer + offset, sizeof frame);
            const int16_t ordered[6] = {frame[0], frame[2], frame[1], frame[5], frame[3], frame[4]};
            std::memcpy(buffer + offset, ordered, sizeof ordered);
        }
    }
    return done;
}
