#include "files/ui/Explor.h"

#include "document/ShapeManager.h"
#include "files/BmpExtOE.h"
#include "files/BmpOE2.h"
#include "files/ColorDepth.h"
#include "files/FindFiles.h"
#include "files/FreeMetadata.h"
#include "files/ui/BrowseForFolder.h"
#include "files/ui/ExplorGlyphs.h"
#include "files/ui/ExplorerHost.h"
#include "i18n/Format.h"
#include "i18n/LibLang.h"
#include "platform/Bitmap.h"
#include "platform/IniFile.h"
#include "platform/Rounding.h"
#include "raster/FoncUtils.h"
#include "raster/ImgUtils24.h"
#include "ui/DlgColors.h"
#include "ui/DlgEx.h"
#include "ui/DrawUtils.h"
#include "ui/MyBevel.h"
#include "ui/SimplePanel.h"
#include "ui/UtilsDPI.h"

#include <QApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QThread>
#include <QToolButton>

namespace {

constexpr int HorzSpacing = 20;
constexpr int ToolBarOffset = 2; // the toolbar's left and top offset in its panel
constexpr int PumpEvery = 7;     // files between two pumps of the event queue
constexpr int PumpSleepMs = 33;

// A thumbnail: its file's data and its sort key.
class TExplorItem : public QListWidgetItem {
public:
  TExplorItem(const QIcon& Icon, TImageData D)
      : QListWidgetItem(Icon, ExplorShortCaption(D.FullName), nullptr, UserType) {
    SetData(std::move(D));
  }
  void SetData(TImageData D) {
    Data = std::move(D);
    SortKey = ExplorSortKey(Data.FullName);
    setText(ExplorShortCaption(Data.FullName));
    setToolTip(ExplorInfoTip(Data).replace(QLatin1Char('\r'), QLatin1Char('\n')));
  }
  bool operator<(const QListWidgetItem& Other) const override {
    const auto& O = static_cast<const TExplorItem&>(Other);
    // Equal keys (photo1.jpg, photo1.png) keep one order by their full name.
    return SortKey != O.SortKey ? SortKey < O.SortKey : Data.FullName.compare(O.Data.FullName, Qt::CaseInsensitive) < 0;
  }
  TImageData Data;
  QString SortKey;
};

// The selected thumbnail is drawn without its shadow, in a frame of the
// accent colour, on the list's colour; the others as the style draws them.
class TSelectedThumbDelegate : public QStyledItemDelegate {
public:
  TSelectedThumbDelegate(const int& ThumbSize, QObject* Parent) : QStyledItemDelegate(Parent), FThumbSize(ThumbSize) {}
  void paint(QPainter* P, const QStyleOptionViewItem& Option, const QModelIndex& Index) const override {
    if (!(Option.state & QStyle::State_Selected)) {
      QStyledItemDelegate::paint(P, Option, Index);
      return;
    }
    QStyleOptionViewItem Opt(Option);
    initStyleOption(&Opt, Index);
    P->fillRect(Option.rect, ToQColor(clDlgList));
    const int Side = FThumbSize - 4;
    const QPixmap Thumb = Opt.icon.pixmap(FThumbSize, FThumbSize).copy(0, 0, Side, Side);
    QPixmap Framed(Thumb);
    {
      QPainter F(&Framed);
      F.setPen(QPen(ToQColor(clDlgAccent), 2));
      F.setBrush(Qt::NoBrush);
      F.drawRect(QRectF(1, 1, Side - 2, Side - 2));
    }
    const QRect Icon = Opt.widget->style()->subElementRect(QStyle::SE_ItemViewItemDecoration, &Opt, Opt.widget);
    P->drawPixmap(Icon.topLeft() + QPoint(2, 2), Framed);
    QRect Label = Opt.widget->style()->subElementRect(QStyle::SE_ItemViewItemText, &Opt, Opt.widget);
    Label.adjust(2, 0, 0, 0);
    P->setPen(ToQColor(clDlgText));
    P->drawText(Label, Qt::AlignHCenter | Qt::AlignTop, Opt.text);
  }

private:
  const int& FThumbSize;
};

// The menus' rows: object name, French caption, translatable caption, and
// whether the item opens a dialog (its caption then ends with "...").
struct TExplorMenuRow {
  const char* Name;
  const char16_t* Caption;
  TrId Key;
  bool Dialog;
};

constexpr TExplorMenuRow MenuRows[] = {
    {"MenuExplorer", u"Explorer", TrId::GetTrMnuExplore, false},
    {"MenuExploreDir", u"Un dossier...", TrId::GetTrMnuExpDir, true},
    {"MenuExploreImage", u"Le dossier de l'image en cours", TrId::GetTrMnuExpCurrentDir, false},
    {"MenuExploreOuvrir", u"Le dossier d'ouverture", TrId::GetTrMnuExpOpeningDir, false},
    {"MenuExploreSave", u"Le dossier d'enregistrement", TrId::GetTrMnuExpSavingDir, false},
    {"MenuExploreSel", u"Le dossier des sélections", TrId::GetTrMnuExpSelDir, false},
    {"MenuExploreMasque", u"Le dossier des masques", TrId::GetTrMnuExpMaskDir, false},
    {"MenuExploreMotif", u"Le dossier des motifs", TrId::GetTrMnuExpPatternDir, false},
    {"MenuExploreTexture", u"Le dossier des textures", TrId::GetTrMnuExpTxtDir, false},
    {"MenuImage", u"Image", TrId::GetTrMnuImage, false},
    {"MenuRename", u"Renommer l'image...", TrId::GetTrMnuRename, true},
    {"MenuMove", u"Déplacer l'image vers...", TrId::GetTrMnuMoveTo, true},
    {"MenuCopy", u"Copier  l'image vers...", TrId::GetTrMnuCopyTo, true},
    {"MenuDelete", u"Supprimer l'image", TrId::GetTrMnuDelete, false},
    {"MenuAction", u"Action", TrId::GetTrMnuAction, false},
    {"MenuActionSel", u"Charger cette forme", TrId::GetTrMnuLoadSelShape, false},
    {"MenuActionMasque", u"Lancer LumaMosque avec ce masque...", TrId::GetTrMnuLoadLumaMasque, true},
    {"MenuActionMotif", u"Utiliser comme motif", TrId::GetTrMnuDefinePattern, false},
    {"MenuActionTexture", u"Utiliser comme texture...", TrId::GetTrMnuUseTexture, true},
    {"MenuActionLM", u"Ouvrir en tant que nouvelle image", TrId::GetTrMnuLumaretiqueOpen, false},
    {"MenuActionCalque", u"Ouvrir en tant que calque", TrId::GetTrMnuOpenAsLayer, false},
    {"MenuActionShell", u"Ouvrir avec le programme associé", TrId::GetTrMnuShellOpen, false},
    {"MenuActualiser", u"Actualiser", TrId::GetTrMnuRefresh, false},
    {"MenuAuto", u"Automatique", TrId::GetTrLblAuto, false},
    {"MenuProprietes", u"Propriétés de l'image", TrId::GetTrMnuImageProperties, false},
    {"MenuTrier", u"Trier", TrId::GetTrMnuSort, false},
    {"MenuRecurssif", u"Inclure les sous-dossiers", TrId::GetTrMnuSubFolders, false},
    {"MenuFiltre", u"Filtre personnalisé...", TrId::GetTrMnuCustomFilter, true},
    {"MenuMultiline", u"Afficher les miniatures sur plusieurs lignes", TrId::GetTrMnuMultiline, false},
    {"MenuVider", u"Vider la liste des miniatures", TrId::GetTrMnuClearThumbs, false},
};

// The French caption of the menu row Name; empty when there is none.
QString RowCaption(const char* Name) {
  for (const TExplorMenuRow& Row : MenuRows)
    if (qstrcmp(Row.Name, Name) == 0) return QString::fromUtf16(Row.Caption);
  return QString();
}

} // namespace

