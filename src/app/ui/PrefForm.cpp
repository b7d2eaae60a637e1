#include "app/ui/PrefForm.h"

#include "app/Commun.h"
#include "files/ui/BrowseForFolder.h"
#include "i18n/LibLang.h"
#include "platform/IniFile.h"
#include "platform/Rounding.h"
#include "raster/FoncUtils.h"
#include "ui/ColorEdit.h"
#include "ui/DlgMain.h"
#include "ui/GlyphButtons.h"
#include "ui/MsgDlg.h"
#include "ui/MyUpDown.h"
#include "ui/RadioGroup.h"
#include "ui/SpecialEdit.h"
#include "ui/SpinEdit.h"
#include "ui/ToolbarImages.h"
#include "ui/TrackBar.h"
#include "ui/VisualStyles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

const QString TPrefForm::SystemStyleName = QStringLiteral("<Windows>");

namespace {

const QString Params = QStringLiteral("Params");
const QString Tools = QStringLiteral("Tools");
const QString Plugins = QStringLiteral("Plugins64");
const QString Files = QStringLiteral("Files");
// What ReadStartupSwitches takes for a key that is absent.
const QString Missing = QStringLiteral("ERR!");
const QString RestartNote = QStringLiteral("Nécessite un redémarrage de Lumaretique");

QString Switch(bool On) { return On ? QStringLiteral("1") : QStringLiteral("0"); }

template <class T> T* Named(T* Widget, const char* Name) {
  Widget->setObjectName(QString::fromLatin1(Name));
  return Widget;
}

QCheckBox* AddCheck(QVBoxLayout* Page, const char* Name, const QString& Caption) {
  auto* Box = Named(new QCheckBox(Caption), Name);
  Page->addWidget(Box);
  return Box;
}

QLabel* Note(const QString& Text) {
  auto* Label = new QLabel(Text);
  QFont Underlined = Label->font();
  Underlined.setUnderline(true);
  Label->setFont(Underlined);
  return Label;
}

QComboBox* UnitList(const char* Name, const QStringList& Items) {
  auto* List = Named(new QComboBox, Name);
  List->addItems(Items);
  return List;
}

const QStringList ImageUnits{QStringLiteral("pixels"), QStringLiteral("cm"), QStringLiteral("pouces")};

// One folder field with its picker button; a click on either runs Pick.
QHBoxLayout* FolderRow(TSpecialEdit*& Edit, const char* EditName, QToolButton*& Button, const char* ButtonName,
                       QWidget* Owner, const std::function<void()>& Pick) {
  Edit = Named(new TSpecialEdit(Owner), EditName);
  Edit->SetMinimizeText(true);
  Button = Named(new QToolButton(Owner), ButtonName);
  Button->setAutoRaise(true);
  const int Size = GlyphButtonSize();
  Button->setFixedSize(Size, Size);
  Button->setIcon(ToolbarIcon(TGlyph::Open, Size - 6));
  QObject::connect(Button, &QToolButton::clicked, Owner, Pick);
  Edit->OnClick = [Pick](QObject*) { Pick(); };
  auto* Row = new QHBoxLayout;
  Row->addWidget(Edit, 1);
  Row->addWidget(Button);
  return Row;
}

} // namespace

