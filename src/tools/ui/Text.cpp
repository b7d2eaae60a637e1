#include "tools/ui/Text.h"

#include "dialogs/ui/DialogParts.h"
#include "dialogs/ui/SizeFields.h"
#include "document/TxtData.h"
#include "i18n/Format.h"
#include "platform/FontUtils.h"
#include "raster/FoncUtils.h"
#include "tools/ui/ToolDialogHost.h"
#include "ui/ColorEdit.h"
#include "ui/CompUtils.h"
#include "ui/ControlTag.h"
#include "ui/GlyphButtons.h"
#include "ui/SpecialEdit.h"
#include "ui/SpinEdit.h"
#include "ui/ToolbarImages.h"
#include "ui/TrackBar.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFontInfo>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTextStream>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The shadow styles of CmbStyle.
enum { StyleFlat, StyleSmooth, StyleDiffuse };
// The blur radius a diffuse shadow is stored with.
constexpr int DiffuseShadowBlur = 4;

// The character map programs looked for, with their desktop entries.
constexpr std::pair<const char*, const char*> CharacterMaps[] = {
    {"gucharmap", "gucharmap.desktop"},
    {"gnome-characters", "org.gnome.Characters.desktop"},
    {"kcharselect", "org.kde.kcharselect.desktop"}};

// The "Name" of a desktop entry's main group; '' when there is none.
QString DesktopEntryName(const QString& Entry) {
  QFile File(QStandardPaths::locate(QStandardPaths::ApplicationsLocation, Entry));
  if (!File.open(QIODevice::ReadOnly | QIODevice::Text)) return QString();
  QTextStream In(&File);
  bool MainGroup = false;
  while (!In.atEnd()) {
    const QString Line = In.readLine().trimmed();
    if (Line.startsWith(u'[')) MainGroup = Line == QLatin1String("[Desktop Entry]");
    if (MainGroup && Line.startsWith(QLatin1String("Name="))) return Line.mid(5).trimmed();
  }
  return QString();
}

// This dialog's fields take no more characters than their range needs.
TSpinEdit2* NewSpin(QWidget* Parent, const char* Name, int Min, int Max, int Value) {
  return NewSpinEdit2(Parent, Name, Min, Max, Value, SpinMaxLength(QString::number(Max), Min < 0));
}

QCheckBox* NewCheck(QWidget* Parent, const char* Name, const QString& Caption, bool Checked) {
  auto* B = new QCheckBox(Caption, Parent);
  B->setObjectName(QString::fromLatin1(Name));
  B->setChecked(Checked);
  return B;
}

QLabel* NewLabel(QWidget* Parent, TrId Id, const char16_t* French) {
  return new QLabel(TrLabel(Id, QString::fromUtf16(French)), Parent);
}

TColorEdit* NewColor(QWidget* Parent, const char* Name, TColor Color) {
  auto* E = new TColorEdit(Parent);
  E->setObjectName(QString::fromLatin1(Name));
  E->SetColor(Color);
  return E;
}

// A checkable flat button of Group, which keeps one of its buttons down.
QToolButton* NewSpeedButton(QWidget* Parent, const char* Name, QButtonGroup* Group) {
  auto* B = new QToolButton(Parent);
  B->setObjectName(QString::fromLatin1(Name));
  B->setCheckable(true);
  B->setAutoRaise(true);
  Group->addButton(B);
  return B;
}

// The host's busy bracket for a scope.
struct TBusy {
  TToolDialogHost& Host;
  explicit TBusy(TToolDialogHost& H) : Host(H) { Host.DebutAction(); }
  ~TBusy() { Host.FinAction(); }
};

} // namespace

bool FindCharacterMap(QString& Path, QString& Description) {
  Path.clear();
  Description.clear();
  for (const auto& [Program, Entry] : CharacterMaps) {
    const QString Found = QStandardPaths::findExecutable(QString::fromLatin1(Program));
    if (Found.isEmpty()) continue;
    Description = DesktopEntryName(QString::fromLatin1(Entry));
    if (Description.isEmpty()) continue;
    Path = Found;
    return true;
  }
  return false;
}

// ---- Creation -----------------------------------------------------------------------------------------

