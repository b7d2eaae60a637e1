#include "extensions/ui/Auto.h"

#include "dialogs/ui/AnchorBar.h"
#include "dialogs/ui/Copyright.h"
#include "dialogs/ui/DialogParts.h"
#include "dialogs/ui/TubeDlg.h"
#include "document/Calque.h"
#include "document/MyImageLayered.h"
#include "files/BmpExtOE.h"
#include "files/FreeImageProvider.h"
#include "files/ui/BrowseForFolder.h"
#include "i18n/Format.h"
#include "platform/ModalResult.h"
#include "platform/NumberFormat.h"
#include "platform/Rounding.h"
#include "raster/FoncUtils.h"
#include "ui/ColorEdit.h"
#include "ui/CompUtils.h"
#include "ui/ControlTag.h"
#include "ui/MsgDlg.h"
#include "ui/SpecialEdit.h"
#include "ui/SpinEdit.h"
#include "ui/TrackBar.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// Folder and pattern edits keep a saved value only while it exists.
constexpr int TagExistingFile = -772;
constexpr int TagExistingFolder = -773;

QCheckBox* NewCheck(QWidget* Parent, const char* Name, const QString& Caption) {
  return Named(new QCheckBox(Caption, Parent), Name);
}

QLabel* NewLabel(QWidget* Parent, const char* Name, const QString& Caption) {
  return Named(new QLabel(Caption, Parent), Name);
}

TFloatSpinEdit* NewFloatSpin(QWidget* Parent, const char* Name, double Min, double Max, double Value,
                             const QString& Picture) {
  auto* S = Named(new TFloatSpinEdit(Parent), Name);
  S->SetMinValue(Min);
  S->SetMaxValue(Max);
  S->SetFormat(Picture);
  S->SetValue2(Value);
  return S;
}

TColorEdit* NewColor(QWidget* Parent, const char* Name, TColor Color) {
  auto* E = Named(new TColorEdit(Parent), Name);
  E->SetColor(Color);
  return E;
}

QToolButton* NewGlyphButton(QWidget* Parent, const char* Name, QStyle::StandardPixmap Glyph) {
  auto* B = Named(new QToolButton(Parent), Name);
  B->setIcon(Parent->style()->standardIcon(Glyph));
  B->setAutoRaise(true);
  return B;
}

TSpecialEdit* NewPathEdit(QWidget* Parent, const char* Name, int Tag) {
  auto* E = Named(new TSpecialEdit(Parent), Name);
  E->SetMinimizeText(true);
  SetControlTag(E, Tag);
  return E;
}

// An edit with its chooser button at its right.
QWidget* WithButton(QWidget* Edit, QToolButton* Button, QToolButton* Second = nullptr) {
  auto* Row = new QWidget(Edit->parentWidget());
  auto* L = new QHBoxLayout(Row);
  L->setContentsMargins(0, 0, 0, 0);
  L->setSpacing(1);
  Edit->setParent(Row);
  Edit->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  Row->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  Button->setParent(Row);
  L->addWidget(Edit, 1);
  L->addWidget(Button);
  if (Second) {
    Second->setParent(Row);
    L->addWidget(Second);
  }
  return Row;
}

// The four "Couche :" lists.
QComboBox* NewChannelList(QWidget* Parent, const char* Name) {
  auto* C = Named(new QComboBox(Parent), Name);
  C->addItems({Tr(TrId::GetTrLblChannelAlls), Tr(TrId::GetTrLblChannelRed), Tr(TrId::GetTrLblChannelGreen),
               Tr(TrId::GetTrLblChannelBlue), Tr(TrId::GetTrLblChannelCyan), Tr(TrId::GetTrLblChannelMagenta),
               Tr(TrId::GetTrLblChannelYellow)});
  return C;
}

void EnableAll(bool On, std::initializer_list<QWidget*> Controls) {
  for (QWidget* W : Controls) W->setEnabled(On);
}

QString NormalFolder(const QString& Folder) { return QDir::cleanPath(Folder).toLower(); }

void Warn(TrId Id) { ShowMsgDlg(Tr(Id), mdkWarning, TMsgDlgButtons{mdbOk}); }

} // namespace

// ---- The run's view of the windows ------------------------------------------------------

// The working bitmap is the dialog's own until the first file opens the batch
// window; then that window's current layer. A batch window the user closed
// since is replaced by a new one rather than written through.
class TAutoForm::TRunHost final : public TBatchHost {
public:
  explicit TRunHost(TAutoForm& Form) : F(Form) {}
  TBatchRun* Run = nullptr;

  TBitmap& WorkBitmap() override {
    TMyImageLayered* Doc = F.FenetreOk ? F.FHost.BatchDocument() : nullptr;
    if (Doc && Doc->CurrentLayer()) return Doc->CurrentLayer()->Bitmap();
    F.FenetreOk = false;
    if (!F.FOwnBitmap) F.FOwnBitmap = std::make_unique<TBitmap>();
    return *F.FOwnBitmap;
  }
  TMyImageLayered& FileLoaded(const QString& Path) override {
    if (F.FenetreOk && F.FHost.BatchDocument()) {
      F.FHost.SetNomFichier(Path);
      F.FHost.TailleChangee();
    } else {
      F.FHost.OpenBatchWindow(WorkBitmap(), Path);
      F.FOwnBitmap.reset();
      F.FenetreOk = F.FHost.BatchDocument() != nullptr;
    }
    if (!F.FenetreOk) throw std::runtime_error("no batch window");
    return *F.FHost.BatchDocument();
  }
  void SizeChanged() override { F.FHost.TailleChangee(); }
  void Refresh() override { F.FHost.RefreshBitmap(); }
  void FileSaved(const QString& Path) override {
    F.FHost.SetNomFichier(Path);
    F.FHost.AfficherInfos();
  }
  void SetCaption(const QString& Caption) override { F.FHost.SetMainCaption(Caption); }
  void ProcessMessages() override { QCoreApplication::processEvents(); }
  bool ConfirmCancel() override {
    return ShowMsgDlg(Tr(TrId::GetTrDlgBatch5), mdkConfirmation, TMsgDlgButtons{mdbYes, mdbNo}) == mrYes;
  }
  void Report(const QString& Line) override { F.MemRapport->appendPlainText(Line); }
  bool OverlayReady() override { return F.TubeForm->CBPreview->isEnabled(); }
  void ApplyOverlay(TBitmap& Bitmap) override { F.TubeForm->DoAsPanel(Bitmap); }
  QString StampText() override { return F.CopyrightForm->Text(); }
  void ApplyStamp(TBitmap& Bitmap, const QString& Path) override { F.CopyrightForm->Appliquer(Bitmap, Path); }

private:
  TAutoForm& F;
};