TPrefForm::TPrefForm(const TPrefSources& Sources, QWidget* Parent) : TDialogFormEx(Parent), FSources(Sources) {
  setObjectName(QStringLiteral("PrefForm"));
  setWindowTitle(CleanMenuCaption(TranslationLoaded() && !Tr(TrId::GetTrMnuPreferences).isEmpty()
                                      ? Tr(TrId::GetTrMnuPreferences)
                                      : QStringLiteral("Préférences...")));
  auto* Main = new QVBoxLayout(this);

  auto* Top = new QHBoxLayout;
  CmbPrefs = Named(new QComboBox(this), "CmbPrefs");
  CmbPrefs->addItems({Tr(TrId::GetTrLblFolders), Tr(TrId::GetTrMnuFile), Tr(TrId::GetTrLblHistory),
                      Tr(TrId::GetTrLblToolsGrid), Tr(TrId::GetTrLblDefaultValues), Tr(TrId::GetTrPlgBar),
                      Tr(TrId::GetTrLbl8bf), Tr(TrId::GetTrMnuOther), Tr(TrId::GetTrLblStartup),
                      Tr(TrId::GetTrMnuStylize)});
  BtnPrev = Named(new TPrevNextButton(this), "BtnPrev");
  BtnPrev->SetStyle(TPNStyle::stLeft);
  BtnNext = Named(new TPrevNextButton(this), "BtnNext");
  BtnNext->SetStyle(TPNStyle::stRight);
  // The arrow buttons take the drop-down's height.
  const int Height = CmbPrefs->sizeHint().height();
  BtnPrev->setFixedSize(Height, Height);
  BtnNext->setFixedSize(Height, Height);
  Top->addWidget(CmbPrefs, 1);
  Top->addWidget(BtnPrev);
  Top->addWidget(BtnNext);
  Main->addLayout(Top);

  PageControl = Named(new QStackedWidget(this), "PageControl");
  for (QWidget* Page : {BuildFolders(), BuildFile(), BuildHistory(), BuildToolsGrid(), BuildDefaults(), BuildModules(),
                        Build8bf(), BuildOther(), BuildStartup(), BuildStyle()})
    PageControl->addWidget(Page);
  Main->addWidget(PageControl, 1);

  auto* Buttons = new QHBoxLayout;
  Buttons->addStretch(1);
  const bool Translated = TranslationLoaded();
  BOk = Named(new QPushButton(Translated ? Tr(TrId::GetTrBtnOk) : QStringLiteral("Ok"), this), "BOk");
  BOk->setDefault(true);
  BAnnuler =
      Named(new QPushButton(Translated ? Tr(TrId::GetTrBtnCancel) : QStringLiteral("Annuler"), this), "BAnnuler");
  Buttons->addWidget(BOk);
  Buttons->addWidget(BAnnuler);
  Main->addLayout(Buttons);

  connect(CmbPrefs, &QComboBox::currentIndexChanged, this, [this] { CmbPrefsChange(); });
  BtnPrev->OnClick = [this](QObject*) { BtnPrevClick(); };
  BtnNext->OnClick = [this](QObject*) { BtnNextClick(); };
  connect(BOk, &QPushButton::clicked, this, [this] { BOkClick(); });
  connect(BAnnuler, &QPushButton::clicked, this, &QDialog::reject);

  FillModuleList();
  FillSkinCombo();
  CmbPrefs->setCurrentIndex(pgFolders);
  PageControl->setCurrentIndex(pgFolders);
}

QWidget* TPrefForm::BuildFolders() {
  auto* Page = new QWidget;
  auto* L = new QVBoxLayout(Page);
  L->addWidget(new QLabel(QStringLiteral("Dossier d'ouverture :")));
  L->addLayout(FolderRow(EdiDirOuvrir, "EdiDirOuvrir", SBOuvrir, "SBOuvrir", Page, [this] { SBOuvrirClick(); }));
  LblDirEnregistrer = new QLabel(QStringLiteral("Dossier d'enregistrement :"));
  L->addWidget(LblDirEnregistrer);
  L->addLayout(FolderRow(EdiDirEnregistrer, "EdiDirEnregistrer", SBEnregistrer, "SBEnregistrer", Page,
                         [this] { SBEnregistrerClick(); }));
  CBVerrouiller = AddCheck(L, "CBVerrouiller", QStringLiteral("Verrouiller les dossiers"));
  CBUniqueDir = AddCheck(L, "CBUniqueDir", QStringLiteral("Dossier unique pour l'ouverture et enregistrement"));
  L->addStretch(1);
  connect(CBUniqueDir, &QCheckBox::clicked, this, [this] { CBUniqueDirClick(); });
  return Page;
}

