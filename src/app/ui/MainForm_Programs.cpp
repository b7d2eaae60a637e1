// The outside programs the main window runs: filter programs under Filter >
// "Module externe", which receive the work rectangle of the current layer in the
// layer exchange file and give their result back as one undo step; import
// and export programs, which join the open and save chain with their
// formats; and their about items under Help > "A propos des modules". The
// slots are read once at start-up (not with "-noplugins").
#include "app/ui/ActionBracket.h"
#include "app/ui/MainForm.h"
#include "app/ui/MainLayerHost.h"
#include "app/ui/ProgramsHost.h"
#include "document/Calque.h"
#include "document/MyImageLayered.h"
#include "extensions/ExeModules.h"
#include "extensions/LayerExchangeFile.h"
#include "files/BmpExtOE.h"
#include "files/MyPngImage.h"
#include "i18n/Format.h"
#include "i18n/LibLang.h"
#include "raster/FoncUtils.h"
#include "raster/RectUtils.h"
#include "raster/Transparency.h"
#include "ui/MsgDlg.h"

#include <QAction>
#include <QMenu>
#include <QPointer>

namespace {

// Tags of the about items: 10 + N filter slot N, 100 + N import, 200 + N
// export (the other values belong to the companions, FreeImage and 8BF).
constexpr int FilterAboutTag = 10, ImportAboutTag = 100, ExportAboutTag = 200;

// The main window's outside programs, owned by the window as its child.
class TProgramsHost : public QObject {
public:
  TProgramsHost(TMainForm& Form) : QObject(&Form), F(Form), Modules(Form.ProgramDir()), IO(Modules) {
    setObjectName(QStringLiteral("ProgramsHost"));
  }
  ~TProgramsHost() override {
    if (ImageIOModules() == &IO) SetImageIOModules(nullptr);
    DeleteLayerExchangeFile();
  }

  void Start();
  void RunExeFilter(QAction* Item, int N);

private:
  // The exchange file written from the current layer's work rectangle R;
  // false, after the message, when it could not be written.
  bool WriteExchangeFile(const TRect& R, bool Alpha);
  void PasteResult(QAction* Item, TBitmap& Result, const TRect& R);

