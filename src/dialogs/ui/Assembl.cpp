#include "dialogs/ui/Assembl.h"

#include "dialogs/ui/DialogParts.h"
#include "dialogs/ui/EditDialogHost.h"
#include "dialogs/ui/ImageResize.h"
#include "document/Calque.h"
#include "document/ui/Past.h"
#include "raster/Bitmap24.h"
#include "raster/ImgUtils.h"
#include "ui/RadioGroup.h"

#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

TAssemblerForm::TAssemblerForm(QWidget* Parent) : TMainDialogForm(Parent) {
  setObjectName(QStringLiteral("AssemblerForm"));
  setWindowTitle(DialogTitle("MenuEditionAssembler", QStringLiteral("Assembler")));
  DialogMode = TMainDialogMode::dmModal;
  auto* Main = new QVBoxLayout(this);
  RGPos = new TRadioGroup(this);
  RGPos->setObjectName(QStringLiteral("RGPos"));
  RGPos->setTitle(u' ' + TrText(TrId::GetTrLblAssemblePos, QStringLiteral("Coller le contenu du presse-papiers à")) +
                  u' ');
  RGPos->SetItems({TrText(TrId::GetTrLblRight, QStringLiteral("Droite")), TrText(TrId::GetTrLblBottom, QStringLiteral("Bas")),
                   TrText(TrId::GetTrLblLeft, QStringLiteral("Gauche")), TrText(TrId::GetTrLblTop, QStringLiteral("Haut"))});
  RGPos->SetColumns(2);
  RGPos->SetItemIndex(0);
  Main->addWidget(RGPos);
  const TOkCancel Buttons = AddOkCancel(*this, *Main);
  BOk = Buttons.BOk;
  BAnnuler = Buttons.BAnnuler;
  connect(BOk, &QPushButton::clicked, this, [this] { BOkClick(); });
}

void TAssemblerForm::BOkClick() {
  CloseOk();
  TImageDialogHost* Host = ActiveImageDialogHost();
  TEditDialogHost* Edit = EditDialogHost();
  if (!Host || !Edit) return;
  // The clipboard is read first: when it holds no image (the user is told)
  // nothing is prepared and the image stays as it was.
  TBitmap Clip, ClipMask;
  if (!ClipboardData().GetImage(Clip, ClipMask) || Clip.Empty()) return;
  const int W = Host->LeFond().Width(), H = Host->LeFond().Height(), w = Clip.Width(), h = Clip.Height();
  const int Side = RGPos->ItemIndex();
  const bool Across = Side == 0 || Side == 2;
  const int NewW = Across ? W + w : std::max(W, w), NewH = Across ? std::max(H, h) : H + h;
  if (!AcceptImageSize(NewW, NewH)) return;
  const TColor F = Edit->CouleurFond();
  const bool Rgba = Host->ModeRGBA(false);
  const bool ClipHasMask = !ClipMask.Empty();
  if (Rgba && !ClipHasMask) {
    NewBitmap24(ClipMask, w, h, clBlack);
  } else if (!Rgba && ClipHasMask) {
    // Where the clipboard image is transparent the palette's colour shows.
    FillColorAlpha24(ClipMask, WholeBitmapRect, Clip, 0, 0, WholeBitmapRect, F, 100);
    ClipMask.Assign(TBitmap());
  }
  static constexpr TPosition Anchors[4] = {poTopLeft, poTopLeft, poTopRight, poBottomLeft};
  const TPoint At = Side == 0 ? TPoint{W, 0} : Side == 1 ? TPoint{0, H} : TPoint{0, 0};
  TActionScope Action(*Host);
  Host->PreparerUndo(UndoKindBkgAll, Host->TitreMenu(QStringLiteral("MenuEditionAssembler")));
  if (!GuardMemory(*Host, int64_t(NewW) * NewH * 3, [&] {
        EnlargeCanvas(Host->BmpUndo(), Host->LeFond(), NewW, NewH, F, Anchors[Side]);
        CopyBitmap24(Clip, Host->LeFond(), At.X, At.Y);
        if (Rgba) {
          EnlargeCanvasInPlace(Host->LeMasque(), NewW, NewH, clWhite, Anchors[Side]);
          CopyBitmap24(ClipMask, Host->LeMasque(), At.X, At.Y);
        }
      }))
    return;
  // On the left and on top the old picture moved by the clipboard's size.
  const int DX = Side == 2 ? w : 0, DY = Side == 3 ? h : 0;
  if (DX != 0 || DY != 0) {
    if (TUndoItem* Record = Host->CurrentUndo()) {
      Record->SetFlag(5, DX);
      Record->SetFlag(6, DY);
    }
    OffsetAllLayers(Host->LayerNav(), DX, DY, true);
  }
  Host->TailleChangee();
}
