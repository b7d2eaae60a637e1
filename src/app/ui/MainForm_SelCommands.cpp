// The Selection menu's commands beyond showing and hiding it: select the
// layer, invert, centre, proportions, the shape submenus, the options, the
// shape clipboard and the selection files, with their copies in the
// selection popups.
#include "app/SelectionPlacement.h"
#include "app/ui/MainForm.h"

#include "document/MyImageLayered.h"
#include "document/ShapeManager.h"
#include "document/ui/ImgForm.h"
#include "document/ui/MyImageLayeredView.h"
#include "document/ui/SelectionControl.h"
#include "files/ui/BmpOE2.h"
#include "i18n/LibLang.h"
#include "raster/FoncUtils.h"
#include "raster/GreyMasks.h"
#include "raster/Polygon24.h"
#include "raster/RectUtils.h"
#include "tools/ui/StrokeTools.h"
#include "ui/MsgDlg.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>

namespace {

// The shape clipboard: one for the whole run; Flag -1 while empty.
struct TMemSel {
  TPointsDataEx PointsData;
  bool Invert = false;
  TRect SelBounds;
  int Flag = -1;
} SelShapeClipboard;

// Numbers the proposed name of the next selection file.
int SelFileCounter = 1;

bool KeepsPoints(TMyShape Shape) { return Shape == ssPolygon || Shape == ssBitmap; }

} // namespace

bool TMainForm::ShapeCopied() { return SelShapeClipboard.Flag != -1; }

void TMainForm::MenuSelCalqueClick() {
  if (!UneImage()) return;
  MasquerSelection();
  TMyImageLayered& Img = Image();
  TLayerItem& L = *Img.CurrentLayer();
  TSelectionControl* S = Sel();
  const TBitmap& Mask = L.Mask();
  if (Mask.Empty() || IsMaskUniform(Mask, 0, {0, 0, Mask.Width(), Mask.Height()})) {
    S->SetShape(ssRect);
    S->SetBmpSelRect(L.BoundsRect());
  } else {
    const TRect Traced = S->ShapeManager().MaskToPoints(&Mask, 254);
    if (Traced.IsEmpty()) return;
    S->SetShape(ssBitmap);
    S->SetBmpSelRect(Img.LayerToBmp(Traced));
  }
  S->SetInvert(false);
  AfficherSelection();
}

void TMainForm::MenuSelInverserClick() {
  if (!UneImage()) return;
  // A traced selection (magic wand) is inverted by the tools, as a new trace.
  if (TStrokeTools* Tools = StrokeTools(); Tools && Sel()->Shape() == ssBitmap)
    Tools->InverserBaguetteMagique();
  else
    Sel()->SetInvert(!Sel()->Invert());
}

void TMainForm::MenuSelCentreClick(TPosition Anchor) {
  if (!UneImage()) return;
  TRect R = Sel()->BmpSelRect();
  PositionRect(R, {0, 0, LeFond().Width(), LeFond().Height()}, Anchor);
  Sel()->SetBmpSelRect(R);
}

void TMainForm::CentrerSel(TRect R) {
  const TMyImageLayeredView* View = EnfantActif()->Image;
  PositionRect(R, View->ClientToBmp(View->ImgVisibleRect()), poCenter);
  MoveRectInside(R, {0, 0, LeFond().Width(), LeFond().Height()}, false);
  Sel()->SetBmpSelRect(R);
}

double TMainForm::ScreenRatio() const {
  const QScreen* Screen = QGuiApplication::primaryScreen();
  const QSize Size = Screen ? Screen->size() : QSize();
  return Size.height() > 0 ? double(Size.width()) / Size.height() : 0;
}

