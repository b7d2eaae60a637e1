/* The calling contract of the outside 8BF host library: the entry points
   the program binds by name and the callbacks it hands over. Plain C, so
   that a host written in C shares the very same declarations. Strings the
   program passes are UTF-16, category and plug-in names come back as 8-bit
   text in the system code page, every result is a 32-bit integer (0 means
   success where one is read). */
#ifndef LUMA_PLG8BF_HOST_API_H
#define LUMA_PLG8BF_HOST_API_H

#include <stdint.h>
#ifndef __cplusplus
#include <uchar.h>
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* One plug-in found: its category (may be null), name, an argument not
   read, and its file. */
typedef void (*T8bfEnumCallback)(const char* Category, const char* Name, const void* Unused, const char16_t* FileName);
/* Progress of a run: the low byte of the result is 1 to go on, 0 to stop. */
typedef int32_t (*T8bfProgressCallback)(uint32_t Done, uint32_t Total);
/* The program's colour dialog: -1 with *Color = 0x00RRGGBB when the user
   chose one, 0 (and *Color unchanged) when cancelled. */
typedef int32_t (*T8bfColorPickerCallback)(int32_t* Color);

/* The thirteen entry points, in the order they are bound. Those marked
   "bound only" are looked up, so that an incomplete host is refused, but
   never called. */
typedef int32_t (*T8bfGetVersion)(void); /* bound only */
typedef int32_t (*T8bfSetPath)(const char16_t* Folder);
typedef int32_t (*T8bfPlugInEnumerate)(T8bfEnumCallback Callback, int32_t Flag);
typedef int32_t (*T8bfSetRoi)(void); /* bound only */
/* 0: rows top-down from Data; 1: bottom-up, Data being the bottom row's. */
typedef int32_t (*T8bfSetImageOrientation)(int32_t Orientation);
/* B, G, R (and A with HasAlpha 1) per pixel, Stride bytes from one row to
   the next; the last two arguments are always null and 0. */
typedef int32_t (*T8bfSetImage)(int32_t HasAlpha, int32_t Width, int32_t Height, void* Data, int32_t Stride,
                                void* Mask, int32_t MaskStride);
typedef int32_t (*T8bfSetMask)(void);           /* bound only */
typedef int32_t (*T8bfReleaseAllImages)(void);  /* bound only */
typedef int32_t (*T8bfSetProgressCallBack)(T8bfProgressCallback Callback);
typedef int32_t (*T8bfSetColorPickerCallBack)(T8bfColorPickerCallback Callback);
typedef int32_t (*T8bfPlugInLoad)(const char16_t* FileName);
typedef int32_t (*T8bfPlugInAbout)(void); /* bound only */
typedef int32_t (*T8bfPlugInExecute)(void* Window);

#ifdef __cplusplus
}
#endif

#endif
