#include "platform/core/IniFiles.h"
