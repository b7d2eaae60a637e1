// The companion programs: the bridge (Filter > "LumaBridge..."), the
// scanning program (File > Numériser) and the text on a circle (Layer >
// Nouveau), started with the number of the window's companion channel as
// their window handle. They answer through the channel: an image block that
// replaces the work rectangle, opens as a new image or becomes a new layer;
// a request for the current layer, answered by sending it; the notice that
// they ended. While one runs the window is in its outside-program state,
// which it also leaves when the program ends without saying so.
#include "app/ui/ActionBracket.h"
#include "app/ui/MainForm.h"
#include "app/ui/MainLayerHost.h"
#include "app/ui/ProgramsHost.h"
#include "app/ui/ToolHooks.h"
#include "document/Calque.h"
#include "document/MyImageLayered.h"
#include "extensions/CompanionChannel.h"
#include "extensions/CompanionPrograms.h"
#include "extensions/XDataImage.h"
#include "i18n/LibLang.h"
#include "raster/FoncUtils.h"
#include "raster/RectUtils.h"
#include "tools/ui/Outils.h"
#include "ui/UtilsDPI.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QProcess>

#include <algorithm>

namespace {

// Tags of the about items of the companions.
constexpr int BridgeAboutTag = 1, TwainAboutTag = 2, CircleTextAboutTag = 5;
// How long the window waits for a companion to take the layer it sends.
constexpr int SendTimeoutMs = 30000;

class TCompanionHost : public QObject {
public:
  TCompanionHost(TMainForm& Form, const QString& SettingsFile)
      : QObject(&Form), F(Form), FSettingsFile(SettingsFile), Programs(Form.ProgramDir()), Server(this) {
    Server.OnMessage = [this](TCompanionFrame& Frame, TCompanionLink& Link) { return Message(Frame, Link); };
  }
  void Start();

private:
  // Starts Program with Params in the outside-program state; false when it
  // could not start.
  bool Launch(const QString& Program, const QString& Params, const QString& Msg);
  void Leave();
  int64_t Message(TCompanionFrame& Frame, TCompanionLink& Link);
  int64_t SendLayer(TCompanionLink& Link);
  void ReplaceWorkRect(const TXDataImage& Block);
  void NewImage(const TXDataImage& Block);
  void NewLayer(const TXDataImage& Block);
  QString Language() const { return Tr(TrId::GetTrCode); }
  // The scanning program the settings name, else the companion helper.
  QString TwainProgram();

