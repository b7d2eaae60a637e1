#include "app/MainSettings.h"

#include "platform/IniFile.h"
#include "platform/Rounding.h"
#include "raster/FoncUtils.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

const QString Absent = QStringLiteral("ERR");

// A key read with the sentinel: empty optional-like text "ERR" when absent.
class TSettingsReader {
public:
  explicit TSettingsReader(const QString& FileName) : FIni(FileName) {}

  QString Text(const QString& Section, const QString& Key) const { return FIni.ReadString(Section, Key, Absent); }
  bool IsAbsent(const QString& Section, const QString& Key) const { return Text(Section, Key) == Absent; }
  // An on-by-default switch: only "0" turns it off.
  bool OnUnless0(const QString& Section, const QString& Key) const { return Text(Section, Key) != QLatin1String("0"); }
  // An off-by-default switch: only "1" turns it on.
  bool OffUnless1(const QString& Section, const QString& Key) const { return Text(Section, Key) == QLatin1String("1"); }
  int Integer(const QString& Section, const QString& Key, int Default) const {
    bool Ok = false;
    const int Value = Text(Section, Key).trimmed().toInt(&Ok);
    return Ok ? Value : Default;
  }
  int Clamped(const QString& Section, const QString& Key, int Default, int Min, int Max) const {
    return std::clamp(Integer(Section, Key, Default), Min, Max);
  }
  // A folder value, or Current when absent or missing on disk.
  QString Folder(const QString& Section, const QString& Key, const QString& Current) const {
    const QString Value = Text(Section, Key);
    return Value != Absent && !Value.isEmpty() && QFileInfo(Value).isDir() ? Value : Current;
  }

private:
  TIniFile FIni;
};

const QString Position = QStringLiteral("Position");
const QString Params = QStringLiteral("Params");
const QString Tools = QStringLiteral("Tools");
const QString Plugins = QStringLiteral("Plugins64");
const QString Soft = QStringLiteral("Soft");
const QString Files = QStringLiteral("Files");

void LoadPosition(const TSettingsReader& R, const TSettingsEnvironment& Env, TMainSettings& S) {
  QRect Rect(R.Integer(Position, "X", S.WindowRect.x()), R.Integer(Position, "Y", S.WindowRect.y()),
             R.Integer(Position, "W", S.WindowRect.width()), R.Integer(Position, "H", S.WindowRect.height()));
  // An empty or negative size is no window: the default place and size.
  if (Rect.width() <= 0 || Rect.height() <= 0) Rect = S.WindowRect;
  S.WindowRect = FitRectInWorkArea(Rect, Env.WorkArea);
  S.Maximize = R.OffUnless1(Position, "Maximize");
}

