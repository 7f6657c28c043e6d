#pragma once

// The Ogg Vorbis decoder library (libvorbisfile), loaded by name at run time
// so the engine starts without it. Its entry points are process-wide: filled
// by LoadVorbisLibrary, cleared by FreeVorbisLibrary.

#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

struct SVorbisFunctions
{
    decltype(&::ov_clear) ov_clear = nullptr;
    decltype(&::ov_read) ov_read = nullptr;
    decltype(&::ov_pcm_total) ov_pcm_total = nullptr;
    decltype(&::ov_info) ov_info = nullptr;
    decltype(&::ov_comment) ov_comment = nullptr;
    decltype(&::ov_open_callbacks) ov_open_callbacks = nullptr;
    decltype(&::ov_pcm_seek) ov_pcm_seek = nullptr;
    decltype(&::ov_raw_total) ov_raw_total = nullptr;
};

// The library's file name on this system.
constexpr const char* kVorbisLibraryName = "libvorbisfile.so.3";

// Loads the library (kVorbisLibraryName without a name) and resolves its
// entry points; true at once when it is loaded already. A library that
// cannot be loaded, or lacks an entry point, is reported on standard error,
// left unloaded and its entry points stay null: the call is false and a
// later call tries again.
bool LoadVorbisLibrary(const char* libraryName = nullptr);
// Unloads the library and clears the entry points.
void FreeVorbisLibrary();
bool IsVorbisLibraryLoaded();
// The entry points; all null while the library is not loaded.
const SVorbisFunctions& VorbisFunctions();