// ---- Creation -----------------------------------------------------------------------------

TAutoForm::TAutoForm(TAutoHost& Host, QWidget* Parent) : TMainDialogForm(Parent), FHost(Host) {
  setObjectName(QStringLiteral("AutoForm"));
  const QString Title = TranslationLoaded() ? FHost.TitreMenu(QStringLiteral("MenuAutomatisation")) : QString();
  setWindowTitle(Title.isEmpty() ? QStringLiteral("Automatisation") : Title);
  auto* Main = new QVBoxLayout(this);
  PageControl = Named(new QTabWidget(this), "PageControl");
  Main->addWidget(PageControl);
  const auto Page = [this](const char* Name, const QString& Caption) {
    QWidget* P = Named(new QWidget(PageControl), Name);
    PageControl->addTab(P, Caption);
    return P;
  };
  TshFichiers = Page("TshFichiers", TrText(TrId::GetTrMnuFile, QStringLiteral("Fichier")));
  TshImage = Page("TshImage", TrText(TrId::GetTrMnuImage, QStringLiteral("Image")));
  TshReglages = Page("TshReglages", TrText(TrId::GetTrMnuAdjust, QStringLiteral("Réglage")));
  TshFiltres = Page("TshFiltres", TrText(TrId::GetTrMnuFilter, QStringLiteral("Filtre")));
  TshTransform = Page("TshTransform", TrText(TrId::GetTrMnuTransform, QStringLiteral("Transformation")));
  TshTube = Page("TshTube", TrText(TrId::GetTrMnuLumaPNG, QStringLiteral("LumaPNG")));
  TshCopyright = Page("TshCopyright", TrText(TrId::GetTrLblCopyright, QStringLiteral("Copyright")));
  TshActions = Page("TshActions", TrText(TrId::GetTrMnuAction, QStringLiteral("Action")));
  BuildFilesPage();
  BuildImagePage();
  BuildAdjustPage();
  BuildFiltersPage();
  BuildTransformPage();
  BuildPanelPages();
  BuildActionPage();

  connect(PageControl, &QTabWidget::currentChanged, this, [this](int Index) {
    if (Index == FCurrentPage) return;
    if (!PageControlChanging(Index)) {
      const QSignalBlocker Block(PageControl);
      PageControl->setCurrentIndex(FCurrentPage);
      return;
    }
    FCurrentPage = Index;
    if (PageControl->widget(Index) == TshFichiers) EdiDirSrc->setFocus();
    if (PageControl->widget(Index) == TshActions) TshActionsShow();
  });

  Anchors->SetPosition(poCenter);
  SetupSourceFilter(false);
  LDef = Round(SELargeurImage->Value());
  HDef = Round(SEHauteurImage->Value());
  for (TTrackBar* T : {TrbCompress, TrbLuminosite, TrbContraste, TrbSaturation, TrbGamma, TrbOpaciteFiltre})
    StyleTrackBar(T);
  RefreshValueLabels();

  CancelButton = BtnFermer;
  DialogMode = TMainDialogMode::dmNone;
  IniCustomVarCount = 2;
  SaveToIniFile = true;
  AutoSaveIni = false;
}

TAutoForm::~TAutoForm() {
  // Destroyed while shown (with the main window): its hook must not outlive it.
  if (FHookInstalled) ImageIOHook = nullptr;
}

