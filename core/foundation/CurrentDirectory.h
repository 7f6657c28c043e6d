#pragma once

#include <string>

// Changes the process's current directory, optionally restoring the earlier
// one when the object is destroyed.
class CCurrentDirectory
{
public:
    // With restore on, the current directory is saved first; then the path
    // (when not empty) becomes the current directory.
    explicit CCurrentDirectory(const std::wstring& path = std::wstring(), bool restore = false);
    CCurrentDirectory(const CCurrentDirectory&) = delete;
    CCurrentDirectory& operator=(const CCurrentDirectory&) = delete;
    virtual ~CCurrentDirectory();

    // Makes the path (when not empty) the current directory; returns whether
    // it changed. The cached copy is refreshed either way.
    bool Set(const std::wstring& path);
    // The process's current directory ("/" separators).
    const std::wstring& Get();

private:
    void Refresh();

    std::wstring m_saved;
    std::wstring m_current;
    bool m_restore;
};
