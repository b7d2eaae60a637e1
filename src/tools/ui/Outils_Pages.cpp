// The option pages of the tool palette, one per tool, with their controls,
// defaults and handlers.
#include "tools/ui/Outils.h"

#include "document/Pattern.h"
#include "tools/ui/ToolGlyphs.h"
#include "ui/CompUtils.h"
#include "ui/ControlTag.h"
#include "ui/SpecialEdit.h"
#include "ui/SpinEdit.h"
#include "ui/TrackBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <string_view>

namespace {

const QStringList RadiusPresets = {"3", "5", "7", "10", "15", "20", "30", "50",
                                   "70", "100", "150", "200", "300", "400", "600", "800"};
const QStringList AlphaPresets = {"10%", "20%", "30%", "40%", "50%", "60%", "70%", "80%", "90%", "100%"};
const QStringList TolerancePresets = {"0", "3", "7", "12", "30", "50", "100"};
const QStringList ScalePresets = {"25%  (1:4)", "33%  (1:3)",  "50%  (1:2)",  "66% (2:3)",
                                  "75% (3:4)",  "100%  (1:1)", "150%  (3:2)", "200%  (2:1)"};

QVBoxLayout* PageLayout(QWidget* Page) { return static_cast<QVBoxLayout*>(Page->layout()); }

// A label above a control, named so that enabling can follow the control.
void AddCaption(QWidget* Page, const char* LabelName, const QString& Caption) {
  if (Caption.isEmpty()) return;
  auto* Label = new QLabel(Caption, Page);
  if (LabelName) Label->setObjectName(QString::fromLatin1(LabelName));
  PageLayout(Page)->addWidget(Label);
}

// A check box or radio button of a page; the keyboard stays with the image.
template <class TButton>
TButton* AddTwoState(QWidget* Page, const char* Name, const QString& Caption, bool Checked) {
  auto* Button = new TButton(Caption, Page);
  Button->setObjectName(QString::fromLatin1(Name));
  Button->setChecked(Checked);
  Button->setFocusPolicy(Qt::NoFocus);
  PageLayout(Page)->addWidget(Button);
  return Button;
}

} // namespace

QWidget* TOutilsForm::NewPage(TOptionPage Page) {
  static const char* const Names[OptionPageCount] = {
      "pgSel",   "pgPipette", "pgLigne",   "pgRemplir",  "pgDessin", "pgDessin2", "pgGoutte", "pgScroll", "pgAero",
      "pgTampon", "pgMagic",  "pgDoigt",   "pgCalque",   "pgRetouche", "pgDeform", "pgArt",    "PgNoz"};
  auto* Widget = new QWidget;
  Widget->setObjectName(QString::fromLatin1(Names[Page]));
  auto* Layout = new QVBoxLayout(Widget);
  Layout->setContentsMargins(2, 2, 2, 2);
  Layout->setSpacing(2);
  FNbkOptions->insertWidget(Page, Widget);
  return Widget;
}

QMenu* TOutilsForm::NewMenu(const char* Name, const QStringList& Items, const QList<int>& Tags) {
  auto* Menu = new QMenu(this);
  Menu->setObjectName(QString::fromLatin1(Name));
  for (int I = 0; I < Items.size(); ++I) {
    if (Items[I] == QLatin1String("-")) {
      Menu->addSeparator();
      continue;
    }
    QAction* Item = Menu->addAction(Items[I]);
    SetControlTag(Item, I < Tags.size() ? Tags[I] : I);
  }
  return Menu;
}

TSpinEdit2* TOutilsForm::AddSpin(QWidget* Page, const char* Name, const QString& Caption, int Min, int Max,
                                 int Default, QMenu* Presets) {
  AddCaption(Page, nullptr, Caption);
  auto* Spin = NewSpinEdit2(Page, Name, Min, Max, Default);
  // The default is also the value an emptied field takes back.
  Spin->SetTag(Default);
  if (Presets) {
    Spin->SetDropDownMenu(Presets);
    Spin->SetShowDropButton(true);
    Spin->OnSelectItem = [this](QObject*, bool) { ResetFocus(); };
  }
  PageLayout(Page)->addWidget(Spin);
  return Spin;
}