TTextForm::TTextForm(QWidget* Parent) : TPipetteForm(Parent) {
  setObjectName(QStringLiteral("TextForm"));
  TToolDialogHost* Host = ToolDialogHost();
  const QString Menu = Host ? Host->TitreMenu(QStringLiteral("MenuTexte")) : QString();
  setWindowTitle(TranslationLoaded() && !Menu.isEmpty() ? Menu : QStringLiteral("Texte"));
  DialogMode = TMainDialogMode::dmPipette;
  // Only an Ok that made or edited a layer keeps the values (FormHide).
  AutoSaveIni = false;

  auto* Main = new QVBoxLayout(this);
  PageControl = new QTabWidget(this);
  PageControl->setObjectName(QStringLiteral("PageControl"));
  TshTexte = new QWidget;
  TshTexte->setObjectName(QStringLiteral("TshTexte"));
  TshEffets = new QWidget;
  TshEffets->setObjectName(QStringLiteral("TshEffets"));
  PageControl->addTab(TshTexte, TrText(TrId::GetTrMnuText, QStringLiteral("Texte")));
  PageControl->addTab(TshEffets, TrText(TrId::GetTrLblEffects, QStringLiteral("Effets")));
  Main->addWidget(PageControl);
  BuildTextPage();
  BuildEffectsPage();

  auto* Row = new QHBoxLayout;
  BReset = new QPushButton(TrText(TrId::GetTrBtnReset, QStringLiteral("Réinitialiser")), this);
  BReset->setObjectName(QStringLiteral("BReset"));
  BSel = new QPushButton(TrText(TrId::GetTrBtnTxtSel, QStringLiteral("Transformer en sélection")), this);
  BSel->setObjectName(QStringLiteral("BSel"));
  BCharmap = new QPushButton(this);
  BCharmap->setObjectName(QStringLiteral("BCharmap"));
  Row->addWidget(BReset);
  Row->addWidget(BSel);
  Row->addWidget(BCharmap);
  Row->addStretch(1);
  Main->addLayout(Row);
  const TOkCancel Buttons = AddOkCancel(*this, *Main);
  BOk = Buttons.BOk;
  BAnnuler = Buttons.BAnnuler;
  DefaultControl = Memo;

  // The character map's button shows only when the program is installed.
  QString Description;
  BCharmap->setVisible(false);
  if (FindCharacterMap(FCharmap, Description)) {
    BCharmap->setText(Description);
    BCharmap->setVisible(true);
  }

  connect(BOk, &QPushButton::clicked, this, [this] { BOkClick(); });
  connect(BSel, &QPushButton::clicked, this, [this] { BSelClick(); });
  connect(BReset, &QPushButton::clicked, this, [this] { BResetClick(); });
  connect(BCharmap, &QPushButton::clicked, this, [this] { BCharmapClick(); });
}

TTextForm::~TTextForm() = default;