TExplorForm::TExplorForm(TExplorerHost& AHost, QWidget* Parent) : QWidget(Parent), Host(AHost) {
  setObjectName(QStringLiteral("ExplorForm"));
  setWindowTitle(QStringLiteral("Explorateur d'images"));
  setAutoFillBackground(true);
  QFont F = font();
  ApplyDialogFont(F, 3);
  setFont(F);
  BvlExplore = new TMyBevel(this);
  BvlExplore->setObjectName(QStringLiteral("BvlExplore"));
  BvlExplore->SetStyle(TMyBevelStyle::bsFill);
  BvlExplore->SetColor(clDlgBorder);
  PnlBtn = new TSimplePanel(this);
  PnlBtn->setObjectName(QStringLiteral("PnlBtn"));
  PnlBtn->SetBevelEdges(beRight);
  PnlBtn->SetBevelColor(clDlgBorder);
  PnlBtn->SetColor(clDlgPanelLight);
  ListView = new QListWidget(this);
  ListView->setObjectName(QStringLiteral("ListView"));
  ListView->setViewMode(QListView::IconMode);
  ListView->setFlow(QListView::TopToBottom);
  ListView->setWrapping(true);
  ListView->setResizeMode(QListView::Adjust);
  ListView->setMovement(QListView::Static);
  ListView->setDragEnabled(false);
  ListView->setUniformItemSizes(true);
  ListView->setWordWrap(false);
  ListView->setTextElideMode(Qt::ElideNone);
  ListView->setSelectionMode(QAbstractItemView::SingleSelection);
  ListView->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ListView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  ListView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  ListView->setContextMenuPolicy(Qt::CustomContextMenu);
  QPalette P = ListView->palette();
  P.setColor(QPalette::Base, ToQColor(clDlgList));
  ListView->setPalette(P);
  ListView->setItemDelegate(new TSelectedThumbDelegate(FThumbSize, ListView));
  ListView->viewport()->installEventFilter(this);
  ListView->installEventFilter(this);
  connect(ListView, &QListWidget::itemDoubleClicked, this, [this] { ListViewDblClick(); });
  connect(ListView, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& At) { PopLst->popup(ListView->viewport()->mapToGlobal(At)); });

  BuildMenus();
  BuildToolBar();
  if (TranslationLoaded()) TranslateExplorerMenus();
  SetExplorerHints();
  Host.PreparerPopupMenu(PopLst);

  FThumbSize = Round(Host.ToolButtonHeight() * 2.5);
  FVertSpacing = MulDiv(22, ScreenPixelsPerInch(), 96);
  FileMask = GetOpenMasks();
  DirFlags = ExplorDirFlags(Host.Folders());
  ReadSettings();
  LayoutControls();
  hide();
}

