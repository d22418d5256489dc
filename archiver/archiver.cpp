#include "archiver/archiver.h"
bool IsWinRarInstalled() { return false; }
bool Is360ZipInstalled() { return false; }
ArchiverResult CompressFolder(const Text&, const Text&) { return {}; }
ArchiverResult ExtractArchive(const Text&, Text&) { return {}; }
