#include "tools/ui/Outils.h"

#include "document/Pattern.h"
#include "i18n/LibLang.h"
#include "tools/ui/PaletteWidgets.h"
#include "tools/ui/ToolGlyphs.h"
#include "ui/SpinEdit.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QStackedWidget>
#include <QToolButton>

namespace {

struct TToolRow {
  const char* Name;
  const char* Hint;
  TrId Translated; // the hint of a language module
  const char* Key;
  int Page;
};

// By tool id: the button, its hint (also the title of its strokes' undo
// records), the keys that choose it and its option page.
constexpr TToolRow ToolRows[ToolCount] = {
    {"BtnSel", "Outil Sélection", TrId::GetTrHntSelTool, "A..J", pgSel},
    {"BtnPipette", "Outil Pipette", TrId::GetTrHntPipetteTool, "K", pgPipette},
    {"BtnMagic", "Outil Baguette magique", TrId::GetTrHntWandTool, "L", pgMagic},
    {"BtnLigne", "Outil Ligne", TrId::GetTrHntLineTool, "M", pgLigne},
    {"BtnRemplir", "Outil Remplissage", TrId::GetTrHntFillTool, "N", pgRemplir},
    {"BtnAero", "Outil Aérographe", TrId::GetTrHntSprayTool, "O", pgAero},
    {"BtnPinceau1", "Outil Pinceau", TrId::GetTrHntPaintbrushTool, "P", pgDessin},
    {"BtnPinceau2", "Outil Pinceau avancé", TrId::GetTrHntPaintbrush2Tool, "Q", pgDessin2},
    {"BtnGoutte", "Outil Flou", TrId::GetTrHntBlurTool, "R", pgGoutte},
    {"BtnDoigt", "Outil Doigt", TrId::GetTrHntFingerTool, "S", pgDoigt},
    {"BtnTampon", "Outil Tampon de clonage", TrId::GetTrHntCloneStampTool, "T", pgTampon},
    {"BtnScroll", "Outil Déplacement", TrId::GetTrHntScrollTool, "U", pgScroll},
    {"BtnGomme", "Outil Gomme", TrId::GetTrHntEraseTool, "V", pgDessin},
    {"BtnLayer", "Outil Gestionnaire de calques", TrId::GetTrHntLayerTool, "W", pgCalque},
    {"BtnRetouche", "Outil Retouche", TrId::GetTrHntRetouchTool, "X", pgRetouche},
    {"BtnDeform", "Outil Déformation", TrId::GetTrHntDeformTool, "Y", pgDeform},
    {"BtnArt", "Outil Pinceau artistique", TrId::GetTrHntArtTool, "Z", pgArt},
    {"BtnNozzle", "Outil Nozzle", TrId::GetTrHntNozzlesTool, "0", PgNoz},
};

// The buttons' order on the palette, three per row.
constexpr TToolId ToolOrder[ToolCount] = {0, 13, 11, 1, 2, 3, 4, 5, 12, 6, 7, 10, 8, 9, 14, 15, 16, 17};

enum : TToolId {
  BtnSel, BtnPipette, BtnMagic, BtnLigne, BtnRemplir, BtnAero, BtnPinceau1, BtnPinceau2, BtnGoutte, BtnDoigt,
  BtnTampon, BtnScroll, BtnGomme, BtnLayer, BtnRetouche, BtnDeform, BtnArt, BtnNozzle
};

constexpr int ToolButtonSide = 28;

} // namespace

