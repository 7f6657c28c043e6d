#pragma once

// A shared library loaded at run time (dlopen), closed when the object goes.

#include <string>

namespace Platform
{

class CDynamicLibrary
{
public:
    CDynamicLibrary() = default;
    CDynamicLibrary(const CDynamicLibrary&) = delete;
    CDynamicLibrary& operator=(const CDynamicLibrary&) = delete;
    CDynamicLibrary(CDynamicLibrary&& other) noexcept;
    CDynamicLibrary& operator=(CDynamicLibrary&& other) noexcept;
    ~CDynamicLibrary();

    // Loads the library by file name (searched the system's way) or path,
    // closing any library opened before; false on failure (see GetError).
    bool Open(const std::string& name);
    void Close();
    bool IsOpen() const { return m_handle != nullptr; }

    // The address of the exported symbol, or null (see GetError).
    void* GetSymbol(const char* name);
    // The system's description of the last failure.
    const std::string& GetError() const { return m_error; }

private:
    void* m_handle = nullptr;
    std::string m_error;
};

} // namespace Platform
