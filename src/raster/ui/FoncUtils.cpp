#include "raster/ui/FoncUtils.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QWidget>

#include <map>

namespace {

std::map<int, QCursor>& RegisteredCursors() {
  static std::map<int, QCursor> Cursors;
  return Cursors;
}

// Whether SetScreenCursor has an override cursor of its own in place.
bool OverrideInstalled = false;

Qt::CursorShape BuiltInShape(int Index) {
  switch (Index) {
  case crNone:
    return Qt::BlankCursor;
  case crCross:
    return Qt::CrossCursor;
  case crIBeam:
    return Qt::IBeamCursor;
  case crSizeNESW:
    return Qt::SizeBDiagCursor;
  case crSizeNS:
    return Qt::SizeVerCursor;
  case crSizeNWSE:
    return Qt::SizeFDiagCursor;
  case crSizeWE:
    return Qt::SizeHorCursor;
  case crUpArrow:
    return Qt::UpArrowCursor;
  case crHourGlass:
  case crSQLWait:
    return Qt::WaitCursor;
  case crDrag:
    return Qt::DragMoveCursor;
  case crMultiDrag:
    return Qt::DragCopyCursor;
  case crNoDrop:
  case crNo:
    return Qt::ForbiddenCursor;
  case crHSplit:
    return Qt::SplitHCursor;
  case crVSplit:
    return Qt::SplitVCursor;
  case crAppStart:
    return Qt::BusyCursor;
  case crHelp:
    return Qt::WhatsThisCursor;
  case crHandPoint:
    return Qt::PointingHandCursor;
  case crSize:
  case crSizeAll:
    return Qt::SizeAllCursor;
  default:
    return Qt::ArrowCursor;
  }
}

} // namespace

void EnableWithChildren(QWidget* Control, bool Value) {
  if (!Control) return;
  const QList<QWidget*> Children = Control->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  for (auto It = Children.crbegin(); It != Children.crend(); ++It) (*It)->setEnabled(Value);
  Control->setEnabled(Value);
}

void EnableSubItems(QMenu* Item, bool Value) {
  if (!Item) return;
  for (QAction* Action : Item->actions()) Action->setEnabled(Value);
}

void EnablePopupItems(QMenu* Menu, bool Value) { EnableSubItems(Menu, Value); }

QAction* GetCheckedSubItem(const QMenu* Item) {
  if (!Item) return nullptr;
  for (QAction* Action : Item->actions())
    if (Action->isChecked()) return Action;
  return nullptr;
}

void RegisterScreenCursor(int Index, const QCursor& Cursor) { RegisteredCursors()[Index] = Cursor; }

QCursor ScreenCursor(int Index) {
  const auto It = RegisteredCursors().find(Index);
  if (It != RegisteredCursors().end()) return It->second;
  return QCursor(BuiltInShape(Index));
}

void SetScreenCursor(int Index) {
  if (Index == crDefault) {
    if (OverrideInstalled) QApplication::restoreOverrideCursor();
    OverrideInstalled = false;
    return;
  }
  if (OverrideInstalled)
    QApplication::changeOverrideCursor(ScreenCursor(Index));
  else
    QApplication::setOverrideCursor(ScreenCursor(Index));
  OverrideInstalled = true;
}