void LoadParams(const TSettingsReader& R, const TSettingsEnvironment& Env, TMainSettings& S) {
  S.VerrouillerDir = R.OffUnless1(Params, "LockDir");
  S.UniqueDir = R.OffUnless1(Params, "UniqueDir");
  S.OuvrirDir = R.Folder(Params, "Open", S.OuvrirDir);
  if (S.UniqueDir)
    S.EnregistrerDir = S.OuvrirDir;
  else
    S.EnregistrerDir = R.Folder(Params, "Save", S.EnregistrerDir);
  S.SaveDefault = R.OffUnless1(Params, "SaveDefault");
  S.SaveFormatIndex = R.Integer(Params, "SaveFormat", S.SaveFormatIndex);
  S.Force16M = R.OnUnless0(Params, "Force16M");
  S.MaximizeImgWin = R.OffUnless1(Params, "MaximizeImgWin");
  S.Antialias = R.OffUnless1(Params, "Antialias");
  S.CadreOmbre = R.OnUnless0(Params, "BorderShadow");
  S.NbHistoriques = R.Clamped(Params, "History", 12, 1, 24);
  S.UniteDefaut = R.Clamped(Params, "ImageUnit", 0, 0, 2);
  S.UniteDefautPrn = R.Clamped(Params, "PrintUnit", Env.PrintUnitDefault, 0, 1);
  S.TailleGrille = R.Clamped(Params, "GridCellSize", 20, 1, 500);
  S.CouleurGrille = TextToColor(R.Text(Params, "ColorGrid"), clSilver, true);
  S.UniteGrille = R.Clamped(Params, "GridUnit", 0, 0, 2);
  S.ThumbSize = R.Clamped(Params, "ThumbSize", 1, 0, 3);
  S.ZoomMolette = R.OnUnless0(Params, "TrackBallZoom");
  S.UseCursorEx = R.OnUnless0(Params, "CursorEx");
  S.LimitesCalqueActif = R.OnUnless0(Params, "LayerBounds");
  S.DessinAlpha = R.OnUnless0(Params, "AlphaDraw");
  S.SelCalqueAuto = R.OnUnless0(Params, "AutoSelectLayer");
  S.NumCalque = R.OffUnless1(Params, "LayerNumber");
  S.AutoExpandLayer = R.OnUnless0(Params, "AutoExpandLayer");
  S.DialogParams = R.OnUnless0(Params, "DialogParams");
  S.AutoReset = R.OnUnless0(Params, "AutoReset");
  S.ToolButtonHeight = Env.DefaultButtonHeight;
  if (R.Text(Params, "ScreenDpi") == QString::number(Env.ScreenDpi))
    S.ToolButtonHeight = R.Clamped(Params, "ToolBarButtonSize", Env.DefaultButtonHeight, Env.DefaultButtonHeight,
                                   ToolButtonMaxHeight(Env.DefaultButtonHeight));
  S.CopyTo = R.Folder(Params, "CopyTo", QString());
}

void LoadTools(const TSettingsReader& R, TMainSettings& S) {
  const auto ShownUnless = [&R](const QString& Key) {
    const QString Value = R.Text(Tools, Key);
    return Value == Absent || Value == QLatin1String("1");
  };
  S.FilterBar = ShownUnless("FilterBar");
  S.ToolsPalette = ShownUnless("ToolsPalette");
  S.ToolsAlignment = R.Clamped(Tools, "ToolsAlignment", 2, 0, 2);
  S.Explorer = R.OffUnless1(Tools, "Explorer");
}

void LoadPlugins(const TSettingsReader& R, TMainSettings& S) {
  S.PluginsBar = R.OffUnless1(Plugins, "PluginsBar");
  if (R.Text(Plugins, "LoadPlugins") == QLatin1String("0")) S.ChargerPlugins = false;
  if (S.ChargerPlugins)
    for (int I = 1; I <= MaxModuleButtons; ++I) {
      const QString Value = R.Text(Plugins, QStringLiteral("Plugin%1").arg(I));
      if (Value != Absent && !Value.isEmpty()) S.PluginButtons << Value;
    }
  S.PS8bfDir = R.Folder(Plugins, "8bfDir64", S.PS8bfDir);
  if (R.OffUnless1(Plugins, "8bfMode")) S.PS8bfMode = 1;
  S.PreserveExif = R.OnUnless0(Plugins, "PreserveExif");
  S.AutoToneMap = R.OnUnless0(Plugins, "AutoToneMap");
}

void LoadFiles(const TSettingsReader& R, TMainSettings& S) {
  const QString TwainSoft = R.Text(Soft, "TwainSoft");
  S.TwainSoft = TwainSoft == Absent ? QString() : TwainSoft;
  const QString LayerSoft = R.Text(Soft, "LayerSoft");
  S.LayerSoft = LayerSoft == Absent ? QString() : LayerSoft;
  S.ViderListeFichiers = R.OffUnless1(Files, "ClearFileListe");
  if (S.ViderListeFichiers) return;
  for (int I = 1; I <= MaxRecentFiles; ++I) {
    const QString Value = R.Text(Files, QStringLiteral("File%1").arg(I));
    if (Value != Absent && !Value.isEmpty() && QFileInfo(Value).isFile()) S.ListeFichiers << Value;
  }
}

} // namespace

