#pragma once

// The way to the process's key map for code that needs the keys and nothing
// else of the GUI (the camera module, IKey): the manager's face is not
// needed for it.

namespace Graphics::GUI
{

class CGuiManager;
class CInputKeyMap;

/// The key map the GUI manager keeps: owned by the manager and valid as long
/// as it lives (its bindings outlast devices and GUIs; the held and toggled
/// states start afresh with every device).
CInputKeyMap& InputKeyMapOf(CGuiManager& manager);

} // namespace Graphics::GUI
