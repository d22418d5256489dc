#include "shell/file_type.h"
void RegisterFileType(const Text&, const Text&, const Text&, const Text&, const Text&) {}
