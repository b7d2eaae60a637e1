/* The binary interface between the editor and its module libraries (".lml"
 * shared objects): the exports a module offers, the header record it
 * returns, the host record of services the editor fills before a run, and
 * the bitmap record of the level-2 services. Plain C, so that a module can
 * be written in C or C++; every offset is checked below when compiled as
 * C++. Little-endian, 64-bit, the platform's C calling convention.
 *
 * Texts are UTF-16 (char16_t). A Boolean is an int32_t: the host answers -1
 * for true and 0 for false, and takes any non-zero value as true. Colours
 * are 0x00BBGGRR, 0x1FFFFFFF for no colour. A TPluginBitmap is a bitmap
 * object of the host, made by CreateDIB (the host refuses any other). */
#ifndef LUMA_MODULE_ABI_H
#define LUMA_MODULE_ABI_H

#include <stdint.h>
#ifdef __cplusplus
extern "C" {
#else
#include <uchar.h>
#endif

/* The module's kinds (TPluginHeader.PluginType). */
enum { ptFilter = 0, ptImage = 1, ptImport = 2, ptExport = 3, ptTool = 4 };

typedef struct TPluginHeader {
  char16_t Caption[64];  /* "name|command caption", 0-ended unless full */
  char16_t Version[64];  /* the about box shows its first number */
  int32_t PluginType;    /* ptFilter .. ptTool; any other keeps it out */
  char16_t Author[64];
  char16_t Comment[256];
  char16_t Reserved[256]; /* first unit 0 or '7', or the module is refused */
  int32_t Flags;          /* conditions enabling the command */
} TPluginHeader;

typedef struct TPluginRect {
  int32_t Left, Top, Right, Bottom; /* right and bottom exclusive */
} TPluginRect;

typedef struct TPluginPoint {
  int32_t X, Y;
} TPluginPoint;

typedef void* TPluginBitmap;

/* A 24-bit bitmap a module asks for (level 2): it sets Width and Height and
 * calls CreateDIB; DestroyDIB frees it. Pixels are blue, green, red; each row
 * is reached through GetDIBScanLine (row 0 the top). */
typedef struct TPluginDIB {
  int32_t Size; /* 56 */
  int32_t Width;
  int32_t Height;
  int32_t RowBytes; /* Width x 3 */
  int32_t Stride;   /* RowBytes raised to a multiple of 4 */
  int32_t BytesPerPixel;
  int32_t ImageSize; /* Stride x Height */
  int32_t Reserved;
  uint8_t* Bits; /* the row last asked for */
  TPluginBitmap Bitmap;
  void* Handle; /* no platform bitmap handle exists here: the object again */
} TPluginDIB;

/* The glyph a module may give for its menu item and toolbar button: 19 x 19
 * pixels, rows top-down of Stride bytes, blue, green, red; the pixel at
 * (18, 18) is the transparent colour. The memory stays the module's. */
typedef struct TPluginGlyph {
  int32_t Width;
  int32_t Height;
  int32_t Stride;
  int32_t Reserved;
  const uint8_t* Bits;
} TPluginGlyph;

typedef int32_t (*TEnumImageWindowsCallback)(const char16_t* FileName, int32_t Width, int32_t Height,
                                              int32_t ColorCount, int32_t TransparentColor);

/* The host record: the module owns it (at least 456 bytes) and returns it
 * from RegisterPluginStruct; the host writes the facts and the services of
 * the level RegisterCompatibility answers, and nothing else. */
typedef struct TPluginStruct {
  uint64_t MainWindow;
  int32_t ImageOpen;
  int32_t SelectionVisible;
  TPluginRect SelectionRect; /* the work rectangle */
  TPluginRect ImageRect;     /* 0, 0, width, height of the background */
  int32_t StyleEnabled;
  int32_t Reserved1;
  /* Level 1 (also for a level of 0 or less) */
  void (*BeginAction)(const char16_t* Msg, int32_t BusyCursor);
  void (*EndAction)(void);
  int32_t (*GetMergedImage)(TPluginBitmap Bitmap);
  int32_t (*SetBackgroundImage)(TPluginBitmap Bitmap);
  int32_t (*GetSelectionBitmap)(TPluginBitmap Bitmap);
  int32_t (*SetSelectionBitmap)(TPluginBitmap Bitmap, int32_t Mode);
  int32_t (*GetImageTransparentColor)(void);
  int32_t (*SetImageTransparentColor)(int32_t Color);
  int32_t (*GetImageColorCount)(void);
  int32_t (*SetImageColorCount)(int32_t Count);
  int32_t (*NewImageWindow)(TPluginBitmap Bitmap, const char16_t* FileName, int32_t Kind, int32_t NbColors,
                            int32_t TransparentColor);
  void (*ShowModuleForm)(void* Form, int32_t Mode, int32_t Center, int32_t Wait);
  int32_t (*FadeLastChange)(int32_t Percent);
  int32_t (*OutlineSelection)(int32_t Width, int32_t Color, int32_t Antialias);
  int32_t (*GetSelectionMask)(TPluginBitmap Bitmap);
  void (*MarkImageSaved)(void);
  char16_t* (*GetImageFileName)(char16_t* Dest, int32_t MaxLen);
  char16_t* (*GetProgramFolder)(char16_t* Dest, int32_t MaxLen);
  char16_t* (*GetOpenFolder)(char16_t* Dest, int32_t MaxLen);
  char16_t* (*GetSaveFolder)(char16_t* Dest, int32_t MaxLen);
  char16_t* (*GetModuleFolder)(char16_t* Dest, int32_t MaxLen);
  char16_t* (*GetDialogIniFile)(char16_t* Dest, int32_t MaxLen);
  int32_t (*SetImageFileName)(const char16_t* FileName);
  int32_t (*GetMergedImageByName)(TPluginBitmap Bitmap, const char16_t* FileName);
  int32_t (*DrawImageThumbnail)(TPluginBitmap Thumb, int32_t BackColor, int32_t Margin, int32_t Shadow,
                                int32_t ShadowColor, TPluginRect* Rect);
  int32_t (*DrawImageThumbnailByName)(TPluginBitmap Thumb, const char16_t* FileName, int32_t BackColor,
                                      int32_t Margin, int32_t Shadow, int32_t ShadowColor, TPluginRect* Rect);
  int32_t (*EnumImageWindows)(TEnumImageWindowsCallback Callback);
  /* Level 2 */
  void (*ShowModuleWindow)(uint64_t Window, int32_t Mode, int32_t Center, int32_t Wait);
  int32_t (*CreateDIB)(TPluginDIB* Dib);
  int32_t (*DestroyDIB)(TPluginDIB* Dib);
  void* (*ReleaseDIBHandle)(TPluginDIB* Dib);
  void* (*GetDIBScanLine)(TPluginDIB* Dib, int32_t Row);
  /* Level 3 */
  int32_t (*GetSelectionMaskRect)(TPluginBitmap Bitmap);
  int32_t (*GetImageResolution)(void);
  int32_t (*SetImageResolution)(int32_t Value);
  int32_t (*MaskToSelection)(TPluginBitmap Bitmap, int32_t LayerMode);
  TPluginRect (*PrepareUndoRect)(const TPluginRect* Rect);
  int32_t (*SetMainWindowState)(int32_t State);
  int32_t (*GetSelectionShape)(TPluginPoint* Points);
  void* Reserved2; /* never written */
  /* Level 4 */
  TPluginRect (*GetLayerBounds)(void);
  int32_t (*GetLayerBitmap)(TPluginBitmap Bitmap);
  int32_t (*SetLayerBitmap)(TPluginBitmap Bitmap);
  int32_t (*GetLayerMask)(TPluginBitmap Bitmap);
  int32_t (*SetLayerMask)(TPluginBitmap Bitmap);
  int32_t (*GetLayerMaskRect)(TPluginBitmap Bitmap);
  int32_t (*SetLayerMaskRect)(TPluginBitmap Bitmap);
  void (*DisableLayersPainting)(int32_t Disable);
  int32_t (*GetImageMode)(void);
  TPluginPoint (*GetLayerPosition)(void);
} TPluginStruct;

/* The exports, looked up by these names in this order. */
typedef int32_t (*TRegisterCompatibility)(void);      /* required */
typedef char16_t* (*TRegisterPluginLanguage)(void);   /* 68 units */
typedef TPluginHeader* (*TRegisterPluginHeader)(void); /* required */
typedef TPluginStruct* (*TRegisterPluginStruct)(void); /* required */
typedef const TPluginGlyph* (*TRegisterPluginGlyph)(void);
typedef int32_t (*TExecute)(void); /* required; non-zero: done */
typedef void (*TAboutPlugin)(void);
typedef void (*TSetColorPicker)(int32_t Color);
typedef void (*TSetPointClick)(TPluginPoint Point, int32_t Button); /* 0 left, 1 right */

#ifdef __cplusplus
} /* extern "C" */