TOutilsForm::TOutilsForm(TPaletteServices& Services, QWidget* Parent) : TMainDialogForm(Parent), FServices(Services) {
  setObjectName(QStringLiteral("OutilsForm"));
  setWindowTitle(QStringLiteral("Outils"));
  setWindowFlags(Qt::Tool);
  FContent = new QWidget(this);
  CreateColorArea();
  FTlbBtn = new QWidget(FContent);
  FTlbBtn->setObjectName(QStringLiteral("TlbBtn"));
  auto* Grid = new QGridLayout(FTlbBtn);
  Grid->setContentsMargins(0, 0, 0, 0);
  Grid->setSpacing(0);
  FToolGroup = new QButtonGroup(this);
  FToolGroup->setExclusive(true);
  for (int K = 0; K < ToolCount; ++K) {
    const TToolId Id = ToolOrder[K];
    auto* Button = new QToolButton(FTlbBtn);
    Button->setObjectName(QString::fromLatin1(ToolRows[Id].Name));
    Button->setCheckable(true);
    Button->setAutoRaise(true);
    Button->setFixedSize(ToolButtonSide, ToolButtonSide);
    Button->setIcon(ToolGlyph(Id, 22));
    Button->setIconSize(QSize(22, 22));
    Button->setFocusPolicy(Qt::NoFocus);
    FToolGroup->addButton(Button, Id);
    FToolButtons[size_t(Id)] = Button;
    Grid->addWidget(Button, K / 3, K % 3);
    connect(Button, &QToolButton::clicked, this, [this, Button] { ToolBtnClick(Button); });
  }
  FNbkOptions = new QStackedWidget(FContent);
  FNbkOptions->setObjectName(QStringLiteral("NbkOptions"));
  CreateOptionPages();
  SetButtonHints();
  FToolButtons[BtnSel]->setChecked(true);
  FNbkOptions->setCurrentIndex(pgSel);
  Layout();
  FNozzles.LoadFolder(FServices.NozzleDir());
  for (int I = 0; I < FNozzles.Count(); ++I) FCBNozzle->addItem(FNozzles.Text(I));
  FCBNozzle->setCurrentIndex(FNozzles.ItemIndex);
  qApp->installEventFilter(this);
  // The palette keeps its settings; it registers no dialog mode.
  IniCustomVarCount = 6;
  SaveToIniFile = true;
  AutoSaveIni = false;
  DialogMode = TMainDialogMode::dmNone;
  SetAlignment(PaletteAlignment);
}

TOutilsForm::~TOutilsForm() {
  qApp->removeEventFilter(this);
  CurrentPattern().OnClear = nullptr;
}

TToolId TOutilsForm::Tool() const { return FToolGroup->checkedId(); }

QString TOutilsForm::ToolHint(TToolId Id) const {
  return TranslationLoaded() ? Tr(ToolRows[Id].Translated) : QString::fromUtf8(ToolRows[Id].Hint);
}
const char* TOutilsForm::ToolKey(TToolId Id) const { return ToolRows[Id].Key; }

void TOutilsForm::SetTool(TToolId Id) {
  if (Id < 1 || Id >= ToolCount) Id = BtnSel;
  QToolButton* Button = FToolButtons[size_t(Id)];
  if (Button->isEnabled()) ToolBtnClick(Button);
}

void TOutilsForm::ToolBtnClick(QToolButton* Sender) {
  Sender->setChecked(true);
  CanDrawBrushLine = false;
  const TToolId Id = FToolGroup->id(Sender);
  const bool Eraser = Id == BtnGomme;
  FNbkOptions->setCurrentIndex(Eraser ? (GommePageIndex == 1 ? pgDessin2 : pgDessin) : ToolRows[Id].Page);
  // The eraser has no drawing mode, spacing or fade; it may restore opacity
  // on a layer with transparency.
  Control<QWidget>("EdiDessinMode")->setVisible(!Eraser);
  for (const char* Name : {"TBBrushStep2", "Label33", "TBBrushStep", "Label22", "CBFade", "LblBrushMode"})
    Control<QWidget>(Name)->setVisible(!Eraser);
  FBtnGommePlus->setVisible(Eraser);
  FCBInvertGomme->setVisible(Eraser && FServices.UneImage() && FServices.CurrentLayer().HasAlpha);
  if (Id == BtnLayer) MajOptionsCalques();
  if (Id == BtnPinceau1 || Id == BtnGomme) {
    QToolButton* Down = FBrushButtons.first();
    for (QToolButton* Button : std::as_const(FBrushButtons))
      if (Button->isChecked()) Down = Button;
    BtnBrushClick(Down);
  }
  ResetFocus();
  FServices.ToolChanged(Id == BtnLayer);
  MajCureseurExData();
}

bool TOutilsForm::ToolPaletteVisible() const { return !FServices.Terminating() && isVisible(); }

