// The painting tools of the palette at work on an image: the mouse of the
// active image's view reaches the current tool in three phases (press, move
// with a button held, release), each stroke being one undo step prepared at
// the press and completed at the release with the rectangle it changed; and
// the one-click tools (magic wand, fill, line, the automatic outline and
// fill of a new selection). The frame of a stroke (state, spacing, fade,
// axis lock, confinement) is tools/StrokeEngine; the pixel work of each
// stamp is an engine of tools/FiltresOutils24. Depends on the palette
// (which tool, its option controls), the image view and the main window's
// services (TStrokeServices).
//
// A stroke remembers its view and layer: when the window closes, the layer
// goes away or the layer's undo record is undone in the middle, the next
// event ends the stroke without touching anything but the view it had.
//
// To add a stroke tool: a begin that prepares its undo record and calls
// BeginStroke, a continue that paints and calls RepaintStroke and
// AddPoint, and an end through EndStroke; then a line in each of the three
// dispatchers of StrokeTools.cpp.
#pragma once

#include "tools/StrokeEngine.h"
#include "tools/ui/StrokeServices.h"

#include <QObject>
#include <QPointer>

#include <functional>

class QTimer;
class TLayerItem;
class TMyImageLayered;
class TMyImageLayeredView;
class TOutilsForm;

class TStrokeTools : public QObject {
public:
  TStrokeTools(TOutilsForm& Palette, TStrokeServices& Services);
  ~TStrokeTools() override;

  // A stroke (or the clone's right-button drag) is running.
  bool IsDrawing() const { return S.Drawing || FCursorOnly; }
  const TStrokeState& State() const { return S; }

  // The image window's mouse, client coordinates of View.
  void MouseDown(TMyImageLayeredView& View, Qt::MouseButton Button, Qt::KeyboardModifiers Keys, int X, int Y);
  void MouseMove(TMyImageLayeredView& View, Qt::MouseButtons Buttons, Qt::KeyboardModifiers Keys, int X, int Y);
  void MouseUp(TMyImageLayeredView& View, Qt::MouseButton Button, Qt::KeyboardModifiers Keys, int X, int Y);
  // The running stroke ends as its release would end it (before an undo or
  // a redo, so that the stroke is a whole step of its own).
  void FinishStroke();

  // ---- One-click tools (StrokeTools_Click.cpp)
  void BaguetteMagic(TMyImageLayeredView& View, bool LeftButton, int X, int Y);
  void InverserBaguetteMagique();
  void RemplirZone(TMyImageLayeredView& View, bool LeftButton, int X, int Y);
  // The line just dragged: (Left, Top) its start, (Right, Bottom) its end,
  // client coordinates of the active view.
  void TracerLigne(const TRect& R);
  // The selection just drawn outlined and/or filled, as the selection page
  // asks ("Contour", "Remplir").
  void DessinSelAuto();

  // The clone source, kept across strokes (StrokeTools_Clone.cpp).
  static constexpr int OffsetNotSet = -999999;
  struct TCloneSource {
    QPointer<TMyImageLayeredView> View; // the source image's view
    TLayerItem* Layer = nullptr;
    TBitmap* LastTarget = nullptr;
    TPoint Point{};                   // source-layer coordinates
    TPoint Offset{OffsetNotSet, 0};   // aligned mode
  };
  const TCloneSource& CloneSource() const { return FClone; }

private:
  // ---- The frame (StrokeTools.cpp)
  // The stroke starts on the current layer of View's image: undo record
  // Kind titled Title prepared, targets and snapshots, clip, selection mask.
  void BeginStroke(TMyImageLayeredView& View, TToolUndo Kind, const QString& Title);
  // R painted: the outside of the selection's shape restored, R repainted.
  void RepaintStroke(const TRect& R);
  // The common end: DirtyRect grown by the margins and cut to the clip, the
  // confinement ended (softened when Final), the undo record narrowed to
  // the pixels changed, the layer change reported.
  void EndStroke(int MarginX, int MarginY, bool Final, bool MaskCopy);
  // The stroke's view, image and layer still stand and its record is still
  // the current one; otherwise the stroke is dropped.
  bool StrokeAlive();
  void DropStroke();
  TPoint ToLayer(int X, int Y) const;
  QString Hint(int ToolId) const;
  TColor Color(bool Back) const;
  int Value(const char* Name) const;    // a spin edit's value
  int Position(const char* Name) const; // a slider's position
  bool Checked(const char* Name) const;
  int ItemIndex(const char* Name) const;
  void SyncPalette();
  // The repeat timer of the airbrush and deform.
  void StartRepeatTimer(std::function<void(int X, int Y)> Method);
  void StopRepeatTimer();
  void RepeatTimerTick();