void TTextForm::BuildTextPage() {
  QWidget* P = TshTexte;
  auto* Page = new QVBoxLayout(P);
  Page->addWidget(NewLabel(P, TrId::GetTrLblTextInput, u"Saisie :"));
  Memo = new QPlainTextEdit(P);
  Memo->setObjectName(QStringLiteral("Memo"));
  Memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo->setMinimumHeight(Rescale(90));
  Page->addWidget(Memo);

  auto* Grid = new QGridLayout;
  CmbPolices = new QComboBox(P);
  CmbPolices->setObjectName(QStringLiteral("CmbPolices"));
  InitFontCombo(CmbPolices);
  CmbPolices->setCurrentIndex(-1);
  SelectDefaultFont(CmbPolices);
  // Kept by its name, so that the list may change between runs.
  SetControlTag(CmbPolices, -771);
  Grid->addWidget(NewLabel(P, TrId::GetTrLblFont, u"Police :"), 0, 0);
  Grid->addWidget(CmbPolices, 0, 1, 1, 3);

  SETaille = NewSpin(P, "SETaille", 6, 999, 12);
  PopTaille = new QMenu(this);
  PopTaille->setObjectName(QStringLiteral("PopTaille"));
  for (const int Size : {8, 9, 10, 11, 12, 14, 16, 18, 20, 24, 28, 32, 36, 48, 60, 72, 96, 120, 150, 200, 250, 300})
    PopTaille->addAction(QString::number(Size));
  SETaille->SetDropDownMenu(PopTaille);
  SETaille->SetShowDropButton(true);
  if (TToolDialogHost* Host = ToolDialogHost()) Host->PreparerPopupMenu(PopTaille);
  Grid->addWidget(NewLabel(P, TrId::GetTrLblSize, u"Taille :"), 1, 0);
  Grid->addWidget(SETaille, 1, 1);
  ColorText = NewColor(P, "ColorText", clBlack);
  Grid->addWidget(NewLabel(P, TrId::GetTrLblColor, u"Couleur :"), 1, 2);
  Grid->addWidget(ColorText, 1, 3);

  auto* Styles = new QHBoxLayout;
  CBGras = NewCheck(P, "CBGras", TrText(TrId::GetTrLblFontBold, QStringLiteral("Gras")), false);
  CBItalique = NewCheck(P, "CBItalique", TrText(TrId::GetTrLblFontItalic, QStringLiteral("Italique")), false);
  CBSouligne = NewCheck(P, "CBSouligne", TrText(TrId::GetTrLblFontUnderline, QStringLiteral("Souligné")), false);
  CBBarre = NewCheck(P, "CBBarre", TrText(TrId::GetTrLblFontStrikeOut, QStringLiteral("Barré")), false);
  CBLisser = NewCheck(P, "CBLisser", TrText(TrId::GetTrLblAntialias, QStringLiteral("Lisser")), true);
  for (QCheckBox* B : {CBGras, CBItalique, CBSouligne, CBBarre, CBLisser}) Styles->addWidget(B);
  Grid->addLayout(Styles, 2, 0, 1, 4);

  auto* Align = new QHBoxLayout;
  auto* AlignGroup = new QButtonGroup(this);
  SBGauche = NewSpeedButton(P, "SBGauche", AlignGroup);
  SBCentre = NewSpeedButton(P, "SBCentre", AlignGroup);
  SBDroite = NewSpeedButton(P, "SBDroite", AlignGroup);
  const int Glyph = GlyphButtonSize();
  SBGauche->setIcon(ToolbarIcon(TGlyph::AlignLeft, Glyph));
  SBCentre->setIcon(ToolbarIcon(TGlyph::AlignCenter, Glyph));
  SBDroite->setIcon(ToolbarIcon(TGlyph::AlignRight, Glyph));
  SBGauche->setChecked(true);
  for (QToolButton* B : {SBGauche, SBCentre, SBDroite}) Align->addWidget(B);
  Align->addStretch(1);
  Grid->addWidget(NewLabel(P, TrId::GetTrLblAlignment, u"Alignement :"), 3, 0);
  Grid->addLayout(Align, 3, 1);
  SEAngle = NewSpin(P, "SEAngle", -180, 180, 0);
  Grid->addWidget(NewLabel(P, TrId::GetTrLblAngle, u"Angle :"), 3, 2);
  Grid->addWidget(SEAngle, 3, 3);
  Page->addLayout(Grid);

  Page->addWidget(new QLabel(TrLabel(TrId::GetTrBtnPreview, QStringLiteral("Aperçu :")), P));
  PnlApercu = new QLabel(QStringLiteral("AbYz"), P);
  PnlApercu->setObjectName(QStringLiteral("PnlApercu"));
  PnlApercu->setAlignment(Qt::AlignCenter);
  PnlApercu->setFrameShape(QFrame::StyledPanel);
  PnlApercu->setFixedHeight(Rescale(64));
  Page->addWidget(PnlApercu);

  connect(CmbPolices, &QComboBox::currentIndexChanged, this, [this] { CmbPolicesChange(); });
  SETaille->OnChange = [this](QObject*) { SETailleChange(); };
  for (QCheckBox* B : {CBGras, CBItalique, CBSouligne, CBBarre})
    connect(B, &QCheckBox::toggled, this, [this] { StyleClick(); });
}

