// Data blocks that the executable carries as resources (the skin engine library and its image).
#pragma once
#include "sys/sys_text.h"

// The RCDATA resource with that number in the executable; empty (no data, size 0) when missing.
ByteBlock LoadEmbeddedBlock(int id);
