// Registration of the standard control classes ("Button", "Static", "Edit",
// "ListBox", "ComboBox", "ComboLBox", "SysHeader32").
#pragma once

namespace platform::controls {

// Registers every standard class not registered yet. Cheap to call again.
void RegisterStandardControls();

// True when name (any case) is one of the standard class names.
bool IsStandardClassName(const char* name);

}  // namespace platform::controls
