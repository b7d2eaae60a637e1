// Image > Mode (16 million colours, RGB + alpha), Image > Duplicate and
// Image > Automatic transparency. The modes and the transparency change the
// background in one undo step of every layer; a duplicate opens a new window
// and leaves no step.
#include "app/ui/ActionBracket.h"
#include "app/ui/MainForm.h"

#include "filters/Filtres24.h"
#include "raster/Bitmap24.h"
#include "raster/ColorFill.h"
#include "raster/FoncUtils.h"
#include "raster/RectUtils.h"
#include "raster/GreyMasks.h"

#include <QAction>

namespace {

// The key of the automatic transparency when the background has none, and
// what pixels of that very colour become so that they stay opaque: green
// moved by 3 towards the middle.
constexpr TColor AutoTransparentKey = 0xDCEDCE;
constexpr TColor AutoTransparentKeyMoved = 0xDCEACE;

// The background changed in a way that also changes the colour mode.
void BackgroundModeChanged(TMainForm& F) {
  F.SetNbCouleurs(16777216);
  F.MajMenus();
  F.AfficherInfos();
  F.RefreshBitmap();
  F.LayerChanged();
}

void MenuModeRGBClick(TMainForm& F, QAction* Item) {
  if (!F.ActionPossible(F.CommandSender(Item)) || !F.UneImage()) return;
  TActionBracket Bracket(F);
  F.PreparerUndo(miBkgAll, CleanMenuCaption(Item->text()));
  TLayerItem& Bkg = F.Image().Layers()[0];
  Bkg.Mask().ReleaseImage();
  Bkg.Opacity = 100;
  Bkg.Visible = true;
  BackgroundModeChanged(F);
}

void MenuModeRGBAClick(TMainForm& F, QAction* Item) {
  if (!F.UneImage()) return;
  TActionBracket Bracket(F);
  F.PreparerUndo(miBkgAll, CleanMenuCaption(Item->text()));
  TLayerItem& Bkg = F.Image().Layers()[0];
  Bkg.CheckCreateMask(false);
  TBitmap& B = Bkg.Bitmap();
  if (B.Transparent) {
    MaskOutColor(B, Bkg.Mask(), B.TransparentColor(), 0, BitmapRect(B));
    B.Transparent = false;
  }
  BackgroundModeChanged(F);
}

void MenuDupliquerClick(TMainForm& F) {
  TNewImgForm* W = F.EnfantActif();
  if (!W) return;
  const int LayerCount = W->LayerCount;
  // The counter belongs to the window duplicated: its copies are numbered
  // 1, 2, ... in the order they are made.
  const QString Caption = QStringLiteral("%1 (%2)").arg(W->windowTitle()).arg(W->DupCount++);
  if (TNewImgForm* Copy = F.NouvelleImage(&F.Image(), nullptr, Caption, srcDuplicate, F.NbCouleurs()))
    Copy->LayerCount = LayerCount;
}

// The region outside the selection (or inside it, Inside) painted in the
// background's transparent colour, which then becomes transparent.
void MenuTransAutoClick(TMainForm& F, bool Inside) {
  if (!F.CheckSingleLayer() || !F.Sel()->Visible()) return;
  std::unique_ptr<TBitmap> Mask = MakeSelectionMask(F.SelMaskHost(), 0);
  if (!Mask) return;
  TActionBracket Bracket(F);
  F.PreparerUndo(miBkgAll, CleanMenuCaption(F.MenuItem(QStringLiteral("MenuImageTransAuto"))->text()));
  TBitmap& Bkg = F.LeFond();
  TColor Key = AutoTransparentKey;
  if (Bkg.Transparent)
    Key = Bkg.TransparentColor();
  else
    ReplaceColor24(Bkg, AutoTransparentKey, AutoTransparentKeyMoved, 0, BitmapRect(Bkg));
  if (Inside) Negative24(*Mask, BitmapRect(*Mask));
  FillColorMask24(*Mask, BitmapRect(*Mask), Bkg, 0, 0, BitmapRect(Bkg), Key, 100);
  Bkg.SetTransparentColor(Key);
  Bkg.Transparent = true;
  F.RefreshBitmap();
  F.MajMenus();
  F.AfficherInfos();
  F.LayerChanged();
}

} // namespace

void TMainForm::ConnectImageModeCommands() {
  Connect("MenuModeRGB", [this] { MenuModeRGBClick(*this, MenuItem(QStringLiteral("MenuModeRGB"))); });
  Connect("MenuModeRGBA", [this] { MenuModeRGBAClick(*this, MenuItem(QStringLiteral("MenuModeRGBA"))); });
  Connect("MenuDupliquer", [this] { MenuDupliquerClick(*this); });
  Connect("MenuImageTransAutoExt", [this] { MenuTransAutoClick(*this, false); });
  Connect("MenuImageTransAutoIn", [this] { MenuTransAutoClick(*this, true); });
}