QWidget* TPrefForm::BuildFile() {
  auto* Page = new QWidget;
  auto* L = new QVBoxLayout(Page);
  CB16M = AddCheck(L, "CB16M", QStringLiteral("Ouvrir les images en 16 millions de couleurs"));
  CBExif = AddCheck(L, "CBExif", QStringLiteral("Conserver les informations EXIF/IPTC"));
  CBAutoToneMap = AddCheck(L, "CBAutoToneMap", QStringLiteral("Tone mapping automatique (HDR/RAW)"));
  CBSaveAsDefault = AddCheck(L, "CBSaveAsDefault", QStringLiteral("Enregistrer avec les options par défaut"));
  auto* Row = new QHBoxLayout;
  CBSaveFormat = Named(new QCheckBox(QStringLiteral("Format par défaut")), "CBSaveFormat");
  CmbFormat = Named(new QComboBox, "CmbFormat");
  // The default save formats the program can write now.
  for (int I = 0; I < SaveFormatCount && IsSaveFormatAvailable(I); ++I) CmbFormat->addItem(SaveFormatItemText(I));
  Row->addWidget(CBSaveFormat);
  Row->addWidget(CmbFormat, 1);
  L->addLayout(Row);
  L->addStretch(1);
  // Metadata and tone mapping are the image library's; without it they mean nothing.
  CBAutoToneMap->setEnabled(FSources.FreeImageLoaded);
  CBExif->setEnabled(CBAutoToneMap->isEnabled());
  connect(CBSaveFormat, &QCheckBox::clicked, this, [this] { CBSaveFormatClick(); });
  return Page;
}

QWidget* TPrefForm::BuildHistory() {
  auto* Page = new QWidget;
  auto* L = new QVBoxLayout(Page);
  TBHisto = Named(new TTrackBar(Page), "TBHisto");
  TBHisto->setRange(1, 24);
  TBHisto->SetPosition(4);
  StyleTrackBar(TBHisto);
  LblHisto = Named(new QLabel, "LblHisto");
  L->addWidget(LblHisto);
  L->addWidget(TBHisto);
  auto* Memory = new QHBoxLayout;
  for (const char* Size : {"1024", "2048", "3072", "4096"}) {
    auto* Panel = new QLabel(QString::fromLatin1(Size));
    Panel->setAlignment(Qt::AlignCenter);
    Panel->setFrameShape(QFrame::Box);
    Memory->addWidget(Panel, 1);
  }
  L->addLayout(Memory);
  auto* MemoryCaption = new QLabel(QStringLiteral("<-- Mémoire conseillée (Mo) -->"));
  MemoryCaption->setAlignment(Qt::AlignCenter);
  L->addWidget(MemoryCaption);
  L->addWidget(Note(QStringLiteral("Utilisé par la prochaine image ouverte")));
  L->addStretch(1);
  TBHisto->OnChange = [this](QObject*) { TBHistoChange(); };
  return Page;
}

QWidget* TPrefForm::BuildToolsGrid() {
  auto* Page = new QWidget;
  auto* L = new QVBoxLayout(Page);
  RGPosOutils = Named(new TRadioGroup(Page), "RGPosOutils");
  RGPosOutils->setTitle(QStringLiteral(" Alignement de la palette d'outils "));
  RGPosOutils->SetItems({QStringLiteral("Flottante"), QStringLiteral("Gauche"), QStringLiteral("Droite")});
  L->addWidget(RGPosOutils);
  auto* Grid = new QGroupBox(QStringLiteral(" Grille "));
  auto* Form = new QFormLayout(Grid);
  LblTailleGrille = new QLabel(QStringLiteral("Taille des cellules :"));
  SETailleGrille = Named(new TSpinEdit2(Grid), "SETailleGrille");
  SETailleGrille->SetMinValue(1);
  SETailleGrille->SetMaxValue(500);
  ColorEditGrid = Named(new TColorEdit(Grid), "ColorEditGrid");
  LstUnitGrid = UnitList("LstUnitGrid", ImageUnits);
  Form->addRow(LblTailleGrille, SETailleGrille);
  Form->addRow(QStringLiteral("Couleur :"), ColorEditGrid);
  Form->addRow(QStringLiteral("Unité :"), LstUnitGrid);
  L->addWidget(Grid);
  L->addStretch(1);
  connect(LstUnitGrid, &QComboBox::activated, this, [this] { LstUnitGridChange(); });
  return Page;
}

