/* A stand-in for the outside 8BF host library, for the bridge's tests.
   Plug-ins are text files "*.8bf" in the folder it is given: line 1 the
   category ("<nil>" for none), line 2 the name, line 3 what a run does:
     invert     inverts every byte of every pixel, alpha included (default)
     alpha      copies each pixel's alpha byte into its blue byte
     pick       fills the image with the colour the program's picker gives
     fail-load  the plug-in refuses to load
   A run reports progress once per row and stops when told to. Built with
   LUMA_FAKE_HOST_INCOMPLETE it lacks pspiSetMask, so the program must
   refuse it. */
#include "extensions/Plg8bfHostApi.h"

#include <dirent.h>
#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define EXPORT __attribute__((visibility("default")))

enum { PathMax = 4096, LineMax = 256 };

static char Folder[PathMax];
static char Action[LineMax];
static int32_t Orientation, HasAlpha, Width, Height, Stride;
static unsigned char* Data;
static T8bfProgressCallback Progress;
static T8bfColorPickerCallback Picker;

/* UTF-16 to 8 bits; the tests' paths are plain ASCII. */
static void Narrow(const char16_t* In, char* Out, size_t Size) {
  size_t I = 0;
  for (; In && In[I] && I + 1 < Size; ++I) Out[I] = In[I] < 128 ? (char)In[I] : '?';
  Out[I] = 0;
}

static void Widen(const char* In, char16_t* Out, size_t Size) {
  size_t I = 0;
  for (; In[I] && I + 1 < Size; ++I) Out[I] = (unsigned char)In[I];
  Out[I] = 0;
}

/* Line Index (0-based) of File into Out, without its line break; empty when
   the file has fewer lines. 0 when the file cannot be read. */
static int ReadLine(const char* File, int Index, char* Out) {
  FILE* F = fopen(File, "r");
  if (!F) return 0;
  Out[0] = 0;
  char Line[LineMax];
  for (int I = 0; I <= Index && fgets(Line, sizeof Line, F); ++I)
    if (I == Index) {
      Line[strcspn(Line, "\r\n")] = 0;
      strcpy(Out, Line);
    }
  fclose(F);
  return 1;
}

static int CompareNames(const void* A, const void* B) { return strcmp(*(char* const*)A, *(char* const*)B); }

EXPORT int32_t pspiGetVersion(void) { return 1; }

EXPORT int32_t pspiSetPath(const char16_t* Path) {
  Narrow(Path, Folder, sizeof Folder);
  return 0;
}

EXPORT int32_t pspiPlugInEnumerate(T8bfEnumCallback Callback, int32_t Flag) {
  if (!Flag) return 1;
  DIR* Dir = opendir(Folder);
  if (!Dir) return 2;
  char* Names[1000];
  int Count = 0;
  for (struct dirent* E; (E = readdir(Dir)) && Count < 1000;) {
    const size_t L = strlen(E->d_name);
    if (L > 4 && strcmp(E->d_name + L - 4, ".8bf") == 0) Names[Count++] = strdup(E->d_name);
  }
  closedir(Dir);
  /* In name order, so that the tests know which plug-ins come first. */
  qsort(Names, (size_t)Count, sizeof Names[0], CompareNames);
  for (int I = 0; I < Count; ++I) {
    char File[PathMax + 512], Category[LineMax], Name[LineMax];
    char16_t Wide[PathMax + 512];
    snprintf(File, sizeof File, "%s/%s", Folder, Names[I]);
    if (ReadLine(File, 0, Category) && ReadLine(File, 1, Name)) {
      Widen(File, Wide, sizeof Wide / sizeof Wide[0]);
      Callback(strcmp(Category, "<nil>") == 0 ? NULL : Category, Name, "not read", Wide);
    }
    free(Names[I]);
  }
  return 0;
}

EXPORT int32_t pspiSetRoi(void) { return 0; }

EXPORT int32_t pspiSetImageOrientation(int32_t Value) {
  Orientation = Value;
  return 0;
}

EXPORT int32_t pspiSetImage(int32_t Alpha, int32_t W, int32_t H, void* Pixels, int32_t RowStride, void* Mask,
                            int32_t MaskStride) {
  if (Mask || MaskStride) return 1;
  HasAlpha = Alpha;
  Width = W;
  Height = H;
  Data = Pixels;
  Stride = RowStride;
  return 0;
}

#ifndef LUMA_FAKE_HOST_INCOMPLETE
EXPORT int32_t pspiSetMask(void) { return 0; }
#endif

EXPORT int32_t pspiReleaseAllImages(void) { return 0; }

EXPORT int32_t pspiSetProgressCallBack(T8bfProgressCallback Callback) {
  Progress = Callback;
  return 0;
}

EXPORT int32_t pspiSetColorPickerCallBack(T8bfColorPickerCallback Callback) {
  Picker = Callback;
  return 0;
}

EXPORT int32_t pspiPlugInLoad(const char16_t* FileName) {
  char File[PathMax];
  Narrow(FileName, File, sizeof File);
  if (!ReadLine(File, 2, Action)) return 1;
  if (!Action[0]) strcpy(Action, "invert");
  return strcmp(Action, "fail-load") == 0 ? 2 : 0;
}

EXPORT int32_t pspiPlugInAbout(void) { return 0; }

/* Image row Y (0 the top) in memory, as the orientation says. */
static unsigned char* Row(int Y) {
  return Orientation == 0 ? Data + (ptrdiff_t)Y * Stride : Data + (ptrdiff_t)(Height - 1 - Y) * Stride;
}

EXPORT int32_t pspiPlugInExecute(void* Window) {
  if (!Window) return 1;
  if (!Data || Width <= 0 || Height <= 0) return 2;
  const int Bpp = HasAlpha ? 4 : 3;
  int32_t Color = 0;
  if (strcmp(Action, "pick") == 0 && (!Picker || Picker(&Color) == 0)) return 3;
  if (strcmp(Action, "alpha") == 0 && !HasAlpha) return 4;
  for (int Y = 0; Y < Height; ++Y) {
    unsigned char* P = Row(Y);
    for (int X = 0; X < Width; ++X, P += Bpp) {
      if (strcmp(Action, "invert") == 0)
        for (int C = 0; C < Bpp; ++C) P[C] = (unsigned char)(255 - P[C]);
      else if (strcmp(Action, "alpha") == 0)
        P[0] = P[3];
      else if (strcmp(Action, "pick") == 0) {
        P[0] = (unsigned char)(Color & 0xFF);
        P[1] = (unsigned char)((Color >> 8) & 0xFF);
        P[2] = (unsigned char)((Color >> 16) & 0xFF);
      }
    }
    if (Progress && (Progress((uint32_t)Y + 1, (uint32_t)Height) & 0xFF) == 0) return 5;
  }
  Data = NULL;
  return 0;
}
