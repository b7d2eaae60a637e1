#include "dialogs/ui/SelParams.h"

#include "dialogs/ui/AnchorBar.h"
#include "dialogs/ui/DialogParts.h"
#include "dialogs/ui/ImageResize.h"
#include "dialogs/ui/LayerDialogHost.h"
#include "dialogs/ui/OpCalque.h"
#include "document/Calque.h"
#include "platform/Rounding.h"
#include "raster/RectUtils.h"
#include "ui/ColorEdit.h"
#include "ui/SpinEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>

namespace {

constexpr TMyShape ItemShapes[] = {ssRect,      ssEllipse,   ssRoundRect, ssLosange, ssTriangle1,
                                   ssTriangle2, ssTriangle3, ssTriangle4, ssPolygon, ssBitmap};
constexpr int PolygonItem = 8;
constexpr int BitmapItem = 9;

} // namespace

int ShapeItemOf(TMyShape Shape) {
  const auto* It = std::find(std::begin(ItemShapes), std::end(ItemShapes), Shape);
  return It == std::end(ItemShapes) ? -1 : int(It - std::begin(ItemShapes));
}

TMyShape ShapeOfItem(int Item) { return ItemShapes[std::clamp(Item, 0, BitmapItem)]; }

TSelParamsForm::TSelParamsForm(QWidget* Parent) : TPipetteForm(Parent) {
  setObjectName(QStringLiteral("SelParamsForm"));
  setWindowTitle(QStringLiteral("Paramétrage manuel"));
  DialogMode = TMainDialogMode::dmDialog;
  auto* Main = new QVBoxLayout(this);

  GroupBox1 = new QGroupBox(TrText(TrId::GetTrLblPosition, QStringLiteral(" Position ")), this);
  GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
  auto* Pos = new QGridLayout(GroupBox1);
  RBPos1 = new QRadioButton(TrText(TrId::GetTrLblManual, QStringLiteral("Manuelle")), GroupBox1);
  RBPos1->setObjectName(QStringLiteral("RBPos1"));
  RBPos1->setChecked(true);
  RBPos2 = new QRadioButton(TrText(TrId::GetTrLblAuto, QStringLiteral("Automatique")), GroupBox1);
  RBPos2->setObjectName(QStringLiteral("RBPos2"));
  // Positions are not limited: a rectangle may start outside the image.
  EdiX = NewSpinEdit2(GroupBox1, "EdiX", INT_MIN / 2, INT_MAX / 2, 0, 5);
  EdiY = NewSpinEdit2(GroupBox1, "EdiY", INT_MIN / 2, INT_MAX / 2, 0, 5);
  LblX = new QLabel(QStringLiteral("X : "), GroupBox1);
  LblY = new QLabel(QStringLiteral("Y : "), GroupBox1);
  Anchors = new TAnchorBar(GroupBox1);
  Anchors->SetPosition(poCenter);
  Pos->addWidget(RBPos1, 0, 0, 1, 2);
  Pos->addWidget(LblX, 1, 0);
  Pos->addWidget(EdiX, 1, 1);
  Pos->addWidget(LblY, 2, 0);
  Pos->addWidget(EdiY, 2, 1);
  Pos->addWidget(RBPos2, 0, 2);
  Pos->addWidget(Anchors, 1, 2, 2, 1);
  Main->addWidget(GroupBox1);

  const TSizeGroup Size = MakeSizeGroup(
      this, "GroupBox2", {TSizeUnit::Pixels, TSizeUnit::Percent, TSizeUnit::Centimetres, TSizeUnit::Inches});
  GroupBox2 = Size.Group;
  GroupBox2->setTitle(TrText(TrId::GetTrLblSize, QStringLiteral(" Taille ")));
  EdiL = Size.EdiL;
  EdiH = Size.EdiH;
  CmbUnit = Size.CmbUnit;
  CBProportions = new QCheckBox(TrText(TrId::GetTrLblAspectRation, QStringLiteral("Conserver les proportions")), GroupBox2);
  CBProportions->setObjectName(QStringLiteral("CBProportions"));
  Size.Form->addRow(CBProportions);
  Main->addWidget(GroupBox2);
  FSize = std::make_unique<TSizeFields>(EdiL, EdiH, CmbUnit, std::vector<TSizeUnit>{TSizeUnit::Pixels, TSizeUnit::Percent,
                                                                                    TSizeUnit::Centimetres, TSizeUnit::Inches},
                                        [] {
                                          TImageDialogHost* Host = ActiveImageDialogHost();
                                          return Host ? Host->Image().ResolutionX : 96.0;
                                        });

  GroupBox3 = new QGroupBox(TrText(TrId::GetTrLblShape, QStringLiteral(" Forme ")), this);
  GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
  auto* Shape = new QVBoxLayout(GroupBox3);
  EdiForme = new QComboBox(GroupBox3);
  EdiForme->setObjectName(QStringLiteral("EdiForme"));
  const std::pair<TrId, const char*> Shapes[] = {
      {TrId::GetTrMnuSelRect, "Rectangle"},
      {TrId::GetTrMnuSelEllipse, "Ellipse"},
      {TrId::GetTrMnuSelRoundRect, "Coins arrondis"},
      {TrId::GetTrMnuSelRhombus, "Losange"},
      {TrId::GetTrMnuSelTriangle1, "Triangle base en bas"},
      {TrId::GetTrMnuSelTriangle2, "Triangle base à gauche"},
      {TrId::GetTrMnuSelTriangle3, "Triangle base en haut"},
      {TrId::GetTrMnuSelTriangle4, "Triangle bas à droite"},
      {TrId::GetTrMnuSelPolygon, "Polygone"}};
  for (const auto& [Id, French] : Shapes)
    EdiForme->addItem(TrText(Id, QString::fromUtf8(French)).remove(u'&').remove(QStringLiteral("...")));
  EdiForme->addItem(QStringLiteral("Bitmap"));
  Shape->addWidget(EdiForme);
  CBInverser = new QCheckBox(TrText(TrId::GetTrMnuSelInvert, QStringLiteral("Inverser")).remove(u'&'), GroupBox3);
  CBInverser->setObjectName(QStringLiteral("CBInverser"));
  Shape->addWidget(CBInverser);
  Main->addWidget(GroupBox3);

  GroupBox4 = new QGroupBox(TrText(TrId::GetTrMnuLayer, QStringLiteral(" Calque ")), this);
  GroupBox4->setObjectName(QStringLiteral("GroupBox4"));
  auto* Layer = new QFormLayout(GroupBox4);
  ColorEdit = new TColorEdit(GroupBox4);
  ColorEdit->setObjectName(QStringLiteral("ColorEdit"));
  ColorEdit->SetColor(clWhite);
  LblColor = new QLabel(TrLabel(TrId::GetTrLblColor, QStringLiteral("Couleur :")), GroupBox4);
  Layer->addRow(LblColor, ColorEdit);
  CBTransp = new QCheckBox(TrText(TrId::GetTrMnuAutoTransparency, QStringLiteral("Transparence automatique")), GroupBox4);
  CBTransp->setObjectName(QStringLiteral("CBTransp"));
  Layer->addRow(CBTransp);
  CBOptions = new QCheckBox(TrText(TrId::GetTrLblLayerOptions, QStringLiteral("Appliquer les options de calque")), GroupBox4);
  CBOptions->setObjectName(QStringLiteral("CBOptions"));
  CBOptions->setChecked(true);
  Layer->addRow(CBOptions);
  Main->addWidget(GroupBox4);

  const TOkCancel Buttons = AddOkCancel(*this, *Main);
  BOk = Buttons.BOk;
  BAnnuler = Buttons.BAnnuler;

  if (TLayerDialogHost* Host = LayerDialogHostSlot()) CBTransp->setChecked(Host->DessinAlpha());
  RBPosClick();
  const TImageDialogHost* Base = ImageDialogHost();
  FSize->SwitchTo(ImageUnitOf(Base ? Base->UniteDefaut() : 0));

  connect(RBPos1, &QRadioButton::toggled, this, [this] { RBPosClick(); });
  connect(CmbUnit, &QComboBox::currentIndexChanged, this, [this] { FSize->UnitChange(); });
  EdiL->OnChange = [this](QObject*) { EdiLChange(); };
  EdiH->OnChange = [this](QObject*) { EdiHChange(); };
  connect(CBTransp, &QCheckBox::clicked, this, [this] { CBTranspClick(); });
  connect(BOk, &QPushButton::clicked, this, [this] { BOkClick(); });
}