TExplorForm::~TExplorForm() {
  *FAlive = false;
  if (FProcessing) BreakProcess();
  ClearList();
}

void TExplorForm::BuildMenus() {
  const auto Add = [](QMenu* Menu, const char* Name) {
    QAction* Item = Menu->addAction(RowCaption(Name));
    Item->setObjectName(QString::fromLatin1(Name));
    return Item;
  };
  const auto Sub = [this](QMenu* Parent, const char* Name) {
    auto* Menu = new QMenu(RowCaption(Name), this);
    Menu->setObjectName(QString::fromLatin1(Name));
    Menu->menuAction()->setObjectName(Menu->objectName());
    Parent->addMenu(Menu);
    return Menu;
  };
  PopLst = new QMenu(this);
  PopLst->setObjectName(QStringLiteral("PopLst"));
  MenuExplorer = Sub(PopLst, "MenuExplorer");
  MenuExploreDir = Add(MenuExplorer, "MenuExploreDir");
  MenuExplorer->addSeparator();
  MenuExploreImage = Add(MenuExplorer, "MenuExploreImage");
  MenuExploreOuvrir = Add(MenuExplorer, "MenuExploreOuvrir");
  MenuExploreSave = Add(MenuExplorer, "MenuExploreSave");
  MenuExplorer->addSeparator();
  MenuExploreSel = Add(MenuExplorer, "MenuExploreSel");
  MenuExploreMasque = Add(MenuExplorer, "MenuExploreMasque");
  MenuExploreMotif = Add(MenuExplorer, "MenuExploreMotif");
  MenuExploreTexture = Add(MenuExplorer, "MenuExploreTexture");
  MenuImage = Sub(PopLst, "MenuImage");
  MenuRename = Add(MenuImage, "MenuRename");
  MenuMove = Add(MenuImage, "MenuMove");
  MenuCopy = Add(MenuImage, "MenuCopy");
  MenuImage->addSeparator();
  MenuDelete = Add(MenuImage, "MenuDelete");
  MenuAction = Sub(PopLst, "MenuAction");
  MenuActionSel = Add(MenuAction, "MenuActionSel");
  MenuActionMasque = Add(MenuAction, "MenuActionMasque");
  MenuActionMotif = Add(MenuAction, "MenuActionMotif");
  MenuActionTexture = Add(MenuAction, "MenuActionTexture");
  MenuSepAction = MenuAction->addSeparator();
  MenuSepAction->setObjectName(QStringLiteral("MenuSepAction"));
  MenuActionLM = Add(MenuAction, "MenuActionLM");
  MenuActionCalque = Add(MenuAction, "MenuActionCalque");
  MenuActionShell = Add(MenuAction, "MenuActionShell");
  PopLst->addSeparator();
  MenuActualiser = Add(PopLst, "MenuActualiser");
  MenuAuto = Add(PopLst, "MenuAuto");
  PopLst->addSeparator();
  MenuProprietes = Add(PopLst, "MenuProprietes");
  PopLst->addSeparator();
  MenuTrier = Add(PopLst, "MenuTrier");
  MenuRecurssif = Add(PopLst, "MenuRecurssif");
  MenuFiltre = Add(PopLst, "MenuFiltre");
  MenuMultiline = Add(PopLst, "MenuMultiline");
  PopLst->addSeparator();
  MenuVider = Add(PopLst, "MenuVider");
  for (QAction* Item : {MenuAuto, MenuTrier, MenuRecurssif, MenuMultiline}) Item->setCheckable(true);
  MenuTrier->setChecked(true);

  connect(PopLst, &QMenu::aboutToShow, this, [this] { PopLstPopup(); });
  connect(MenuExplorer, &QMenu::aboutToShow, this, [this] { MenuExplorerClick(); });
  connect(MenuAction, &QMenu::aboutToShow, this, [this] { MenuActionClick(); });
  const TExplorFolders Folders = Host.Folders();
  connect(MenuExploreDir, &QAction::triggered, this, [this] { Explore(QString(), QString(), true); });
  connect(MenuExploreImage, &QAction::triggered, this, [this] { MenuExploreImageClick(false); });
  connect(MenuExploreOuvrir, &QAction::triggered, this, [this] { Explore(Host.Folders().OuvrirDir, QString(), true); });
  connect(MenuExploreSave, &QAction::triggered, this, [this] {
    const TExplorFolders F = Host.Folders();
    Explore(F.EnregistrerDir.isEmpty() ? F.OuvrirDir : F.EnregistrerDir, QString(), true);
  });
  connect(MenuExploreSel, &QAction::triggered, this, [this] { ExploreDataFolder(Host.Folders().SelDir); });
  connect(MenuExploreMasque, &QAction::triggered, this, [this] { ExploreDataFolder(Host.Folders().MasqueDir); });
  connect(MenuExploreMotif, &QAction::triggered, this, [this] { ExploreDataFolder(Host.Folders().MotifDir); });
  connect(MenuExploreTexture, &QAction::triggered, this, [this] { ExploreDataFolder(Host.Folders().TextureDir); });
  connect(MenuRename, &QAction::triggered, this, [this] { FileOperation(3, MenuRename); });
  connect(MenuMove, &QAction::triggered, this, [this] { FileOperation(2, MenuMove); });
  connect(MenuCopy, &QAction::triggered, this, [this] { FileOperation(1, MenuCopy); });
  connect(MenuDelete, &QAction::triggered, this, [this] { FileOperation(4, nullptr); });
  connect(MenuActionShell, &QAction::triggered, this, [this] { FileOperation(0, nullptr); });
  connect(MenuActionSel, &QAction::triggered, this, [this] { RunUse(TExplorUse::Sel, false); });
  connect(MenuActionMotif, &QAction::triggered, this, [this] { RunUse(TExplorUse::Motif, false); });
  connect(MenuActionMasque, &QAction::triggered, this, [this] { RunUse(TExplorUse::Masque, false); });
  connect(MenuActionTexture, &QAction::triggered, this, [this] { RunUse(TExplorUse::Texture, false); });
  connect(MenuActionLM, &QAction::triggered, this, [this] { RunUse(TExplorUse::NewImage, false); });
  connect(MenuActionCalque, &QAction::triggered, this, [this] { RunUse(TExplorUse::Calque, false); });
  connect(MenuActualiser, &QAction::triggered, this, [this] { Actualiser(); });
  connect(MenuAuto, &QAction::triggered, this, [this] { MenuAutoClick(); });
  connect(MenuProprietes, &QAction::triggered, this, [this] { MenuProprietesClick(); });
  connect(MenuTrier, &QAction::triggered, this, [this] { MenuTrierClick(); });
  connect(MenuFiltre, &QAction::triggered, this, [this] { MenuFiltreClick(); });
  connect(MenuMultiline, &QAction::triggered, this, [this] { MenuMultilineClick(); });
  connect(MenuVider, &QAction::triggered, this, [this] { ClearList(); });
}

