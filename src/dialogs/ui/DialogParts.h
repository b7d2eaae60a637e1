// Small parts every image dialog uses: its captions (French as the forms
// carry them, or the language module's), its title, the Ok and Cancel
// buttons, and the warnings that keep it open. Depends on the dialog base of
// ui/, the size rules of dialogs/, i18n, QtWidgets.
#pragma once

#include "i18n/LibLang.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <initializer_list>

class QBoxLayout;
class QLabel;
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

// A slider Min..Max at Pos under its label, both added to Layout: the label
// (named LabelName) shows Text(position) and follows every change; the
// slider (named Name) is prepared by the form, so that releasing it runs its
// OnKeyUp, which the caller sets to its apply step.
struct TLabeledBar {
  QLabel* Label;
  TTrackBar* Bar;
};
TLabeledBar AddLabeledBar(TMainDialogForm& Form, QBoxLayout& Layout, const char* Name, const char* LabelName, int Min,
                          int Max, int Pos, std::function<QString(int)> Text);

// A dialog turned into a borderless panel of Parent at (X, Y), as the batch
// dialog embeds it: the base's show and hide logic off, no settings read or
// written on its own, its name (which names its settings section) prefixed
// with "Auto", the buttons in Remove deleted, the parent's background.
void MakeDialogPanel(TMainDialogForm& Form, QWidget* Parent, int X, int Y, std::initializer_list<QWidget*> Remove);
// A panel's control values and custom values written to / read from its
// section of FileName, a file in the folder of the dialogs settings (read
// without firing control events).
void SavePanelValues(TMainDialogForm& Form, const QString& FileName);
void LoadPanelValues(TMainDialogForm& Form, const QString& FileName);
