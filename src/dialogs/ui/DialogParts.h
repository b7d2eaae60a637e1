// Small parts every image dialog uses: its captions (French as the forms
// carry them, or the language module's), its title, the Ok and Cancel
// buttons, and the warnings that keep it open. Depends on the dialog base of
// ui/, the size rules of dialogs/, i18n, QtWidgets.
#pragma once

#include "i18n/LibLang.h"

#include <QString>

#include <cstdint>

class QBoxLayout;
class QPushButton;
class QWidget;
class TMainDialogForm;
class TTrackBar;

// Id's text once a language module gave one, else French.
QString TrText(TrId Id, const QString& French);
// The same styled as a label ("Largeur :").
QString TrLabel(TrId Id, const QString& French);
// French, or with a language module the cleaned caption of the main menu
// item MenuItem.
QString DialogTitle(const char* MenuItem, const QString& French);

// "Ok" and "Annuler" at the right of a new row of Layout, made the form's Ok
// and Cancel buttons.
struct TOkCancel {
  QPushButton* BOk;
  QPushButton* BAnnuler;
};
TOkCancel AddOkCancel(TMainDialogForm& Form, QBoxLayout& Layout);

// A slider named Name over Min..Max at Position, paging by 5, ticks every
// Frequency, in the program's look.
TTrackBar* NewTrackBar(QWidget* Parent, const char* Name, int Min, int Max, int Frequency, int Position);

// "Renseignez tous les champs avant de continuer !" as a warning.
void WarnEmptyFields();
// False after a warning when W x H is below one pixel or more than the
// image readers open; true for a size that can be made.
bool AcceptImageSize(int64_t W, int64_t H);
