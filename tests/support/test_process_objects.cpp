// The process-wide objects that the program's own start-up defines, here in plain form, so that
// tests create what they need themselves and nothing is bound or written back at exit.
#include <string>

#include "common/process_globals.h"
#include "pictures/pictures.h"

HWND mainWindow = nullptr;
std::string CustomImageName;
ImagePair imagePair;
