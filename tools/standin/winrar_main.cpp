// A stand-in for WinRAR.exe that knows only the packing and unpacking lines Brinkvale gives it.
#include "standin_command.h"

int main()
{
    const std::vector<CommandForm> forms = {
        {" a -ep1 -r -iext -- \"\x01\" \"\x01\"", true},
        {" x -iext -ow -ver -- \"\x01\" \"\x01\"", false},
    };
    return RunStandIn(forms, 1, 0, "WinRAR");
}