int ToolButtonMaxHeight(int DefaultButtonHeight) { return Round(1.5 * DefaultButtonHeight); }

QRect FitRectInWorkArea(const QRect& Rect, const QRect& WorkArea) {
  QRect R = Rect;
  if (R.right() > WorkArea.right()) R.moveRight(WorkArea.right());
  if (R.bottom() > WorkArea.bottom()) R.moveBottom(WorkArea.bottom());
  if (R.left() < WorkArea.left()) R.moveLeft(WorkArea.left());
  if (R.top() < WorkArea.top()) R.moveTop(WorkArea.top());
  return R.intersected(WorkArea);
}

TMainSettings DefaultMainSettings(const TSettingsEnvironment& Env) {
  TMainSettings S;
  S.WindowRect = QRect(10, 10, Env.WorkArea.width() - 120, Env.WorkArea.height() - 50);
  S.OuvrirDir = Env.ProgramDir;
  S.EnregistrerDir = Env.ProgramDir;
  S.UniteDefautPrn = Env.PrintUnitDefault;
  S.ToolButtonHeight = Env.DefaultButtonHeight;
  return S;
}

void LoadSettings(const QString& IniFileName, const TSettingsEnvironment& Env, TMainSettings& Settings) {
  const TSettingsReader Reader(IniFileName);
  LoadPosition(Reader, Env, Settings);
  LoadParams(Reader, Env, Settings);
  LoadTools(Reader, Settings);
  LoadPlugins(Reader, Settings);
  LoadFiles(Reader, Settings);
}

void SaveSettings(const QString& IniFileName, const TMainSettings& S) {
  TIniFile Ini(IniFileName);
  const auto Switch = [](bool On) { return On ? QStringLiteral("1") : QStringLiteral("0"); };
  Ini.WriteString(Position, "Maximize", Switch(S.Maximize));
  if (!S.Maximize) {
    Ini.WriteInteger(Position, "X", S.WindowRect.x());
    Ini.WriteInteger(Position, "Y", S.WindowRect.y());
    Ini.WriteInteger(Position, "W", S.WindowRect.width());
    Ini.WriteInteger(Position, "H", S.WindowRect.height());
  }
  if (!S.VerrouillerDir) {
    Ini.WriteString(Params, "Open", S.OuvrirDir);
    Ini.WriteString(Params, "Save", S.EnregistrerDir);
  }
  Ini.WriteString(Params, "MaximizeImgWin", Switch(S.MaximizeImgWin));
  Ini.WriteString(Params, "BorderShadow", Switch(S.CadreOmbre));
  Ini.WriteInteger(Params, "ThumbSize", S.ThumbSize);
  Ini.WriteString(Params, "Antialias", Switch(S.Antialias));
  Ini.WriteString(Tools, "FilterBar", Switch(S.FilterBar));
  Ini.WriteString(Tools, "ToolsPalette", Switch(S.ToolsPalette));
  Ini.WriteInteger(Tools, "ToolsAlignment", S.ToolsAlignment);
  Ini.WriteString(Tools, "Explorer", Switch(S.Explorer));
  Ini.WriteString(Plugins, "PluginsBar", Switch(S.PluginsBar));
  Ini.WriteString(Soft, "TwainSoft", S.TwainSoft);
  Ini.WriteString(Soft, "LayerSoft", S.LayerSoft);
  for (int I = 1; I <= MaxRecentFiles; ++I) {
    const QString Key = QStringLiteral("File%1").arg(I);
    if (I <= S.ListeFichiers.size())
      Ini.WriteString(Files, Key, S.ListeFichiers[I - 1]);
    else
      Ini.DeleteKey(Files, Key);
  }
  Ini.UpdateFile();
}
