#include "ops/unpacking_name.h"

// The text in front of the file name's extension: the whole path when the name has no ".".
static Text StemOf(const Text& path)
{
    int nameStart = FindTextReverse(path, "\\") + 1;  // 0 when there is no folder part
    int dot = FindTextReverse(path, ".");
    if (dot > nameStart) return LeftText(path, dot - 1);
    return path;
}

Text UnpackingName(const Text& path)
{
    return JoinTexts(StemOf(path), ".zip");
}

Text AlternativeUnpackingName(const Text& path, int n)
{
    return JoinTexts(StemOf(path), "~", std::to_string(n), ".zip");
}
