// Resource numbers of the skin engine library and the skin image that brinkvale.exe carries.
#pragma once

#define IDR_SKIN_LIBRARY 201
#define IDR_SKIN_IMAGE 202
