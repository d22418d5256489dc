// The program's start and its two modes: the shared state made and released, the window loaded,
// and the creation event that restores a file given on the command line or fills the window.
#pragma once

int StartUp();  // 0, once the message loop has ended
void InitGlobals();
void ReleaseGlobals();
void OnMainWindowCreated();
