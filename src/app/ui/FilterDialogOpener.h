// Opening a filter dialog from a menu item: the item's command must be
// possible on the active image, then the filter's undo record is prepared
// (titled by TitleItem, of kind Info) and the dialog shown, made on first use and kept
// while the main window lives. Every Filter, Adjust and Effect item that
// opens a dialog goes through here (TMainForm::WireFilterDialog).
#pragma once

#include "app/ui/MainForm.h"
#include "raster/FoncUtils.h"
#include "ui/DlgEx.h"

#include <QAction>
#include <QPointer>

template <class TForm, TModifInfo Info = miFiltre> void OpenFilterDialog(TMainForm& F, QAction* Item, QAction* TitleItem) {
  static QPointer<TForm> Form;
  if (!F.ActionPossible(Item) || !F.UneImage()) return;
  F.PreparerUndo(Info, CleanMenuCaption(TitleItem->text()));
  CreateFormIfNeeded(Form, &F)->show();
}
