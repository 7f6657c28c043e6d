#pragma once

// File and folder dialogs. They run zenity (with an argument vector, never a
// shell) when it is on the PATH and a display exists (DISPLAY or
// WAYLAND_DISPLAY set and not empty); otherwise every dialog counts as
// cancelled. Texts and paths are UTF-8.

#include <string>
#include <vector>

namespace Platform
{

// One entry of a dialog's type list: "Images" with "*.png" and "*.jpg".
struct SFileFilter
{
    std::string description;
    std::vector<std::string> patterns;
};

struct SFileDialog
{
    std::string title;                // none when empty
    std::string folder;               // where the dialog starts; none when empty
    std::vector<SFileFilter> filters; // the first is the one selected at first
};

// Whether dialogs can be shown at all.
bool AreFileDialogsAvailable();

// Lets the user choose an existing file (with multiple, one or more); the
// full paths go to chosen. False when cancelled.
bool ShowOpenFileDialog(const SFileDialog& dialog, bool multiple, std::vector<std::string>& chosen);

// Lets the user choose a file to write, asking before an existing one is
// replaced. False when cancelled.
bool ShowSaveFileDialog(const SFileDialog& dialog, std::string& chosen);

// Lets the user choose a folder (with includeFiles, a file instead) below
// or at the root folder. False when cancelled.
bool ShowFolderDialog(const std::string& title, const std::string& root, bool includeFiles,
                      std::string& chosen);

} // namespace Platform