TSelParamsForm::~TSelParamsForm() = default;

void TSelParamsForm::AcceptIniControl(QWidget* Control, bool& Accept) {
  TMainDialogForm::AcceptIniControl(Control, Accept);
  // Only the new layer's colour, transparency and options are remembered.
  Accept = Accept && Flag == 2 && Control->parentWidget() == GroupBox4;
}

void TSelParamsForm::ChangerCouleur(TColor Couleur) { ColorEdit->SetColor(Couleur); }

// ---- Opening ----------------------------------------------------------------------------

void TSelParamsForm::FormShow() {
  TLayerDialogHost* Host = ActiveLayerDialogHost();
  TImageDialogHost* Base = ActiveImageDialogHost();
  if (!Host) return;
  const TLayerItem* Layer = Base->Image().CurrentLayer();
  setWindowTitle(Flag == 0   ? Base->TitreMenu(QStringLiteral("MenuSelParams"))
                 : Flag == 1 ? QStringLiteral("Paramétrage manuel")
                             : Base->TitreMenu(QStringLiteral("MenuCalqueNouveau")));
  (Host->SelVisible() || Flag == 0 ? RBPos1 : RBPos2)->setChecked(true);
  RBPosClick();
  FSize->IndexUnit = CmbUnit->currentIndex();
  FSize->SetFormats();
  if (Flag == 0) {
    GroupBox2->setEnabled(true);
    CBProportions->setChecked(Host->SelVisible());
    GroupBox3->show();
    GroupBox4->hide();
    LoadSelection();
  } else {
    GroupBox2->setEnabled(!(Flag == 1 && Layer && Layer->LayerType == ltData));
    CBProportions->setChecked(Flag == 1);
    GroupBox3->hide();
    GroupBox4->setVisible(Flag == 2);
    CBOptions->setEnabled(DialogParams);
    if (!DialogParams) CBOptions->setChecked(false);
    if (Flag == 1 && Layer)
      LoadRect(Layer->BoundsRect());
    else if (Host->SelVisible())
      LoadRect(Host->SelBounds());
    else
      LoadRect({0, 0, Base->LeFond().Width(), Base->LeFond().Height()});
  }
  DialogMode = GroupBox4->isVisibleTo(this) ? TMainDialogMode::dmPipette : TMainDialogMode::dmDialog;
  adjustSize();
}