#include <cstddef>

static_assert(sizeof(TPluginHeader) == 1416);
static_assert(offsetof(TPluginHeader, Version) == 128 && offsetof(TPluginHeader, PluginType) == 256);
static_assert(offsetof(TPluginHeader, Author) == 260 && offsetof(TPluginHeader, Comment) == 388);
static_assert(offsetof(TPluginHeader, Reserved) == 900 && offsetof(TPluginHeader, Flags) == 1412);
static_assert(sizeof(TPluginDIB) == 56 && offsetof(TPluginDIB, Bits) == 32 && offsetof(TPluginDIB, Handle) == 48);
static_assert(offsetof(TPluginStruct, SelectionRect) == 16 && offsetof(TPluginStruct, ImageRect) == 32);
static_assert(offsetof(TPluginStruct, StyleEnabled) == 48 && offsetof(TPluginStruct, BeginAction) == 56);
static_assert(offsetof(TPluginStruct, EnumImageWindows) == 264 && offsetof(TPluginStruct, ShowModuleWindow) == 272);
static_assert(offsetof(TPluginStruct, GetDIBScanLine) == 304 && offsetof(TPluginStruct, GetSelectionMaskRect) == 312);
static_assert(offsetof(TPluginStruct, GetSelectionShape) == 360 && offsetof(TPluginStruct, Reserved2) == 368);
static_assert(offsetof(TPluginStruct, GetLayerBounds) == 376 && offsetof(TPluginStruct, GetLayerPosition) == 448);
static_assert(sizeof(TPluginStruct) == 456);
#endif

#endif
