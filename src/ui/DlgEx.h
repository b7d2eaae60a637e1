// The dialog font every program form uses, and the create-once rule of the
// program's dialogs. Depends on the DPI helpers, QtWidgets.
#pragma once

#include <QFont>
#include <QPointer>
#include <QString>
#include <QWidget>

// The face given to every dialog: "Segoe UI" on Windows Vista and later
// (where a face is missing the font matcher falls back to a close one).
const QString& DialogFontName();
// The dialog font's size in points: 9 (8 only before Vista at 96 dpi or less).
int DialogFontSize();

// Takes the part of Text before the first comma, trimmed, as the dialog face
// when a font of that name is installed (compared without case); otherwise
// nothing changes.
void SetDialogFontName(const QString& Text);

// Font := the dialog face at DialogFontSize points converted with
// PointsToPixels(DialogFontSize(), Kind) (kind 3: the screen's resolution);
// each part is changed only when it differs.
void ApplyDialogFont(QFont& Font, int Kind);

// The main window, which dialogs are centred over and owned by when no other
// window is active. Not owned; cleared automatically when it is destroyed.
QWidget* MainFormWindow();
void SetMainFormWindow(QWidget* Window);

// Hands a form made without an owner to the program, which deletes it when
// the application object goes away.
void KeepFormUntilExit(QWidget* Form);

// Creates the form on first use and keeps it for the rest of the run: when
// Reference is empty a TForm(Owner) is made (a window of its own even with an
// owner) and stored in it; otherwise nothing happens. Returns the form.
template <class TForm> TForm* CreateFormIfNeeded(QPointer<TForm>& Reference, QWidget* Owner = nullptr) {
  if (!Reference) {
    TForm* Form = new TForm(Owner);
    if (!Form->isWindow()) Form->setWindowFlag(Qt::Window);
    Reference = Form;
    if (!Owner) KeepFormUntilExit(Form);
  }
  return Reference;
}