void TTextForm::BuildEffectsPage() {
  QWidget* P = TshEffets;
  auto* Page = new QGridLayout(P);
  int Row = 0;
  LblOpacite = new QLabel(P);
  TBOpacite = new TTrackBar(P);
  TBOpacite->setObjectName(QStringLiteral("TBOpacite"));
  TBOpacite->setRange(10, 100);
  TBOpacite->SetFrequency(10);
  TBOpacite->SetPosition(100);
  PrepareTrackBar(TBOpacite);
  TBOpacite->OnChange = [this](QObject*) { TBOpaciteChange(); };
  TBOpaciteChange();
  Page->addWidget(LblOpacite, Row, 0);
  Page->addWidget(TBOpacite, Row++, 1, 1, 3);
  SESpacingX = NewSpin(P, "SESpacingX", -50, 50, 0);
  SESpacingY = NewSpin(P, "SESpacingY", -50, 50, 0);
  QLabel* LblSpacingX = NewLabel(P, TrId::GetTrCharSpacingX, u"Espacement :");
  QLabel* LblSpacingY = NewLabel(P, TrId::GetTrCharSpacingY, u"Interligne :");

  // Pipette buttons: the one down marks the colour a pick goes to.
  auto* Pickers = new QButtonGroup(this);
  // Two labelled fields side by side on the next row.
  const auto Pair = [&](QWidget* Label1, QWidget* Field1, QWidget* Label2, QWidget* Field2) {
    Page->addWidget(Label1, Row, 0);
    Page->addWidget(Field1, Row, 1);
    Page->addWidget(Label2, Row, 2);
    Page->addWidget(Field2, Row++, 3);
  };
  // A colour edit with its pipette button.
  const auto PickedColor = [&](const char* Name, TColor Color, const char* ButtonName, TColorEdit*& Edit,
                               QToolButton*& Button) {
    auto* Box = new QWidget(P);
    auto* Line = new QHBoxLayout(Box);
    Line->setContentsMargins(0, 0, 0, 0);
    Edit = NewColor(Box, Name, Color);
    Button = NewSpeedButton(Box, ButtonName, Pickers);
    SetupColorButton(Button, Edit);
    Line->addWidget(Edit);
    Line->addWidget(Button);
    return Box;
  };
  Pair(LblSpacingX, SESpacingX, LblSpacingY, SESpacingY);
  CBOmbre = NewCheck(P, "CBOmbre", TrText(TrId::GetTrMnuDropShadow, QStringLiteral("Ombre portée")), false);
  Page->addWidget(CBOmbre, Row++, 0, 1, 4);
  LblDX = NewLabel(P, TrId::GetTrLblDeltaX, u"Delta X :");
  SEDX = NewSpin(P, "SEDX", -50, 50, 7);
  LblDY = NewLabel(P, TrId::GetTrLblDeltaY, u"Delta Y :");
  SEDY = NewSpin(P, "SEDY", -50, 50, 7);
  Pair(LblDX, SEDX, LblDY, SEDY);
  LblOmbreColor = NewLabel(P, TrId::GetTrLblColor, u"Couleur :");
  QWidget* ShadowColor = PickedColor("ColorOmbre", clBlack, "SB1", ColorOmbre, SB1);
  LblAlphaShadow = NewLabel(P, TrId::GetTrLblOpacity, u"Opacité :");
  SEAlphaShadow = NewSpin(P, "SEAlphaShadow", 10, 100, 80);
  Pair(LblOmbreColor, ShadowColor, LblAlphaShadow, SEAlphaShadow);
  LblStyle = NewLabel(P, TrId::GetTrLblStyle, u"Style :");
  CmbStyle = new QComboBox(P);
  CmbStyle->setObjectName(QStringLiteral("CmbStyle"));
  CmbStyle->addItems({TrText(TrId::GetTrLblFlat, QStringLiteral("Plat")),
                      TrText(TrId::GetTrLblAntialiased, QStringLiteral("Lissé")),
                      TrText(TrId::GetTrMnuDiffuse, QStringLiteral("Diffusion"))});
  CmbStyle->setCurrentIndex(StyleSmooth);
  LblShadowBlur = NewLabel(P, TrId::GetTrLblRadius, u"Rayon :");
  SEShadowBlur = NewSpin(P, "SEShadowBlur", 1, 50, 6);
  Pair(LblStyle, CmbStyle, LblShadowBlur, SEShadowBlur);

  CBContour = NewCheck(P, "CBContour", TrText(TrId::GetTrLblStroke, QStringLiteral("Contour")), false);
  LblContourColor = NewLabel(P, TrId::GetTrLblColor, u"Couleur :");
  QWidget* OutlineColor = PickedColor("ColorContour", clWhite, "SB2", ColorContour, SB2);
  Page->addWidget(CBContour, Row++, 0, 1, 4);
  Page->addWidget(LblContourColor, Row, 0);
  Page->addWidget(OutlineColor, Row++, 1);

  CBFlou = NewCheck(P, "CBFlou", TrText(TrId::GetTrMnuBlur, QStringLiteral("Flou")), false);
  RBFlouLeger = new QRadioButton(TrText(TrId::GetTrLblLow, QStringLiteral("Léger")), P);
  RBFlouLeger->setObjectName(QStringLiteral("RBFlouLeger"));
  RBFlouLeger->setChecked(true);
  RBFlouFort = new QRadioButton(TrText(TrId::GetTrLblHigh, QStringLiteral("Elevé")), P);
  RBFlouFort->setObjectName(QStringLiteral("RBFlouFort"));
  Page->addWidget(CBFlou, Row, 0);
  Page->addWidget(RBFlouLeger, Row, 1);
  Page->addWidget(RBFlouFort, Row++, 2);
  CB3D = NewCheck(P, "CB3D", TrText(TrId::GetTrLblOuterBevel, QStringLiteral("Biseau externe")), false);
  CBInverser = NewCheck(P, "CBInverser", TrText(TrId::GetTrLblNegativeMode, QStringLiteral("Mode négatif")), false);
  Page->addWidget(CB3D, Row, 0, 1, 2);
  Page->addWidget(CBInverser, Row++, 2, 1, 2);

  Motif = std::make_unique<TPatternChoice>(
      P, TrText(TrId::GetTrLblFillPattern, QStringLiteral("Motif de remplissage :")));
  Motif->Select = [] { return ToolDialogHost() ? ToolDialogHost()->SelectPatternFile() : QString(); };
  // Kept only while the file exists.
  SetControlTag(Motif->EdiMotif, -772);
  auto* PatternRow = new QHBoxLayout;
  PatternRow->addWidget(Motif->EdiMotif, 1);
  PatternRow->addWidget(Motif->SBMotif);
  Page->addWidget(Motif->CBMotif, Row, 0);
  Page->addLayout(PatternRow, Row++, 1, 1, 3);
  Page->setRowStretch(Row, 1);

  connect(CBOmbre, &QCheckBox::clicked, this, [this] { CBOmbreClick(); });
  connect(CmbStyle, &QComboBox::currentIndexChanged, this, [this] { CmbStyleChange(); });
  connect(CBContour, &QCheckBox::clicked, this, [this] { CBContourClick(); });
  connect(CBFlou, &QCheckBox::clicked, this, [this] { CBFlouClick(); });
  connect(CB3D, &QCheckBox::clicked, this, [this] { CB3DClick(); });
  connect(CBInverser, &QCheckBox::clicked, this, [this] { CBInverserClick(); });
}