// ---- Predicates --------------------------------------------------------------

bool TOutilsForm::KeyHeld(int Key) const {
  if (Key == Qt::Key_Control)
    return FCtrlHeld || (QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier);
  return Key == Qt::Key_Space && FSpaceHeld;
}

bool TOutilsForm::eventFilter(QObject* Watched, QEvent* Event) {
  if (Event->type() == QEvent::KeyPress || Event->type() == QEvent::KeyRelease) {
    const auto* Key = static_cast<QKeyEvent*>(Event);
    const bool Down = Event->type() == QEvent::KeyPress;
    if (Key->key() == Qt::Key_Control) FCtrlHeld = Down;
    if (Key->key() == Qt::Key_Space && !Key->isAutoRepeat()) FSpaceHeld = Down;
  } else if (Event->type() == QEvent::ApplicationStateChange) {
    FCtrlHeld = FSpaceHeld = false;
  }
  return TMainDialogForm::eventFilter(Watched, Event);
}

bool TOutilsForm::IsSelectTool() const {
  return Down(BtnSel) || (FServices.IsDialogueForm() && !FServices.HasPipetteForm());
}
bool TOutilsForm::IsSelPaused() const { return FServices.UneImage() && FServices.SelPaused(); }
bool TOutilsForm::IsAllSelectTool() const { return IsSelectTool() || IsMagicTool(); }

bool TOutilsForm::Down(TToolId Id) const { return FToolButtons[size_t(Id)]->isChecked(); }
bool TOutilsForm::DownAlone(TToolId Id) const { return Down(Id) && !FServices.IsDialogueForm(); }

bool TOutilsForm::IsMagicTool() const { return DownAlone(BtnMagic); }
bool TOutilsForm::IsLineTool() const { return DownAlone(BtnLigne); }
bool TOutilsForm::IsFillTool() const { return DownAlone(BtnRemplir); }
bool TOutilsForm::IsGoutteTool() const { return DownAlone(BtnGoutte); }
bool TOutilsForm::IsAeroTool() const { return DownAlone(BtnAero); }
bool TOutilsForm::IsDoigtTool() const { return DownAlone(BtnDoigt); }
bool TOutilsForm::IsRetoucheTool() const { return DownAlone(BtnRetouche); }
bool TOutilsForm::IsLayerTool() const { return DownAlone(BtnLayer); }
bool TOutilsForm::IsDeformTool() const { return DownAlone(BtnDeform); }
bool TOutilsForm::IsArtTool() const { return DownAlone(BtnArt); }
bool TOutilsForm::IsNozzleTool() const { return DownAlone(BtnNozzle); }

bool TOutilsForm::IsBrushTool() const {
  return (Down(BtnPinceau1) || Down(BtnPinceau2) || Down(BtnGomme)) &&
         !FServices.IsDialogueForm();
}

bool TOutilsForm::IsPipetteTool() const {
  if (Down(BtnPipette) || FServices.HasPipetteForm()) return true;
  // Ctrl turns the brush, line, fill and airbrush into the pipette while it
  // is held.
  return !IsDrawing() && KeyHeld(Qt::Key_Control) &&
         (IsBrushTool() || IsLineTool() || IsFillTool() || IsAeroTool());
}

bool TOutilsForm::IsScrollTool() const {
  if (DownAlone(BtnScroll)) return true;
  // Space turns the drawing tools, the fill and a paused selection into the
  // hand scroll while it is held.
  return !IsDrawing() && KeyHeld(Qt::Key_Space) && (IsDrawWithCursorTool() || IsFillTool() || IsSelPaused());
}

bool TOutilsForm::IsTamponTool() const {
  return DownAlone(BtnTampon) && !Control<QCheckBox>("CBTamponMotif")->isChecked() &&
         !KeyHeld(Qt::Key_Control);
}
bool TOutilsForm::IsTamponTool2() const {
  return DownAlone(BtnTampon) && Control<QCheckBox>("CBTamponMotif")->isChecked() &&
         !KeyHeld(Qt::Key_Control);
}
bool TOutilsForm::IsTamponToolInit() const {
  return DownAlone(BtnTampon) && !Control<QCheckBox>("CBTamponMotif")->isChecked() &&
         KeyHeld(Qt::Key_Control);
}