QWidget* TPrefForm::BuildDefaults() {
  auto* Page = new QWidget;
  auto* L = new QVBoxLayout(Page);
  auto* Units = new QGroupBox(QStringLiteral(" Unités "));
  auto* Form = new QFormLayout(Units);
  LstUnit = UnitList("LstUnit", ImageUnits);
  LstUnitPrn = UnitList("LstUnitPrn", {QStringLiteral("cm"), QStringLiteral("pouces")});
  Form->addRow(QStringLiteral("Image :"), LstUnit);
  Form->addRow(QStringLiteral("Imprimer :"), LstUnitPrn);
  L->addWidget(Units);
  auto* Dialogs = new QGroupBox(QStringLiteral(" Boites de dialogue "));
  auto* D = new QVBoxLayout(Dialogs);
  CBMemDialogParams = AddCheck(D, "CBMemDialogParams", QStringLiteral("Mémoriser les paramètres"));
  BResetDialog = Named(new QPushButton(QStringLiteral("Réinitialiser")), "BResetDialog");
  D->addWidget(BResetDialog, 0, Qt::AlignLeft);
  CBAutoReset = AddCheck(D, "CBAutoReset", QStringLiteral("Automatique"));
  CBAutoReset->setChecked(true);
  L->addWidget(Dialogs);
  L->addStretch(1);
  connect(LstUnit, &QComboBox::activated, this, [this] { FlagUnitImage = true; });
  connect(LstUnitPrn, &QComboBox::activated, this, [this] { FlagUnitPrn = true; });
  connect(CBMemDialogParams, &QCheckBox::clicked, this, [this] { CBMemDialogParamsClick(); });
  connect(BResetDialog, &QPushButton::clicked, this, [this] { BResetDialogClick(); });
  return Page;
}

QWidget* TPrefForm::BuildModules() {
  auto* Page = new QWidget;
  auto* L = new QVBoxLayout(Page);
  L->addWidget(new QLabel(QStringLiteral("Créer des boutons pour ces modules :")));
  LstPlgPerso = Named(new QListWidget(Page), "LstPlgPerso");
  L->addWidget(LstPlgPerso, 1);
  L->addWidget(Note(RestartNote));
  return Page;
}

QWidget* TPrefForm::Build8bf() {
  auto* Page = new QWidget;
  auto* L = new QVBoxLayout(Page);
  L->addWidget(new QLabel(QStringLiteral("Dossier des filtres 8BF :")));
  L->addLayout(FolderRow(Edi8bfDir, "Edi8bfDir", SB8bfDir, "SB8bfDir", Page, [this] { SB8bfDirClick(); }));
  L->addWidget(new QLabel(QStringLiteral("Mode :")));
  RB8bfRGB = Named(new QRadioButton(QStringLiteral("Couleurs RVB")), "RB8bfRGB");
  RB8bfRGBA = Named(new QRadioButton(QStringLiteral("RVBA (couche Alpha)")), "RB8bfRGBA");
  L->addWidget(RB8bfRGB);
  L->addWidget(RB8bfRGBA);
  L->addWidget(Note(RestartNote));
  L->addStretch(1);
  return Page;
}

QWidget* TPrefForm::BuildOther() {
  auto* Page = new QWidget;
  auto* L = new QVBoxLayout(Page);
  CBCursorBig = AddCheck(L, "CBCursorBig", QStringLiteral("Curseur taille réelle pour le dessin"));
  CBLayerBounds = AddCheck(L, "CBLayerBounds", QStringLiteral("Afficher les limites du calque actif"));
  CBZoomMolette = AddCheck(L, "CBZoomMolette", QStringLiteral("Désactiver le zoom avec la molette de la souris"));
  CBDessinAlpha = AddCheck(L, "CBDessinAlpha", QStringLiteral("Dessiner sur la transparence Alpha"));
  CBAutoSelLayer = AddCheck(L, "CBAutoSelLayer", QStringLiteral("Sélection automatique de calque"));
  CBNumCalque = AddCheck(L, "CBNumCalque", QStringLiteral("Numérotation des calques"));
  CBExpandLayer = AddCheck(L, "CBExpandLayer", QStringLiteral("Etendre le calque pour le dessin"));
  L->addStretch(1);
  return Page;
}