// ---- The model -----------------------------------------------------------------------------------------

QStringList TTextForm::MemoLines() const {
  QStringList Lines = Memo->toPlainText().split(QLatin1Char('\n'));
  while (!Lines.isEmpty() && Lines.last().trimmed().isEmpty()) Lines.removeLast();
  return Lines;
}

void TTextForm::FillTextData(TTextData& Data) const {
  Data.Initialized = true;
  Data.Lines = MemoLines();
  Data.TextFont = CmbPolices->currentText();
  Data.TextSize = uint16_t(SETaille->Value());
  Data.FontType = uint16_t(ComboFontType(CmbPolices, -1));
  Data.TextColor = ColorText->Color();
  Data.TextAlign = SBDroite->isChecked() ? 2 : SBCentre->isChecked() ? 1 : 0;
  Data.TextStyle = TFontStyles((CBGras->isChecked() ? fsBold : 0) | (CBItalique->isChecked() ? fsItalic : 0) |
                               (CBSouligne->isChecked() ? fsUnderline : 0) | (CBBarre->isChecked() ? fsStrikeOut : 0));
  Data.AntialiasFont = CBLisser->isChecked();
  Data.TextAngle = int16_t(SEAngle->Value());
  Data.Opacity = TBOpacite->Position();
  Data.SpacingX = int16_t(SESpacingX->Value());
  Data.SpacingY = int16_t(SESpacingY->Value());
  Data.Shadow = CBOmbre->isChecked();
  Data.ShadowColor = ColorOmbre->Color();
  Data.ShadowDX = SEDX->Value();
  Data.ShadowDY = SEDY->Value();
  Data.ShadowOpacity = SEAlphaShadow->Value();
  const int Style = CmbStyle->currentIndex();
  Data.ShadowBlur = Style == StyleFlat ? 0 : Style == StyleDiffuse ? DiffuseShadowBlur : SEShadowBlur->Value();
  Data.ShadowStyle = Style == StyleDiffuse ? lstDiffuse : lstBlur;
  Data.Border = CBContour->isChecked();
  Data.BorderColor = ColorContour->Color();
  Data.Blur = CBFlou->isChecked() ? (RBFlouFort->isChecked() ? 2 : 1) : 0;
  Data.Txt3D = CB3D->isChecked();
  Data.Invert = CBInverser->isChecked();
  Data.UseBrush = Motif->CBMotif->isChecked();
  const TToolDialogHost* Host = ToolDialogHost();
  Data.Brush = EncodeFolderMacro(Motif->EdiMotif->Text(), Host ? Host->ProgramDir() : QString());
}

