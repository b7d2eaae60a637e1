// What the tone-curve and curve-deformation dialogs share: the path over
// their graph, the vertex rules, the speed buttons, the title with the
// curve file's name, and the file dialogs. Depends on the path editor
// overlay, the file dialogs and the translated strings.
#pragma once

#include "i18n/LibLang.h"
#include "tools/ui/PathOverlay.h"

#include <QString>

#include <functional>

class QToolButton;
class QWidget;

// The caption a language module gave, else the French one.
QString CurveCaption(TrId Id, const char16_t* French);

// The path over a curve graph: the program's drag, add and delete cursors,
// Bezier segments, open.
void PrepareCurvePath(TPathOverlay& Path);

// The vertex rules of a curve whose anchors run along the x axis
// (Horizontal) or the y axis: vertices are inserted only between two others,
// at least 12 pixels from both, up to MaxVertices; only inner vertices are
// deleted, and only while more than MinVertices remain; a moved anchor stays
// 12 pixels from its neighbours (X or Y is moved back); with EndsFixed the
// end vertices cannot be selected. Adding at the end, smoothing a single
// vertex and resetting are refused. Answers whether the request stands.
bool CurveVertexRule(const TPathOverlay& Path, TPathChangeInfo Info, int Index, int& X, int& Y, int Data,
                     bool Horizontal, int MinVertices, int MaxVertices, bool EndsFixed);

// The speed buttons of a curve dialog: path modes (edit, add, delete),
// segment kinds (Bezier, lines), reset, open and save.
struct TCurveButtons {
  QToolButton* SBMove = nullptr;
  QToolButton* SBAdd = nullptr;
  QToolButton* SBDel = nullptr;
  QToolButton* SBBezier = nullptr;
  QToolButton* SBLine = nullptr;
  QToolButton* SBReset = nullptr;
  QToolButton* SBOpen = nullptr;
  QToolButton* SBSave = nullptr;

  // Made on Parent in rows of three from (Left, Top), Side pixels square and
  // Gap apart, with the hints of their menu items (MenuTitle answers an
  // item's cleaned caption, empty when there is none); every click goes to
  // Click. Answers the bottom of the last row.
  int Create(QWidget* Parent, int Left, int Top, int Side, int Gap,
             const std::function<QString(const QString& ItemName)>& MenuTitle,
             const std::function<void(QToolButton*)>& Click);
  // The mode and segment buttons show the path's.
  void Follow(const TPathOverlay& Path) const;
  // A mode button puts the path in its mode; false for any other button.
  bool SetMode(TPathOverlay& Path, QToolButton* Button) const;
};

// Caption, then " - " and the file's name without folder and extension when
// there is a file, then "(*)" when the curve changed since.
QString CurveDialogTitle(const QString& Caption, const QString& FileName, bool Changed);

// The open or save dialog for a curve file of Extension (".lmc"), titled
// Caption, in the program's data folder; empty when cancelled.
QString AskCurveFile(bool Save, const QString& Extension, const QString& Caption);
