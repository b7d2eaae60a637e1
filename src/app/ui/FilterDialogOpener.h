// Opening a filter dialog from a menu item: the item's command must be
// possible on the active image, then the filter's undo record is prepared
// (of the dialog's Kind, titled by TitleItem) and the dialog shown, made on first use and kept
// while the main window lives. Every Filter, Adjust and Effect item that
// opens a dialog goes through here (TMainForm::WireFilterDialog).
#pragma once

#include "app/ui/MainForm.h"
#include "document/ui/SelectionControl.h"
#include "i18n/LibLang.h"
#include "raster/FoncUtils.h"
#include "raster/RectUtils.h"
#include "ui/DlgEx.h"
#include "ui/MsgDlg.h"

#include <QAction>
#include <QPointer>

// The one dialog of its class, made on first use (the image browser opens
// the texture dialog too).
template <class TForm> TForm* FilterDialog(TMainForm& F) {
  static QPointer<TForm> Form;
  return CreateFormIfNeeded(Form, &F);
}

template <class TForm, TModifInfo Kind = miFiltre> void OpenFilterDialog(TMainForm& F, QAction* Item, QAction* TitleItem) {
  if (!F.ActionPossible(Item) || !F.UneImage()) return;
  F.PreparerUndo(Kind, CleanMenuCaption(TitleItem->text()));
  FilterDialog<TForm>(F)->show();
}

