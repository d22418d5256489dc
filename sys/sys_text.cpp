#include "sys/sys_text.h"
