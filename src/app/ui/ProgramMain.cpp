#include "app/ui/ProgramMain.h"

#include "app/ui/MainForm.h"
#include "i18n/Format.h"
#include "i18n/LibLang.h"
#include "platform/Beep.h"
#include "platform/IniFile.h"
#include "raster/DataFileError.h"
#include "raster/RandomGen.h"
#include "ui/DlgColors.h"
#include "ui/DlgEx.h"
#include "ui/MsgDlg.h"
#include "ui/UtilsDPI.h"
#include "ui/VisualStyles.h"
#include "ui/WinVersion.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <QPalette>
#include <QStyleHints>

TStartupState& Startup() {
  static TStartupState State;
  return State;
}

bool IsDarkAppsTheme() {
  const QColor Window = QGuiApplication::palette().color(QPalette::Window);
  return Window.lightness() < 128;
}

QString DefaultStyleName(bool Dark) {
  if (IsWin11) return Dark ? QStringLiteral("Windows11 Dark") : QStringLiteral("Windows11 Light");
  if (IsWin10) return Dark ? QStringLiteral("Windows10 Carbon") : QStringLiteral("Windows10");
  return QStringLiteral("Slate Classico");
}

void ApplySkin(const QString& MainIniFile) {
  QString Name =
      TIniFile(MainIniFile).ReadString(QStringLiteral("Params"), QStringLiteral("Skin"), QStringLiteral("ERR"));
  if (Name.isEmpty() || Name == QLatin1String("ERR")) Name = DefaultStyleName(IsDarkAppsTheme());
  if (FindStyle(Name)) SetActiveStyle(Name);
  if (!IsSystemStyle()) InitStyleColors();
  Startup().SystemStyleAtStart = IsSystemStyle();
}

void LoadQtTranslations(const QString& Language) {
  // Qt's own dialogs (file dialogs, their questions) in the interface's
  // language; kept for the life of the application.
  static QTranslator* Translator = nullptr;
  if (!Translator) {
    Translator = new QTranslator(QCoreApplication::instance());
    QCoreApplication::installTranslator(Translator);
  }
  // Without the translations installed, Qt's dialogs stay in English; a
  // language Qt has no file for leaves them so, which is no error.
  (void)Translator->load(QStringLiteral("qtbase_") + Language, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

void InitApplication(const QStringList& Params, const QString& ProgramDir) {
  TStartupState& State = Startup();
  QApplication::setApplicationName(QStringLiteral("Lumaretique 11"));
  State.ProgramDir = ProgramDir;
  State.Params = Params;
  Randomize();
  State.Options = ParseCommandLine(Params);
  State.MainIniFile = InitIniFileName(State.Options, ProgramDir, UserConfigFolder());
  if (!State.Options.IniPathOption.isEmpty() && State.MainIniFile != State.Options.IniPathOption &&
      !State.Options.LocalIniOption)
    ShowMsgDlg(Format(Tr(TrId::GetTrDlgIniIsFolder), {State.Options.IniPathOption, State.MainIniFile}), mdkWarning,
               {mdbOk});
  ApplySkin(State.MainIniFile);
  // The interface speaks French (no language module can be loaded here).
  LoadQtTranslations(QStringLiteral("fr"));
  // Qt's own scaling is off: the layout scales by the screen's resolution.
  FollowScreenResolution();
  // The dialog font of the settings, before any window takes its font.
  const QString Font = TIniFile(State.MainIniFile)
                           .ReadString(QStringLiteral("Params"), QStringLiteral("DefaultFont"), QStringLiteral("ERR"));
  if (Font != QLatin1String("ERR")) SetDialogFontName(Font);
}

int ProgramMain(int& Argc, char** Argv, const std::function<void(QWidget&)>& OnMainWindow) {
  if (!IsWinVista) return 0;
  SetBeepSound(&QApplication::beep);
  MakeProcessDPIAware();
  QApplication App(Argc, Argv);
  QStringList Params = QApplication::arguments();
  if (!Params.isEmpty()) Params.removeFirst();
  InitApplication(Params, QApplication::applicationDirPath() + QLatin1Char('/'));
  const TFileErrorHandler Previous =
      SetFileErrorHandler([](const QString& Message) { ShowMsgDlg(Message, mdkError, {mdbOk}, QString()); });
  int Result = 0;
  {
    TMainForm Form(Startup());
    if (OnMainWindow) OnMainWindow(Form);
    Form.show();
    Result = QApplication::exec();
  }
  SetFileErrorHandler(Previous);
  return Result;
}