void TSelParamsForm::UpdateControls() { CBTranspClick(); }

void TSelParamsForm::LoadRect(const TRect& R) {
  TImageDialogHost& Base = *ActiveImageDialogHost();
  FSize->L = Base.LeFond().Width();
  FSize->H = Base.LeFond().Height();
  Ratio = R.Height() > 0 ? double(R.Width()) / R.Height() : 1.0;
  EdiX->SetValue2(R.Left);
  EdiY->SetValue2(R.Top);
  OldL = R.Width();
  OldH = R.Height();
  FSize->SetNewWidth(OldL);
  FSize->SetNewHeight(OldH);
}

void TSelParamsForm::LoadSelection() {
  TLayerDialogHost& Host = *ActiveLayerDialogHost();
  LoadRect(Host.SelVisible() ? Host.SelBounds() : Host.SelectionDefaut());
  CBInverser->setChecked(Host.SelInvert());
  const TMyShape Shape = Host.SelShape();
  PolygonePossible = Host.SelHasPoints() && Shape != ssBitmap;
  BitmapPossible = Host.SelVisible() && Shape == ssBitmap;
  const int Item = ShapeItemOf(Shape);
  // A shape that exists only while drawing keeps the item shown before.
  // A polygon or bitmap shape that cannot be kept shows the rectangle but
  // keeps its own item as the old one, so that Ok makes it a rectangle.
  if (Item >= 0) {
    const bool Kept = (Item != PolygonItem || PolygonePossible) && (Item != BitmapItem || BitmapPossible);
    EdiForme->setCurrentIndex(Kept ? Item : 0);
  }
  OldIndex = Item >= 0 ? Item : EdiForme->currentIndex();
  auto* Model = static_cast<QStandardItemModel*>(EdiForme->model());
  Model->item(PolygonItem)->setEnabled(PolygonePossible);
  Model->item(BitmapItem)->setEnabled(BitmapPossible);
}

// ---- Rules while open -----------------------------------------------------------------

void TSelParamsForm::RBPosClick() {
  const bool Manual = RBPos1->isChecked();
  Anchors->setEnabled(!Manual);
  for (QWidget* W : {static_cast<QWidget*>(EdiX), static_cast<QWidget*>(EdiY), static_cast<QWidget*>(LblX),
                     static_cast<QWidget*>(LblY)})
    W->setEnabled(Manual);
}

void TSelParamsForm::EdiLChange() {
  if (EdiL->text().isEmpty() || !CBProportions->isChecked() || Ratio <= 0) return;
  FSize->SetNewHeight(Round(FSize->GetNewWidth() / Ratio));
}

