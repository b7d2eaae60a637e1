// The Layer menu's commands on the current layer's mask: the edge effects,
// radial transparency, the crop to the opaque part, the mask made opaque and
// the mask opened as an image.
#include "app/ui/ActionBracket.h"
#include "app/ui/MainForm.h"
#include "app/ui/MainLayerHost.h"

#include "document/MyImageLayered.h"
#include "document/ui/SelectionControl.h"
#include "filters/Blur24.h"
#include "filters/Filtres24.h"
#include "filters/MatrixConst.h"
#include "i18n/LibLang.h"
#include "platform/Beep.h"
#include "raster/Bitmap24.h"
#include "raster/FilterEvent.h"
#include "raster/FoncUtils.h"
#include "raster/GreyMasks.h"
#include "raster/ImgUtils24.h"
#include "tools/Gradient.h"
#include "ui/MsgDlg.h"

#include <QAction>

#include <algorithm>

namespace {

TRect WholeRect(const TBitmap& B) { return {0, 0, B.Width(), B.Height()}; }

// The stair-steps of the mask's edge made ramps; a white frame one pixel
// wide makes the image border count as transparent.
void OptimiseMaskEdge(TBitmap& M) {
  TBitmap T(M.Width() + 2, M.Height() + 2, pf24bit, clWhite);
  CopyBitmap24(M, T, 1, 1);
  Negative24(T, WholeRect(T));
  FeatherMask(T, WholeRect(T), 33);
  Negative24(T, WholeRect(T));
  CopyRect24(T, {1, 1, M.Width() + 1, M.Height() + 1}, M, 0, 0, WholeRect(M));
}

} // namespace

void TMainForm::MenuCalqueEffetBordClick(QObject* Sender) {
  if (!UneImage() || !Sender) return;
  TLayerItem& L = *Image().CurrentLayer();
  if (L.LayerType != ltBitmap || L.Mask().Empty()) return;
  const QString Name = Sender->objectName();
  const QString Titre = CleanMenuCaption(MenuItem(QStringLiteral("MenuCalqueEffetBord"))->text());
  {
    TActionBracket Bracket(*this);
    MasquerSelection();
    PreparerUndo(miFiltreMask, Titre);
    TBitmap& M = L.Mask();
    if (Name.endsWith(QLatin1String("BordLisser"))) {
      SmoothMask(M, WholeRect(M));
    } else if (Name.endsWith(QLatin1String("BordOptimise"))) {
      OptimiseMaskEdge(M);
    } else if (Name.endsWith(QLatin1String("BordFlou"))) {
      GrowShrinkMask(M, -1, WholeRect(M), false);
      ConvolveMatrix3x3(M, MatSoften, 100, WholeRect(M));
    } else {
      SmoothLayerEdges(L);
    }
    RefreshBitmap();
  }
  DernierFiltre(Titre, Sender, [this](QObject* S) { MenuCalqueEffetBordClick(S); }, 4);
}

void TMainForm::MenuCalqueDegradeRadialClick(bool Inverse) {
  if (!UneImage() || RefuseEmptySelection()) return;
  TLayerItem& L = *Image().CurrentLayer();
  if (L.LayerType != ltBitmap) return;
  TActionBracket Bracket(*this);
  // An opaque layer gets its mask first, so that the undo step keeps it.
  L.CheckCreateMask(false);
  PreparerUndo(miFiltreMask, CleanMenuCaption(MenuItem(QStringLiteral("MenuCalqueDegrade"))->text()));
  SetProgressPasses(2);
  // Radial: transparent around an opaque spot; inverted: the other way.
  const TColor Fill = Inverse ? clBlack : clWhite, Spot = Inverse ? clWhite : clBlack;
  const TRect R = LaSelection();
  TBitmap& M = L.Mask();
  FillColor24(M, Fill, 100, R);
  RadialGradient24(M, Spot, (R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2, std::min(R.Width(), R.Height()) / 2, 17,
                   2.0, R);
  GaussianBlurRadius(M, 4, R);
  // The command only adds transparency: what was transparent stays so.
  CombineMaskMax(BmpUndo, M, 0, 0, R);
  AppliquerMasqueSel(2);
  RefreshBitmap();
  LayerChanged();
}

void TMainForm::MenuCalqueCropTransClick(QAction* Item) {
  if (!UneImage()) return;
  MasquerSelection();
  TLayerItem& L = *Image().CurrentLayer();
  // The background keeps the image's origin and size.
  if (IsBackgroundLayer(Image())) {
    Beep();
    return;
  }
  const TBitmap& M = L.Mask();
  const TRect R = M.Empty() ? TRect{} : AutoCropRect(M, 0, clWhite);
  if (R.IsEmpty() || R == WholeRect(M)) {
    ShowMsgDlg(Tr(TrId::GetTrDlgMain3), mdkInformation, TMsgDlgButtons{mdbOk});
    return;
  }
  TActionBracket Bracket(*this);
  PreparerUndo(miLayerAll, CleanMenuCaption(Item->text()));
  L.AutoCropTransparency();
  AfficherInfosCalque();
  RefreshBitmap();
  LayerChanged();
}

void TMainForm::MenuCalqueDelTransClick(QAction* Item) {
  if (!UneImage() || !HasAlpha()) return;
  TActionBracket Bracket(*this);
  PreparerUndo(miLayerMask, CleanMenuCaption(Item->text()));
  TBitmap& M = LeMasque();
  FillColor24(M, clBlack, 100, WholeRect(M));
  RefreshBitmap();
  LayerChanged();
}

void TMainForm::MenuCalqueEditAlphaClick() {
  if (!UneImage()) return;
  TMainLayerHost Host(*this);
  NewImageFromLayerMask(Host, Host);
}

void TMainForm::ConnectLayerMaskCommands() {
  for (const char* Name : {"MenuCalqueBordLisser", "MenuCalqueBordOptimise", "MenuCalqueBordFlou", "MenuCalqueBordDechire"}) {
    QAction* Item = MenuItem(QString::fromLatin1(Name));
    Connect(Name, [this, Item] { if (ActionPossible(Item)) MenuCalqueEffetBordClick(Item); });
  }
  for (const auto& [Name, Inverse] : {std::pair{"MenuCalqueDegradeRadial1", false}, std::pair{"MenuCalqueDegradeRadial2", true}}) {
    QAction* Item = MenuItem(QString::fromLatin1(Name));
    Connect(Name, [this, Item, Inverse = Inverse] { if (ActionPossible(Item)) MenuCalqueDegradeRadialClick(Inverse); });
  }
  QAction* Crop = MenuItem(QStringLiteral("MenuCalqueCropTrans"));
  Connect("MenuCalqueCropTrans", [this, Crop] { if (ActionPossible(Crop)) MenuCalqueCropTransClick(Crop); });
  QAction* DelTrans = MenuItem(QStringLiteral("MenuCalqueDelTrans"));
  Connect("MenuCalqueDelTrans", [this, DelTrans] { if (ActionPossible(DelTrans)) MenuCalqueDelTransClick(DelTrans); });
  for (const char* Name : {"MenuCalqueEditAlpha", "PopCalqueEditAlpha"}) {
    QAction* Item = MenuItem(QString::fromLatin1(Name));
    Connect(Name, [this, Item] { if (ActionPossible(Item)) MenuCalqueEditAlphaClick(); });
  }
}
