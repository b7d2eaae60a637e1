// The host record's services: C functions a running module calls on the
// interface thread, each checking its preconditions, working through the
// main window's services and answering -1 (true) or 0 (false). A bitmap
// argument is accepted only when the running module made it with CreateDIB
// and still holds it: the pointer comes from outside and is never trusted.
#include "app/ui/MainForm.h"
#include "app/ui/ModuleHost.h"
#include "document/Calque.h"
#include "document/Undo.h"
#include "document/SelMask.h"
#include "document/ShapeManager.h"
#include "document/ui/ImgForm.h"
#include "document/ui/SelectionControl.h"
#include "document/ui/MyImageLayeredView.h"
#include "i18n/LibLang.h"
#include "platform/Colors.h"
#include "platform/PixelMemory.h"
#include "platform/Rounding.h"
#include "filters/Filtres24.h"
#include "raster/Bitmap24.h"
#include "raster/ImgUtils24.h"
#include "ui/DlgMain.h"

#include <QApplication>
#include <QDir>

#include <cstring>

namespace {

constexpr int32_t True = -1;
constexpr int32_t False = 0;
constexpr int32_t NoColor = 0x1FFFFFFF;
// A module's bitmap: at most this many pixels, as for a file.
constexpr int64_t MaxDibPixels = int64_t(1) << 28;

int32_t Bool(bool Value) { return Value ? True : False; }

TMainForm* Form() {
  TModuleHost* H = RunningModuleHost();
  return H ? &H->F : nullptr;
}

// The running module's 24-bit bitmap Handle, else nullptr.
TBitmap* Bmp24(const void* Handle) {
  TModuleHost* H = RunningModuleHost();
  TBitmap* B = H ? H->Bitmap(Handle) : nullptr;
  return B && B->PixelFormat() == pf24bit && !B->Empty() ? B : nullptr;
}

bool SameSize(const TBitmap& A, int Width, int Height) { return A.Width() == Width && A.Height() == Height; }

// The image is open and its current layer is a bitmap layer.
TLayerItem* BitmapLayer(TMainForm* F) {
  if (!F || !F->UneImage()) return nullptr;
  TLayerItem* L = F->Image().CurrentLayer();
  return L && L->LayerType == ltBitmap ? L : nullptr;
}

TRect WorkRect(TMainForm& F) {
  return IntersectRect(F.LaSelection(), TRect{0, 0, F.LeBitmap().Width(), F.LeBitmap().Height()});
}

// A text the module passes in, read no further than any path or name needs.
QString Text(const char16_t* S) { return S ? WideText(S, 32768) : QString(); }

QString WithDelimiter(const QString& Folder) {
  return Folder.endsWith(QLatin1Char('/')) ? Folder : Folder + QLatin1Char('/');
}

TRect Whole(const TBitmap& B) { return {0, 0, B.Width(), B.Height()}; }

// Src whole onto Dst at (0, 0): both 24-bit of one size.
void CopyWhole24(const TBitmap& Src, TBitmap& Dst) { CopyRect24(Src, Whole(Src), Dst, 0, 0, Whole(Dst)); }

// Each byte of Dst becomes the larger of it and the byte of Src at the same
// place shifted by (SX, SY): a layer's transparency into a selection mask.
void CombineMax24(const TBitmap& Src, int SX, int SY, TBitmap& Dst) {
  for (int Y = 0; Y < Dst.Height(); ++Y) {
    const uint8_t* S = Src.ScanLine(SY + Y) + 3 * SX;
    uint8_t* D = Dst.ScanLine(Y);
    for (int X = 0; X < 3 * Dst.Width(); ++X) D[X] = std::max(D[X], S[X]);
  }
}

// ---- Level 1 ----

void BeginAction(const char16_t* Msg, int32_t BusyCursor) {
  if (TMainForm* F = Form()) {
    const QString M = Text(Msg);
    F->DebutAction(M.isEmpty() ? Tr(TrId::GetTrStaProcessing) : M, BusyCursor != 0);
  }
}

void EndAction() {
  if (TMainForm* F = Form()) F->FinAction();
}

int32_t GetMergedImage(TPluginBitmap Bitmap) {
  TMainForm* F = Form();
  TBitmap* B = Bmp24(Bitmap);
  if (!F || !B || !F->UneImage() || !SameSize(*B, F->LeFond().Width(), F->LeFond().Height())) return False;
  F->Image().MergeLayersForPreview(false);
  TBitmap Merged;
  Merged.Assign(F->Image().Bitmap());
  Merged.SetPixelFormat(pf24bit);
  CopyWhole24(Merged, *B);
  return True;
}

int32_t SetBackgroundImage(TPluginBitmap Bitmap) {
  TMainForm* F = Form();
  if (!F || !F->UneImage()) return False;
  TMyImageLayeredView* View = F->EnfantActif()->Image;
  if (!Bitmap) {
    if (View->DisableLayersPainting)
      F->Image().MergeLayersForPreview(false);
    else
      F->RestaureBitmap();
    F->RefreshBitmap();
    return True;
  }
  TBitmap* B = Bmp24(Bitmap);
  if (!B) return False;
  TBitmap& Fond = F->LeFond();
  if (!SameSize(Fond, B->Width(), B->Height())) {
    if (View->DisableLayersPainting || F->ModeRGBA(false) || F->Image().Layers().Count() > 1) return False;
    const bool Keyed = Fond.Transparent;
    const TColor Key = Fond.TransparentColor();
    Fond.SetSize(0, 0);
    Fond.SetPixelFormat(pf24bit);
    Fond.SetSize(B->Width(), B->Height());
    if (Keyed) Fond.SetTransparentColor(Key);
  }
  CopyWhole24(*B, View->DisableLayersPainting ? F->Image().Bitmap() : Fond);
  F->RefreshBitmap();
  return True;
}

int32_t GetSelectionBitmap(TPluginBitmap Bitmap) {
  TMainForm* F = Form();
  TBitmap* B = Bmp24(Bitmap);
  if (!B || !BitmapLayer(F)) return False;
  const TRect R = WorkRect(*F);
  if (R.Width() <= 0 || R.Height() <= 0 || !SameSize(*B, R.Width(), R.Height())) return False;
  CopyRect24(F->LeBitmap(), R, *B, 0, 0, Whole(*B));
  return True;
}

int32_t SetSelectionBitmap(TPluginBitmap Bitmap, int32_t Mode) {
  TMainForm* F = Form();
  TBitmap* B = Bmp24(Bitmap);
  if (!B || !BitmapLayer(F)) return False;
  const TRect R = WorkRect(*F);
  if (R.Width() <= 0 || R.Height() <= 0 || !SameSize(*B, R.Width(), R.Height())) return False;
  CopyRect24(*B, Whole(*B), F->LeBitmap(), R.Left, R.Top, R);
  F->AppliquerMasqueSel(Mode == 1 ? 0 : 2);
  F->RefreshBitmap();
  return True;
}

int32_t GetImageTransparentColor() {
  TMainForm* F = Form();
  if (!F || !F->UneImage() || !F->LeFond().Transparent) return NoColor;
  return int32_t(F->LeFond().TransparentColor() & 0xFFFFFF);
}

int32_t SetImageTransparentColor(int32_t Color) {
  TMainForm* F = Form();
  if (!F || !F->UneImage() || F->Image().Layers().Count() != 1 || F->ModeRGBA(false)) return False;
  if (Color == NoColor)
    F->LeFond().Transparent = false;
  else
    F->LeFond().SetTransparentColor(ColorToRGB(TColor(Color)));
  F->RefreshBitmap();
  return True;
}

int32_t GetImageColorCount() {
  TMainForm* F = Form();
  return F && F->UneImage() ? F->NbCouleurs() : -1;
}

int32_t SetImageColorCount(int32_t Count) {
  TMainForm* F = Form();
  if (!F || !F->UneImage() || F->Image().Layers().Count() != 1 || F->ModeRGBA(false)) return 0;
  F->SetNbCouleurs(Count >= 2 && Count <= 256 ? Count : 1 << 24);
  return F->NbCouleurs();
}

int32_t NewImageWindow(TPluginBitmap Bitmap, const char16_t* FileName, int32_t Kind, int32_t NbColors,
                       int32_t TransparentColor) {
  TMainForm* F = Form();
  TBitmap* B = Bmp24(Bitmap);
  if (!F || !B) return False;
  TBitmap Copy(B->Width(), B->Height(), pf24bit);
  CopyWhole24(*B, Copy);
  if (TransparentColor != NoColor) Copy.SetTransparentColor(TColor(TransparentColor));
  const TNewImgForm* Before = F->EnfantActif();
  F->NouvelleImage(nullptr, &Copy, Text(FileName), Kind == 1 ? srcFile : srcImport,
                   NbColors >= 2 && NbColors <= 256 ? NbColors : 1 << 24);
  return Bool(F->EnfantActif() != Before);
}

void CenterOnMain(TMainForm& F, QWidget& W) {
  const QRect M = F.frameGeometry();
  const QRect Own = W.frameGeometry();
  W.move(M.left() + (M.width() - Own.width()) / 2, M.top() + (M.height() - Own.height()) / 2);
}

// The form modes: 0 modal form, 1 dialogue form (clicks go to the module),
// 2 pipette form (picked colours go to it); without an image, mode 0.
void SetModuleFormMode(TMainForm& F, int32_t Mode) {
  F.SetPipetteForm(nullptr);
  F.SetDialogueForm(nullptr);
  F.SetModalForm(nullptr);
  if (!F.UneImage()) Mode = 0;
  if (Mode == 0)
    F.SetModalForm(&F);
  else if (Mode == 1)
    F.SetDialogueForm(&F);
  else if (Mode == 2)
    F.SetPipetteForm(&F);
}

// A form or window of this process, so that a stale or foreign pointer is
// never used as one.
QWidget* KnownWindow(const void* Form, uint64_t Window) {
  for (QWidget* W : QApplication::topLevelWidgets())
    if ((Form && W == Form) || (Window && W->internalWinId() == WId(Window))) return W;
  return nullptr;
}

void ShowModule(QWidget* Window, int32_t Mode, int32_t Center, int32_t Wait, bool Show) {
  // The window may go while the module waits on it.
  const QPointer<QWidget> W = Window;
  TModuleHost* H = RunningModuleHost();
  if (!H) return;
  if (!H->ModuleWindow && W) H->ModuleWindow = W;
  if (W && Center) CenterOnMain(H->F, *W);
  SetModuleFormMode(H->F, Mode);
  if (!W || (!Show && !Wait)) return;
  W->show();
  W->activateWindow();
  // The module waits for its window, the interface running meanwhile.
  if (Wait)
    while ((W && W->isVisible()) || H->F.isMinimized()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void ShowModuleForm(void* Form, int32_t Mode, int32_t Center, int32_t Wait) {
  ShowModule(KnownWindow(Form, 0), Mode, Center, Wait, true);
}

int32_t FadeLastChange(int32_t Percent) {
  TMainForm* F = Form();
  TLayerItem* L = BitmapLayer(F);
  if (!L || !F->Mode16M() || F->LeBitmap().Transparent || Percent < 0 || Percent > 100 ||
      !SameSize(F->BmpUndo, F->LeBitmap().Width(), F->LeBitmap().Height()))
    return False;
  TBitmap& B = F->LeBitmap();
  CopyRect24Opacity(F->BmpUndo, Whole(B), B, 0, 0, Whole(B), 100 - Percent);
  F->RefreshBitmap();
  return True;
}

int32_t OutlineSelection(int32_t Width, int32_t Color, int32_t Antialias) {
  TMainForm* F = Form();
  if (!F || !F->UneImage()) return False;
  F->DessinerContour(TColor(Color), Width, Antialias != 0 && F->Mode16M(), QString());
  F->RefreshBitmap();
  return True;
}

// The selection mask the module sees: selected white, the rest black (the
// reverse for an inverted selection), white without a selection; the
// layer's transparent parts white too. Work: the work rectangle only.
int32_t SelectionMaskFor(TPluginBitmap Bitmap, bool Work) {
  TMainForm* F = Form();
  TBitmap* B = Bmp24(Bitmap);
  if (!B || !F || !F->UneImage() || !F->Image().CurrentLayer()) return False;
  const TRect R = Work ? WorkRect(*F) : Whole(F->LeBitmap());
  if (R.Width() <= 0 || R.Height() <= 0 || !SameSize(*B, R.Width(), R.Height())) return False;
  std::unique_ptr<TBitmap> Mask;
  if (F->UneSelection())
    Mask = SelectionMaskOfLayer(F->SelMaskHost(), !F->Sel()->Invert(), F->Sel()->Shape() != ssRect);
  else
    Mask = std::make_unique<TBitmap>(F->LeBitmap().Width(), F->LeBitmap().Height(), pf24bit, clWhite);
  if (!Mask || !SameSize(*Mask, F->LeBitmap().Width(), F->LeBitmap().Height())) return False;
  CopyRect24(*Mask, R, *B, 0, 0, Whole(*B));
  const TBitmap& LayerMask = F->LeMasque();
  if (F->HasAlpha() && SameSize(LayerMask, Mask->Width(), Mask->Height()) && LayerMask.PixelFormat() == pf24bit)
    CombineMax24(LayerMask, R.Left, R.Top, *B);
  return True;
}

int32_t GetSelectionMask(TPluginBitmap Bitmap) { return SelectionMaskFor(Bitmap, false); }

void MarkImageSaved() {
  TMainForm* F = Form();
  if (!F || !F->UneImage()) return;
  F->EnfantActif()->ResetModified();
  F->MajMenus();
}

char16_t* GetImageFileName(char16_t* Dest, int32_t MaxLen) {
  TMainForm* F = Form();
  return PutWideText(Dest, MaxLen, F && F->UneImage() ? F->NomFichier() : QString());
}

char16_t* GetProgramFolder(char16_t* Dest, int32_t MaxLen) {
  TMainForm* F = Form();
  return PutWideText(Dest, MaxLen, F ? WithDelimiter(F->ProgramDir()) : QString());
}

char16_t* GetOpenFolder(char16_t* Dest, int32_t MaxLen) {
  TMainForm* F = Form();
  return PutWideText(Dest, MaxLen, F ? WithDelimiter(F->Settings().OuvrirDir) : QString());
}

char16_t* GetSaveFolder(char16_t* Dest, int32_t MaxLen) {
  TMainForm* F = Form();
  return PutWideText(Dest, MaxLen, F ? WithDelimiter(F->Settings().EnregistrerDir) : QString());
}

char16_t* GetModuleFolder(char16_t* Dest, int32_t MaxLen) {
  TMainForm* F = Form();
  return PutWideText(Dest, MaxLen, F ? WithDelimiter(F->DataFolders().PluginDir) : QString());
}

char16_t* GetDialogIniFile(char16_t* Dest, int32_t MaxLen) { return PutWideText(Dest, MaxLen, DialogsIniFile); }

int32_t SetImageFileName(const char16_t* FileName) {
  TMainForm* F = Form();
  const QString Name = Text(FileName);
  if (!F || !F->UneImage() || Name.isEmpty()) return False;
  F->SetNomFichier(Name);
  F->AfficherInfos();
  return True;
}

TNewImgForm* WindowNamed(const QString& Name) { return FindImageWindow(Name); }

int32_t GetMergedImageByName(TPluginBitmap Bitmap, const char16_t* FileName) {
  TMainForm* F = Form();
  TBitmap* B = Bmp24(Bitmap);
  TNewImgForm* W = F && F->UneImage() ? WindowNamed(Text(FileName)) : nullptr;
  if (!B || !W) return False;
  TMyImageLayered& I = W->Image->Image();
  if (!SameSize(*B, I.Bitmap().Width(), I.Bitmap().Height())) return False;
  I.MergeLayersForPreview(false);
  TBitmap Merged;
  Merged.Assign(I.Bitmap());
  Merged.SetPixelFormat(pf24bit);
  CopyWhole24(Merged, *B);
  return True;
}

int32_t DrawThumbnailOf(TNewImgForm* W, TPluginBitmap Thumb, int32_t BackColor, int32_t Margin, int32_t Shadow,
                        int32_t ShadowColor, TPluginRect* Rect) {
  TBitmap* B = Bmp24(Thumb);
  if (!W || !B) return False;
  TMyImageLayered& I = W->Image->Image();
  I.MergeLayersForPreview(false);
  TBitmap Source;
  Source.Assign(I.Bitmap());
  Source.SetPixelFormat(pf24bit);
  const TRect R = DrawThumbnail24(Source, *B, TColor(BackColor), std::min(Margin, 50), std::min(Shadow, 10),
                                  TColor(ShadowColor));
  if (Rect) *Rect = {R.Left, R.Top, R.Right, R.Bottom};
  return True;
}

int32_t DrawImageThumbnail(TPluginBitmap Thumb, int32_t BackColor, int32_t Margin, int32_t Shadow,
                           int32_t ShadowColor, TPluginRect* Rect) {
  TMainForm* F = Form();
  return DrawThumbnailOf(F ? F->EnfantActif() : nullptr, Thumb, BackColor, Margin, Shadow, ShadowColor, Rect);
}

int32_t DrawImageThumbnailByName(TPluginBitmap Thumb, const char16_t* FileName, int32_t BackColor, int32_t Margin,
                                 int32_t Shadow, int32_t ShadowColor, TPluginRect* Rect) {
  TMainForm* F = Form();
  TNewImgForm* W = F && F->UneImage() ? WindowNamed(Text(FileName)) : nullptr;
  return DrawThumbnailOf(W, Thumb, BackColor, Margin, Shadow, ShadowColor, Rect);
}

int32_t EnumImageWindows(TEnumImageWindowsCallback Callback) {
  if (!Callback || !Form()) return False;
  for (TNewImgForm* W : ImageWindows()) {
    char16_t Name[256];
    const TBitmap& B = W->Image->Image().Bitmap();
    PutWideText(Name, 255, W->NomFichier);
    const int32_t Key = B.Transparent ? int32_t(B.TransparentColor() & 0xFFFFFF) : NoColor;
    if (Callback(Name, B.Width(), B.Height(), W->Image->Image().ColorCount, Key) == 0) return False;
  }
  return True;
}

// ---- Level 2 ----

void ShowModuleWindow(uint64_t Window, int32_t Mode, int32_t Center, int32_t Wait) {
  ShowModule(KnownWindow(nullptr, Window), Mode, Center, Wait, false);
}

int32_t CreateDIB(TPluginDIB* Dib) {
  TModuleHost* H = RunningModuleHost();
  if (!H || !Dib) return 0;
  Dib->Size = sizeof(TPluginDIB);
  // Sizes come from the module: refused before anything is allocated.
  if (Dib->Width <= 0 || Dib->Height <= 0 || int64_t(Dib->Width) * Dib->Height > MaxDibPixels) return 0;
  auto B = std::make_unique<TBitmap>(Dib->Width, Dib->Height, pf24bit);
  Dib->RowBytes = Dib->Width * 3;
  Dib->Stride = Dib->RowBytes % 4 == 0 ? Dib->RowBytes : (Dib->RowBytes | 3) + 1;
  Dib->BytesPerPixel = 3;
  Dib->ImageSize = int32_t(int64_t(Dib->Stride) * Dib->Height);
  Dib->Bitmap = B.get();
  Dib->Handle = B.get();
  Dib->Bits = B->ScanLine(0);
  H->Bitmaps.push_back(std::move(B));
  return 1;
}

int32_t DestroyDIB(TPluginDIB* Dib) {
  TModuleHost* H = RunningModuleHost();
  if (!H || !Dib || !H->Bitmap(Dib->Bitmap)) return 0;
  std::erase_if(H->Bitmaps, [Dib](const auto& B) { return B.get() == Dib->Bitmap; });
  Dib->Bitmap = nullptr;
  Dib->Handle = nullptr;
  Dib->Bits = nullptr;
  return 1;
}

// No platform bitmap handle exists to hand over: the service always fails.
void* ReleaseDIBHandle(TPluginDIB*) { return nullptr; }

void* GetDIBScanLine(TPluginDIB* Dib, int32_t Row) {
  TModuleHost* H = RunningModuleHost();
  TBitmap* B = H && Dib ? H->Bitmap(Dib->Bitmap) : nullptr;
  if (!B || Row < 0 || Row >= B->Height()) return nullptr;
  Dib->Bits = B->ScanLine(Row);
  return Dib->Bits;
}

// ---- Level 3 ----

int32_t GetImageResolution() {
  TMainForm* F = Form();
  return F && F->UneImage() ? int32_t(Round(F->Image().ResolutionX * 1000)) : 0;
}

int32_t SetImageResolution(int32_t Value) {
  TMainForm* F = Form();
  if (!F || !F->UneImage()) return 0;
  F->Image().ResolutionX = Value / 1000.0;
  return Value;
}

TPluginRect PrepareUndoRect(const TPluginRect* Rect) {
  TMainForm* F = Form();
  if (!Rect || !BitmapLayer(F)) return {};
  const TRect R = IntersectRect({Rect->Left, Rect->Top, Rect->Right, Rect->Bottom},
                                {0, 0, F->LeBitmap().Width(), F->LeBitmap().Height()});
  auto* Undo = dynamic_cast<TUndoBmpItem*>(F->ListeUndo().CurrentUndo());
  if (R.Width() <= 0 || R.Height() <= 0 || !Undo) return {};
  Undo->ResetData(&F->BmpUndo, F->MaskUndo.Empty() ? nullptr : &F->MaskUndo, R);
  return {R.Left, R.Top, R.Right, R.Bottom};
}

int32_t GetSelectionMaskRect(TPluginBitmap Bitmap) { return SelectionMaskFor(Bitmap, true); }

int32_t MaskToSelection(TPluginBitmap Bitmap, int32_t LayerMode) {
  TMainForm* F = Form();
  TBitmap* B = Bmp24(Bitmap);
  if (!B || !F || !F->UneImage()) return False;
  const TBitmap& Target = LayerMode ? F->LeBitmap() : F->LeFond();
  if (!SameSize(*B, Target.Width(), Target.Height())) return False;
  Negative24(*B, Whole(*B));
  const TBitmap& LayerMask = F->LeMasque();
  if (LayerMode && F->HasAlpha() && SameSize(LayerMask, B->Width(), B->Height()) && LayerMask.PixelFormat() == pf24bit)
    CombineMax24(LayerMask, 0, 0, *B);
  F->MasquerSelection();
  TSelectionControl* S = F->Sel();
  TRect Traced = S->ShapeManager().MaskToPoints(B, 254);
  if (Traced.IsEmpty()) {
    S->ShapeManager().Clear();
    return False;
  }
  if (LayerMode) Traced = F->Image().LayerToBmp(Traced);
  S->SetShape(ssBitmap);
  S->SetBmpSelRect(Traced);
  S->SetInvert(false);
  F->AfficherSelection();
  return True;
}

int32_t GetSelectionShape(TPluginPoint* Points) {
  TMainForm* F = Form();
  if (!F || !F->UneImage() || !F->UneSelection()) return 0;
  const TMyShape Shape = F->Sel()->Shape();
  if (Shape == ssBitmap) return 0;
  if (Shape != ssPolygon && Shape != ssPolyline) return ShapeToCode(Shape);
  const TShapeManager& M = F->Sel()->ShapeManager();
  const int Count = M.PointsCount();
  if (Points)
    for (int I = 0; I < Count; ++I) {
      const TPoint P = M.GetPoint(I);
      Points[I] = {P.X, P.Y};
    }
  return Count;
}

int32_t SetMainWindowState(int32_t State) {
  TModuleHost* H = RunningModuleHost();
  if (!H || State < 0 || State > 4) return -1;
  TMainForm& F = H->F;
  switch (State) {
  case 0: F.showMinimized(); break;
  case 1: F.showNormal(); break;
  case 2: F.showMaximized(); break;
  case 3:
    F.hide();
    if (H->ModuleWindow) H->ModuleWindow->hide();
    break;
  default:
    F.show();
    if (H->ModuleWindow) H->ModuleWindow->show();
  }
  return State;
}

// ---- Level 4 ----

TPluginRect GetLayerBounds() {
  TMainForm* F = Form();
  const TLayerItem* L = BitmapLayer(F);
  if (!L) return {};
  return {L->Pos.X, L->Pos.Y, L->Pos.X + L->Bitmap().Width(), L->Pos.Y + L->Bitmap().Height()};
}

int32_t GetLayerBitmap(TPluginBitmap Bitmap) {
  TMainForm* F = Form();
  TBitmap* B = Bmp24(Bitmap);
  if (!B || !BitmapLayer(F) || !SameSize(*B, F->LeBitmap().Width(), F->LeBitmap().Height())) return False;
  CopyWhole24(F->LeBitmap(), *B);
  return True;
}

int32_t SetLayerBitmap(TPluginBitmap Bitmap) {
  TMainForm* F = Form();
  TBitmap* B = Bmp24(Bitmap);
  if (!B || !BitmapLayer(F) || !SameSize(*B, F->LeBitmap().Width(), F->LeBitmap().Height())) return False;
  CopyWhole24(*B, F->LeBitmap());
  F->RefreshBitmap();
  return True;
}

// The layer mask's rectangle a mask service works on, or an empty one when
// its preconditions fail.
TRect MaskServiceRect(TMainForm* F, TBitmap* B, bool Work) {
  TLayerItem* L = BitmapLayer(F);
  if (!B || !L || L->Mask().Empty() || L->Mask().PixelFormat() != pf24bit) return {};
  const TRect R = Work ? WorkRect(*F) : TRect{0, 0, L->Mask().Width(), L->Mask().Height()};
  return R.Width() > 0 && R.Height() > 0 && SameSize(*B, R.Width(), R.Height()) ? R : TRect{};
}

int32_t GetMask(TPluginBitmap Bitmap, bool Work) {
  TMainForm* F = Form();
  TBitmap* B = Bmp24(Bitmap);
  const TRect R = MaskServiceRect(F, B, Work);
  if (R.Width() <= 0) return False;
  // The module sees opacity: 255 opaque, 0 transparent.
  CopyRect24(F->LeMasque(), R, *B, 0, 0, Whole(*B));
  Negative24(*B, Whole(*B));
  return True;
}

int32_t SetMask(TPluginBitmap Bitmap, bool Work) {
  TMainForm* F = Form();
  TBitmap* B = Bmp24(Bitmap);
  const TRect R = MaskServiceRect(F, B, Work);
  if (R.Width() <= 0) return False;
  CopyRect24(*B, Whole(*B), F->LeMasque(), R.Left, R.Top, R);
  Negative24(F->LeMasque(), R);
  F->RefreshBitmap();
  return True;
}

int32_t GetLayerMask(TPluginBitmap Bitmap) { return GetMask(Bitmap, false); }
int32_t SetLayerMask(TPluginBitmap Bitmap) { return SetMask(Bitmap, false); }
int32_t GetLayerMaskRect(TPluginBitmap Bitmap) { return GetMask(Bitmap, true); }
int32_t SetLayerMaskRect(TPluginBitmap Bitmap) { return SetMask(Bitmap, true); }

void DisableLayersPainting(int32_t Disable) {
  TMainForm* F = Form();
  if (!F || !F->UneImage()) return;
  TMyImageLayeredView* View = F->EnfantActif()->Image;
  const bool Value = Disable != 0;
  if (View->DisableLayersPainting == Value) return;
  View->DisableLayersPainting = Value;
  if (!Value) F->RefreshBitmap();
}

int32_t GetImageMode() {
  TMainForm* F = Form();
  if (!F || !F->UneImage()) return 0;
  if (F->NbCouleurs() <= 256) return 1;
  if (F->ModeRGBA(true)) return 4;
  return F->Image().Layers().Count() == 1 ? 2 : 3;
}

TPluginPoint GetLayerPosition() {
  TMainForm* F = Form();
  const TLayerItem* L = F && F->UneImage() ? F->Image().CurrentLayer() : nullptr;
  if (!L || (L->LayerType != ltBitmap && L->LayerType != ltData)) return {};
  return {L->Pos.X, L->Pos.Y};
}

TPluginStruct MakeServices() {
  TPluginStruct S{};
  S.BeginAction = BeginAction;
  S.EndAction = EndAction;
  S.GetMergedImage = GetMergedImage;
  S.SetBackgroundImage = SetBackgroundImage;
  S.GetSelectionBitmap = GetSelectionBitmap;
  S.SetSelectionBitmap = SetSelectionBitmap;
  S.GetImageTransparentColor = GetImageTransparentColor;
  S.SetImageTransparentColor = SetImageTransparentColor;
  S.GetImageColorCount = GetImageColorCount;
  S.SetImageColorCount = SetImageColorCount;
  S.NewImageWindow = NewImageWindow;
  S.ShowModuleForm = ShowModuleForm;
  S.FadeLastChange = FadeLastChange;
  S.OutlineSelection = OutlineSelection;
  S.GetSelectionMask = GetSelectionMask;
  S.MarkImageSaved = MarkImageSaved;
  S.GetImageFileName = GetImageFileName;
  S.GetProgramFolder = GetProgramFolder;
  S.GetOpenFolder = GetOpenFolder;
  S.GetSaveFolder = GetSaveFolder;
  S.GetModuleFolder = GetModuleFolder;
  S.GetDialogIniFile = GetDialogIniFile;
  S.SetImageFileName = SetImageFileName;
  S.GetMergedImageByName = GetMergedImageByName;
  S.DrawImageThumbnail = DrawImageThumbnail;
  S.DrawImageThumbnailByName = DrawImageThumbnailByName;
  S.EnumImageWindows = EnumImageWindows;
  S.ShowModuleWindow = ShowModuleWindow;
  S.CreateDIB = CreateDIB;
  S.DestroyDIB = DestroyDIB;
  S.ReleaseDIBHandle = ReleaseDIBHandle;
  S.GetDIBScanLine = GetDIBScanLine;
  S.GetSelectionMaskRect = GetSelectionMaskRect;
  S.GetImageResolution = GetImageResolution;
  S.SetImageResolution = SetImageResolution;
  S.MaskToSelection = MaskToSelection;
  S.PrepareUndoRect = PrepareUndoRect;
  S.SetMainWindowState = SetMainWindowState;
  S.GetSelectionShape = GetSelectionShape;
  S.GetLayerBounds = GetLayerBounds;
  S.GetLayerBitmap = GetLayerBitmap;
  S.SetLayerBitmap = SetLayerBitmap;
  S.GetLayerMask = GetLayerMask;
  S.SetLayerMask = SetLayerMask;
  S.GetLayerMaskRect = GetLayerMaskRect;
  S.SetLayerMaskRect = SetLayerMaskRect;
  S.DisableLayersPainting = DisableLayersPainting;
  S.GetImageMode = GetImageMode;
  S.GetLayerPosition = GetLayerPosition;
  return S;
}

} // namespace

const TPluginStruct& TModuleHost::Services() {
  static const TPluginStruct S = MakeServices();
  return S;
}
