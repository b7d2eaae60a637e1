#include "ui/DlgEx.h"

#include "ui/UtilsDPI.h"
#include "ui/WinVersion.h"

#include <QCoreApplication>
#include <QFontDatabase>

#include <vector>

namespace {

QString& FontName() {
  static QString Name = IsWinVista              ? QStringLiteral("Segoe UI")
                        : WinVersion.Major == 5 ? QStringLiteral("Tahoma")
                                                : QStringLiteral("MS Sans Serif");
  return Name;
}

QPointer<QWidget>& MainWindowRef() {
  static QPointer<QWidget> Window;
  return Window;
}

std::vector<QPointer<QWidget>>& KeptForms() {
  static std::vector<QPointer<QWidget>> Forms;
  return Forms;
}

// Runs while the application object is destroyed, before its windows go.
void DeleteKeptForms() {
  std::vector<QPointer<QWidget>> Forms;
  Forms.swap(KeptForms());
  for (const QPointer<QWidget>& Form : Forms) delete Form.data();
}

} // namespace

const QString& DialogFontName() { return FontName(); }

int DialogFontSize() { return (WinVersion.Major < 6 && ScreenLogPixelsY() <= 96) ? 8 : 9; }

void SetDialogFontName(const QString& Text) {
  const QString Name = Text.section(u',', 0, 0).trimmed();
  if (Name.isEmpty()) return;
  for (const QString& Family : QFontDatabase::families())
    if (Family.compare(Name, Qt::CaseInsensitive) == 0) {
      FontName() = Name;
      return;
    }
}

void ApplyDialogFont(QFont& Font, int Kind) {
  if (Font.family() != DialogFontName()) Font.setFamily(DialogFontName());
  const int Pixels = PointsToPixels(DialogFontSize(), Kind);
  if (Font.pixelSize() != Pixels) Font.setPixelSize(Pixels);
}

QWidget* MainFormWindow() { return MainWindowRef().data(); }

void SetMainFormWindow(QWidget* Window) { MainWindowRef() = Window; }

void KeepFormUntilExit(QWidget* Form) {
  static bool Registered = false;
  if (!Registered && QCoreApplication::instance()) {
    qAddPostRoutine(DeleteKeptForms);
    Registered = true;
  }
  KeptForms().push_back(Form);
}
