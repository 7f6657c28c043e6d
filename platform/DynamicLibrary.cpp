#include "platform/DynamicLibrary.h"

#include <dlfcn.h>
#include <utility>

namespace Platform
{

namespace
{

std::string LastError(const char* fallback)
{
    const char* error = ::dlerror();
    return error != nullptr ? error : fallback;
}

} // namespace

CDynamicLibrary::CDynamicLibrary(CDynamicLibrary&& other) noexcept
    : m_handle(std::exchange(other.m_handle, nullptr)), m_error(std::move(other.m_error))
{
}

CDynamicLibrary& CDynamicLibrary::operator=(CDynamicLibrary&& other) noexcept
{
    if (this != &other)
    {
        Close();
        m_handle = std::exchange(other.m_handle, nullptr);
        m_error = std::move(other.m_error);
    }
    return *this;
}

CDynamicLibrary::~CDynamicLibrary()
{
    Close();
}

bool CDynamicLibrary::Open(const std::string& name)
{
    Close();
    m_error.clear();
    m_handle = ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (m_handle == nullptr)
        m_error = LastError("cannot load library");
    return m_handle != nullptr;
}

void CDynamicLibrary::Close()
{
    if (m_handle != nullptr)
    {
        ::dlclose(m_handle);
        m_handle = nullptr;
    }
}

void* CDynamicLibrary::GetSymbol(const char* name)
{
    if (m_handle == nullptr || name == nullptr)
    {
        m_error = "library not loaded";
        return nullptr;
    }
    ::dlerror(); // a symbol's value may legitimately be null: clear first
    void* symbol = ::dlsym(m_handle, name);
    if (symbol == nullptr)
        m_error = LastError("symbol not found");
    return symbol;
}

} // namespace Platform