void TTextForm::LoadTextData(const TTextData& Data) {
  Memo->setPlainText(Data.Lines.join(QLatin1Char('\n')));
  CmbPolices->setCurrentIndex(CmbPolices->findText(Data.TextFont));
  SelectDefaultFont(CmbPolices);
  SETaille->SetValue2(Data.TextSize);
  ColorText->SetColor(Data.TextColor);
  (Data.TextAlign == 2 ? SBDroite : Data.TextAlign == 1 ? SBCentre : SBGauche)->setChecked(true);
  CBGras->setChecked(Data.TextStyle & fsBold);
  CBItalique->setChecked(Data.TextStyle & fsItalic);
  CBSouligne->setChecked(Data.TextStyle & fsUnderline);
  CBBarre->setChecked(Data.TextStyle & fsStrikeOut);
  CBLisser->setChecked(Data.AntialiasFont);
  SEAngle->SetValue2(Data.TextAngle);
  TBOpacite->SetPosition(Data.Opacity);
  SESpacingX->SetValue2(Data.SpacingX);
  SESpacingY->SetValue2(Data.SpacingY);
  CBOmbre->setChecked(Data.Shadow);
  ColorOmbre->SetColor(Data.ShadowColor);
  SEDX->SetValue2(Data.ShadowDX);
  SEDY->SetValue2(Data.ShadowDY);
  SEAlphaShadow->SetValue2(Data.ShadowOpacity);
  if (Data.ShadowBlur == 0) {
    CmbStyle->setCurrentIndex(StyleFlat);
  } else if (Data.ShadowStyle == lstDiffuse) {
    CmbStyle->setCurrentIndex(StyleDiffuse);
  } else {
    CmbStyle->setCurrentIndex(StyleSmooth);
    SEShadowBlur->SetValue2(Data.ShadowBlur);
  }
  CBContour->setChecked(Data.Border);
  ColorContour->SetColor(Data.BorderColor);
  CBFlou->setChecked(Data.Blur > 0);
  (Data.Blur == 2 ? RBFlouFort : RBFlouLeger)->setChecked(true);
  CB3D->setChecked(Data.Txt3D);
  CBInverser->setChecked(Data.Invert);
  Motif->CBMotif->setChecked(Data.UseBrush);
  const TToolDialogHost* Host = ToolDialogHost();
  Motif->EdiMotif->SetText(ExpandFolderMacro(Data.Brush, Host ? Host->ProgramDir() : QString()));
}

// ---- Showing and hiding -------------------------------------------------------------------------------