void TAutoForm::BuildFilesPage() {
  QWidget* P = TshFichiers;
  auto* G = new QGridLayout(P);
  G->addWidget(NewLabel(P, "Label6", FormatCaption(Tr(TrId::GetTrLblPictures), 2)), 0, 0);
  FileListBox = Named(new QListWidget(P), "FileListBox");
  FileListBox->viewport()->installEventFilter(this);
  G->addWidget(FileListBox, 1, 0, 9, 1);
  CBSelPerso = NewCheck(P, "CBSelPerso", TrText(TrId::GetTrLblCustomSelection, QStringLiteral("Sélection personnalisée")));
  G->addWidget(CBSelPerso, 10, 0);

  LblDirSrc = NewLabel(P, "LblDirSrc", TrText(TrId::GetTrLblSourceDir, QStringLiteral("Dossier source :")));
  EdiDirSrc = NewPathEdit(P, "EdiDirSrc", TagExistingFolder);
  SBSrc = NewGlyphButton(P, "SBSrc", QStyle::SP_DirOpenIcon);
  G->addWidget(LblDirSrc, 0, 1);
  G->addWidget(WithButton(EdiDirSrc, SBSrc), 1, 1);
  LblFormatSrc = NewLabel(P, "LblFormatSrc", TrText(TrId::GetTrLblSourceFormat, QStringLiteral("Format source :")));
  CmbFilter = Named(new QComboBox(P), "CmbFilter");
  SBFiltre = NewGlyphButton(P, "SBFiltre", QStyle::SP_FileDialogDetailedView);
  G->addWidget(LblFormatSrc, 2, 1);
  G->addWidget(WithButton(CmbFilter, SBFiltre), 3, 1);
  LblDirExport = NewLabel(P, "LblDirExport", TrText(TrId::GetTrLblOutputDir, QStringLiteral("Dossier d'export :")));
  EdiDossierExport = NewPathEdit(P, "EdiDossierExport", TagExistingFolder);
  SBExport = NewGlyphButton(P, "SBExport", QStyle::SP_DirOpenIcon);
  G->addWidget(LblDirExport, 4, 1);
  G->addWidget(WithButton(EdiDossierExport, SBExport), 5, 1);
  LblFormatExport =
      NewLabel(P, "LblFormatExport", TrText(TrId::GetTrLblOutputFormat, QStringLiteral("Format d'export :")));
  CmbExportFormat = Named(new QComboBox(P), "CmbExportFormat");
  CmbExportFormat->addItems({QStringLiteral("JPEG (*.jpg)"), QStringLiteral("PNG (*.png)"),
                             QStringLiteral("Bitmap (*.bmp)"), QStringLiteral("GIF (*.gif)")});
  if (IsFreeImageLoaded()) CmbExportFormat->addItem(QStringLiteral("TIFF (*.tif)"));
  G->addWidget(LblFormatExport, 6, 1);
  G->addWidget(CmbExportFormat, 7, 1);

  // The quality bar and the colour list share one place.
  auto* Quality = new QGridLayout;
  LblQual1 = NewLabel(P, "LblQual1", TrText(TrId::GetTrlLblCompressLow, QStringLiteral("Qualité inférieure")));
  LblQual2 = NewLabel(P, "LblQual2", TrText(TrId::GetTrlLblCompressHigh, QStringLiteral("Qualité supérieure")));
  TrbCompress = NewTrackBar(P, "TrbCompress", 10, 100, 10, 90);
  TrbCompress->setPageStep(10);
  LblCompress = NewLabel(P, "LblCompress", QString());
  Quality->addWidget(LblQual1, 0, 0);
  Quality->addWidget(TrbCompress, 0, 1);
  Quality->addWidget(LblQual2, 0, 2);
  Quality->addWidget(LblCompress, 0, 3);
  LblNbCouleurs = NewLabel(P, "LblNbCouleurs", TrText(TrId::GetTrLblColorCount, QStringLiteral("Nombre de couleurs :")));
  CmbNbCouleurs = Named(new QComboBox(P), "CmbNbCouleurs");
  CmbNbCouleurs->addItems({TrText(TrId::GetTrLblMaxColors, QStringLiteral("Nombre maximum de couleurs")),
                           TrText(TrId::GetTrLblColor256, QStringLiteral("256 couleurs")),
                           TrText(TrId::GetTrLblColor16, QStringLiteral("16 couleurs")),
                           TrText(TrId::GetTrLblMonoDuotone, QStringLiteral("Noir et Blanc (2 couleurs, bichromie)")),
                           TrText(TrId::GetTrLblMonoDithering, QStringLiteral("Noir et Blanc (2 couleurs, tramage)"))});
  Quality->addWidget(LblNbCouleurs, 1, 0);
  Quality->addWidget(CmbNbCouleurs, 1, 1, 1, 3);
  G->addLayout(Quality, 8, 1);

  auto* Sequence = new QHBoxLayout;
  ChkSequence =
      NewCheck(P, "ChkSequence", CleanMenuCaption(TrText(TrId::GetTrLblSequence, QStringLiteral("Séquence"))));
  EdiSequence = Named(new QLineEdit(QStringLiteral("Image"), P), "EdiSequence");
  LblExemple = NewLabel(P, "LblExemple", QString());
  Sequence->addWidget(ChkSequence);
  Sequence->addWidget(EdiSequence);
  Sequence->addWidget(LblExemple, 1);
  G->addLayout(Sequence, 9, 1);
  G->setColumnStretch(1, 1);

  EdiDirSrc->OnClick = [this](QObject*) { SBSrcClick(); };
  connect(SBSrc, &QToolButton::clicked, this, [this] { SBSrcClick(); });
  EdiDossierExport->OnClick = [this](QObject*) { SBExportClick(); };
  connect(SBExport, &QToolButton::clicked, this, [this] { SBExportClick(); });
  connect(SBFiltre, &QToolButton::clicked, this, [this] { SetupSourceFilter(true); });
  connect(CmbFilter, &QComboBox::currentIndexChanged, this, [this] {
    if (!Updating) FillFileList();
  });
  connect(CBSelPerso, &QCheckBox::toggled, this, [this] { CBSelPersoClick(); });
  connect(CmbExportFormat, &QComboBox::currentIndexChanged, this, [this] { CmbExportFormatChange(); });
  connect(TrbCompress, &QSlider::valueChanged, this, [this] { RefreshValueLabels(); });
  connect(EdiSequence, &QLineEdit::textChanged, this, [this] { EdiSequenceChange(); });
  connect(ChkSequence, &QCheckBox::toggled, this, [this] { ChkSequenceClick(); });
}