void TMainForm::MenuSelAdapterClick(const QAction* Item) {
  if (!UneImage() || Sel()->Shape() == ssBitmap) return;
  const int W = LeFond().Width(), H = LeFond().Height();
  TRect R = Sel()->BmpSelRect();
  MoveRectInside(R, {0, 0, W, H}, true);
  MasquerSelection();
  if (Item->objectName() == QLatin1String("MenuSelAdapter0"))
    R = SquareRect(R, true, true);
  else
    CalcRatioSelRect(SelectionRatio(Item->property("Tag").toInt(), ScreenRatio()), R, W, H);
  Sel()->SetBmpSelRect(R);
  Sel()->AspectRatio = true;
  AfficherSelection();
}

void TMainForm::AfficherSelRatio(double Ratio) {
  if (!UneImage() || Sel()->Visible()) return;
  const TRect Whole{0, 0, LeFond().Width(), LeFond().Height()};
  TRect R = Whole;
  CalcRatioSelRect(Ratio, R, Whole.Right, Whole.Bottom);
  PositionRect(R, Whole, poCenter);
  Sel()->SetBmpSelRect(R);
  Sel()->AspectRatio = true;
  Sel()->SetShape(ssRect);
  AfficherSelection();
}

// ---- Shapes --------------------------------------------------------------------

void TMainForm::MenuSelNouvelleFormeClick(const QAction* Item, bool FromImagePopup) {
  if (!UneImage()) return;
  const auto Shape = static_cast<TMyShape>(Item->property("Tag").toInt());
  if (!FromImagePopup && Sel()->Visible())
    ChangerForme(Shape, false, 1);
  else
    ChangerForme(Shape, true, 2);
}

void TMainForm::MajMenuForme(QMenu* Menu, bool ImagePopup) {
  if (!UneImage()) return;
  const bool OfSelection = !ImagePopup && Sel()->Visible();
  const int Current = int(OfSelection ? Sel()->Shape() : EnfantActif()->Image->SelShape());
  QAction* Last = nullptr;
  for (QAction* Item : Menu->actions()) {
    if (Item->isSeparator()) continue;
    const bool IsCurrent = Item->property("Tag").toInt() == Current;
    Item->setCheckable(true);
    Item->setChecked(IsCurrent);
    Item->setEnabled(!IsCurrent);
    Last = Item;
  }
  // A polygon needs points to become one.
  if (Last && Last->isEnabled() && OfSelection &&
      (Sel()->ShapeManager().PointsCount() == 0 || Sel()->Shape() == ssBitmap))
    Last->setEnabled(false);
}

// ---- Options -------------------------------------------------------------------

void TMainForm::SetRoundRectDivisor(int Value) {
  RoundRectDivisor = Value;
  PolyRoundRectDivisor = Value;
}

void TMainForm::MenuSelRoundRectDivisor1Click(const QAction* Item) {
  if (!UneImage()) {
    SetRoundRectDivisor(Item->property("Tag").toInt());
    return;
  }
  const bool WasVisible = Sel()->Visible();
  MasquerSelection();
  SetRoundRectDivisor(Item->property("Tag").toInt());
  if (WasVisible) AfficherSelection();
}

void TMainForm::MenuSelLissageClick(int Tag) {
  SelLissage = Tag;
  for (const char* Name : {"MenuSelLissage", "PopSelLissage"}) {
    int I = 0;
    for (QAction* Item : MenuNamed(Name)->actions()) {
      Item->setCheckable(true);
      Item->setChecked(I++ == Tag);
    }
  }
}

// ---- Shape clipboard -----------------------------------------------------------

void TMainForm::MenuSelCopierClick() {
  if (!UneImage() || !Sel()->Visible()) return;
  TSelectionControl* S = Sel();
  SelShapeClipboard.Flag = int(S->Shape());
  SelShapeClipboard.SelBounds = S->BmpSelRect();
  SelShapeClipboard.Invert = S->Invert();
  SelShapeClipboard.PointsData = {};
  if (KeepsPoints(S->Shape())) S->ShapeManager().GetPoints(SelShapeClipboard.PointsData, true);
}

bool TMainForm::AskKeepStoredSize() {
  // Yes keeps the current rectangle, which then takes the stored shape.
  return !Sel()->Visible() || ShowMsgDlg(Tr(TrId::GetTrDlgSel1), mdkConfirmation, {mdbYes, mdbNo}) == mrNo;
}