bool TOutilsForm::IsDrawWithCursorTool() const {
  return IsBrushTool() || IsGoutteTool() || IsAeroTool() || IsTamponTool() || IsTamponTool2() || IsRetoucheTool() ||
         IsDeformTool() || IsArtTool() || IsNozzleTool() || IsDoigtTool() || IsLineTool();
}

bool TOutilsForm::IsFillContourTool() const {
  const auto On = [this](const char* Name) {
    const QCheckBox* Box = Control<QCheckBox>(Name);
    // The palette as a whole is disabled while a drag runs: only the
    // option's own state counts.
    return Box->isChecked() && Box->isEnabledTo(this);
  };
  return IsSelectTool() && !FServices.IsDialogueForm() && (On("CBContour") || On("CBRemplir"));
}

// ---- Enabling ------------------------------------------------------------------

void TOutilsForm::MajBoutons() {
  const bool U = FServices.UneImage();
  const TPaletteLayerInfo Layer = U ? FServices.CurrentLayer() : TPaletteLayerInfo{};
  const bool C = U && FServices.Mode16M();
  const bool L = U && !Layer.Locked && Layer.Visible;
  const bool B = U && Layer.IsBitmap;
  const bool T = U && !FServices.BackgroundTransparent();
  const bool Paint = U && C && L && B && T;
  std::array<bool, ToolCount> Enabled{};
  for (TToolId Id : {BtnLigne, BtnRemplir, BtnPinceau1, BtnPinceau2, BtnGoutte, BtnAero, BtnTampon, BtnDoigt, BtnArt,
                     BtnRetouche, BtnDeform})
    Enabled[size_t(Id)] = Paint;
  Enabled[BtnSel] = true;
  Enabled[BtnPipette] = Enabled[BtnScroll] = Enabled[BtnLayer] = U;
  Enabled[BtnMagic] = U && L && (B || Layer.IsText);
  // The eraser also serves 256-colour images whose background has a
  // transparent colour.
  Enabled[BtnGomme] = U && L && B && (C || !T);
  Enabled[BtnNozzle] = Paint && FNozzles.Count() > 0;
  bool Reset = false;
  for (TToolId Id = 0; Id < ToolCount; ++Id) {
    FToolButtons[size_t(Id)]->setEnabled(Enabled[size_t(Id)]);
    Reset = Reset || (!Enabled[size_t(Id)] && FToolButtons[size_t(Id)]->isChecked());
  }
  if (Reset) SetTool(BtnSel);
  const bool Pressure = U && T;
  for (const char* Name : {"TBDessin", "TBDessin2", "CBFade", "Label19", "Label21"})
    Control<QWidget>(Name)->setEnabled(Pressure);
  FCBInvertGomme->setVisible(FToolButtons[BtnGomme]->isChecked() && Pressure && Layer.HasAlpha);
  for (QToolButton* Button : std::as_const(FSelButtons)) Button->setEnabled(U);
  for (const char* Name : {"CBContour", "CBRemplir"}) {
    QCheckBox* Box = Control<QCheckBox>(Name);
    Box->setEnabled(Paint);
    if (!Paint) Box->setChecked(false);
  }
  if (FToolButtons[BtnLayer]->isChecked()) MajOptionsCalques();
}

// ---- Show and hide -------------------------------------------------------------

void TOutilsForm::FormShow() {
  PlacePalette();
  PaletteShown = true;
  if (FBrushes.Count() == 0) LoadBrushSet(QString());
  MajBoutons();
}

void TOutilsForm::FormHide() {
  if (FServices.Terminating()) return;
  PaletteShown = false;
  ToolBtnClick(FToolButtons[BtnSel]);
}

void TOutilsForm::changeEvent(QEvent* Event) {
  TMainDialogForm::changeEvent(Event);
  if (Event->type() != QEvent::ActivationChange || Alignment() != 0) return;
  if (isActiveWindow())
    ResetFocus();
  else
    ValidateEditControls();
}