void TAutoForm::BuildImagePage() {
  QWidget* P = TshImage;
  auto* G = new QGridLayout(P);
  ChkRedim = NewCheck(P, "ChkRedim", TrText(TrId::GetTrMnuImageSize, QStringLiteral("Taille de l'image")));
  LblLargeurImage = NewLabel(P, "LblLargeurImage", TrText(TrId::GetTrLblWidth, QStringLiteral("Largeur :")));
  LblHauteurImage = NewLabel(P, "LblHauteurImage", TrText(TrId::GetTrLblHeight, QStringLiteral("Hauteur :")));
  LblUniteImage = NewLabel(P, "LblUniteImage", TrText(TrId::GetTrLblUnit, QStringLiteral("Unité :")));
  SELargeurImage = NewFloatSpin(P, "SELargeurImage", 10, 10000, 800, QStringLiteral("0"));
  SEHauteurImage = NewFloatSpin(P, "SEHauteurImage", 10, 10000, 600, QStringLiteral("0"));
  CmbUnite = Named(new QComboBox(P), "CmbUnite");
  CmbUnite->addItems({TrText(TrId::GetTrLblPixels, QStringLiteral("pixels")), TrText(TrId::GetTrLblPct, QStringLiteral("%"))});
  ChkRedimProportions = NewCheck(P, "ChkRedimProportions",
                                 TrText(TrId::GetTrLblAspectRation, QStringLiteral("Conserver les proportions")));
  ChkRedimProportions->setChecked(true);
  ChkRedimOptimiser = NewCheck(P, "ChkRedimOptimiser", TrText(TrId::GetTrLblOptimize, QStringLiteral("Optimiser")));
  ChkRedimOptimiser->setChecked(true);
  G->addWidget(ChkRedim, 0, 0, 1, 4);
  G->addWidget(LblLargeurImage, 1, 0);
  G->addWidget(SELargeurImage, 1, 1);
  G->addWidget(LblHauteurImage, 1, 2);
  G->addWidget(SEHauteurImage, 1, 3);
  G->addWidget(LblUniteImage, 2, 0);
  G->addWidget(CmbUnite, 2, 1);
  G->addWidget(ChkRedimProportions, 2, 2);
  G->addWidget(ChkRedimOptimiser, 2, 3);

  ChkCadre = NewCheck(P, "ChkCadre", TrText(TrId::GetTrMnuFrame, QStringLiteral("Encadrement")));
  LblCouleurCadre = NewLabel(P, "LblCouleurCadre", TrText(TrId::GetTrLblColor, QStringLiteral("Couleur :")));
  ColorEditCadre = NewColor(P, "ColorEditCadre", clWhite);
  LblLargeurCadre = NewLabel(P, "LblLargeurCadre", TrText(TrId::GetTrLblWidth, QStringLiteral("Largeur :")));
  SELargeurCadre = NewSpinEdit2(P, "SELargeurCadre", 1, 500, 15);
  ChkExterieur = NewCheck(P, "ChkExterieur", TrText(TrId::GetTrLblOutside, QStringLiteral("Extérieur")));
  G->addWidget(ChkCadre, 3, 0, 1, 4);
  G->addWidget(LblCouleurCadre, 4, 0);
  G->addWidget(ColorEditCadre, 4, 1);
  G->addWidget(LblLargeurCadre, 4, 2);
  G->addWidget(SELargeurCadre, 4, 3);
  G->addWidget(ChkExterieur, 5, 1);

  ChkZoneTravail =
      NewCheck(P, "ChkZoneTravail", TrText(TrId::GetTrMnuCanvasSize, QStringLiteral("Taille de la zone de travail")));
  LblLargeurZone = NewLabel(P, "LblLargeurZone", TrText(TrId::GetTrLblWidth, QStringLiteral("Largeur :")));
  LblHauteurZone = NewLabel(P, "LblHauteurZone", TrText(TrId::GetTrLblHeight, QStringLiteral("Hauteur :")));
  SELargeurZone = NewSpinEdit2(P, "SELargeurZone", 0, 10000, 0);
  SEHauteurZone = NewSpinEdit2(P, "SEHauteurZone", 0, 10000, 0);
  LblCouleurFond = NewLabel(P, "LblCouleurFond", TrText(TrId::GetTrLblBkg, QStringLiteral("Fond :")));
  ColorEditFond = NewColor(P, "ColorEditFond", clWhite);
  LblMotif = NewLabel(P, "LblMotif", TrText(TrId::GetTrLblBkgPattern, QStringLiteral("Motif de fond :")));
  EdiMotif = NewPathEdit(P, "EdiMotif", TagExistingFile);
  SBMotif = NewGlyphButton(P, "SBMotif", QStyle::SP_DialogOpenButton);
  SBMotif2 = NewGlyphButton(P, "SBMotif2", QStyle::SP_DialogDiscardButton);
  LblPosition = NewLabel(P, "LblPosition", FormatCaption(Tr(TrId::GetTrLblPosition), 2));
  Anchors = Named(new TAnchorBar(P), "Anchors");
  ChkOmbre = NewCheck(P, "ChkOmbre", TrText(TrId::GetTrMnuDropShadow, QStringLiteral("Ombre portée")));
  SELargeurOmbre = NewSpinEdit2(P, "SELargeurOmbre", 5, 50, 7);
  G->addWidget(ChkZoneTravail, 6, 0, 1, 4);
  G->addWidget(LblLargeurZone, 7, 0);
  G->addWidget(SELargeurZone, 7, 1);
  G->addWidget(LblHauteurZone, 7, 2);
  G->addWidget(SEHauteurZone, 7, 3);
  G->addWidget(LblCouleurFond, 8, 0);
  G->addWidget(ColorEditFond, 8, 1);
  G->addWidget(LblMotif, 9, 0);
  G->addWidget(WithButton(EdiMotif, SBMotif, SBMotif2), 9, 1, 1, 3);
  G->addWidget(LblPosition, 10, 0);
  G->addWidget(Anchors, 10, 1, Qt::AlignLeft);
  G->addWidget(ChkOmbre, 10, 2, Qt::AlignTop);
  G->addWidget(SELargeurOmbre, 10, 3, Qt::AlignTop);

  ChkDpi = NewCheck(P, "ChkDpi", TrText(TrId::GetTrLblForceDPI, QStringLiteral("Forcer DPI")));
  SEDpi = NewFloatSpin(P, "SEDpi", 10, 20000, 96, QStringLiteral("0.00"));
  G->addWidget(ChkDpi, 11, 0, 1, 2);
  G->addWidget(SEDpi, 11, 2);
  G->setRowStretch(12, 1);

  connect(ChkRedim, &QCheckBox::toggled, this, [this] { ChkRedimClick(); });
  connect(CmbUnite, &QComboBox::currentIndexChanged, this, [this] { CmbUniteChange(); });
  SELargeurImage->OnChange = [this](QObject*) { SizeEditChange(SELargeurImage); };
  SEHauteurImage->OnChange = [this](QObject*) { SizeEditChange(SEHauteurImage); };
  connect(ChkCadre, &QCheckBox::toggled, this, [this] { ChkCadreClick(); });
  connect(ChkZoneTravail, &QCheckBox::toggled, this, [this] { ChkZoneTravailClick(); });
  connect(ChkOmbre, &QCheckBox::toggled, this, [this] { ChkZoneTravailClick(); });
  connect(SBMotif, &QToolButton::clicked, this, [this] {
    const QString File = FHost.SelectPatternFile();
    if (!File.isEmpty()) EdiMotif->SetText(File);
  });
  EdiMotif->OnClick = [this](QObject*) { SBMotif->click(); };
  connect(SBMotif2, &QToolButton::clicked, this, [this] { EdiMotif->SetText(QString()); });
  connect(ChkDpi, &QCheckBox::toggled, this, [this] { ChkDpiClick(); });
}

void TAutoForm::BuildAdjustPage() {
  QWidget* P = TshReglages;
  auto* G = new QGridLayout(P);
  int Row = 0;
  const auto Add = [&](TTrackBar*& Bar, QLabel*& Label, QComboBox*& List, const char* BarName, const char* LabelName,
                       const char* ChannelLabel, const char* ListName, int Min, int Max, int Page, int Pos) {
    Label = NewLabel(P, LabelName, QString());
    Bar = NewTrackBar(P, BarName, Min, Max, Page, Pos);
    Bar->setPageStep(Page);
    List = NewChannelList(P, ListName);
    G->addWidget(Label, Row, 0, 1, 2);
    G->addWidget(Bar, Row + 1, 0);
    G->addWidget(NewLabel(P, ChannelLabel, Tr(TrId::GetTrLblChannel)), Row + 1, 1);
    G->addWidget(List, Row + 1, 2);
    connect(Bar, &QSlider::valueChanged, this, [this] { RefreshValueLabels(); });
    Row += 2;
  };
  Add(TrbLuminosite, LblLuminosite, CmbCoucheLum, "TrbLuminosite", "LblLuminosite", "Label1", "CmbCoucheLum", -100,
      100, 10, 0);
  Add(TrbContraste, LblContraste, CmbCoucheCtr, "TrbContraste", "LblContraste", "Label2", "CmbCoucheCtr", -100, 100,
      10, 0);
  Add(TrbSaturation, LblSaturation, CmbCoucheSat, "TrbSaturation", "LblSaturation", "Label3", "CmbCoucheSat", -100,
      100, 10, 0);
  Add(TrbGamma, LblGamma, CmbCoucheGam, "TrbGamma", "LblGamma", "Label4", "CmbCoucheGam", 1, 30, 1, 10);
  G->setColumnStretch(0, 1);
  G->setRowStretch(Row, 1);
}

