/* Module libraries for the tests, one per MODULE_VARIANT:
 * 1 a filter that inverts the work rectangle through a module bitmap,
 * 2 a tool that waits on a window while it takes the image's clicks,
 * 3 an import that opens a new image of one colour,
 * 4 an image command that calls the services and keeps their answers,
 * 10 a module without Execute, 11 one whose reserved mark refuses it,
 * 12 one that gives no header, 13 one of an unknown kind,
 * 14 a tool whose header texts fill their fields without an end. */
#include "extensions/ModuleAbi.h"

#include <string.h>

#define EXPORT __attribute__((visibility("default")))

static TPluginStruct Rec;

static inline void Put(char16_t* Field, const char16_t* Text) {
  while ((*Field++ = *Text++) != 0) {
  }
}

static inline void Fill(char16_t* Field, int Count, char16_t C) {
  for (int I = 0; I < Count; ++I) Field[I] = C;
}

EXPORT TPluginStruct* RegisterPluginStruct(void) { return &Rec; }

#if MODULE_VARIANT == 12
EXPORT TPluginHeader* RegisterPluginHeader(void) { return 0; }
#else
static TPluginHeader Header;

EXPORT TPluginHeader* RegisterPluginHeader(void) {
  memset(&Header, 0, sizeof Header);
#if MODULE_VARIANT == 1
  Put(Header.Caption, u"Module de test|&Inverser...");
  Put(Header.Version, u"Version 2.5 beta");
  Put(Header.Author, u"(c) Tom & Jerry");
  Put(Header.Comment, u"Inverse les couleurs");
  Header.PluginType = ptFilter;
#elif MODULE_VARIANT == 2
  Put(Header.Caption, u"Outil de test");
  Header.PluginType = ptTool;
  Header.Reserved[0] = u'7';
#elif MODULE_VARIANT == 3
  Put(Header.Caption, u"Import de test|Importer du vert");
  Header.PluginType = ptImport;
#elif MODULE_VARIANT == 4
  Put(Header.Caption, u"Services|Essai des services");
  Header.PluginType = ptImage;
#elif MODULE_VARIANT == 14
  Fill(Header.Caption, 64, u'C');
  Fill(Header.Version, 64, u'9');
  Fill(Header.Author, 64, u'A');
  Fill(Header.Comment, 256, u'c');
  Header.PluginType = ptTool;
#else
  Put(Header.Caption, u"Module refusé");
  Header.PluginType = MODULE_VARIANT == 13 ? 9 : ptFilter;
  if (MODULE_VARIANT == 11) Header.Reserved[0] = u'X';
#endif
  return &Header;
}
#endif

#if MODULE_VARIANT == 1
/* The language the host wrote, for the test to read. */
static char16_t Language[68];
EXPORT char16_t* RegisterPluginLanguage(void) { return Language; }
EXPORT const char16_t* TestLanguage(void) { return Language; }

static uint8_t GlyphBits[19 * 60];
static TPluginGlyph Glyph = {19, 19, 60, 0, GlyphBits};
EXPORT const TPluginGlyph* RegisterPluginGlyph(void) {
  for (int Y = 0; Y < 19; ++Y)
    for (int X = 0; X < 19; ++X) GlyphBits[Y * 60 + 3 * X + 2] = (uint8_t)(X < 10 ? 255 : 0); /* red left, key right */
  return &Glyph;
}

EXPORT int32_t RegisterCompatibility(void) { return 2; }

/* Inverts every byte of the work rectangle; answers 256, whose low byte is
 * 0, for done. */
EXPORT int32_t Execute(void) {
  TPluginDIB Dib;
  memset(&Dib, 0, sizeof Dib);
  Dib.Width = Rec.SelectionRect.Right - Rec.SelectionRect.Left;
  Dib.Height = Rec.SelectionRect.Bottom - Rec.SelectionRect.Top;
  if (!Rec.CreateDIB(&Dib)) return 0;
  Rec.BeginAction(u"Inversion", 1);
  int Ok = Rec.GetSelectionBitmap(Dib.Bitmap) != 0;
  for (int Y = 0; Ok && Y < Dib.Height; ++Y) {
    uint8_t* Row = (uint8_t*)Rec.GetDIBScanLine(&Dib, Y);
    for (int X = 0; X < Dib.RowBytes; ++X) Row[X] = (uint8_t)(255 - Row[X]);
  }
  Ok = Ok && Rec.SetSelectionBitmap(Dib.Bitmap, 1) != 0;
  Rec.DestroyDIB(&Dib);
  return Ok ? 256 : 0;
}
#elif MODULE_VARIANT == 2
static uint64_t WaitWindow;
static TPluginPoint Points[8];
static int32_t Buttons[8];
static int32_t PointCount;
static int32_t AboutCount;

EXPORT int32_t RegisterCompatibility(void) { return 4; }
EXPORT void TestSetWindow(uint64_t Window) { WaitWindow = Window; }
EXPORT int32_t TestPoints(TPluginPoint* Out, int32_t* OutButtons) {
  memcpy(Out, Points, sizeof Points);
  memcpy(OutButtons, Buttons, sizeof Buttons);
  return PointCount;
}
EXPORT int32_t TestAboutCount(void) { return AboutCount; }