void TExplorForm::BuildToolBar() {
  ToolBar = new QWidget(PnlBtn);
  ToolBar->setObjectName(QStringLiteral("ToolBar"));
  const int Height = Host.ToolButtonHeight();
  const int Width = Height + (Height - 20) / 5;
  const int IconSize = std::max(Height - 8, 19);
  const auto Button = [&](const char* Name, TExplorGlyph Glyph, QAction* Item) {
    auto* B = new QToolButton(ToolBar);
    B->setObjectName(QString::fromLatin1(Name));
    B->setAutoRaise(true);
    B->setFixedSize(Width, Height);
    B->setIconSize(QSize(IconSize, IconSize));
    B->setIcon(ExplorButtonIcon(Glyph, IconSize));
    if (Item) connect(B, &QToolButton::clicked, Item, &QAction::trigger);
    return B;
  };
  BtnDir = Button("BtnDir", TExplorGlyph::Dir, MenuExploreDir);
  BtnImg = Button("BtnImg", TExplorGlyph::Img, MenuExploreImage);
  BtnOuvrir = Button("BtnOuvrir", TExplorGlyph::Ouvrir, MenuExploreOuvrir);
  BtnSauve = Button("BtnSauve", TExplorGlyph::Sauve, MenuExploreSave);
  BtnSel = Button("BtnSel", TExplorGlyph::Sel, MenuExploreSel);
  BtnMask = Button("BtnMask", TExplorGlyph::Mask, MenuExploreMasque);
  BtnMotif = Button("BtnMotif", TExplorGlyph::Motif, MenuExploreMotif);
  BtnMenu = Button("BtnMenu", TExplorGlyph::Menu, nullptr);
  connect(BtnMenu, &QToolButton::clicked, this,
          [this] { PopLst->popup(ListView->mapToGlobal(QPoint(0, ListView->height()))); });
  auto* Grid = new QGridLayout(ToolBar);
  Grid->setContentsMargins(0, 0, 0, 0);
  Grid->setSpacing(0);
}

