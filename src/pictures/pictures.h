#pragma once
#include <windows.h>

#include <array>
#include <string>

#include "common/owned_handle.h"

// The two keyboard pictures of one geometry: slot 0 shows every key released, slot 1 every key
// pressed. A held key's state value (1) is the slot that its pixels come from.
using ImagePair = std::array<GdiObjectHandle, 2>;
constexpr unsigned BasePictureSlot = 0;
constexpr unsigned PressedPictureSlot = 1;

extern ImagePair imagePair;
// The base picture's size at the display scale, 0 until it loads; the window's client area is made
// this size.
extern int baseWidth;
extern int baseHeight;

// Loads the built-in base picture at the display scale into slot 0 and takes its size; false when
// it does not load.
bool loadBasePicture();
// Loads the user's bitmap file `name` into slot 1 when useCustom is set and the name is not empty,
// and the built-in pressed picture when that is not asked for or does not load; both at the display
// scale. Relative names are found in the current directory, which is the program's directory by then.
void loadPressedPicture(bool useCustom, const std::string& name);
// The display scale changed: both pictures again, at the new scale, from where they came from.
void reloadPictures();