void TAutoForm::BuildFiltersPage() {
  QWidget* P = TshFiltres;
  auto* G = new QGridLayout(P);
  const struct {
    QCheckBox*& Box;
    const char* Name;
    TrId Id;
    const char* French;
  } Boxes[] = {{ChkAdoucir, "ChkAdoucir", TrId::GetTrMnuSoften, "Adoucir"},
               {ChkFlouInt, "ChkFlouInt", TrId::GetTrMnuEdgePreservBlur, "Flou intérieur"},
               {ChkFlou, "ChkFlou", TrId::GetTrMnuBlur, "Flou"},
               {ChkContoursNet, "ChkContoursNet", TrId::GetTrMnuSharpenEdges, "Contours plus nets"},
               {ChkDurcir, "ChkDurcir", TrId::GetTrMnuSharpen, "Plus net"},
               {ChkRelief, "ChkRelief", TrId::GetTrMnuRelief, "Relief"},
               {ChkNegatif, "ChkNegatif", TrId::GetTrMnuNegative, "Négatif"},
               {ChkBruit, "ChkBruit", TrId::GetTrMnuAddNoise, "Ajouter du bruit"},
               {ChkScanlines, "ChkScanlines", TrId::GetTrMnuScanlines, "Lignes de balayage"},
               {ChkAutoLevels, "ChkAutoLevels", TrId::GetTrMnuAutoLevels, "Niveaux automatiques"},
               {ChkAutoCtr, "ChkAutoCtr", TrId::GetTrMnuAutoCtr, "Contraste automatique"},
               {ChkSepia, "ChkSepia", TrId::GetTrMnuSepia, "Sépia"}};
  int I = 0;
  for (const auto& B : Boxes) {
    B.Box = NewCheck(P, B.Name, CleanMenuCaption(TrText(B.Id, QString::fromUtf8(B.French))));
    G->addWidget(B.Box, I % 6, I / 6);
    ++I;
  }
  ChkFiltre = NewCheck(P, "ChkFiltre", CleanMenuCaption(TrText(TrId::GetTrMnuColoredLayer, QStringLiteral("Filtre coloré"))));
  ColorEditFiltre = NewColor(P, "ColorEditFiltre", 0x000080);
  LblOpaciteFiltre = NewLabel(P, "LblOpaciteFiltre", QString());
  TrbOpaciteFiltre = NewTrackBar(P, "TrbOpaciteFiltre", 0, 100, 10, 30);
  TrbOpaciteFiltre->setPageStep(5);
  ChkInverser = NewCheck(P, "ChkInverser", CleanMenuCaption(TrText(TrId::GetTrMnuSelInvert, QStringLiteral("Inverser"))));
  G->addWidget(ChkFiltre, 6, 0);
  G->addWidget(ColorEditFiltre, 6, 1);
  G->addWidget(LblOpaciteFiltre, 7, 0);
  G->addWidget(TrbOpaciteFiltre, 8, 0);
  G->addWidget(ChkInverser, 8, 1);
  G->setRowStretch(9, 1);
  connect(ChkFiltre, &QCheckBox::toggled, this, [this] { ChkFiltreClick(); });
  connect(TrbOpaciteFiltre, &QSlider::valueChanged, this, [this] { RefreshValueLabels(); });
}

void TAutoForm::BuildTransformPage() {
  QWidget* P = TshTransform;
  auto* G = new QGridLayout(P);
  ChkRotation = NewCheck(P, "ChkRotation", CleanMenuCaption(TrText(TrId::GetTrMnuRotate, QStringLiteral("Rotation"))));
  ChkSymetrie = NewCheck(P, "ChkSymetrie", CleanMenuCaption(TrText(TrId::GetTrLblSymmetry, QStringLiteral("Symétrie"))));
  const auto Radio = [P](const char* Name, TrId Id, const char* French, QButtonGroup* Group) {
    auto* R = Named(new QRadioButton(CleanMenuCaption(TrText(Id, QString::fromUtf8(French))), P), Name);
    Group->addButton(R);
    return R;
  };
  auto* Rotations = new QButtonGroup(P);
  auto* Flips = new QButtonGroup(P);
  RdbRotation1 = Radio("RdbRotation1", TrId::GetTrMnuRotate90cw, "Rotation 90° horaire", Rotations);
  RdbRotation2 = Radio("RdbRotation2", TrId::GetTrMnuRotate90ccw, "Rotation 90° antihoraire", Rotations);
  RdbRotation3 = Radio("RdbRotation3", TrId::GetTrMnuRotate180, "Rotation 180°", Rotations);
  RdbSymetrie1 = Radio("RdbSymetrie1", TrId::GetTrMnuSymVert, "Symétrie verticale", Flips);
  RdbSymetrie2 = Radio("RdbSymetrie2", TrId::GetTrMnuSymHorz, "Symétrie horizontale", Flips);
  RdbRotation1->setChecked(true);
  RdbSymetrie1->setChecked(true);
  G->addWidget(ChkRotation, 0, 0);
  G->addWidget(RdbRotation1, 1, 0);
  G->addWidget(RdbRotation2, 2, 0);
  G->addWidget(RdbRotation3, 3, 0);
  G->addWidget(ChkSymetrie, 0, 1);
  G->addWidget(RdbSymetrie1, 1, 1);
  G->addWidget(RdbSymetrie2, 2, 1);
  G->setRowStretch(4, 1);
  connect(ChkRotation, &QCheckBox::toggled, this, [this] { ChkRotationClick(); });
  connect(ChkSymetrie, &QCheckBox::toggled, this, [this] { ChkSymetrieClick(); });
}