void TExplorForm::TranslateExplorerMenus() {
  for (const TExplorMenuRow& Row : MenuRows) {
    const QString Caption = Row.Dialog ? FormatCaption(Tr(Row.Key), 1) : Tr(Row.Key);
    if (QMenu* Menu = findChild<QMenu*>(QString::fromLatin1(Row.Name)))
      Menu->setTitle(Caption);
    else if (QAction* Item = findChild<QAction*>(QString::fromLatin1(Row.Name)))
      Item->setText(Caption);
  }
}

void TExplorForm::SetExplorerHints() {
  const QString Explorer = CleanMenuCaption(MenuExplorer->title()) + QStringLiteral(" / ");
  const std::pair<QToolButton*, QAction*> Hints[] = {{BtnDir, MenuExploreDir},       {BtnImg, MenuExploreImage},
                                                     {BtnOuvrir, MenuExploreOuvrir}, {BtnSauve, MenuExploreSave},
                                                     {BtnSel, MenuExploreSel},       {BtnMask, MenuExploreMasque},
                                                     {BtnMotif, MenuExploreMotif}};
  for (const auto& [Button, Item] : Hints) Button->setToolTip(Explorer + CleanMenuCaption(Item->text()));
  BtnMenu->setToolTip(Tr(TrId::GetTrMnuOptions));
}

int TExplorForm::WantedHeight() const {
  const int Rows = MenuMultiline->isChecked() ? 2 : 1;
  const int ButtonRows = MenuMultiline->isChecked() ? 8 : 4;
  const int Separator = 2;
  const int ListHeight = ListView->horizontalScrollBar()->sizeHint().height() + 2 * ListView->frameWidth() +
                         Rows * (FThumbSize + FVertSpacing);
  const int ButtonsHeight = ButtonRows * Host.ToolButtonHeight() + 2 * ToolBarOffset;
  return std::max(ListHeight, ButtonsHeight) + Separator;
}

