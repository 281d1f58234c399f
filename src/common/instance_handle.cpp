#include "common/process_globals.h"

HINSTANCE instanceHandle = nullptr;
