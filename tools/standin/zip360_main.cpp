// A stand-in for 360zip.exe that knows only the packing and unpacking lines Brinkvale gives it.
#include "standin_command.h"

int main()
{
    const std::vector<CommandForm> forms = {
        {" -ar \"\x01\" \"\x01\"", true},
        {" -x \"\x01\" \"\x01\"", false},
    };
    return RunStandIn(forms, 0, 1, "360zip");
}