void TExplorForm::LayoutControls() {
  // One row: the buttons 2 wide and 4 high; several rows: 1 wide, 8 high.
  auto* Grid = static_cast<QGridLayout*>(ToolBar->layout());
  const QToolButton* Buttons[] = {BtnDir, BtnImg, BtnOuvrir, BtnSauve, BtnSel, BtnMask, BtnMotif, BtnMenu};
  const int Columns = MenuMultiline->isChecked() ? 1 : 2;
  for (int I = 0; I < 8; ++I) {
    auto* B = const_cast<QToolButton*>(Buttons[I]);
    Grid->removeWidget(B);
    Grid->addWidget(B, I / Columns, I % Columns);
  }
  const QSize Button = BtnDir->size();
  ToolBar->setFixedSize(Columns * Button.width(), (8 / Columns) * Button.height());
  const int PanelWidth = ToolBar->width() + 2 * ToolBarOffset + PnlBtn->BevelWidth();
  BvlExplore->setGeometry(0, 0, width(), 2);
  PnlBtn->setGeometry(0, 2, PanelWidth, height() - 2);
  ToolBar->move(ToolBarOffset, ToolBarOffset);
  ListView->setGeometry(PanelWidth, 2, std::max(0, width() - PanelWidth), height() - 2);
  ListView->setIconSize(QSize(FThumbSize, FThumbSize));
  ListView->setGridSize(QSize(FThumbSize + HorzSpacing, FThumbSize + FVertSpacing));
}

void TExplorForm::resizeEvent(QResizeEvent* Event) {
  QWidget::resizeEvent(Event);
  LayoutControls();
}

void TExplorForm::showEvent(QShowEvent* Event) {
  QWidget::showEvent(Event);
  if (Event->spontaneous()) return;
  ReadSettings();
  MajBoutons(true);
}

void TExplorForm::hideEvent(QHideEvent* Event) {
  QWidget::hideEvent(Event);
  if (Event->spontaneous()) return;
  BreakProcess();
  WriteSettings();
}

void TExplorForm::ReadSettings() {
  TExplorSettings S;
  S.SubDirs = MenuRecurssif->isChecked();
  ReadExplorSettings(TIniFile(Host.MainIniFile()), S);
  if (!S.Dir.isEmpty()) {
    CurrentDir = S.Dir;
    DejaExplore = true;
  }
  MenuRecurssif->setChecked(S.SubDirs);
  MenuTrier->setChecked(S.Sort);
  ListView->setSortingEnabled(S.Sort);
  if (S.Sort) ListView->sortItems();
  if (MenuMultiline->isChecked() != S.Multiline) {
    MenuMultiline->setChecked(S.Multiline);
    LayoutControls();
    Host.BrowserResized();
  }
}

void TExplorForm::WriteSettings() const {
  TExplorSettings S;
  S.Dir = CurrentDir;
  S.SubDirs = MenuRecurssif->isChecked();
  S.Sort = MenuTrier->isChecked();
  S.Multiline = MenuMultiline->isChecked();
  TIniFile Ini(Host.MainIniFile());
  WriteExplorSettings(Ini, S);
  // Errors while writing are ignored: the browser's place is not worth a message.
  Ini.UpdateFile();
}

void TExplorForm::MajBoutons(bool All) {
  BtnImg->setEnabled(!Host.ActiveFileName().isEmpty());
  if (!All) return;
  BtnDir->setEnabled(true);
  BtnOuvrir->setEnabled(DirFlags & edOuvrir);
  BtnSauve->setEnabled(DirFlags & edSauve);
  BtnSel->setEnabled(DirFlags & edSel);
  BtnMask->setEnabled(DirFlags & edMasque);
  BtnMotif->setEnabled(DirFlags & edMotif);
}

void TExplorForm::PopLstPopup() {
  const bool Items = ListView->count() > 0;
  const bool Selected = Items && ListView->currentItem() && ListView->currentItem()->isSelected();
  MenuImage->menuAction()->setEnabled(Selected);
  MenuAction->menuAction()->setEnabled(Selected);
  MenuProprietes->setEnabled(Selected);
  MenuVider->setEnabled(Items);
  MenuActualiser->setEnabled(DejaExplore);
}