void TMainForm::PlaceStored(const TRect& Stored, bool UseStoredPlace) {
  const TStoredPlacement P = PlaceStoredSelection(Stored, LeFond().Width(), LeFond().Height(), UseStoredPlace);
  switch (P.Place) {
  case TStoredPlace::Stored:
    Sel()->SetBmpSelRect(Stored);
    break;
  case TStoredPlace::Centred:
    CentrerSel(Stored);
    break;
  case TStoredPlace::Scaled:
    if (Sel()->Shape() == ssBitmap) Sel()->ShapeManager().ScaleEx(P.Width, P.Height);
    CentrerSel({0, 0, P.Width, P.Height});
    break;
  }
}

void TMainForm::MenuSelCollerClick() {
  if (!UneImage() || !ShapeCopied()) return;
  const bool KeepStored = AskKeepStoredSize();
  MasquerSelection();
  TSelectionControl* S = Sel();
  S->SetShape(static_cast<TMyShape>(SelShapeClipboard.Flag));
  if (KeepsPoints(S->Shape())) S->ShapeManager().SetPoints(SelShapeClipboard.PointsData);
  if (KeepStored) PlaceStored(SelShapeClipboard.SelBounds, true);
  AfficherSelection();
}

// ---- Selection files -----------------------------------------------------------

namespace {
// The file dialogs preview selection files through the reader: its messages
// stay off while one is open.
struct TQuietShapeFiles {
  TQuietShapeFiles() { ShowLoadErrors = false; }
  ~TQuietShapeFiles() { ShowLoadErrors = true; }
};
const QString SelFileType = QStringLiteral("Lumaretique Sélection");
} // namespace

void TMainForm::MenuSelEnregistrerClick() {
  if (!UneImage() || !Sel()->Visible()) return;
  const QString Proposed = Tr(TrId::GetTrLblSelFileName) + QString::asprintf("%02d", SelFileCounter) + ".lms";
  QString Name;
  {
    const TQuietShapeFiles Quiet;
    Name = SaveFileDialogExt(Proposed, SelFileType, DataFolders().SelDir,
                             CleanMenuCaption(MenuItem("MenuSelEnregistrer")->text()));
  }
  if (Name.isEmpty()) return;
  if (Sel()->ShapeManager().SaveToFile(Name, Sel()->Shape(), Sel()->BmpSelRect())) ++SelFileCounter;
}

void TMainForm::ChargerForme(QString NomFichier) {
  if (!UneImage()) return;
  if (NomFichier.startsWith(QLatin1Char('.'))) {
    const TQuietShapeFiles Quiet;
    NomFichier = OpenFileDialogExt(NomFichier, SelFileType, DataFolders().SelDir,
                                   CleanMenuCaption(MenuItem("MenuSelCharger")->text()));
    if (NomFichier.isEmpty()) return;
  }
  const bool KeepStored = AskKeepStoredSize();
  MasquerSelection();
  TSelectionControl* S = Sel();
  TMyShape Shape = ssRect;
  TRect Bounds;
  DebutAction(QString(), true);
  const bool Ok = S->ShapeManager().LoadFromFile(NomFichier, Shape, Bounds);
  FinAction();
  if (!Ok) {
    S->SetShape(ssRect);
    return;
  }
  S->SetShape(Shape);
  // A loaded selection is centred in the view, never put back at its place.
  if (KeepStored) PlaceStored(Bounds, false);
  S->AspectRatio = true;
  AfficherSelection();
}

// ---- Wiring --------------------------------------------------------------------