TTrackBar* TOutilsForm::AddSlider(QWidget* Page, const char* Name, const QString& Caption, int Min, int Max,
                                  int Default) {
  // The label is named after the slider's name with "Lbl" before it.
  const QByteArray LabelName = QByteArray("Lbl") + Name;
  AddCaption(Page, LabelName.constData(), Caption);
  auto* Slider = new TTrackBar(Page);
  Slider->setObjectName(QString::fromLatin1(Name));
  Slider->setOrientation(Qt::Horizontal);
  Slider->setRange(Min, Max);
  Slider->SetPosition(Default);
  Slider->setFocusPolicy(Qt::NoFocus);
  PageLayout(Page)->addWidget(Slider);
  return Slider;
}

QLabel* TOutilsForm::AddUnderlinedLabel(QWidget* Page, const char* Name) {
  auto* Label = new QLabel(Page);
  Label->setObjectName(QString::fromLatin1(Name));
  QFont Underlined = Label->font();
  Underlined.setUnderline(true);
  Label->setFont(Underlined);
  PageLayout(Page)->addWidget(Label);
  return Label;
}

QCheckBox* TOutilsForm::AddCheck(QWidget* Page, const char* Name, const QString& Caption, bool Checked) {
  return AddTwoState<QCheckBox>(Page, Name, Caption, Checked);
}

QRadioButton* TOutilsForm::AddRadio(QWidget* Page, const char* Name, const QString& Caption, bool Checked) {
  return AddTwoState<QRadioButton>(Page, Name, Caption, Checked);
}

TSpecialEdit* TOutilsForm::AddChoice(QWidget* Page, const char* Name, const QString& Caption, QMenu* Menu,
                                     int Index) {
  AddCaption(Page, nullptr, Caption);
  auto* Edit = new TSpecialEdit(Page);
  Edit->setObjectName(QString::fromLatin1(Name));
  Edit->SetDropDownMenu(Menu);
  Edit->SetShowButton(true);
  Edit->SetMinimizeText(true);
  Edit->SetItemIndex(Index);
  Edit->OnSelectItem = [this](QObject*, bool) { ResetFocus(); };
  PageLayout(Page)->addWidget(Edit);
  return Edit;
}

