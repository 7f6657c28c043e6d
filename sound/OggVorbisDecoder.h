#pragma once

// Glue between libvorbisfile and the engine's files: the I/O callbacks that
// let the decoder read a file of the engine's file system, and the decode
// loop that fills a buffer with 16-bit samples for OpenAL.

#include "sound/VorbisLibrary.h"

#include <cstddef>

class IFile;

// The callbacks take the file (an IFile*) as their data source.
// Reads count items of size bytes; returns the whole items read.
size_t OggReadCallback(void* buffer, size_t size, size_t count, void* source);
// Moves to offset from the start (origin 0), the position (1) or the end
// (2); 0 on success, -1 when the target lies outside the file.
int OggSeekCallback(void* source, ogg_int64_t offset, int origin);
// Leaves the file open: the sound that opened it deletes it.
int OggCloseCallback(void* source);
long OggTellCallback(void* source);

// The four callbacks for ov_open_callbacks.
ov_callbacks OggFileCallbacks();

// Decodes up to size bytes of little-endian signed 16-bit samples into the
// buffer through the loaded library; returns the bytes decoded, 0 at the end
// of the stream (or on a decoder error). Six-channel frames come out in
// OpenAL's order: front left, front right, centre, low frequency, rear left,
// rear right.
int DecodeOggVorbis(OggVorbis_File* record, char* buffer, int size, int channels);
