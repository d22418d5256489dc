// The small links box of the window: two labelled links to the project's own pages, blue,
// underlined under the mouse, opened by the shell or else by the ".htm" handler's command.
#pragma once
#include <windows.h>
#include "sys/sys_text.h"

extern const char* const kHomePageLink;      // "访问官网"
extern const char* const kPersonalPageLink;  // "空间"

HWND CreateLinksBox(HWND parent, int id, int left, int top, int width, int height);

// The browser command for a link from the ".htm" handler's open command: cut at its first
// "\"%1\"", else at its first "%1", then a space and the target.
Text BrowserCommandLine(const Text& openCommand, const Text& target);

void OpenLink(const Text& target);