void TOutilsForm::CreateOptionPages() {
  QMenu* PopRadius = NewMenu("PopRadius", RadiusPresets);
  QMenu* PopAlpha = NewMenu("PopAlpha", AlphaPresets);
  QMenu* PopTolerance = NewMenu("PopTolerance", TolerancePresets);
  NewMenu("PopTaille", ScalePresets); // found by name by the scale edits
  // The radius presets the deform radius (from 20) and the edits limited to
  // 200 cannot take are hidden while their menu is open.
  connect(PopRadius, &QMenu::aboutToShow, this, [PopRadius] {
    const QObject* Owner = PopupComponent(PopRadius);
    const QString Name = Owner ? Owner->objectName() : QString();
    const bool Deform = Name == QLatin1String("SERDeform");
    const bool Small = QStringList{"SERGoutte", "SERDoigt", "SERRetouche", "SELineWidth"}.contains(Name);
    for (QAction* Item : PopRadius->actions()) {
      const int Value = Item->text().toInt();
      Item->setVisible(!(Deform && Value < 20) && !(Small && Value > 200));
    }
  });

  CreateSelectionPage();

  QWidget* Page = NewPage(pgPipette);
  for (const char* Name : {"LblR", "LblV", "LblB"}) {
    auto* Label = new QLabel(Page);
    Label->setObjectName(QString::fromLatin1(Name));
    PageLayout(Page)->addWidget(Label);
  }
  auto* Html = new QLineEdit(Page);
  Html->setObjectName(QStringLiteral("EdiHTML"));
  Html->setMaxLength(7);
  connect(Html, &QLineEdit::editingFinished, this, [this] { ValidateEdiHTML(); });
  PageLayout(Page)->addWidget(Html);

  Page = NewPage(pgLigne);
  AddSpin(Page, "SELineWidth", QStringLiteral("Epaisseur"), 1, 200, 2, PopRadius)->OnChange = [this](QObject*) {
    FServices.SetLineWidth(Control<TSpinEdit2>("SELineWidth")->Value());
    MajCureseurExData();
  };
  AddSpin(Page, "SELineOpacite", QStringLiteral("Opacité"), 10, 100, 100, PopAlpha);
  AddCheck(Page, "CBLisserLigne", QStringLiteral("Lisser"), true);
  QCheckBox* Arrow2 = AddCheck(Page, "CBFleche2", QStringLiteral("→"), false);
  QCheckBox* Arrow1 = AddCheck(Page, "CBFleche1", QStringLiteral("↔"), false);
  // Ticking one arrow box clears the other.
  connect(Arrow2, &QCheckBox::clicked, this, [Arrow1](bool On) { if (On) Arrow1->setChecked(false); });
  connect(Arrow1, &QCheckBox::clicked, this, [Arrow2](bool On) { if (On) Arrow2->setChecked(false); });
  AddCaption(Page, nullptr, QStringLiteral("Style"));
  auto* LineStyle = new QComboBox(Page);
  LineStyle->setObjectName(QStringLiteral("CBLineStyle"));
  // The shared pen-style list: the two plain lines, then the line brushes'
  // styles, each drawn as a sample.
  InitPenStyleCombo(LineStyle, true);
  LineStyle->setFocusPolicy(Qt::NoFocus);
  connect(LineStyle, &QComboBox::currentIndexChanged, this, [this] { CBLineStyleChange(); });
  PageLayout(Page)->addWidget(LineStyle);

  Page = NewPage(pgRemplir);
  AddSpin(Page, "SEFillTolerance", QStringLiteral("Tolérance"), 0, 100, 30, PopTolerance);
  AddSpin(Page, "SEFillOpacite", QStringLiteral("Opacité"), 10, 100, 100, PopAlpha);
  QCheckBox* FillMotif = AddCheck(Page, "CBMotifRemplir", QStringLiteral("Motif"), false);
  connect(FillMotif, &QCheckBox::clicked, this, [this, FillMotif] { PatternBoxClick(FillMotif); });
  AddPatternBar(Page, "ToolBarPattern2", 2);

  CreateBrushPage();
  CreateListPages();

  Page = NewPage(pgGoutte);
  AddSpin(Page, "SERGoutte", QStringLiteral("Rayon"), 1, 200, 10, PopRadius);
  AddSlider(Page, "TBGoutte", QStringLiteral("Pression"), 1, 10, 6);

  Page = NewPage(pgScroll);
  AddRadio(Page, "RBScrollFluide", QStringLiteral("Précis"), false);
  AddRadio(Page, "RBScrollMoyen", QStringLiteral("Moyen"), true);
  AddRadio(Page, "RBScrollSacade", QStringLiteral("Saccadé"), false);

  Page = NewPage(pgAero);
  AddSpin(Page, "SERAero", QStringLiteral("Rayon"), 1, 400, 20, PopRadius);
  AddSlider(Page, "TBPressionAero", QStringLiteral("Pression"), 1, 10, 6);
  AddSlider(Page, "TBDispersionAero", QStringLiteral("Dispersion"), 0, 10, 4);
  AddCheck(Page, "CBAeroGrad", QStringLiteral("Arc-en-ciel"), false);

  Page = NewPage(pgTampon);
  AddSpin(Page, "SERTampon", QStringLiteral("Rayon"), 1, 400, 20, PopRadius);
  AddSlider(Page, "TBTampon", QStringLiteral("Pression"), 1, 10, 10);
  AddSlider(Page, "TBBrushStep3", QStringLiteral("Pas"), 0, 10, 1);
  for (const auto& [Name, Caption] : {std::pair{"CBTamponFixe", "Fixe"}, std::pair{"CBTamponPrecis", "Précis"},
                                      std::pair{"CBTamponDiffuse", "Diffusion"}, std::pair{"CBTamponMotif", "Motif"}})
    connect(AddCheck(Page, Name, QString::fromUtf8(Caption), false), &QCheckBox::clicked, this, [this, Name] {
      if (Name == std::string_view("CBTamponMotif")) PatternBoxClick(Control<QCheckBox>(Name));
      CBTamponClick();
    });
  AddPatternBar(Page, "ToolBarPattern", 1);
  // A pattern emptied elsewhere unticks both pattern boxes.
  CurrentPattern().OnClear = [this] {
    for (const char* Name : {"CBTamponMotif", "CBMotifRemplir"}) Control<QCheckBox>(Name)->setChecked(false);
    for (const char* Name : {"ToolBarPattern", "ToolBarPattern2"}) Control<QWidget>(Name)->hide();
  };

  Page = NewPage(pgMagic);
  AddSpin(Page, "EdiMagicTolerance", QStringLiteral("Tolérance"), 0, 100, 30, PopTolerance);
  AddCheck(Page, "CBMagicCouleur", QStringLiteral("Couleur"), false);

  Page = NewPage(pgDoigt);
  AddSpin(Page, "SERDoigt", QStringLiteral("Rayon"), 1, 200, 10, PopRadius);
  AddSlider(Page, "TBDoigt", QStringLiteral("Pression"), 1, 10, 6);

  CreateLayerPage();

  Page = NewPage(pgRetouche);
  QMenu* PopRetouche = NewMenu("PopRetouche", {"(-) Gamma", "(+) Gamma", "-", "(-) Couleur", "(+) Couleur", "-",
                                               "(-) Netteté", "(+) Netteté", "-", "Oeil rouge", "-", "Gomme magique"});
  AddChoice(Page, "EdiRetouche", QString(), PopRetouche, 6)->OnChange = [this](QObject*) { EdiRetoucheChange(); };
  AddSpin(Page, "SERRetouche", QStringLiteral("Rayon"), 1, 200, 10, PopRadius);
  AddSlider(Page, "TBRetouche", QStringLiteral("Pression"), 1, 10, 7);
  auto* PnlGomme = new QWidget(Page);
  PnlGomme->setObjectName(QStringLiteral("PnlGomme"));
  PnlGomme->setLayout(new QVBoxLayout);
  PnlGomme->layout()->setContentsMargins(0, 0, 0, 0);
  AddRadio(PnlGomme, "RBRadial", QStringLiteral("Radial"), true);
  AddRadio(PnlGomme, "RBHoriz", QStringLiteral("Horizontal"), false);
  AddRadio(PnlGomme, "RBVerti", QStringLiteral("Vertical"), false);
  AddCheck(PnlGomme, "CBLisserGomme", QStringLiteral("Lisser"), true);
  PageLayout(Page)->addWidget(PnlGomme);
  PnlGomme->hide();

  Page = NewPage(pgDeform);
  AddRadio(Page, "RBDeform1", QStringLiteral("Spirale"), false);
  AddRadio(Page, "RBDeform2", QStringLiteral("Zoom"), true);
  AddRadio(Page, "RBDeform3", QStringLiteral("Dilater"), false);
  AddRadio(Page, "RBDeform4", QStringLiteral("Contracter"), false);
  AddSpin(Page, "SERDeform", QStringLiteral("Rayon"), 20, 400, 60, PopRadius);
  AddSlider(Page, "TBDeform", QStringLiteral("Pression"), 1, 10, 10);

  Page = NewPage(pgArt);
  QMenu* PopArt = NewMenu("PopArt", {"Pointillisme", "Aérographe", "Etalement", "Peinture", "Couteau", "Aquarelle",
                                     "Pastels", "Verre", "Teinte", "Gris", "Sépia", "Bichromie"});
  AddChoice(Page, "EdiArtMode", QString(), PopArt, 0);
  AddSpin(Page, "SERArt", QStringLiteral("Rayon"), 3, 400, 20, PopRadius);
  AddSlider(Page, "TBArt", QStringLiteral("Pression"), 1, 10, 10);

  for (int I = 0; I < OptionPageCount; ++I) PageLayout(FNbkOptions->widget(I))->addStretch(1);
  // Every radius edit and line width follows the brush-outline cursor.
  for (const char* Name : {"SERGoutte", "SERAero", "SERTampon", "SERDoigt", "SERRetouche", "SERDeform", "SERArt"})
    Control<TSpinEdit2>(Name)->OnChange = [this](QObject*) { MajCureseurExData(); };
}

