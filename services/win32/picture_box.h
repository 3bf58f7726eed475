// Picture boxes: a PNG picture from the program's resources, drawn at its
// natural size from the top-left corner and cut off where it does not fit.
// The picture is decoded when its box is created.
#pragma once

#include <windows.h>

#include "services/window_definition.h"

extern const wchar_t kPictureClass[];

void registerPictureClass();
// The creation parameter of a box that shows this picture.
void* pictureCreationData(PictureId picture);