void TExplorForm::MenuExplorerClick() {
  MenuExploreImage->setEnabled(!Host.ActiveFileName().isEmpty());
  MenuExploreSel->setEnabled(DirFlags & edSel);
  MenuExploreMasque->setEnabled(DirFlags & edMasque);
  MenuExploreMotif->setEnabled(DirFlags & edMotif);
  MenuExploreTexture->setEnabled(DirFlags & edTexture);
}

void TExplorForm::MenuMultilineClick() {
  LayoutControls();
  Host.BrowserResized();
}

void TExplorForm::MenuTrierClick() {
  ListView->setSortingEnabled(MenuTrier->isChecked());
  if (MenuTrier->isChecked()) ListView->sortItems();
}

void TExplorForm::MenuAutoClick() {
  if (MenuAuto->isChecked()) MenuExploreImageClick(true);
}

void TExplorForm::MenuExploreImageClick(bool ByMainWindow) {
  const QString File = Host.ActiveFileName();
  if (File.isEmpty()) return;
  const QString Dir = AddPathDelimiter(QFileInfo(File).absolutePath());
  if (!ByMainWindow) {
    Explore(Dir, QString(), true);
  } else if (ListView->count() == 0 || Dir != CurrentDir) {
    Explore(Dir, QString(), false);
  }
}

void TExplorForm::ExploreDataFolder(const QString& Folder) {
  if (QApplication::keyboardModifiers() & Qt::ControlModifier)
    Explore(QString(), Folder, true);
  else
    Explore(Folder, QString(), true);
}

QString TExplorForm::AskFolder(const QString& Start) {
  const QString Initial = !Start.isEmpty() ? Start : !CurrentDir.isEmpty() ? CurrentDir : Host.Folders().OuvrirDir;
  Host.DebutDialogueEx();
  const QString Dir = BrowseForFolder(FormatCaption(CleanMenuCaption(MenuExplorer->title()), 2), Initial);
  Host.FinDialogueEx();
  return Dir;
}

void TExplorForm::Actualiser() {
  if (!CurrentDir.isEmpty()) Explore(CurrentDir, QString(), true);
}

void TExplorForm::BreakProcess() {
  if (!FProcessing) return;
  FStop = true;
  AbortFindFiles();
}

void TExplorForm::Explore(QString Dir, const QString& Default, bool Recursif) {
  if (FProcessing) {
    BreakProcess();
    return;
  }
  if (Dir.isEmpty()) Dir = AskFolder(Default);
  if (Dir.isEmpty()) return;
  CurrentDir = AddPathDelimiter(Dir);
  FProcessing = true;
  FStop = false;
  Host.DebutAction(Tr(TrId::GetTrStaExploring));
  ShowLoadErrors = false;
  ClearList();
  ListView->setIconSize(QSize(FThumbSize, FThumbSize));
  BmpImg = std::make_unique<TBitmap>();
  BmpThumb = std::make_unique<TBitmap>(FThumbSize, FThumbSize, pf24bit);
  FFileCounter = 0;
  const bool InSel = InExplorFolder(CurrentDir, Host.Folders().SelDir, edSel, DirFlags);
  const QString Mask = InSel ? QStringLiteral("*.lms") : FileMask;
  const std::shared_ptr<bool> Alive = FAlive;
  try {
    FindFilesCallback(
        CurrentDir, Mask, Recursif && MenuRecurssif->isChecked(),
        [this, Alive](const QString& Folder, const QString& Name) { return *Alive && AddThumbnail(Folder + Name); });
  } catch (const std::exception&) {
    // A folder that cannot be read ends the scan with what was found.
  }
  ShowLoadErrors = true;
  ClearOptionsMetadata();
  if (!*Alive) return;
  DejaExplore = true;
  BmpImg.reset();
  BmpThumb.reset();
  FProcessing = false;
  Host.FinAction();
}