void TMainForm::ConnectSelectionMenuCommands() {
  Connect("MenuSelCalque", [this] { if (ActionPossible(MenuItem("MenuSelCalque"))) MenuSelCalqueClick(); });
  for (const char* Name : {"MenuSelInverser", "PopSelInvert"})
    Connect(Name, [this, Name] { if (ActionPossible(MenuItem(Name))) MenuSelInverserClick(); });
  const std::pair<const char*, TPosition> Centres[] = {
      {"MenuSelCentre1", poCenter}, {"MenuSelCentre2", poCenterHorz}, {"MenuSelCentre3", poCenterVert}};
  for (const auto& [Name, Anchor] : Centres)
    Connect(Name, [this, Name, Anchor] { if (ActionPossible(MenuItem(Name))) MenuSelCentreClick(Anchor); });
  for (const char* Name : {"MenuSelAdapter0", "MenuSelAdapter1", "MenuSelAdapter2", "MenuSelAdapter3",
                           "MenuSelAdapter4", "MenuSelAdapterEcran"}) {
    QAction* Item = MenuItem(Name);
    Connect(Name, [this, Item] { if (ActionPossible(Item)) MenuSelAdapterClick(Item); });
  }
  // The shape submenus: the Selection menu's and the two popups' copies.
  const std::pair<const char*, bool> ShapeMenus[] = {
      {"MenuSelForme", false}, {"PopSelForme", false}, {"PopImgForme", true}};
  for (const auto& [Name, ImagePopup] : ShapeMenus) {
    QMenu* Menu = MenuNamed(Name);
    connect(Menu, &QMenu::aboutToShow, this, [this, Menu, ImagePopup] { MajMenuForme(Menu, ImagePopup); });
    for (QAction* Item : Menu->actions()) {
      if (Item->isSeparator()) continue;
      Item->setProperty("Built", true);
      Item->setEnabled(true);
      connect(Item, &QAction::triggered, this, [this, Item, ImagePopup] {
        if (ActionPossible(Item)) MenuSelNouvelleFormeClick(Item, ImagePopup);
      });
    }
  }
  Connect("MenuSelReperes", [this] { if (UneImage()) Sel()->SetShowBounds(!Sel()->ShowBounds()); });
  Connect("MenuSelAnimer", [this] { if (UneImage()) Sel()->SetAnimated(!Sel()->Animated()); });
  for (const char* Name : {"MenuSelRatio", "PopSelRatio"})
    Connect(Name, [this] { if (UneImage()) Sel()->AspectRatio = !Sel()->AspectRatio; });
  QMenu* Divisors = MenuNamed("MenuSelRoundRectDivisor");
  connect(Divisors, &QMenu::aboutToShow, this, [Divisors] {
    for (QAction* Item : Divisors->actions()) {
      Item->setCheckable(true);
      Item->setChecked(Item->property("Tag").toInt() == RoundRectDivisor);
    }
  });
  for (const char* Name : {"MenuSelRoundRectDivisor1", "MenuSelRoundRectDivisor2", "MenuSelRoundRectDivisor3"}) {
    QAction* Item = MenuItem(Name);
    Connect(Name, [this, Item] { MenuSelRoundRectDivisor1Click(Item); });
  }
  for (const char* Menu : {"MenuSelLissage", "PopSelLissage"})
    for (QAction* Item : MenuNamed(Menu)->actions()) {
      const int Tag = Item->property("Tag").toInt();
      Item->setProperty("Built", true);
      Item->setEnabled(true);
      connect(Item, &QAction::triggered, this, [this, Tag] { MenuSelLissageClick(Tag); });
    }
  MenuSelLissageClick(SelLissage);
  Connect("MenuSelCopier", [this] { if (ActionPossible(MenuItem("MenuSelCopier"))) MenuSelCopierClick(); });
  Connect("MenuSelColler", [this] { if (ActionPossible(MenuItem("MenuSelColler"))) MenuSelCollerClick(); });
  Connect("MenuSelEnregistrer",
          [this] { if (ActionPossible(MenuItem("MenuSelEnregistrer"))) MenuSelEnregistrerClick(); });
  Connect("MenuSelCharger", [this] { if (ActionPossible(MenuItem("MenuSelCharger"))) ChargerForme(".lms"); });
}
