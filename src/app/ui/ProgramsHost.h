// What the main window's outside-program commands share
// (MainForm_Programs.cpp for the filter, import and export programs,
// MainForm_Companions.cpp for the companion programs).
#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QAction;
class TMainForm;

// A command item with Caption ("..." added when Ellipsis) and Tag under the
// menu named Parent, which becomes visible and enabled; Owner's child
// handles its clicks.
QAction* AddExeMenuItem(TMainForm& F, QObject* Owner, const QString& Caption, const char* Parent,
                        std::function<void(QAction*)> OnClick, int Tag, bool Ellipsis);
// An item under Help > "A propos des modules" showing About.
void AddAboutItem(TMainForm& F, QObject* Owner, const QString& Caption, const QString& About, int Tag);
// Start 1: the outside-program state, the frame disabled (events go on while
// a program works for the window) and Msg in the status bar; 0 leaves it and
// brings the main window back (RestoreApplication).
void PreparerModuleExe(TMainForm& F, int Start, const QString& Msg);
// The main window un-minimised, in front and active: the user may have put
// it away while an outside program worked.
void RestoreApplication(TMainForm& F);

// The companion programs' commands and the channel they answer through.
void StartCompanionPrograms(TMainForm& F, const QString& SettingsFile);
