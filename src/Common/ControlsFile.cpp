#include "Common/ControlsFile.h"

#include "Common/Gamepad.h"
#include "Common/KeyBindings.h"
#include "Common/ParameterFile.h"

void read_controls(const char* path)
{
    ParameterFile file(path);
    use_key_bindings(read_key_bindings(file));
    pad_mapping = read_pad_mapping(file);
    open_first_pad();
}