void TSelParamsForm::EdiHChange() {
  if (EdiH->text().isEmpty() || !CBProportions->isChecked()) return;
  FSize->SetNewWidth(Round(FSize->GetNewHeight() * Ratio));
}

void TSelParamsForm::CBTranspClick() {
  const bool Colour = !CBTransp->isChecked();
  ColorEdit->setEnabled(Colour);
  LblColor->setEnabled(Colour);
  CBOptions->setEnabled(DialogParams && Colour);
}

// ---- Ok ------------------------------------------------------------------------------------

TRect TSelParamsForm::TargetRect() const {
  const int W = std::clamp(FSize->GetNewWidth(), 1, MaxImageSide);
  const int H = std::clamp(FSize->GetNewHeight(), 1, MaxImageSide);
  if (RBPos1->isChecked()) return {EdiX->Value(), EdiY->Value(), EdiX->Value() + W, EdiY->Value() + H};
  TImageDialogHost& Base = *ActiveImageDialogHost();
  TRect R{0, 0, W, H};
  PositionRect(R, {0, 0, Base.LeFond().Width(), Base.LeFond().Height()}, Anchors->Position());
  return R;
}

void TSelParamsForm::BOkClick() {
  if (EdiX->text().isEmpty() || EdiY->text().isEmpty() || !FSize->Filled()) {
    WarnEmptyFields();
    return;
  }
  if (!ActiveLayerDialogHost()) {
    close();
    return;
  }
  const TRect T = TargetRect();
  CloseOk();
  if (Flag == 0)
    ApplySelection(T);
  else if (Flag == 1)
    ApplyLayer(T);
  else
    ApplyNewLayer(T);
}

void TSelParamsForm::ApplySelection(const TRect& T) {
  TLayerDialogHost& Host = *ActiveLayerDialogHost();
  Host.MasquerSelection();
  Host.SetSelBounds(T);
  if (CBInverser->isChecked() != Host.SelInvert()) Host.InverserSelection();
  if (EdiForme->currentIndex() != OldIndex && EdiForme->currentIndex() != BitmapItem)
    Host.ChangerForme(ShapeOfItem(EdiForme->currentIndex()));
  Host.AfficherSelection();
}

void TSelParamsForm::ApplyLayer(const TRect& T) {
  TLayerDialogHost& Host = *ActiveLayerDialogHost();
  TImageDialogHost& Base = *ActiveImageDialogHost();
  TLayerItem* Layer = Base.Image().CurrentLayer();
  if (!Layer) return;
  TActionScope Action(Base);
  const bool SameSize = T.Width() == OldL && T.Height() == OldH;
  if (SameSize)
    Host.PrepareLayerPosUndo(Layer->Pos);
  else
    Base.PreparerUndo(UndoKindLayerAll, windowTitle());
  Layer = Base.Image().CurrentLayer();
  Layer->Pos = {T.Left, T.Top};
  if (!SameSize) Layer->Scale(T.Width(), T.Height());
  Base.RefreshBitmap();
  Base.LayerChanged();
  Host.AfficherInfosCalque();
}

void TSelParamsForm::ApplyNewLayer(const TRect& T) {
  TLayerDialogHost& Host = *ActiveLayerDialogHost();
  TImageDialogHost& Base = *ActiveImageDialogHost();
  const bool Transparent = CBTransp->isChecked();
  TBitmap Bmp(T.Width(), T.Height(), pf24bit, Transparent ? clWhite : ColorEdit->Color());
  TBitmap Mask;
  if (Transparent) Mask.Assign(TBitmap(T.Width(), T.Height(), pf24bit, clWhite));
  Base.LayerNav().AddLayer(&Bmp, Transparent ? &Mask : nullptr, {T.Left, T.Top}, 100, NextLayerName(Base.Image()));
  if (CBOptions->isEnabled() && CBOptions->isChecked()) {
    TIniBmpInfo Info;
    Host.LoadIniBmp(Info);
    TLayerItem& Layer = *Base.Image().CurrentLayer();
    Layer.Opacity = Info.Opacity;
    Layer.ShadowInfos = Info.Shadow;
    Base.LayerChanged();
  }
  Base.RefreshBitmap();
  Host.SelectLayerTool();
  Base.PreparerUndo(UndoKindCreateLayer, Base.TitreMenu(QStringLiteral("MenuCalqueNouveau")) + QStringLiteral(" > ") +
                                             Base.TitreMenu(QStringLiteral("MenuCalqueVierge")));
  Base.MajMenus();
}