  TMainForm& F;
  QString FSettingsFile;
  TCompanionPrograms Programs;
  TCompanionServer Server;
  // In the outside-program state for a companion.
  bool FRunning = false;
};

void TCompanionHost::Start() {
  if (!Server.Listening()) return;
  if (Programs.BridgeAvailable()) {
    F.ConnectSender("MenuLumaBridge", [this](QObject*) {
      if (F.ActionPossible(F.MenuItem("MenuLumaBridge")))
        Launch(Programs.BridgePath(), BridgeCommandLine(Server.Handle(), Language(), FSettingsFile),
               CleanMenuCaption(F.MenuItem("MenuLumaBridge")->text()));
    });
    F.MenuItem("MenuLumaBridge")->setVisible(true);
    F.MenuItem("SepLumaBridge")->setVisible(true);
    AddAboutItem(F, this, QStringLiteral("LumaBridge"), QFileInfo(Programs.BridgePath()).fileName(), BridgeAboutTag);
  }
  if (const QString Twain = TwainProgram(); !Twain.isEmpty()) {
    F.ConnectSender("MenuTwainNumeriser", [this](QObject*) {
      const QString Program = TwainProgram();
      // Another program than the helper takes no command line.
      Launch(Program,
             IsTwainHelper(Program) ? TwainCommandLine(true, Server.Handle(), Language(), FSettingsFile) : QString(),
             CleanMenuCaption(F.MenuItem("MenuTwainNumeriser")->text()));
    });
    if (IsTwainHelper(Twain))
      AddAboutItem(F, this, QStringLiteral("LMTwain"), QFileInfo(Twain).fileName(), TwainAboutTag);
  }
  if (Programs.CircleTextAvailable(Language())) {
    AddExeMenuItem(
        F, this, Programs.CircleTextCaption(), "MenuCalqueNouveau",
        [this](QAction* Item) {
          if (F.UneImage() && F.ActionPossible(Item))
            Launch(Programs.CircleTextPath(), CircleTextCommandLine(Server.Handle(), Language()),
                   CleanMenuCaption(Item->text()));
        },
        0, true);
    F.MenuItem("SepCalqueNouveauModules")->setVisible(true);
    AddAboutItem(F, this, Programs.CircleTextCaption(), QFileInfo(Programs.CircleTextPath()).fileName(),
                 CircleTextAboutTag);
  }
}

QString TCompanionHost::TwainProgram() {
  const QString Chosen = F.Settings().TwainSoft;
  return IsExeOrShortcut(Chosen) ? Chosen : Programs.TwainHelperPath();
}

bool TCompanionHost::Launch(const QString& Program, const QString& Params, const QString& Msg) {
  if (FRunning) return false;
  auto* Process = new QProcess(this);
  Process->setProgram(Program);
  Process->setArguments(QProcess::splitCommand(Params));
  Process->setProcessChannelMode(QProcess::ForwardedChannels);
  // A program that ends, or fails to start, without its notice gives the
  // window back; one that gave its notice is let finish.
  const auto Gone = [this, Process] {
    Process->deleteLater();
    Leave();
  };
  connect(Process, &QProcess::finished, this, Gone);
  connect(Process, &QProcess::errorOccurred, this, [Process, Gone](QProcess::ProcessError Error) {
    if (Error == QProcess::FailedToStart) Gone();
  });
  FRunning = true;
  PreparerModuleExe(F, 1, Msg);
  Process->start();
  return Process->waitForStarted();
}

void TCompanionHost::Leave() {
  if (!FRunning) return;
  FRunning = false;
  PreparerModuleExe(F, 0, QString());
}

int64_t TCompanionHost::Message(TCompanionFrame& Frame, TCompanionLink& Link) {
  if (Frame.Message == CompanionEnded) {
    Leave();
    return 1;
  }
  if (Frame.Message == CompanionRequestLayer) return SendLayer(Link);
  if (Frame.Message != CompanionCopyData) return 0;
  const TXDataImage Block(reinterpret_cast<const uint8_t*>(Frame.Data.constData()), Frame.Data.size());
  // A block that is not whole, or of another kind, is ignored.
  if (Block.Valid()) {
    if (Frame.Kind == 0)
      ReplaceWorkRect(Block);
    else if (Frame.Kind == 1)
      NewImage(Block);
    else if (Frame.Kind == 2)
      NewLayer(Block);
  }
  return 1;
}

int64_t TCompanionHost::SendLayer(TCompanionLink& Link) {
  TBitmap Part;
  // Nothing to send without an image or with an empty work rectangle.
  if (!F.UneImage() || !BuildSelectionImageAlpha(F.LayerCommandHost(), Part)) return 0;
  TXDataImage Block;
  Block.SetExtraSize(6);
  if (!Block.Assign(&Part)) return 0;
  int64_t Position = 0;
  Block.WriteXDataColor(Position, F.Palette() ? F.Palette()->GetColor(true) : clWhite);
  Block.WriteXDataColor(Position, F.Palette() ? F.Palette()->GetColor(false) : clBlack);
  const QByteArray Data(reinterpret_cast<const char*>(Block.XData()), Block.XSize());
  const std::optional<int64_t> Answer = Link.Send({CompanionCopyData, Server.Handle(), 0, Data}, SendTimeoutMs);
  return Answer && *Answer > 0 ? 1 : 0;
}

void TCompanionHost::ReplaceWorkRect(const TXDataImage& Block) {
  if (!F.UneImage()) return;
  const TRect R = IntersectRect(F.LaSelection(), BitmapRect(F.LeBitmap()));
  // Only a block of the work rectangle, with alpha exactly when the layer
  // has transparency, fits.
  if (R.IsEmpty() || Block.Width() != R.Width() || Block.Height() != R.Height() || Block.HasAlpha() != F.HasAlpha())
    return;
  TActionBracket Bracket(F);
  F.PreparerUndo(miFiltreBM, CleanMenuCaption(F.MenuItem("MenuLumaBridge")->text()));
  if (!Block.AssignTo(F.LeBitmap(), &F.LeMasque(), R)) {
    F.AnnulerFiltre(false);
    return;
  }
  F.AppliquerMasqueSel(1);
  F.LayerChanged();
  F.RefreshBitmap();
}

void TCompanionHost::NewImage(const TXDataImage& Block) {
  TMyImageLayered Doc;
  TBitmap Mask;
  Doc.AddBackground(1, 1, clWhite, QStringLiteral("#0"));
  TLayerItem& Bkg = Doc.Layers()[0];
  if (!Block.AssignTo(Bkg.Bitmap(), &Mask)) return;
  Bkg.Mask().Assign(Mask);
  QString Name;
  double Dpi = ScreenPixelsPerInch();
  if (Block.ExtraSize() > 0) {
    int64_t Position = 0;
    Name = Block.ReadXDataString(Position);
    Dpi = std::max(Dpi, Block.ReadXDataInt(Position) / 100.0);
  }
  TActionBracket Bracket(F);
  F.NouvelleImage(&Doc, nullptr, Name, QFileInfo(Name).isFile() ? srcFile : srcImport, 16777216);
  F.Image().ResolutionX = F.Image().ResolutionY = Dpi;
}

void TCompanionHost::NewLayer(const TXDataImage& Block) {
  if (!F.UneImage()) return;
  TBitmap Bmp, Mask;
  if (!Block.AssignTo(Bmp, &Mask)) return;
  // The "#" number only for a block without extras: an empty name read
  // from the extras stays empty.
  QString Name = NextLayerName(F.Image());
  if (Block.ExtraSize() > 0) {
    int64_t Position = 0;
    Name = Block.ReadXDataString(Position);
  }
  TActionBracket Bracket(F);
  F.MasquerSelection();
  TMainLayerHost Host(F);
  const TRect Place = VisibleCenterRect(Host, {0, 0, Bmp.Width(), Bmp.Height()});
  AddLayerFromBitmap(*F.LayerNav(), Name, Bmp, Mask.Empty() ? nullptr : &Mask, Place.TopLeft());
  if (F.ToolHooks()) F.ToolHooks()->SetTool(13);
  F.PreparerUndo(miCreateLayer, Name);
  F.RefreshBitmap();
  F.MajMenus();
}

} // namespace

void StartCompanionPrograms(TMainForm& F, const QString& SettingsFile) {
  (new TCompanionHost(F, SettingsFile))->Start();
}