bool TExplorForm::AddThumbnail(const QString& FileName) {
  TBitmap& Img = *BmpImg;
  ClearOptionsMetadata();
  bool Loaded = false;
  try {
    Loaded = LoadThumbnail(FileName, Img) && !Img.Empty();
    if (Loaded) {
      if (Img.Transparent || Img.PixelFormat() == pf32bit)
        FlattenTransparency(Img, clDlgList);
      else
        Img.SetPixelFormat(pf24bit);
      DrawThumbnail24(Img, *BmpThumb, clWhite, 2, 4, clDlgList);
    }
  } catch (const std::exception&) {
    // A file the readers cannot take (or that needs more memory than is
    // left) gets no thumbnail; the scan goes on.
    Loaded = false;
  }
  if (Loaded) {
    QImage Thumb = BmpThumb->QImageView().convertToFormat(QImage::Format_RGB32);
    const bool HasMetadata = !OptionsOE.XMetadata.Empty();
    if (HasMetadata) {
      QPainter P(&Thumb);
      int X = 3;
      const auto Badge = [&P, &X](TExplorBadge B) {
        P.drawImage(X, 3, ExplorBadge(B));
        X += BadgeWidth + 1;
      };
      if (HasExifMetadata(OptionsOE.XMetadata)) Badge(TExplorBadge::Exif);
      if (HasIptcMetadata(OptionsOE.XMetadata)) Badge(TExplorBadge::Iptc);
      if (!OptionsOE.XComment.isEmpty()) Badge(TExplorBadge::Comment);
    }
    TImageData Data;
    Data.FullName = FileName;
    Data.Width = OptionsOE.GraphicWidth > 0 ? OptionsOE.GraphicWidth : Img.Width();
    Data.Height = OptionsOE.GraphicHeight > 0 ? OptionsOE.GraphicHeight : Img.Height();
    Data.FileDate = QFileInfo(FileName).lastModified();
    Data.HasMetadata = HasMetadata;
    ListView->addItem(new TExplorItem(QIcon(QPixmap::fromImage(Thumb)), std::move(Data)));
    Host.SetStatusText(Format(Tr(TrId::GetTrStaFmtExploring), {ListView->count()}));
  }
  // Only a thumbnail is kept: the decoded picture goes at once.
  Img.SetSize(0, 0);
  if (++FFileCounter % PumpEvery == 0) {
    const std::shared_ptr<bool> Alive = FAlive;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QThread::msleep(PumpSleepMs);
    if (!*Alive) return false;
  }
  return !FStop && ListView->count() <= MaxImages && !Host.Terminating();
}

void TExplorForm::ClearList() { ListView->clear(); }

QString TExplorForm::CurrentImage() const {
  const QListWidgetItem* Item = ListView->currentItem();
  return Item && Item->isSelected() ? ImageData(Item).FullName : QString();
}

const TImageData& TExplorForm::ImageData(const QListWidgetItem* Item) {
  return static_cast<const TExplorItem*>(Item)->Data;
}

QListWidgetItem* TExplorForm::FindImage(const QString& FileName) const {
  for (int I = ListView->count() - 1; I >= 0; --I)
    if (ImageData(ListView->item(I)).FullName.compare(FileName, Qt::CaseInsensitive) == 0) return ListView->item(I);
  return nullptr;
}

void TExplorForm::DeleteItemByName(const QString& FileName) { delete FindImage(FileName); }

void TExplorForm::RenameItemByName(const QString& FileName, const QString& NewName) {
  auto* Item = static_cast<TExplorItem*>(FindImage(FileName));
  if (!Item) return;
  TImageData D = Item->Data;
  D.FullName = NewName;
  Item->SetData(std::move(D));
  if (MenuTrier->isChecked()) ListView->sortItems();
}

bool TExplorForm::eventFilter(QObject* Watched, QEvent* Event) {
  if (Watched == ListView->viewport()) {
    switch (Event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      ListViewMouseDown(static_cast<QMouseEvent*>(Event));
      break;
    case QEvent::MouseMove:
      ListViewMouseMove(static_cast<QMouseEvent*>(Event));
      // While dragging, the list must not move its selection under the mouse.
      if (FDragState == 2) return true;
      break;
    case QEvent::MouseButtonRelease:
      if (FDragState == 2) {
        ListViewMouseUp(static_cast<QMouseEvent*>(Event));
        return true;
      }
      ListViewMouseUp(static_cast<QMouseEvent*>(Event));
      break;
    default:
      break;
    }
  } else if (Watched == ListView && Event->type() == QEvent::KeyPress) {
    const int Key = static_cast<QKeyEvent*>(Event)->key();
    if (Key == Qt::Key_Return || Key == Qt::Key_Enter) {
      ListViewDblClick();
      return true;
    }
  }
  return QWidget::eventFilter(Watched, Event);
}
