#include "dialogs/ui/Rec.h"

#include "dialogs/ui/AnchorBar.h"
#include "dialogs/ui/DialogParts.h"
#include "dialogs/ui/ImageDialogHost.h"
#include "dialogs/ui/ImageResize.h"
#include "document/Calque.h"
#include "document/Pattern.h"
#include "files/PatternFile.h"
#include "raster/ImgUtils.h"
#include "raster/ImgUtils24.h"
#include "ui/ColorEdit.h"
#include "ui/SpecialEdit.h"
#include "ui/SpinEdit.h"
#include "ui/UtilsDPI.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

TRecadrerForm::TRecadrerForm(QWidget* Parent) : TPipetteForm(Parent) {
  setObjectName(QStringLiteral("RecadrerForm"));
  setWindowTitle(DialogTitle("MenuImageZone", QStringLiteral("Taille de la zone de travail")));
  IniOptions = ioPosition;
  auto* Main = new QVBoxLayout(this);
  Display = std::make_unique<TSizeDisplay>(
      this, TrText(TrId::GetTrLblSizeMemory, QStringLiteral(" Taille en pixels / Mémoire (Fond) ")));
  Main->addWidget(Display->Group);

  const std::vector Units{TSizeUnit::Pixels, TSizeUnit::Percent, TSizeUnit::Centimetres, TSizeUnit::Inches};
  const TSizeGroup Size = MakeSizeGroup(this, "GBNew", Units);
  EdiL = Size.EdiL;
  EdiH = Size.EdiH;
  CmbUnit = Size.CmbUnit;
  Main->addWidget(Size.Group);

  auto* Place = new QFormLayout;
  ToolBar = new TAnchorBar(this);
  Place->addRow(TrLabel(TrId::GetTrLblPosition, QStringLiteral("Position :")), ToolBar);
  ColorEdit = new TColorEdit(this);
  ColorEdit->setObjectName(QStringLiteral("ColorEdit"));
  ColorEdit->SetColor(clWhite);
  Place->addRow(TrLabel(TrId::GetTrLblBkg, QStringLiteral("Fond :")), ColorEdit);
  Pattern = std::make_unique<TPatternChoice>(this, TrText(TrId::GetTrLblBkgPattern, QStringLiteral("Motif de fond :")));
  auto* PatternRow = new QHBoxLayout;
  PatternRow->addWidget(Pattern->EdiMotif, 1);
  PatternRow->addWidget(Pattern->SBMotif);
  Place->addRow(Pattern->CBMotif, PatternRow);
  Main->addLayout(Place);
  const TOkCancel Buttons = AddOkCancel(*this, *Main);
  BOk = Buttons.BOk;
  BAnnuler = Buttons.BAnnuler;

  // The canvas's physical sizes are at the image's own resolution (the
  // screen's for an image that has none).
  Fields = std::make_unique<TSizeFields>(EdiL, EdiH, CmbUnit, Units, [] {
    TImageDialogHost* Host = ActiveImageDialogHost();
    const double R = Host ? Host->Image().ResolutionX : 0.0;
    return R > 0 ? R : double(ScreenPixelsPerInch());
  });
  Fields->SelectUnit(ImageUnitOf(ImageDialogHost() ? ImageDialogHost()->UniteDefaut() : 0));
  Pattern->Select = [] { return ImageDialogHost() ? ImageDialogHost()->SelectPatternFile() : QString(); };

  EdiL->OnChange = [this](QObject*) { SizeEdited(); };
  EdiH->OnChange = [this](QObject*) { SizeEdited(); };
  connect(CmbUnit, &QComboBox::currentIndexChanged, this, [this] {
    if (!Updating) Fields->UnitChange();
  });
  connect(BOk, &QPushButton::clicked, this, [this] { BOkClick(); });
}

TRecadrerForm::~TRecadrerForm() = default;