void TTextForm::FormShow() {
  Selection = false;
  QFont Font = Memo->font();
  // The labels' size as shown (their font may be set in pixels), plus 3.
  Font.setPointSizeF(QFontInfo(TshTexte->font()).pointSizeF() + 3);
  Memo->setFont(Font);
  PageControl->setCurrentWidget(TshTexte);
  TextData = nullptr;
  // A new layer starts from the saved values, an edit from the layer's.
  LoadFromIniFile = Nouveau;
  if (Nouveau) {
    Memo->setPlainText(SaveLines.join(QLatin1Char('\n')));
  } else if (TToolDialogHost* Host = ToolDialogHost()) {
    TextData = Host->CurrentTextData();
    if (TextData) LoadTextData(*TextData);
  }
}

void TTextForm::UpdateControls() {
  SelectDefaultFont(CmbPolices);
  if (Motif->EdiMotif->Text().isEmpty()) Motif->CBMotif->setChecked(false);
  RunDependentHandlers();
}

void TTextForm::RunDependentHandlers() {
  CmbPolicesChange();
  SETailleChange();
  StyleClick();
  TBOpaciteChange();
  CBInverserClick();
  CBContourClick();
  CBOmbreClick();
  CBFlouClick();
  CB3DClick();
  CBMotifClick();
}

void TTextForm::FormHide() { SaveToIniFile = DialogOk && !Selection; }

void TTextForm::AcceptIniControl(QWidget* Control, bool& Accept) {
  // The alignment and the pipette buttons are kept too; the other flat
  // buttons are commands.
  if (qobject_cast<QToolButton*>(Control))
    Accept = Control == SBGauche || Control == SBCentre || Control == SBDroite || Control == SB1 || Control == SB2;
}

// ---- Colours picked on the image ----------------------------------------------------------------------

void TTextForm::ChangerCouleur(TColor Couleur) {
  if (IgnoreFirstClick) {
    // The click that opened the dialog from the image is no pick.
    IgnoreFirstClick = false;
    Memo->setFocus();
    return;
  }
  if (PageControl->currentWidget() == TshEffets) {
    if (SB1->isEnabled() && SB1->isChecked())
      ColorOmbre->SetColor(Couleur);
    else if (SB2->isEnabled() && SB2->isChecked())
      ColorContour->SetColor(Couleur);
  } else {
    ColorText->SetColor(Couleur);
  }
}

// ---- Dependent controls -------------------------------------------------------------------------------

void TTextForm::CmbPolicesChange() {
  QFont Font = Memo->font();
  Font.setFamily(CmbPolices->currentText());
  Memo->setFont(Font);
  QFont Preview = PnlApercu->font();
  Preview.setFamily(CmbPolices->currentText());
  PnlApercu->setFont(Preview);
  // Smoothing needs an outline font.
  const bool Smoothable = CanRotateFont(ComboFontType(CmbPolices, -1));
  CBLisser->setEnabled(Smoothable);
  if (!Updating) CBLisser->setChecked(Smoothable);
}

void TTextForm::SETailleChange() {
  if (SETaille->text().isEmpty()) return;
  QFont Preview = PnlApercu->font();
  Preview.setPointSize(SETaille->Value());
  PnlApercu->setFont(Preview);
}

void TTextForm::StyleClick() {
  QFont Preview = PnlApercu->font();
  Preview.setBold(CBGras->isChecked());
  Preview.setItalic(CBItalique->isChecked());
  Preview.setUnderline(CBSouligne->isChecked());
  Preview.setStrikeOut(CBBarre->isChecked());
  PnlApercu->setFont(Preview);
}

void TTextForm::TBOpaciteChange() { LblOpacite->setText(Format(Tr(TrId::GetTrFmtOpacity), {TBOpacite->Position()})); }

void TTextForm::CBInverserClick() {
  const bool Negative = CBInverser->isChecked();
  if (Negative) {
    CB3D->setChecked(false);
    CBOmbre->setChecked(false);
    CBContour->setChecked(false);
  }
  CB3D->setEnabled(!Negative);
  CBOmbre->setEnabled(!Negative);
  CB3DClick();
  CBOmbreClick();
}

void TTextForm::CB3DClick() {
  if (CB3D->isChecked()) CBContour->setChecked(false);
  CBContour->setEnabled(!CB3D->isChecked() && !CBInverser->isChecked());
  CBContourClick();
}