void TAutoForm::BuildPanelPages() {
  const auto Place = [](QWidget* Page, QCheckBox* Box, auto* Panel, auto SetAsPanel) {
    auto* L = new QVBoxLayout(Page);
    L->addWidget(Box);
    auto* Holder = new QWidget(Page);
    L->addWidget(Holder, 1);
    (Panel->*SetAsPanel)(Holder, 8, 1);
    Holder->setMinimumSize(Panel->sizeHint() + QSize(16, 2));
  };
  ChkTube = NewCheck(TshTube, "ChkTube", CleanMenuCaption(TrText(TrId::GetTrMnuLumaPNG, QStringLiteral("LumaPNG"))));
  TubeForm = new TTubeForm(this);
  Place(TshTube, ChkTube, TubeForm, &TTubeForm::SetAsPanel);
  ChkCopyright =
      NewCheck(TshCopyright, "ChkCopyright", CleanMenuCaption(TrText(TrId::GetTrLblCopyright, QStringLiteral("Copyright"))));
  CopyrightForm = new TCopyrightForm(this);
  Place(TshCopyright, ChkCopyright, CopyrightForm, &TCopyrightForm::SetAsPanel);
  connect(ChkTube, &QCheckBox::toggled, this, [this] { ChkTubeClick(); });
  connect(ChkCopyright, &QCheckBox::toggled, this, [this] { ChkCopyrightClick(); });
}

void TAutoForm::BuildActionPage() {
  QWidget* P = TshActions;
  auto* L = new QVBoxLayout(P);
  MemRapport = Named(new QPlainTextEdit(P), "MemRapport");
  MemRapport->setReadOnly(true);
  MemRapport->setLineWrapMode(QPlainTextEdit::NoWrap);
  L->addWidget(MemRapport, 1);
  auto* Buttons = new QHBoxLayout;
  BtnParams = Named(new QPushButton(TrText(TrId::GetTrBtnSaveSettings, QStringLiteral("Enregistrer les paramètres")), P),
                    "BtnParams");
  BtnAction = Named(new QPushButton(TrText(TrId::GetTrBtnOk, QStringLiteral("Ok")), P), "BtnAction");
  BtnFermer = Named(new QPushButton(QStringLiteral("Fermer"), P), "BtnFermer");
  if (TranslationLoaded()) BtnFermer->setText(Tr(TrId::GetTrBtnCancel));
  Buttons->addWidget(BtnParams);
  Buttons->addStretch(1);
  Buttons->addWidget(BtnAction);
  Buttons->addWidget(BtnFermer);
  L->addLayout(Buttons);
  connect(BtnAction, &QPushButton::clicked, this, [this] { BtnActionClick(); });
  connect(BtnParams, &QPushButton::clicked, this, [this] { BtnParamsClick(); });
  connect(BtnFermer, &QPushButton::clicked, this, &QWidget::close);
}

// ---- Settings -----------------------------------------------------------------------------

void TAutoForm::AcceptIniControl(QWidget* Control, bool& Accept) {
  // The report and the file list are not settings.
  if (Control == MemRapport || Control == FileListBox) Accept = false;
}

QString TAutoForm::GetIniCustomVar(int Index) {
  return Index == 0 ? QString::number(int(Anchors->Position())) : FCustomMask;
}

void TAutoForm::SetIniCustomVar(int Index, const QString& Value) {
  if (Index == 0) {
    const int Anchor = StrToIntDef(Value, -1);
    Anchors->SetPosition(Anchor >= 0 && Anchor <= 8 ? TPosition(Anchor) : poCenter);
    return;
  }
  FCustomMask = Value.trimmed();
  const QSignalBlocker Block(CmbFilter);
  CmbFilter->clear();
  if (FCustomMask.isEmpty()) {
    SetupSourceFilter(false);
  } else {
    CmbFilter->addItem(Format(u"%s (%s)", {Tr(TrId::GetTrLblFilter1), FCustomMask}), FCustomMask);
  }
}

void TAutoForm::FormShow() {
  if (EnCours) return;
  ImageIOHook = [this](const TImageIOSender& Sender, const QString&, bool&, TImageIOStage Event) {
    BatchSaveHook(TrbCompress->Position(), Sender, Event);
  };
  FHookInstalled = true;
  FenetreOk = false;
  FOwnBitmap = std::make_unique<TBitmap>();
  FHost.BeginBatchDialog(this);
  EdiDirSrc->setFocus();
  IniOptions = ioPosition | ioValue | ioNoEvent;
}

void TAutoForm::FormHide() {
  if (EnCours) return;
  PageControl->setCurrentIndex(0);
  TubeForm->FreePicture();
  FHost.EndBatchDialog();
  ImageIOHook = nullptr;
  FHookInstalled = false;
  FOwnBitmap.reset();
  // The base writes only the place when it saves on hide.
  IniOptions = ioPosition;
}

void TAutoForm::UpdateControls() {
  const bool WasUpdating = std::exchange(Updating, true);
  FillFileList();
  CmbExportFormatChange();
  ChkSequenceClick();
  CBSelPersoClick();
  SetSizeUnit(CmbUnite->currentIndex() == 1);
  ChkRedimClick();
  ChkCadreClick();
  ChkZoneTravailClick();
  ChkDpiClick();
  ChkFiltreClick();
  ChkRotationClick();
  ChkSymetrieClick();
  RefreshValueLabels();
  CopyrightForm->LoadFromIni(QString());
  ChkCopyrightClick();
  TubeForm->LoadFromIni(QString());
  ChkTubeClick();
  Updating = WasUpdating;
}

void TAutoForm::BtnParamsClick() {
  if (ShowMsgDlg(Tr(TrId::GetTrDlgBatch6), mdkConfirmation, TMsgDlgButtons{mdbYes, mdbNo}) != mrYes) return;
  const TIniOptions Kept = IniOptions;
  IniOptions = ioValue;
  SaveIniValues();
  IniOptions = Kept;
  TubeForm->SaveToIni(QString());
  CopyrightForm->SaveToIni(QString());
}

// ---- Files ----------------------------------------------------------------------------------

void TAutoForm::SetupSourceFilter(bool Ask) {
  QString Mask;
  if (Ask)
    Mask = InputMsgBox(Tr(TrId::GetTrLblFilter1), FormatCaption(Tr(TrId::GetTrLblFilter2), 2), FCustomMask).trimmed();
  {
    const QSignalBlocker Block(CmbFilter);
    CmbFilter->clear();
    FCustomMask = Mask;
    if (!Mask.isEmpty()) {
      CmbFilter->addItem(Format(u"%s (%s)", {Tr(TrId::GetTrLblFilter1), Mask}), Mask);
    } else {
      const QStringList Parts = GetOpenFilter().split(u'|');
      for (int I = 0; I + 1 < Parts.size(); I += 2) CmbFilter->addItem(Parts[I], Parts[I + 1]);
    }
    CmbFilter->setCurrentIndex(0);
  }
  if (!Updating) FillFileList();
}

