// Image > Transformation's flips and turns of the background or of every
// layer, Image > Crop (a first use only shows the default selection, the
// next crops to it) and Image > Automatic crop (to the background's uniform
// or transparent border). Each is one undo step of every layer; a change of
// every layer records its flip or turn, or its shift, in the step's flags so
// that undo and redo move the other layers back and forth.
#include "app/ui/ActionBracket.h"
#include "app/ui/MainForm.h"

#include "i18n/LibLang.h"
#include "raster/FoncUtils.h"
#include "raster/RectUtils.h"
#include "raster/ImgUtils.h"
#include "raster/ImgUtils24.h"
#include "ui/MsgDlg.h"

#include <QAction>

namespace {

// One flip or turn: its submenu, the items "Fond" and "Tous les calques",
// the code recorded for every layer and the background's own change.
struct TFlipRotate {
  const char* Menu;
  const char* Background;
  const char* AllLayers;
  int Code; // 1 rows reversed, 2 columns reversed, 3 clockwise, 4 anticlockwise, 5 half turn
  void (TLayerItem::*Apply)();
};

constexpr TFlipRotate FlipRotates[] = {
    {"MenuImageSymHoriz", "MenuImageSymHoriz1", "MenuImageSymHoriz2", 1, &TLayerItem::FlipVert},
    {"MenuImageSymVerti", "MenuImageSymVerti1", "MenuImageSymVerti2", 2, &TLayerItem::FlipHorz},
    {"MenuImageRot90", "MenuImageRot90_1", "MenuImageRot90_2", 3, &TLayerItem::Rotate270},
    {"MenuImageRot270", "MenuImageRot270_1", "MenuImageRot270_2", 4, &TLayerItem::Rotate90},
    {"MenuImageRot180", "MenuImageRot180_1", "MenuImageRot180_2", 5, &TLayerItem::Rotate180},
};

bool IsQuarterTurn(int Code) { return Code == 3 || Code == 4; }
bool IsFlip(int Code) { return Code == 1 || Code == 2; }

void FlipRotateClick(TMainForm& F, const TFlipRotate& T, bool AllLayers) {
  if (!F.UneImage()) return;
  // Text is never mirrored: a flip of every layer needs it as pixels first.
  if (AllLayers && IsFlip(T.Code) && F.RefuseTextLayers()) return;
  TActionBracket Bracket(F);
  F.PreparerUndo(miBkgAll, CleanMenuCaption(F.MenuItem(QString::fromLatin1(T.Menu))->text()));
  (F.Image().Layers()[0].*T.Apply)();
  if (AllLayers) {
    F.ListeUndo().CurrentUndo()->SetFlag(7, T.Code);
    FlipRotateAllLayers(*F.LayerNav(), T.Code);
  }
  if (IsQuarterTurn(T.Code)) {
    F.TailleChangee();
  } else {
    F.RefreshBitmap();
    F.LayerChanged();
  }
}

// The step just prepared changed nothing: it goes.
void DropPreparedStep(TMainForm& F) {
  F.ListeUndo().DeleteLast();
  F.MajUndoRedo();
}

void MenuImageRecadrerClick(TMainForm& F, const QObject* Sender) {
  if (!F.UneImage()) return;
  TSelectionControl* S = F.Sel();
  if (!S->Visible()) {
    S->SetBmpSelRect(F.SelectionDefaut());
    F.AfficherSelection();
    return;
  }
  TActionBracket Bracket(F);
  const bool LayerItem = Sender == F.MenuItem(QStringLiteral("PopSelRecadrer")) ||
                         Sender == F.MenuItem(QStringLiteral("MenuCalqueRecadrer"));
  if (IsBackgroundLayer(F.Image()) || !LayerItem) {
    F.PreparerUndo(miBkgAll, Tr(TrId::GetTrMnuCropImage));
    if (!CropBackgroundToSelection(F.LayerCommandHost())) {
      DropPreparedStep(F);
      return;
    }
    F.TailleChangee();
    return;
  }
  if (F.RefuseEmptySelection()) return;
  F.PreparerUndo(miLayerAll, Tr(TrId::GetTrMnuCropLayer));
  F.AfficherSelection();
  const bool Cropped = CropLayerToSelection(F.LayerCommandHost());
  F.MasquerSelection();
  if (!Cropped) DropPreparedStep(F);
  F.RefreshBitmap();
  F.LayerChanged();
}

void MenuImageRecadrerAutoClick(TMainForm& F, QObject* Sender) {
  if (!F.UneImage()) return;
  TLayerItem& Bkg = F.Image().Layers()[0];
  TRect R;
  {
    TActionBracket Bracket(F);
    F.MasquerSelection();
    UpdateImageWindows();
    // The background's own mask, whichever layer is current: the crop is
    // the background's.
    R = F.ModeRGBA(false) ? AutoCropRect(Bkg.Mask(), 0, 0xFFFFFF) : AutoCropRect(Bkg.Bitmap(), 33, clNone);
  }
  if (R.IsEmpty() || R == BitmapRect(Bkg.Bitmap())) {
    ShowMsgDlg(Tr(TrId::GetTrDlgMain3), mdkInformation, TMsgDlgButtons{mdbOk});
    return;
  }
  TActionBracket Bracket(F);
  const QString Titre = CleanMenuCaption(F.MenuItem(QStringLiteral("MenuImageRecadrerAuto"))->text());
  F.PreparerUndo(miBkgAll, Titre);
  CropBitmap(Bkg.Bitmap(), R);
  CropBitmap(Bkg.Mask(), R);
  TUndoItem* Step = F.ListeUndo().CurrentUndo();
  Step->SetFlag(5, -R.Left);
  Step->SetFlag(6, -R.Top);
  OffsetAllLayers(*F.LayerNav(), -R.Left, -R.Top, true);
  F.TailleChangee();
  F.DernierFiltre(Titre, Sender, [&F](QObject* S) { MenuImageRecadrerAutoClick(F, S); }, 0);
}

} // namespace

void TMainForm::ConnectImageGeometryCommands() {
  for (const TFlipRotate& T : FlipRotates) {
    Connect(T.Background, [this, &T] { FlipRotateClick(*this, T, false); });
    Connect(T.AllLayers, [this, &T] { FlipRotateClick(*this, T, true); });
  }
  for (const char* Name : {"MenuImageRecadrer", "PopSelRecadrer", "MenuCalqueRecadrer"}) {
    QAction* Item = MenuItem(QString::fromLatin1(Name));
    Connect(Name, [this, Item] { MenuImageRecadrerClick(*this, CommandSender(Item)); });
  }
  QAction* AutoCrop = MenuItem(QStringLiteral("MenuImageRecadrerAuto"));
  Connect("MenuImageRecadrerAuto", [this, AutoCrop] { MenuImageRecadrerAutoClick(*this, CommandSender(AutoCrop)); });
}