  // ---- Brush and eraser (StrokeTools_Brush.cpp)
  bool PrepareBrush(bool Eraser);
  void PrepareBrushTexture(bool RightButton);
  void CommencerDessin(Qt::MouseButton Button, Qt::KeyboardModifiers Keys, int X, int Y);
  void DessinerVers(int X, int Y, bool IgnoreDirection, Qt::KeyboardModifiers Keys);
  void FinDessin();

  // ---- The other stroke tools (StrokeTools_Tools.cpp)
  // The tools that paint once at each mouse position: drop, airbrush,
  // retouch, deform, art brush.
  enum class TPointKind { Drop, Aero, Retouch, Deform, Art };
  // The point tool whose button is down, if any.
  bool ActivePointTool(TPointKind& Kind) const;
  void BeginPointTool(TPointKind Kind, Qt::MouseButton Button, int X, int Y);
  void PaintPointTool(TPoint At);
  void ApplyPointTool(int X, int Y, Qt::KeyboardModifiers Keys);
  void EndPointTool();
  void CommencerDoigt(int X, int Y);
  void DoigtVers(int X, int Y);
  void CommencerNozzle(Qt::KeyboardModifiers Keys, int X, int Y);
  void AppliquerNozzle(int X, int Y, Qt::KeyboardModifiers Keys);
  void NozzleFrameAt(TPoint P, Qt::KeyboardModifiers Keys);
  void DebutScroll(TMyImageLayeredView& View, int X, int Y);
  void ScrollVers(int X, int Y);
  void FinScroll();

  // ---- Clone stamps (StrokeTools_Clone.cpp)
  void InitTampon(TMyImageLayeredView& View, int X, int Y);
  void CommencerTampon(Qt::MouseButton Button, int X, int Y);
  void DessinerTamponVers(int X, int Y, Qt::KeyboardModifiers Keys);
  void CloneLineStep(int X, int Y);
  // The source cross (XOR, so a second drawing erases it) on the source
  // image's view, for the stroke's client point (X, Y); nothing when fixed.
  void DessinerCurseurTampon(int X, int Y);
  void FinTampon();
  void CommencerTampon2(Qt::MouseButton Button, int X, int Y);
  void DessinerTampon2Vers(int X, int Y, Qt::KeyboardModifiers Keys);
  void PatternStamp(int X, int Y);

  // Which stroke runs, so that moves and the release reach its tool.
  enum class TStrokeKind { None, Brush, Point, Finger, Nozzle, Clone, PatternClone };

  TOutilsForm& P;
  TStrokeServices& Svc;
  TStrokeState S;
  TStrokeKind FKind = TStrokeKind::None;
  // The stroke's view, layer and undo record.
  QPointer<TMyImageLayeredView> FView;
  TLayerItem* FLayer = nullptr;
  int FUndoId = 0;
  bool FEraser = false;
  bool FRightButton = false;
  bool FCursorOnly = false;
  // The point tool running and its radius.
  TPointKind FPointKind = TPointKind::Drop;
  int FRadius = 0;
  // Hand scroll.
  bool FScrolling = false;
  QPointer<TMyImageLayeredView> FScrollView;
  int FScrollGrid = 8;
  TPoint FScrollLast{};
  // Repeat timer.
  QTimer* FTimer = nullptr;
  std::function<void(int X, int Y)> FTimerFonc;
  int FTimerCount = 0;
  // Clone.
  TCloneSource FClone;
  TPoint FCloneShift{};
  bool FCloneFixed = false, FClonePrecise = false, FCloneDiffuse = false;
  TPoint FCloneCursorPos{};  // client point of the stroke's view
  TPoint FCloneSrcLayerPos{}; // the source layer's position in its image
  const TBitmap* FCloneRead = nullptr;
  const TBitmap* FCloneReadMask = nullptr;
  // Nozzle.
  int FNozzleFrame = 0;
  int FNozzleIndex = -1; // the nozzle FNozzleFrame counts for
};
