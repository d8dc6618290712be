// Appends icon resources to an image list straight from their images, in
// one step, instead of making an icon handle per resource: LoadIcon and
// ImageList_ReplaceIcon cost over two milliseconds an icon under Wine, which
// made up nearly all of the program's start-up.
#pragma once

#include <windows.h>
#include <commctrl.h>

// Appends the icon groups ids[0..count) of inst to list, in that order, with
// the picture LoadIcon and ImageList_ReplaceIcon would give each: the
// group's image that suits the screen at 32 x 32, under its mask. Returns
// false, leaving the list as it was, when a group is missing or its image is
// not one it can draw unchanged (another size, compression, an alpha
// channel); the caller then takes the slow way.
bool AppendIconResources(HIMAGELIST list, HINSTANCE inst, const UINT* ids, int count);
