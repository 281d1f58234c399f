#include "display/pictures.h"

#include "app/process_globals.h"
#include "display/bitmap_file.h"
#include "resource_ids.h"

int baseWidth;
int baseHeight;

namespace {

HANDLE loadResourcePicture(int id)
{
    return LoadImageA(instanceHandle, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR);
}

} // namespace

bool loadBasePicture()
{
    HANDLE picture = loadResourcePicture(IDB_BASE);
    if (!picture)
        return false;
    imagePair[BasePictureSlot].attach(picture);
    BITMAP description{};
    GetObjectA(picture, sizeof description, &description);
    baseWidth = description.bmWidth;
    baseHeight = description.bmHeight;
    return true;
}

void loadPressedPicture(bool useCustom, const std::string& name)
{
    HANDLE picture = nullptr;
    if (useCustom && !name.empty() && isWholeBitmapFile(name))
        picture = LoadImageA(nullptr, name.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    if (!picture)
        picture = loadResourcePicture(IDB_PRESSED);
    if (picture)
        imagePair[PressedPictureSlot].attach(picture);
}