void TOutilsForm::CreateSelectionPage() {
  QWidget* Page = NewPage(pgSel);
  auto* Bar = new QWidget(Page);
  Bar->setObjectName(QStringLiteral("TlbSel"));
  auto* Grid = new QGridLayout(Bar);
  Grid->setContentsMargins(0, 0, 0, 0);
  Grid->setSpacing(0);
  // Their hints come from the menu items doing the same (SetButtonHints).
  struct TSelButton {
    const char* Name;
    int Tag;
  };
  static const TSelButton Buttons[] = {{"TB0", 0},  {"TB1", 1},  {"TB2", 2},  {"TB3", 9},  {"TB4", 5},
                                       {"TB10", 6}, {"TB5", 10}, {"TB6", 11}, {"TB7", 0},  {"TB8", 10},
                                       {"TB11", 0}, {"TB9", 0},  {"TB12", 0}, {"TB13", 0}, {"TB14", 0}};
  for (const TSelButton& Row : Buttons) {
    auto* Button = new QToolButton(Bar);
    Button->setObjectName(QString::fromLatin1(Row.Name));
    Button->setIcon(SelectionGlyph(int(FSelButtons.size()), 22));
    Button->setAutoRaise(true);
    Button->setFocusPolicy(Qt::NoFocus);
    SetControlTag(Button, Row.Tag);
    Grid->addWidget(Button, FSelButtons.size() / 3, FSelButtons.size() % 3);
    FSelButtons << Button;
    connect(Button, &QToolButton::clicked, this, [this, Button] { TBSelClick(Button); });
  }
  PageLayout(Page)->addWidget(Bar);
  AddCheck(Page, "CBContour", QStringLiteral("Contour"), false);
  AddCheck(Page, "CBRemplir", QStringLiteral("Remplir"), false);
}