QWidget* TPrefForm::BuildStartup() {
  auto* Page = new QWidget;
  auto* L = new QVBoxLayout(Page);
  CBPlugins = AddCheck(L, "CBPlugins", QStringLiteral("Charger les modules externes au démarrage"));
  CBViderListe = AddCheck(L, "CBViderListe", QStringLiteral("Vider l'historique des derniers fichiers ouverts"));
  CBSplashScreen = AddCheck(L, "CBSplashScreen", QStringLiteral("Désactiver l'écran de démarrage"));
  CBRunMulti = AddCheck(L, "CBRunMulti", QStringLiteral("Autoriser plusieurs instances"));
  L->addWidget(Note(RestartNote));
  L->addStretch(1);
  return Page;
}

QWidget* TPrefForm::BuildStyle() {
  auto* Page = new QWidget;
  auto* L = new QVBoxLayout(Page);
  auto* Form = new QFormLayout;
  CBSkins = Named(new QComboBox, "CBSkins");
  SEButtonSize = Named(new TSpinEdit2(Page), "SEButtonSize");
  SEButtonSize->SetMinValue(FSources.DefaultButtonHeight);
  SEButtonSize->SetMaxValue(ToolButtonMaxHeight(FSources.DefaultButtonHeight));
  LblDPI = Named(new QLabel, "LblDPI");
  QFont Bold = LblDPI->font();
  Bold.setBold(true);
  LblDPI->setFont(Bold);
  Form->addRow(QStringLiteral("Style :"), CBSkins);
  Form->addRow(QStringLiteral("Taille des boutons :"), SEButtonSize);
  Form->addRow(QStringLiteral("Résolution :"), LblDPI);
  L->addLayout(Form);
  L->addWidget(Note(RestartNote));
  L->addStretch(1);
  return Page;
}

void TPrefForm::FillSkinCombo() {
  QStringList Names;
  for (const TVisualStyle& Style : RegisteredStyles())
    if (Style.Name != QLatin1String("Windows")) Names << Style.Name;
  Names.sort();
  Names.prepend(SystemStyleName);
  CBSkins->addItems(Names);
}

void TPrefForm::FillModuleList() {
  for (const TPrefSources::TModule& Module : FSources.Modules) {
    auto* Item = new QListWidgetItem(Module.Caption, LstPlgPerso);
    Item->setData(Qt::UserRole, QFileInfo(Module.FileName).fileName());
    Item->setFlags(Item->flags() | Qt::ItemIsUserCheckable);
    Item->setCheckState(Qt::Unchecked);
  }
}

void TPrefForm::CheckToolbarModules(const QStringList& ToolbarList) {
  for (int I = 0; I < LstPlgPerso->count(); ++I) {
    QListWidgetItem* Item = LstPlgPerso->item(I);
    const bool Listed = ToolbarList.contains(Item->data(Qt::UserRole).toString(), Qt::CaseInsensitive);
    Item->setCheckState(Listed ? Qt::Checked : Qt::Unchecked);
  }
}

QStringList TPrefForm::ReadToolbarModules(const TIniFile& Ini) const {
  QStringList List;
  for (int I = 1; I <= MaxModuleButtons; ++I) {
    const QString Value = Ini.ReadString(Plugins, QStringLiteral("Plugin%1").arg(I), Missing);
    if (Value != Missing && !Value.isEmpty()) List << Value;
  }
  return List;
}

void TPrefForm::WriteToolbarModules(TIniFile& Ini) const {
  int N = 0;
  for (int I = 0; I < LstPlgPerso->count() && N < MaxModuleButtons; ++I) {
    const QListWidgetItem* Item = LstPlgPerso->item(I);
    if (Item->checkState() != Qt::Checked) continue;
    ++N;
    Ini.WriteString(Plugins, QStringLiteral("Plugin%1").arg(N), Item->data(Qt::UserRole).toString());
  }
  for (int I = N + 1; I <= MaxModuleButtons; ++I) Ini.DeleteKey(Plugins, QStringLiteral("Plugin%1").arg(I));
}

void TPrefForm::ReadStartupSwitches() {
  const TIniFile Ini(FSources.MainIniFile);
  CBPlugins->setChecked(Ini.ReadString(Plugins, QStringLiteral("LoadPlugins"), Missing) != QLatin1String("0"));
  CheckToolbarModules(ReadToolbarModules(Ini));
  CBRunMulti->setChecked(Ini.ReadString(Params, QStringLiteral("RunMulti"), Missing) == QLatin1String("1"));
  CBSplashScreen->setChecked(Ini.ReadString(Params, QStringLiteral("SplashScreen"), Missing) == QLatin1String("0"));
}