  TMainForm& F;
  TExeModules Modules;
  TExeModulesIO IO;
};

void TProgramsHost::Start() {
  for (int N = 1; N <= ExeModuleSlots; ++N) {
    Modules.SetCurrentFilterPlugin(N);
    if (!Modules.CurrentFilterPluginAvailable()) continue;
    AddExeMenuItem(
        F, this, Modules.CurrentFilterPluginCaption(), "MenuPluginFiltre",
        [this, N](QAction* Item) { RunExeFilter(Item, N); }, -N, Modules.CurrentFilterPluginVisible());
    F.MenuItem(QStringLiteral("MenuSepPluginFiltre"))->setVisible(true);
    AddAboutItem(F, this, Modules.CurrentFilterPluginCaption(), Modules.CurrentFilterPluginAbout(), FilterAboutTag + N);
  }
  for (int N = 1; N <= ExeModuleSlots; ++N) {
    Modules.SetCurrentImportPlugin(N);
    if (Modules.CurrentImportPluginAvailable())
      AddAboutItem(F, this, Modules.CurrentImportPluginCaption(), Modules.CurrentImportPluginAbout(),
                   ImportAboutTag + N);
  }
  for (int N = 1; N <= ExeModuleSlots; ++N) {
    Modules.SetCurrentExportPlugin(N);
    if (Modules.CurrentExportPluginAvailable())
      AddAboutItem(F, this, Modules.CurrentExportPluginCaption(), Modules.CurrentExportPluginAbout(),
                   ExportAboutTag + N);
  }
  SetExtraOpenFilter(Modules.ImportPluginFilters());
  SetExtraOpenMasks(Modules.ImportPluginMasks());
  SetExtraSaveFilter(Modules.ExportPluginFilters());
  if (Modules.HasImportPlugins() || Modules.HasExportPlugins()) SetImageIOModules(&IO);
}

bool TProgramsHost::WriteExchangeFile(const TRect& R, bool Alpha) {
  TBitmap Part;
  TLayerCommandHost& Host = F.LayerCommandHost();
  if (!(Alpha ? BuildSelectionImageAlpha(Host, Part) : BuildSelectionImage(Host, Part)) || Part.Width() != R.Width() ||
      Part.Height() != R.Height())
    return false;
  TPngImage Png;
  if (Part.PixelFormat() == pf32bit)
    Bitmap32ToPng(Part, Png);
  else
    Png.AssignBitmap(Part);
  try {
    return SaveLayerExchangeFile(Png, QString());
  } catch (const std::exception&) {
    ShowMsgDlg(Format(Tr(TrId::GetOeMsgErrorSaving), {LayerExchangeFileName()}), mdkError, {mdbOk});
    return false;
  }
}

void TProgramsHost::RunExeFilter(QAction* Item, int N) {
  if (!F.ActionPossible(Item) || F.RefuseEmptySelection()) return;
  Modules.SetCurrentFilterPlugin(N);
  if (!Modules.CurrentFilterPluginAvailable()) return;
  // Without an image the program may make one from nothing.
  const QPointer<TNewImgForm> Window = F.EnfantActif();
  TRect R;
  DeleteLayerExchangeFile();
  if (Window) {
    R = IntersectRect(F.LaSelection(), BitmapRect(F.LeBitmap()));
    if (!WriteExchangeFile(R, Modules.CurrentFilterPluginAlpha())) return;
  }
  PreparerModuleExe(F, 1, CleanMenuCaption(Item->text()));
  const bool Changed = Modules.RunCurrentFilterPlugin(DefaultLayerExchangeFileName());
  PreparerModuleExe(F, 0, QString());
  struct TDeleteAfter {
    ~TDeleteAfter() { DeleteLayerExchangeFile(); }
  } DeleteAfter;
  // The image may have been closed while the program ran.
  if (!Changed || Window != F.EnfantActif()) return;
  TBitmap Result;
  try {
    if (!LoadLayerExchangeFile(Result, QString())) return;
  } catch (const std::exception&) {
    ShowMsgDlg(Format(Tr(TrId::GetOeMsgErrorOpening), {DefaultLayerExchangeFileName()}), mdkError, {mdbOk});
    return;
  }
  PasteResult(Item, Result, R);
}

void TProgramsHost::PasteResult(QAction* Item, TBitmap& Result, const TRect& R) {
  const QString Title = CleanMenuCaption(Item->text());
  TActionBracket Bracket(F);
  if (!F.UneImage()) {
    F.NouvelleImage(nullptr, &Result, QString(), srcNew, 16777216);
    return;
  }
  if (Result.Width() == R.Width() && Result.Height() == R.Height()) {
    F.PreparerUndo(miFiltreBM, Title);
    PasteResultBitmap(Result, F.LeBitmap(), &F.LeMasque(), R);
    F.AppliquerMasqueSel(1);
    F.LayerChanged();
  } else {
    // A result of another size becomes a layer of its own, in view.
    TMainLayerHost Host(F);
    F.MasquerSelection();
    const TRect Place = VisibleCenterRect(Host, {0, 0, Result.Width(), Result.Height()});
    AddLayerFromBitmap(*F.LayerNav(), NextLayerName(F.Image()), Result, nullptr, Place.TopLeft());
    F.PreparerUndo(miCreateLayer, Title);
  }
  F.RefreshBitmap();
  F.MajMenus();
}

} // namespace

QAction* AddExeMenuItem(TMainForm& F, QObject* Owner, const QString& Caption, const char* Parent,
                        std::function<void(QAction*)> OnClick, int Tag, bool Ellipsis) {
  QMenu* Menu = F.MenuNamed(QString::fromLatin1(Parent));
  QAction* Item = Menu->addAction(Ellipsis ? Caption + QStringLiteral("...") : Caption);
  Item->setProperty("Tag", Tag);
  Item->setProperty("Built", true);
  QObject::connect(Item, &QAction::triggered, Owner, [Item, OnClick = std::move(OnClick)] { OnClick(Item); });
  Menu->menuAction()->setVisible(true);
  Menu->menuAction()->setEnabled(true);
  return Item;
}

void AddAboutItem(TMainForm& F, QObject* Owner, const QString& Caption, const QString& About, int Tag) {
  AddExeMenuItem(
      F, Owner, Caption, "MenuPluginAPropos",
      [&F, About](QAction*) {
        ShowMsgDlg(About, mdkInformation, {mdbOk}, CleanMenuCaption(F.MenuItem("MenuPluginAPropos")->text()));
      },
      Tag, false);
}

void PreparerModuleExe(TMainForm& F, int Start, const QString& Msg) {
  if (Start == 1) {
    F.DebutAction(Msg, false);
    F.SetModalForm(&F);
  } else {
    F.SetModalForm(nullptr);
    F.FinAction();
    RestoreApplication(F);
  }
}

void RestoreApplication(TMainForm& F) {
  if (F.isMinimized()) F.setWindowState(F.windowState() & ~Qt::WindowMinimized);
  F.show();
  F.raise();
  F.activateWindow();
}

void TMainForm::ConnectProgramsCommands() {
  if (FState.Options.NoModulesOption) return;
  (new TProgramsHost(*this))->Start();
  StartCompanionPrograms(*this, FState.MainIniFile);
}