void TTextForm::CBOmbreClick() {
  const bool On = CBOmbre->isChecked();
  for (QWidget* W : std::initializer_list<QWidget*>{LblDX, SEDX, LblDY, SEDY, LblOmbreColor, ColorOmbre, LblAlphaShadow,
                                                   SEAlphaShadow, LblStyle, CmbStyle, SB1})
    W->setEnabled(On);
  CmbStyleChange();
  if (SB1->isEnabled())
    SB1->setChecked(true);
  else if (SB2->isEnabled())
    SB2->setChecked(true);
}

void TTextForm::CBContourClick() {
  const bool On = CBContour->isChecked();
  for (QWidget* W : std::initializer_list<QWidget*>{LblContourColor, ColorContour, SB2}) W->setEnabled(On);
  if (SB2->isEnabled())
    SB2->setChecked(true);
  else if (SB1->isEnabled())
    SB1->setChecked(true);
}

void TTextForm::CmbStyleChange() {
  const bool Radius = CBOmbre->isChecked() && CmbStyle->currentIndex() == StyleSmooth;
  LblShadowBlur->setEnabled(Radius);
  SEShadowBlur->setEnabled(Radius);
}

void TTextForm::CBFlouClick() {
  RBFlouLeger->setEnabled(CBFlou->isChecked());
  RBFlouFort->setEnabled(CBFlou->isChecked());
}

void TTextForm::CBMotifClick() { Motif->CBMotifClick(); }

// ---- Buttons -------------------------------------------------------------------------------------------

void TTextForm::BResetClick() {
  Memo->clear();
  CmbPolices->setCurrentIndex(-1);
  SelectDefaultFont(CmbPolices);
  SETaille->SetValue2(12);
  for (QCheckBox* B : {CBGras, CBItalique, CBSouligne, CBBarre}) B->setChecked(false);
  ColorText->SetColor(clBlack);
  SBGauche->setChecked(true);
  SEAngle->SetValue2(0);
  TBOpacite->SetPosition(100);
  SESpacingX->SetValue2(0);
  SESpacingY->SetValue2(0);
  CBOmbre->setChecked(false);
  SEDX->SetValue2(7);
  SEDY->SetValue2(7);
  ColorOmbre->SetColor(clBlack);
  SEAlphaShadow->SetValue2(80);
  CmbStyle->setCurrentIndex(StyleSmooth);
  SEShadowBlur->SetValue2(6);
  CBContour->setChecked(false);
  ColorContour->SetColor(clWhite);
  CBFlou->setChecked(false);
  RBFlouLeger->setChecked(true);
  CB3D->setChecked(false);
  CBInverser->setChecked(false);
  Motif->CBMotif->setChecked(false);
  Motif->EdiMotif->SetText(QString());
  RunDependentHandlers();
}

void TTextForm::BCharmapClick() {
  if (!FCharmap.isEmpty()) ShellOpen(FCharmap, QString());
}

void TTextForm::BSelClick() {
  Selection = true;
  BOkClick();
}

void TTextForm::BOkClick() {
  for (const TSpinEdit2* E : {SEAngle, SEDX, SEDY, SETaille})
    if (E->text().isEmpty()) {
      // The next Ok must not be taken for "Transformer en sélection".
      Selection = false;
      WarnEmptyFields();
      return;
    }
  const QStringList Lines = MemoLines();
  Memo->setPlainText(Lines.join(QLatin1Char('\n')));
  TToolDialogHost* Host = ToolDialogHost();
  // Editing goes on only while the layer edited is still the current one.
  const bool LayerGone = !Nouveau && !Selection && (!Host || !TextData || Host->CurrentTextData() != TextData);
  if (Lines.isEmpty() || !Host || LayerGone) {
    Selection = false;
    close();
    return;
  }
  CloseOk();
  TBusy Busy(*Host);
  if (Selection) {
    TTextData Temp;
    FillTextData(Temp);
    Temp.Blur = 0;
    Temp.Txt3D = false;
    Host->TextToSelection(Temp, Nouveau);
    Host->SetTool(0);
    return;
  }
  if (Nouveau) {
    SaveLines = Lines;
    TTextData Data;
    FillTextData(Data);
    Host->AddTextLayer(Data, OldSel);
  } else {
    Host->PrepareTextDataUndo();
    FillTextData(*TextData);
    Host->RenderCurrentText();
  }
  Host->SetTool(13);
  Host->MajMenus();
}