EXPORT void SetPointClick(TPluginPoint Point, int32_t Button) {
  if (PointCount < 8) {
    Points[PointCount] = Point;
    Buttons[PointCount++] = Button;
  }
}

/* Takes the clicks until the test hides the window. */
EXPORT int32_t Execute(void) {
  PointCount = 0;
  Rec.ShowModuleWindow(WaitWindow, 1, 1, 1);
  return 1;
}

EXPORT void AboutPlugin(void) { ++AboutCount; }
#elif MODULE_VARIANT == 3
EXPORT int32_t RegisterCompatibility(void) { return 2; }

EXPORT int32_t Execute(void) {
  TPluginDIB Dib;
  memset(&Dib, 0, sizeof Dib);
  Dib.Width = 7;
  Dib.Height = 5;
  if (!Rec.CreateDIB(&Dib)) return 0;
  for (int Y = 0; Y < Dib.Height; ++Y) {
    uint8_t* Row = (uint8_t*)Rec.GetDIBScanLine(&Dib, Y);
    for (int X = 0; X < Dib.Width; ++X) {
      Row[3 * X] = 0x10;
      Row[3 * X + 1] = 0xC0;
      Row[3 * X + 2] = 0x20;
    }
  }
  const int32_t Opened = Rec.NewImageWindow(Dib.Bitmap, u"Vert importé", 0, 0, 0x1FFFFFFF);
  Rec.DestroyDIB(&Dib);
  return Opened;
}
#elif MODULE_VARIANT == 4
static int32_t Results[32];
static int32_t Windows;
EXPORT const int32_t* TestResults(void) { return Results; }

EXPORT int32_t RegisterCompatibility(void) { return 4; }

static int32_t CountWindow(const char16_t* Name, int32_t W, int32_t H, int32_t Colors, int32_t Key) {
  (void)Name, (void)W, (void)H, (void)Colors, (void)Key;
  return ++Windows;
}

static int32_t Length(const char16_t* S) {
  int32_t N = 0;
  while (S[N]) ++N;
  return N;
}

EXPORT int32_t Execute(void) {
  TPluginDIB A, B, Bad, Big, Back;
  memset(&A, 0, sizeof A);
  memset(&B, 0, sizeof B);
  memset(&Bad, 0, sizeof Bad);
  memset(&Big, 0, sizeof Big);
  memset(&Back, 0, sizeof Back);
  A.Width = 5, A.Height = 2, B.Width = 4, B.Height = 2, Bad.Width = -1, Bad.Height = 3;
  Big.Width = 100000, Big.Height = 100000, Back.Width = 12, Back.Height = 8;
  Results[0] = Rec.CreateDIB(&A) ? A.RowBytes : -1;
  Results[1] = A.Stride;
  Results[2] = Rec.CreateDIB(&B) ? B.Stride : -1;
  Results[3] = Rec.CreateDIB(&Bad);
  Results[4] = Rec.CreateDIB(&Big);
  Results[5] = Rec.GetDIBScanLine(&A, 2) == 0 && Rec.GetDIBScanLine(&A, 1) != 0;
  Results[6] = Rec.GetSelectionBitmap((TPluginBitmap)&Rec); /* not a bitmap of the host */
  Results[7] = Rec.SetMainWindowState(5);
  Results[8] = Rec.GetImageResolution();
  Results[9] = Rec.SetImageResolution(300000);
  char16_t Name[16];
  memset(Name, 0xFF, sizeof Name);
  Rec.GetImageFileName(Name, 10);
  Results[10] = Length(Name);
  Results[11] = Rec.SetImageColorCount(300);
  Results[12] = Rec.GetImageMode();
  Results[13] = Rec.GetSelectionShape(0);
  Results[14] = Rec.GetLayerBounds().Right;
  Results[15] = Rec.FadeLastChange(101);
  Results[16] = Rec.GetLayerMask(A.Bitmap);
  Results[17] = Rec.EnumImageWindows(CountWindow) ? Windows : -1;
  Results[18] = Rec.DestroyDIB(&B);
  Results[19] = Rec.DestroyDIB(&B);
  Results[20] = Rec.GetSelectionBitmap(B.Bitmap); /* destroyed */
  Rec.CreateDIB(&Back);
  for (int Y = 0; Y < Back.Height; ++Y) memset(Rec.GetDIBScanLine(&Back, Y), 0x40, (size_t)Back.RowBytes);
  Results[21] = Rec.SetBackgroundImage(Back.Bitmap);
  Rec.DestroyDIB(&Back);
  Rec.DestroyDIB(&A); /* B left for the host to free */
  return 1;
}
#else
EXPORT int32_t RegisterCompatibility(void) { return 1; }
#if MODULE_VARIANT != 10
EXPORT int32_t Execute(void) { return 1; }
#endif
#endif