void TPrefForm::showEvent(QShowEvent* Event) {
  FormShow();
  TDialogFormEx::showEvent(Event);
}

void TPrefForm::FormShow() {
  if (!Settings) return;
  const TMainSettings& S = *Settings;
  EdiDirOuvrir->SetText(S.OuvrirDir);
  EdiDirEnregistrer->SetText(S.EnregistrerDir);
  CBVerrouiller->setChecked(S.VerrouillerDir);
  CBUniqueDir->setChecked(S.UniqueDir);
  CB16M->setChecked(S.Force16M);
  CBExif->setChecked(S.PreserveExif);
  CBAutoToneMap->setChecked(S.AutoToneMap);
  CBSaveAsDefault->setChecked(S.SaveDefault);
  const bool Format = IsSaveFormatAvailable(S.SaveFormatIndex) && S.SaveFormatIndex < CmbFormat->count();
  CBSaveFormat->setChecked(Format);
  CmbFormat->setCurrentIndex(Format ? S.SaveFormatIndex : 0);
  TBHisto->SetPosition(S.NbHistoriques);
  RGPosOutils->SetItemIndex(S.ToolsAlignment);
  SETailleGrille->SetValue2(S.TailleGrille);
  ColorEditGrid->SetColor(S.CouleurGrille);
  LstUnitGrid->setCurrentIndex(S.UniteGrille);
  LstUnit->setCurrentIndex(S.UniteDefaut);
  LstUnitPrn->setCurrentIndex(S.UniteDefautPrn);
  CBMemDialogParams->setChecked(S.DialogParams);
  CBAutoReset->setChecked(S.AutoReset);
  Edi8bfDir->SetText(S.PS8bfDir);
  (S.PS8bfMode == 1 ? RB8bfRGBA : RB8bfRGB)->setChecked(true);
  PageControl->widget(pg8bf)->setEnabled(FSources.HostAvailable8bf);
  CBCursorBig->setChecked(S.UseCursorEx);
  CBLayerBounds->setChecked(S.LimitesCalqueActif);
  CBZoomMolette->setChecked(!S.ZoomMolette);
  CBDessinAlpha->setChecked(S.DessinAlpha);
  CBAutoSelLayer->setChecked(S.SelCalqueAuto);
  CBNumCalque->setChecked(S.NumCalque);
  CBExpandLayer->setChecked(S.AutoExpandLayer);
  CBViderListe->setChecked(S.ViderListeFichiers);
  SEButtonSize->SetValue2(S.ToolButtonHeight);
  CBSkins->setCurrentIndex(IsSystemStyle() ? 0 : std::max(0, CBSkins->findText(ActiveStyle().Name)));
  const int Dpi = FSources.ScreenDpi;
  LblDPI->setText(QStringLiteral("%1 Dpi (%2%)").arg(Dpi).arg(Round(Dpi / 96.0 * 100)));
  ReadStartupSwitches();
  CBUniqueDirClick();
  CBSaveFormatClick();
  LstUnitGridChange();
  CBMemDialogParamsClick();
  TBHistoChange();
  BOk->setFocus();
  FlagUnitImage = false;
  FlagUnitPrn = false;
}

void TPrefForm::TBHistoChange() {
  // An image's undo list holds twice the setting.
  LblHisto->setText(
      QString(Tr(TrId::GetTrFmtHistory)).replace(QLatin1String("%d"), QString::number(TBHisto->Position() * 2)));
}

void TPrefForm::CBUniqueDirClick() {
  const bool Separate = !CBUniqueDir->isChecked();
  EdiDirEnregistrer->setEnabled(Separate);
  SBEnregistrer->setEnabled(Separate);
  LblDirEnregistrer->setEnabled(Separate);
  if (!Separate) EdiDirEnregistrer->SetText(EdiDirOuvrir->Text());
}

void TPrefForm::CBSaveFormatClick() { CmbFormat->setEnabled(CBSaveFormat->isChecked()); }