void TRecadrerForm::FormShow() {
  TImageDialogHost* Host = ActiveImageDialogHost();
  if (!Host) return;
  const TBitmap& Fond = Host->LeFond();
  Fields->L = Fond.Width();
  Fields->H = Fond.Height();
  Display->Show(Fields->L, Fields->H);
  Fields->IndexUnit = CmbUnit->currentIndex();
  Fields->SetFormats();
  Fields->SetNewWidth(Fields->L);
  Fields->SetNewHeight(Fields->H);
  const bool Rgba = Host->ModeRGBA(true);
  if (Fond.Transparent)
    ColorEdit->SetColor(Fond.TransparentColor());
  else if (Rgba)
    ColorEdit->SetColor(clWhite);
  else if (!Host->Mode16M())
    ColorEdit->SetColor(Fond.PixelColor(0, 0));
  ColorEdit->SetReadOnly(Fond.Transparent || !Host->Mode16M());
  ColorEdit->setEnabled(!Rgba);
  Pattern->CBMotif->setEnabled(Host->Mode16M() && !Fond.Transparent && !Rgba);
  Pattern->CBMotifClick();
  DialogMode = ColorEdit->isEnabled() ? TMainDialogMode::dmPipette : TMainDialogMode::dmModal;
}

void TRecadrerForm::ChangerCouleur(TColor Couleur) {
  TImageDialogHost* Host = ActiveImageDialogHost();
  if (Host && !Host->Image().NeedBkgTransparency()) ColorEdit->SetColor(Couleur);
}

void TRecadrerForm::SizeEdited() {
  if (Updating || EdiL->text().isEmpty() || EdiH->text().isEmpty()) return;
  Display->Show(Fields->GetNewWidth(), Fields->GetNewHeight());
}

void TRecadrerForm::ResizeBackground(int NewWidth, int NewHeight, const TBitmap* Motif, const TBitmap* MotifMask) {
  TImageDialogHost& Host = *ImageDialogHost();
  RPos = ResizeCanvas24(Host.BmpUndo(), Host.LeFond(), NewWidth, NewHeight, ColorEdit->Color(), ToolBar->Position(),
                        Motif, MotifMask);
  // The added area of a background with a mask is transparent.
  if (!Motif && Host.ModeRGBA(false))
    EnlargeCanvasInPlace(Host.LeMasque(), NewWidth, NewHeight, clWhite, ToolBar->Position());
}

void TRecadrerForm::BOkClick() {
  if (!Fields->Filled()) {
    WarnEmptyFields();
    return;
  }
  NewL = LimitSide(Fields->GetNewWidth());
  NewH = LimitSide(Fields->GetNewHeight());
  if (!AcceptImageSize(NewL, NewH)) return;
  TImageDialogHost* Host = ActiveImageDialogHost();
  if (!Host || (NewL == Fields->L && NewH == Fields->H)) {
    close();
    return;
  }
  CloseOk();
  // The pattern is read before anything is prepared: a file that cannot be
  // read (its reader says why) leaves the image and its history as they were.
  TPattern32 Motif;
  if (Pattern->Wanted() && !LoadPatternFile(Pattern->EdiMotif->Text(), Motif.Bmp(), Motif.Mask(), Host->PatternDir()))
    return;
  TActionScope Action(*Host);
  Host->PreparerUndo(UndoKindBkgAll, Host->TitreMenu(QStringLiteral("MenuImageZone")));
  if (!GuardMemory(*Host, int64_t(NewL) * NewH * 3, [&] {
        ResizeBackground(NewL, NewH, Motif.BmpEmpty() ? nullptr : &Motif.Bmp(),
                         Motif.MaskEmpty() ? nullptr : &Motif.Mask());
      }))
    return;
  if (TUndoItem* Record = Host->CurrentUndo()) {
    Record->SetFlag(5, RPos.Left);
    Record->SetFlag(6, RPos.Top);
  }
  OffsetAllLayers(Host->LayerNav(), RPos.Left, RPos.Top, true);
  Host->TailleChangee();
}
