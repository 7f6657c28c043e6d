#include "sound/VorbisLibrary.h"

#include "platform/DynamicLibrary.h"
#include "sound/LibraryReport.h"

#include <mutex>

namespace
{

struct SVorbisLibrary
{
    std::mutex lock;
    Platform::CDynamicLibrary library;
    SVorbisFunctions functions;
};

SVorbisLibrary& Library()
{
    static SVorbisLibrary library;
    return library;
}

// Resolves one entry point; false (reported) when the library lacks it.
template <typename Function>
bool Resolve(Platform::CDynamicLibrary& library, const char* name, Function& target)
{
    target = reinterpret_cast<Function>(library.GetSymbol(name));
    if (target != nullptr)
        return true;
    Sound::ReportLibraryProblem(Sound::MissingEntryPointLine(name));
    return false;
}

} // namespace

bool LoadVorbisLibrary(const char* libraryName)
{
    SVorbisLibrary& state = Library();
    std::lock_guard<std::mutex> hold(state.lock);
    if (state.library.IsOpen())
        return true;

    const std::string name = libraryName != nullptr ? libraryName : kVorbisLibraryName;
    if (!state.library.Open(name))
    {
        Sound::ReportLibraryProblem("Failed to load '" + name + "': " + state.library.GetError() + "\n");
        return false;
    }

    SVorbisFunctions functions;
    const bool complete = Resolve(state.library, "ov_clear", functions.ov_clear) &&
                          Resolve(state.library, "ov_read", functions.ov_read) &&
                          Resolve(state.library, "ov_pcm_total", functions.ov_pcm_total) &&
                          Resolve(state.library, "ov_info", functions.ov_info) &&
                          Resolve(state.library, "ov_comment", functions.ov_comment) &&
                          Resolve(state.library, "ov_open_callbacks", functions.ov_open_callbacks) &&
                          Resolve(state.library, "ov_pcm_seek", functions.ov_pcm_seek) &&
                          Resolve(state.library, "ov_raw_total", functions.ov_raw_total);
    if (!complete)
    {
        // An incomplete library is never called: unload it, so that the
        // next call does not take it for a loaded one.
        state.library.Close();
        return false;
    }
    state.functions = functions;
    return true;
}

void FreeVorbisLibrary()
{
    SVorbisLibrary& state = Library();
    std::lock_guard<std::mutex> hold(state.lock);
    state.functions = SVorbisFunctions();
    state.library.Close();
}

bool IsVorbisLibraryLoaded()
{
    SVorbisLibrary& state = Library();
    std::lock_guard<std::mutex> hold(state.lock);
    return state.library.IsOpen();
}

const SVorbisFunctions& VorbisFunctions()
{
    return Library().functions;
}
