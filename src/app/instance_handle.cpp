#include "app/process_globals.h"

HINSTANCE instanceHandle = nullptr;