void TAutoForm::FillFileList() {
  FileListBox->clear();
  const QString Folder = EdiDirSrc->Text();
  if (!Folder.isEmpty()) {
    QStringList Masks;
    for (const QString& M : CmbFilter->currentData().toString().split(u';', Qt::SkipEmptyParts))
      Masks.append(M.trimmed());
    FileListBox->addItems(QDir(Folder).entryList(Masks, QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase));
  }
  SyncFiles();
}

void TAutoForm::SyncFiles() {
  Files.Names.clear();
  Files.Selected.clear();
  for (int I = 0; I < FileListBox->count(); ++I) {
    Files.Names.append(FileListBox->item(I)->text());
    Files.Selected.push_back(FileListBox->item(I)->isSelected());
  }
  Files.SelectionOnly = CBSelPerso->isChecked();
}

void TAutoForm::CBSelPersoClick() {
  const bool Custom = CBSelPerso->isChecked();
  FileListBox->setSelectionMode(Custom ? QAbstractItemView::ExtendedSelection : QAbstractItemView::NoSelection);
  if (!Custom) FileListBox->clearSelection();
}

void TAutoForm::SBSrcClick() {
  const QString Folder = BrowseForFolder(LblDirSrc->text(), EdiDirSrc->Text());
  if (Folder.isEmpty()) return;
  EdiDirSrc->SetText(Folder);
  FillFileList();
  DejaInforme = false;
}

void TAutoForm::SBExportClick() {
  const QString Folder = BrowseForFolder(LblDirExport->text(), EdiDossierExport->Text());
  if (Folder.isEmpty()) return;
  EdiDossierExport->SetText(Folder);
  DejaInforme = false;
}

bool TAutoForm::PageControlChanging(int) {
  if (EnCours) return false;
  Files.IndexImage = 0;
  SyncFiles();
  const bool AnyFile = Files.BatchFileCount() > 0;
  if (EdiDossierExport->Text().isEmpty() || !AnyFile) {
    Warn(AnyFile ? TrId::GetTrDlgBatch2 : TrId::GetTrDlgBatch1);
    return false;
  }
  if (PageControl->widget(FCurrentPage) == TshFichiers && !DejaInforme &&
      NormalFolder(EdiDirSrc->Text()) == NormalFolder(EdiDossierExport->Text())) {
    DejaInforme = true;
    Warn(TrId::GetTrDlgBatch4);
  }
  return true;
}

// ---- Output ---------------------------------------------------------------------------------

void TAutoForm::CmbExportFormatChange() {
  const bool Jpeg = CmbExportFormat->currentIndex() == bfJpeg;
  for (QWidget* W : {static_cast<QWidget*>(TrbCompress), static_cast<QWidget*>(LblQual1),
                     static_cast<QWidget*>(LblQual2), static_cast<QWidget*>(LblCompress)})
    W->setVisible(Jpeg);
  CmbNbCouleurs->setVisible(!Jpeg);
  LblNbCouleurs->setVisible(!Jpeg);
  EdiSequenceChange();
}

void TAutoForm::EdiSequenceChange() {
  LblExemple->setText(
      Format(Tr(TrId::GetTrFmtSequenceExample), {SequenceFileName(EdiSequence->text(), 1, CmbExportFormat->currentIndex())}));
}

void TAutoForm::ChkSequenceClick() { EnableAll(ChkSequence->isChecked(), {EdiSequence, LblExemple}); }

// ---- Image page -------------------------------------------------------------------------------

void TAutoForm::ChkRedimClick() {
  EnableAll(ChkRedim->isChecked(), {SELargeurImage, SEHauteurImage, LblLargeurImage, LblHauteurImage, CmbUnite,
                                    LblUniteImage, ChkRedimProportions, ChkRedimOptimiser});
}

void TAutoForm::SetSizeUnit(bool Percent) {
  for (TFloatSpinEdit* S : {SELargeurImage, SEHauteurImage}) {
    S->SetFormat(Percent ? QStringLiteral("0.00") : QStringLiteral("0"));
    S->SetMaxValue(Percent ? 500 : 10000);
  }
}

void TAutoForm::CmbUniteChange() {
  if (Updating) return;
  const bool Percent = CmbUnite->currentIndex() == 1;
  SetSizeUnit(Percent);
  SELargeurImage->SetValue2(Percent ? 100 : LDef);
  SEHauteurImage->SetValue2(Percent ? 100 : HDef);
}

void TAutoForm::SizeEditChange(TFloatSpinEdit* Changed) {
  if (Updating || CmbUnite->currentIndex() != 1 || !ChkRedimProportions->isChecked()) return;
  (Changed == SELargeurImage ? SEHauteurImage : SELargeurImage)->SetValue2(Changed->Value());
}

void TAutoForm::ChkCadreClick() {
  EnableAll(ChkCadre->isChecked(), {LblCouleurCadre, ColorEditCadre, LblLargeurCadre, SELargeurCadre, ChkExterieur});
}

void TAutoForm::ChkZoneTravailClick() {
  const bool On = ChkZoneTravail->isChecked();
  EnableAll(On, {LblLargeurZone, LblHauteurZone, SELargeurZone, SEHauteurZone, LblMotif, EdiMotif, SBMotif, SBMotif2,
                 LblCouleurFond, ColorEditFond, ChkOmbre, LblPosition, Anchors});
  SELargeurOmbre->setEnabled(On && ChkOmbre->isChecked());
}

void TAutoForm::ChkDpiClick() { SEDpi->setEnabled(ChkDpi->isChecked()); }

// ---- Other pages ------------------------------------------------------------------------------

void TAutoForm::RefreshValueLabels() {
  LblCompress->setText(QString::number(TrbCompress->Position()));
  LblLuminosite->setText(Format(Tr(TrId::GetTrFmtBrightness), {TrbLuminosite->Position()}));
  LblContraste->setText(Format(Tr(TrId::GetTrFmtContrast), {TrbContraste->Position()}));
  LblSaturation->setText(Format(Tr(TrId::GetTrFmtSaturation), {TrbSaturation->Position()}));
  LblGamma->setText(Format(Tr(TrId::GetTrFmtGamma), {TrbGamma->Position() / 10.0}));
  LblOpaciteFiltre->setText(Format(Tr(TrId::GetTrFmtOpacity), {TrbOpaciteFiltre->Position()}));
}