void TPrefForm::LstUnitGridChange() {
  const bool Pixels = LstUnitGrid->currentIndex() == 0;
  LblTailleGrille->setEnabled(Pixels);
  SETailleGrille->setEnabled(Pixels);
}

void TPrefForm::CBMemDialogParamsClick() { BResetDialog->setEnabled(CBMemDialogParams->isChecked()); }

bool TPrefForm::PickFolder(TSpecialEdit* Edit, const QString& Caption) {
  const QString Folder = BrowseForFolder(Caption, Edit->Text());
  if (Folder.isEmpty()) return false;
  Edit->SetText(Folder);
  return true;
}

void TPrefForm::SBOuvrirClick() {
  if (!PickFolder(EdiDirOuvrir, QStringLiteral("Dossier d'ouverture :"))) return;
  CBVerrouiller->setChecked(true);
  if (CBUniqueDir->isChecked()) EdiDirEnregistrer->SetText(EdiDirOuvrir->Text());
}

void TPrefForm::SBEnregistrerClick() {
  if (PickFolder(EdiDirEnregistrer, QStringLiteral("Dossier d'enregistrement :"))) CBVerrouiller->setChecked(true);
}

void TPrefForm::SB8bfDirClick() { PickFolder(Edi8bfDir, QStringLiteral("Dossier des filtres 8BF :")); }

void TPrefForm::BResetDialogClick() {
  const QString Question =
      Tr(TrId::GetTrDlgBoxParams) + QLatin1Char('\r') + QLatin1Char('(') + RestartNote + QLatin1Char(')');
  if (ShowMsgDlg(Question, mdkConfirmation, {mdbYes, mdbNo}) == mrYes) QFile::remove(DialogsIniFile);
}

void TPrefForm::CmbPrefsChange() {
  PageControl->setCurrentIndex(CmbPrefs->currentIndex());
  if (isVisible()) PageControl->setFocus();
}

void TPrefForm::BtnPrevClick() {
  const int I = CmbPrefs->currentIndex();
  CmbPrefs->setCurrentIndex(I <= 0 ? PageCount - 1 : I - 1);
}

void TPrefForm::BtnNextClick() {
  const int I = CmbPrefs->currentIndex();
  CmbPrefs->setCurrentIndex(I >= PageCount - 1 ? 0 : I + 1);
}

void TPrefForm::BOkClick() {
  SavePreferences();
  accept();
}