void TOutilsForm::TBSelClick(QToolButton* Sender) {
  const QString Name = Sender->objectName();
  static const QHash<QString, TPaletteSelCommand> Commands = {
      {"TB7", TPaletteSelCommand::LoadShape},   {"TB12", TPaletteSelCommand::Invert},
      {"TB13", TPaletteSelCommand::Centre},     {"TB14", TPaletteSelCommand::ManualParameters},
      {"TB8", TPaletteSelCommand::RatioSquare}, {"TB11", TPaletteSelCommand::Ratio43},
      {"TB9", TPaletteSelCommand::Ratio32}};
  if (Commands.contains(Name)) {
    FServices.SelectionCommand(Commands.value(Name));
  } else {
    const int Tag = ControlTag(Sender);
    FServices.ChangerForme(std::min(Tag, 10), Tag > 10);
  }
  ResetFocus();
}

void TOutilsForm::CreateBrushPage() {
  QWidget* Page = NewPage(pgDessin);
  auto* Bar = new QWidget(Page);
  Bar->setObjectName(QStringLiteral("TlbDessin"));
  auto* Grid = new QGridLayout(Bar);
  Grid->setContentsMargins(0, 0, 0, 0);
  Grid->setSpacing(0);
  // The computed brushes (round, soft round, square, slashes, triangle) and
  // the glyph brushes; the tag gives the outline cursor of the glyphs.
  static const int Tags[15] = {0, 0, 0, 0, 0, 0, 101, 103, 7, 7, 11, 15, 103, 105, 109};
  for (int I = 0; I < 15; ++I) {
    auto* Button = new QToolButton(Bar);
    Button->setObjectName(QStringLiteral("ToolButton%1").arg(I + 1));
    Button->setCheckable(true);
    Button->setAutoRaise(true);
    Button->setFocusPolicy(Qt::NoFocus);
    Button->setText(QString::number(I + 1));
    SetControlTag(Button, Tags[I]);
    Button->setProperty("ImageIndex", I);
    Grid->addWidget(Button, I / 5, I % 5);
    FBrushButtons << Button;
    connect(Button, &QToolButton::clicked, this, [this, Button] { BtnBrushClick(Button); });
  }
  FBrushButtons.first()->setChecked(true);
  PageLayout(Page)->addWidget(Bar);
  QMenu* PopRadius = findChild<QMenu*>(QStringLiteral("PopRadius"));
  AddSpin(Page, "SERBrush", QString(), 3, 800, 10, PopRadius)->OnChange = [this](QObject*) { MajCureseurExData(); };
  AddSlider(Page, "TBDessin", QStringLiteral("Pression"), 1, 10, 10);
  Control<QWidget>("LblTBDessin")->setObjectName(QStringLiteral("Label19"));
  AddSlider(Page, "TBBrushStep2", QStringLiteral("Pas"), 0, 10, 1);
  Control<QWidget>("LblTBBrushStep2")->setObjectName(QStringLiteral("Label33"));
  QMenu* PopDessin = NewMenu("PopDessin", {"Couleur", "Arc-en-ciel", "Pastel", "Fusain", "3D"});
  AddChoice(Page, "EdiDessinMode", QString(), PopDessin, 0)->OnChange = [this](QObject*) { EdiDessinModeChange(); };
  FBtnGommePlus = new QToolButton(Page);
  FBtnGommePlus->setObjectName(QStringLiteral("BtnGommePlus"));
  FBtnGommePlus->setText(QStringLiteral("+"));
  FBtnGommePlus->setFocusPolicy(Qt::NoFocus);
  FBtnGommePlus->hide();
  connect(FBtnGommePlus, &QToolButton::clicked, this, [this] {
    GommePageIndex = 1 - GommePageIndex;
    ToolBtnClick(FToolButtons[12]);
  });
  FCBInvertGomme = new QCheckBox(QStringLiteral("Inverser"), FContent);
  FCBInvertGomme->setObjectName(QStringLiteral("CBInvertGomme"));
  FCBInvertGomme->setFocusPolicy(Qt::NoFocus);
  FCBInvertGomme->hide();
}