void TAutoForm::ChkFiltreClick() {
  EnableAll(ChkFiltre->isChecked(), {ColorEditFiltre, ChkInverser, TrbOpaciteFiltre, LblOpaciteFiltre});
}

void TAutoForm::ChkRotationClick() {
  EnableAll(ChkRotation->isChecked(), {RdbRotation1, RdbRotation2, RdbRotation3});
}

void TAutoForm::ChkSymetrieClick() { EnableAll(ChkSymetrie->isChecked(), {RdbSymetrie1, RdbSymetrie2}); }

void TAutoForm::ChkCopyrightClick() {
  CopyrightForm->setEnabled(ChkCopyright->isChecked());
  CopyrightForm->MajApercuTxt();
}

void TAutoForm::ChkTubeClick() {
  const bool On = ChkTube->isChecked();
  TubeForm->GroupBox1->setEnabled(On);
  TubeForm->GroupBox2->setEnabled(On);
  if (On) TubeForm->MajBoutons();
}

// ---- The run ----------------------------------------------------------------------------------

TBatchSettings TAutoForm::BatchSettings() const {
  TBatchSettings S;
  S.ExportFolder = EdiDossierExport->Text();
  S.ExportFormat = CmbExportFormat->currentIndex();
  S.Quality = TrbCompress->Position();
  S.ColorCountIndex = CmbNbCouleurs->isVisibleTo(TshFichiers) ? CmbNbCouleurs->currentIndex() : 0;
  S.Sequence = ChkSequence->isChecked();
  S.SequencePrefix = EdiSequence->text();
  S.Resize = ChkRedim->isChecked();
  S.ResizeWidth = SELargeurImage->Value();
  S.ResizeHeight = SEHauteurImage->Value();
  S.ResizePercent = CmbUnite->currentIndex() == 1;
  S.KeepRatio = ChkRedimProportions->isChecked();
  S.Optimise = ChkRedimOptimiser->isChecked();
  S.Gamma = TrbGamma->Position();
  S.GammaChannels = CmbCoucheGam->currentIndex();
  S.Saturation = TrbSaturation->Position();
  S.SaturationChannels = CmbCoucheSat->currentIndex();
  S.Brightness = TrbLuminosite->Position();
  S.BrightnessChannels = CmbCoucheLum->currentIndex();
  S.Contrast = TrbContraste->Position();
  S.ContrastChannels = CmbCoucheCtr->currentIndex();
  S.ColorFilter = ChkFiltre->isChecked();
  S.FilterColor = ColorEditFiltre->Color();
  S.FilterOpacity = TrbOpaciteFiltre->Position();
  S.FilterInvert = ChkInverser->isChecked();
  S.Soften = ChkAdoucir->isChecked();
  S.Sharpen = ChkDurcir->isChecked();
  S.Blur = ChkFlou->isChecked();
  S.Relief = ChkRelief->isChecked();
  S.Noise = ChkBruit->isChecked();
  S.Scanlines = ChkScanlines->isChecked();
  S.InnerBlur = ChkFlouInt->isChecked();
  S.SharperContours = ChkContoursNet->isChecked();
  S.Negative = ChkNegatif->isChecked();
  S.AutoLevels = ChkAutoLevels->isChecked();
  S.AutoContrast = ChkAutoCtr->isChecked();
  S.Sepia = ChkSepia->isChecked();
  S.Overlay = ChkTube->isChecked();
  S.Frame = ChkCadre->isChecked();
  S.FrameWidth = SELargeurCadre->Value();
  S.FrameColor = ColorEditCadre->Color();
  S.FrameOutside = ChkExterieur->isChecked();
  S.Canvas = ChkZoneTravail->isChecked();
  S.CanvasWidth = SELargeurZone->Value();
  S.CanvasHeight = SEHauteurZone->Value();
  S.CanvasColor = ColorEditFond->Color();
  S.PatternFile = EdiMotif->Text();
  S.Shadow = ChkOmbre->isChecked();
  S.ShadowSize = SELargeurOmbre->Value();
  S.Anchor = Anchors->Position();
  S.Rotation = ChkRotation->isChecked();
  S.RotationKind = RdbRotation2->isChecked() ? 1 : RdbRotation3->isChecked() ? 2 : 0;
  S.Flip = ChkSymetrie->isChecked();
  S.FlipKind = RdbSymetrie2->isChecked() ? 1 : 0;
  S.ForceDpi = ChkDpi->isChecked();
  S.Dpi = SEDpi->Value();
  S.Stamp = ChkCopyright->isChecked();
  return S;
}

void TAutoForm::TshActionsShow() {
  BtnAction->setEnabled(true);
  BuildBatchSummary();
}

void TAutoForm::BtnActionClick() {
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  EnCours = true;
  InheritedOnly = true;
  hide();
  BtnAction->setEnabled(false);
  Files.IndexImage = 0;
  SyncFiles();
  TRunHost RunHost(*this);
  TBatchRun Run(RunHost, Files);
  Run.SourceFolder = EdiDirSrc->Text();
  Run.Settings = BatchSettings();
  const bool Done = Run.RunBatch();
  if (!FenetreOk) FOwnBitmap = std::make_unique<TBitmap>();
  MemRapport->appendPlainText(QString());
  MemRapport->appendPlainText(Done ? Tr(TrId::GetTrLblbatchSuccess) : Tr(TrId::GetTrLblBatchInterrupted));
  show();
  {
    const QSignalBlocker Block(PageControl);
    PageControl->setCurrentWidget(TshActions);
    FCurrentPage = PageControl->currentIndex();
  }
  InheritedOnly = false;
  EnCours = false;
  QGuiApplication::restoreOverrideCursor();
}

bool TAutoForm::eventFilter(QObject* Watched, QEvent* Event) {
  // Without a custom selection a press in the list selects nothing: the
  // list only shows what will be processed.
  if (Watched == FileListBox->viewport() && Event->type() == QEvent::MouseButtonPress && !CBSelPerso->isChecked()) {
    FileListBox->clearSelection();
    EdiDirSrc->setFocus();
    return true;
  }
  return TMainDialogForm::eventFilter(Watched, Event);
}