void TPrefForm::SavePreferences() {
  if (!Settings) return;
  TMainSettings& S = *Settings;
  S.OuvrirDir = EdiDirOuvrir->Text();
  S.EnregistrerDir = EdiDirEnregistrer->Text();
  S.VerrouillerDir = CBVerrouiller->isChecked();
  S.UniqueDir = CBUniqueDir->isChecked();
  S.Force16M = CB16M->isChecked();
  S.AutoToneMap = CBAutoToneMap->isChecked();
  S.PreserveExif = CBExif->isChecked();
  S.SaveDefault = CBSaveAsDefault->isChecked();
  S.SaveFormatIndex = CBSaveFormat->isChecked() ? CmbFormat->currentIndex() : -1;
  S.ToolsAlignment = RGPosOutils->ItemIndex();
  S.UniteDefaut = LstUnit->currentIndex();
  S.UniteDefautPrn = LstUnitPrn->currentIndex();
  S.DialogParams = CBMemDialogParams->isChecked();
  S.AutoReset = CBAutoReset->isChecked();
  S.TailleGrille = SETailleGrille->Value();
  S.CouleurGrille = ColorEditGrid->Color();
  S.UniteGrille = LstUnitGrid->currentIndex();
  S.NbHistoriques = TBHisto->Position();
  S.ViderListeFichiers = CBViderListe->isChecked();
  S.PS8bfDir = Edi8bfDir->Text();
  S.PS8bfMode = RB8bfRGBA->isChecked() ? 1 : 0;
  S.LimitesCalqueActif = CBLayerBounds->isChecked();
  S.UseCursorEx = CBCursorBig->isChecked();
  S.DessinAlpha = CBDessinAlpha->isChecked();
  S.ZoomMolette = !CBZoomMolette->isChecked();
  S.SelCalqueAuto = CBAutoSelLayer->isChecked();
  S.NumCalque = CBNumCalque->isChecked();
  S.AutoExpandLayer = CBExpandLayer->isChecked();
  if (OnApplied) OnApplied();

  // The file; a write that fails leaves the values already in use.
  TIniFile Ini(FSources.MainIniFile);
  Ini.WriteString(Params, QStringLiteral("Open"), S.OuvrirDir);
  Ini.WriteString(Params, QStringLiteral("Save"), S.EnregistrerDir);
  Ini.WriteString(Params, QStringLiteral("LockDir"), Switch(S.VerrouillerDir));
  Ini.WriteString(Params, QStringLiteral("UniqueDir"), Switch(S.UniqueDir));
  Ini.WriteString(Params, QStringLiteral("Force16M"), Switch(S.Force16M));
  Ini.WriteString(Plugins, QStringLiteral("AutoToneMap"), Switch(S.AutoToneMap));
  Ini.WriteString(Params, QStringLiteral("SaveDefault"), Switch(S.SaveDefault));
  Ini.WriteInteger(Params, QStringLiteral("SaveFormat"), S.SaveFormatIndex);
  Ini.WriteString(Plugins, QStringLiteral("PreserveExif"), Switch(S.PreserveExif));
  Ini.WriteInteger(Tools, QStringLiteral("ToolsAlignment"), S.ToolsAlignment);
  Ini.WriteInteger(Params, QStringLiteral("ImageUnit"), S.UniteDefaut);
  Ini.WriteInteger(Params, QStringLiteral("PrintUnit"), S.UniteDefautPrn);
  Ini.WriteString(Params, QStringLiteral("DialogParams"), Switch(S.DialogParams));
  Ini.WriteString(Params, QStringLiteral("AutoReset"), Switch(S.AutoReset));
  Ini.WriteInteger(Params, QStringLiteral("GridCellSize"), S.TailleGrille);
  Ini.WriteString(Params, QStringLiteral("ColorGrid"), ColorToText(S.CouleurGrille, true));
  Ini.WriteInteger(Params, QStringLiteral("GridUnit"), S.UniteGrille);
  Ini.WriteInteger(Params, QStringLiteral("History"), S.NbHistoriques);
  Ini.WriteString(Plugins, QStringLiteral("LoadPlugins"), Switch(CBPlugins->isChecked()));
  WriteToolbarModules(Ini);
  Ini.WriteString(Files, QStringLiteral("ClearFileListe"), Switch(S.ViderListeFichiers));
  Ini.WriteString(Params, QStringLiteral("RunMulti"), Switch(CBRunMulti->isChecked()));
  Ini.WriteString(Params, QStringLiteral("SplashScreen"), Switch(!CBSplashScreen->isChecked()));
  Ini.WriteString(Plugins, QStringLiteral("8bfDir64"), S.PS8bfDir);
  Ini.WriteString(Plugins, QStringLiteral("8bfMode"), QString::number(S.PS8bfMode));
  Ini.WriteString(Params, QStringLiteral("LayerBounds"), Switch(S.LimitesCalqueActif));
  Ini.WriteString(Params, QStringLiteral("CursorEx"), Switch(S.UseCursorEx));
  Ini.WriteString(Params, QStringLiteral("AlphaDraw"), Switch(S.DessinAlpha));
  Ini.WriteString(Params, QStringLiteral("TrackBallZoom"), Switch(S.ZoomMolette));
  Ini.WriteString(Params, QStringLiteral("AutoSelectLayer"), Switch(S.SelCalqueAuto));
  Ini.WriteString(Params, QStringLiteral("LayerNumber"), Switch(S.NumCalque));
  Ini.WriteString(Params, QStringLiteral("AutoExpandLayer"), Switch(S.AutoExpandLayer));
  Ini.WriteString(Params, QStringLiteral("Skin"), CBSkins->currentText());
  Ini.WriteInteger(Params, QStringLiteral("ScreenDpi"), FSources.ScreenDpi);
  Ini.WriteInteger(Params, QStringLiteral("ToolBarButtonSize"), SEButtonSize->Value());
  Ini.UpdateFile();
}