void TOutilsForm::BtnBrushClick(QToolButton* Sender) {
  for (QToolButton* Button : std::as_const(FBrushButtons)) Button->setChecked(Button == Sender);
  // Only the six computed brushes have a radius.
  Control<QWidget>("SERBrush")->setEnabled(FBrushButtons.indexOf(Sender) < 6);
  CanDrawBrushLine = false;
  MajCureseurExData();
}

void TOutilsForm::EdiDessinModeChange() {
  // The 3D mode draws without spacing.
  const TSpecialEdit* Mode = Control<TSpecialEdit>("EdiDessinMode");
  const bool Step = Mode->ItemIndex() != 4;
  for (const char* Name : {"TBBrushStep", "Label22", "TBBrushStep2", "Label33"}) Control<QWidget>(Name)->setEnabled(Step);
  Control<QLabel>("LblBrushMode")->setText(Mode->Text());
}

void TOutilsForm::EdiRetoucheChange() {
  Control<QWidget>("PnlGomme")->setVisible(Control<TSpecialEdit>("EdiRetouche")->ItemIndex() == 7);
}

void TOutilsForm::CBTamponClick() {
  const bool Motif = Control<QCheckBox>("CBTamponMotif")->isChecked();
  const bool Fixe = Control<QCheckBox>("CBTamponFixe")->isChecked();
  const bool Radius = !(Motif && Fixe);
  for (const char* Name : {"SERTampon", "CBTamponPrecis", "CBTamponDiffuse"}) Control<QWidget>(Name)->setEnabled(Radius);
  Control<QWidget>("TBBrushStep3")->setEnabled(Fixe);
  Control<QWidget>("LblTBBrushStep3")->setEnabled(Fixe);
  MajCureseurExData();
}

QWidget* TOutilsForm::AddPatternBar(QWidget* Page, const char* Name, int Number) {
  auto* Bar = new QWidget(Page);
  Bar->setObjectName(QString::fromLatin1(Name));
  auto* Row = new QHBoxLayout(Bar);
  Row->setContentsMargins(0, 0, 0, 0);
  const auto Add = [Bar, Row, Number](const char* Base, const QString& Text) {
    auto* Button = new QToolButton(Bar);
    Button->setObjectName(QStringLiteral("%1%2").arg(QLatin1String(Base)).arg(Number));
    Button->setText(Text);
    Button->setAutoRaise(true);
    Button->setFocusPolicy(Qt::NoFocus);
    Row->addWidget(Button);
    return Button;
  };
  connect(Add("TBOpenPattern", QStringLiteral("…")), &QToolButton::clicked, this,
          [this] {
            if (!FServices.LoadPattern() || CurrentPattern().BmpEmpty()) CurrentPattern().Clear();
          });
  connect(Add("TBSymHorzPattern", QStringLiteral("↔")),
          &QToolButton::clicked, this, [] { CurrentPattern().Flip(false); });
  connect(Add("TBSymVertPattern", QStringLiteral("↕")),
          &QToolButton::clicked, this, [] { CurrentPattern().Flip(true); });
  PageLayout(Page)->addWidget(Bar);
  Bar->hide();
  return Bar;
}

void TOutilsForm::PatternBoxClick(QCheckBox* Box) {
  if (Box->isChecked() && CurrentPattern().BmpEmpty()) FServices.LoadPattern();
  if (CurrentPattern().BmpEmpty()) Box->setChecked(false);
  const bool Clone = Box->objectName() == QLatin1String("CBTamponMotif");
  Control<QWidget>(Clone ? "ToolBarPattern" : "ToolBarPattern2")->setVisible(Box->isChecked());
}

void TOutilsForm::CBLineStyleChange() {
  // Smoothing belongs to the two plain styles.
  QCheckBox* Smooth = Control<QCheckBox>("CBLisserLigne");
  Smooth->setChecked(true);
  Smooth->setEnabled(Control<QComboBox>("CBLineStyle")->currentIndex() < 2);
  MajCureseurExData();
}
