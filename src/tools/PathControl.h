// The vector path: an ordered list of vertices in bitmap pixels, open or
// closed, whose segments are lines or cubic Bezier curves; its bounds, its
// pending transformation, its geometric operations, the smoothing of its
// control points, the point list handed to the rasterisers, the path
// clipboard, the .lmv path file, and its drawing into 24-bit bitmaps.
// Depends on platform (SafeFile), raster (polygons, geometry, the affine
// transformation) and this library's line brushes; used by the path editor
// overlay, the curve dialogs, the selection conversion
// (document/PathSelection.h) and the path thumbnails (files/OwnThumbnails.h).
//
// TPathControl is the model half of the path control: no widget. The view it
// lies on is reached through TPathView (image size, grid); the overlay that
// draws and edits it derives from it and overrides EraseOverlay and
// DrawOverlay. Interface thread only.
//
// Shown points: every point that is displayed, written, measured or drawn
// passes through the pending transformation (rounded), the stored points stay
// as they are until ValidateTransformation. A control point whose flag is
// clear is derived: one third of the way to the neighbour, so straight
// segments need no storage of their own.
#pragma once

#include "raster/RectUtils.h"
#include "raster/TransformData.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QIODevice;

struct TPathVertexData {
  TPoint PP;                  // anchor
  TPoint B1;                  // control point on the previous vertex's side
  bool B1Initialized = false; // else the effective B1 is derived
  TPoint B2;                  // control point on the next vertex's side
  bool B2Initialized = false;
  void Assign(const TPathVertexData& Data) { *this = Data; }
  friend bool operator==(const TPathVertexData&, const TPathVertexData&) = default;
};
using TPathVertexList = std::vector<TPathVertexData>;

// The points for the rasteriser: in Bezier mode a start point followed by
// groups of three (control, control, end), as TPolygon24::AddBezier takes.
struct TPathPointsData {
  TFloatPointArray Points;
  int Count = 0;
  bool BezierMode = false;
};

// What the path needs of the image view it lies on.
class TPathView {
public:
  virtual ~TPathView() = default;
  virtual int ImageWidth() const = 0;
  virtual int ImageHeight() const = 0;
  // The grid cell width in pixels while grid alignment is on, else 0.
  virtual double GridStep() const { return 0; }
};

// A view of a fixed size, for a path that lies on no widget.
class TSizedPathView : public TPathView {
public:
  TSizedPathView(int W, int H) : FW(W), FH(H) {}
  int ImageWidth() const override { return FW; }
  int ImageHeight() const override { return FH; }

private:
  int FW, FH;
};

// ---- Bezier helpers -------------------------------------------------------------
// The cubic in Bernstein form, each coordinate rounded. (The float form is
// raster's BezierPoint.)
TPoint BezierPoint(TPoint P0, TPoint P1, TPoint P2, TPoint P3, double T);
// (d(P0,P1) + d(P1,P2) + d(P2,P3)) div 8, at least 1, d = IntDistance of the
// rounded points. A curve is sampled at T = k / steps, k = 1..steps.
int BezierSteps(const TFloatPoint& P0, const TFloatPoint& P1, const TFloatPoint& P2, const TFloatPoint& P3);
// The one-pixel box of P0 grown over every sample (right and bottom
// exclusive).
TRect BezierBounds(TPoint P0, TPoint P1, TPoint P2, TPoint P3);
// P0 or a sample lies within Tol of (X, Y) on both axes.
bool BezierHitTest(int X, int Y, int Tol, TPoint P0, TPoint P1, TPoint P2, TPoint P3);

// A failed read or write reports "Fichier de données invalide !" and the
// file's name through the file error handler while this is set (true at
// start; the main window clears it while its path file dialogs are shown).
extern bool ShowPathErrors;

// The largest coordinate a path file may hold: no image side is longer.
inline constexpr int MaxPathCoordinate = 1 << 28;

class TPathControl {
public:
  explicit TPathControl(const TPathView* View = nullptr);
  virtual ~TPathControl();
  TPathControl(const TPathControl&) = delete;
  TPathControl& operator=(const TPathControl&) = delete;

  // soChanged: the path or its display changed.
  std::function<void()> OnChanged;

  const TPathView* View() const { return FView; }
  int PointsCount() const { return int(FVertices.size()); }
  const TPathVertexList& Vertices() const { return FVertices; }

  bool BezierMode() const { return FBezierMode; }
  // Both setters mark the path changed when the value changes.
  void SetBezierMode(bool Value);
  bool Closed() const { return FClosed; }
  void SetClosed(bool Value);
  int CurrentVertex() const { return FCurrentVertex; }
  // The overlay asks its owner first and redraws the markers.
  virtual void SetCurrentVertex(int Value) { FCurrentVertex = Value; }
  bool SymetricBesierPoints() const { return FSymetricBesierPoints; }
  void SetSymetricBesierPoints(bool Value) { FSymetricBesierPoints = Value; }
  // 0 none, 1 open ends joined to the left and right borders, 2 to the top
  // and bottom (the curve dialogs).
  int JoinBorder() const { return FJoinBorder; }
  void SetJoinBorder(int Value) { FJoinBorder = Value; }
  bool PathChanged() const { return FChanged; }
  bool Updating() const { return FUpdating; }

  // The view's bitmap size, 0 x 0 without a view.
  int ImageWidth() const { return FView ? FView->ImageWidth() : 0; }
  int ImageHeight() const { return FView ? FView->ImageHeight() : 0; }

  // ---- Vertices -------------------------------------------------------------------
  // Erase, forget the current vertex and the transformation, drop every
  // vertex, PathChanged false, notify; nothing on an empty path.
  void Clear();
  // Copies of the raw (untransformed) vertices; the count.
  int GetVerticesList(TPathVertexList& List) const;
  // Clear, then copies of List (nothing for none or an empty one), redraw,
  // PathChanged false, notify; the new count.
  int SetVerticesList(const TPathVertexList* List);
  // The path becomes List with these modes, in one step: what loading,
  // pasting, building a shape and converting a selection do; with FitInto
  // then AutoScaleAndPos(*FitInto, true). PathChanged false, notified once.
  void ReplacePath(TPathVertexList List, bool Bezier, bool AClosed, const TRect* FitInto = nullptr);
  // Flag 0 the anchor, 1 ControlPoint1, 2 ControlPoint2 (shown points); 3
  // (B1Initialized, B2Initialized) as 1 or 0. False for an index or flag out
  // of range.
  bool GetVertex(TPoint& P, int Index, int Flag) const;
  // Flag 0..2 store P raw; 3 sets (P.X, P.Y != 0) or clears the flags, an
  // effective point becoming the stored one. No redraw, no notification.
  bool SetVertex(TPoint P, int Index, int Flag);
  void BeginUpdate() { FUpdating = true; }
  void EndUpdate() { FUpdating = false; }

  // ---- Neighbours and shown points -------------------------------------------------
  // -1 outside the list; the end of a path wraps only when it is closed with
  // more than 2 vertices.
  int NextVertex(int I) const;
  int PrevVertex(int I) const;
  TPoint ShownPoint(TPoint P) const;
  TPoint AnchorPoint(int I) const;
  TPoint ControlPoint1(int I) const;
  TPoint ControlPoint2(int I) const;
  // AnchorPoint(I) moved a third of the way to AnchorPoint(J); itself for J -1.
  TPoint ThirdPoint(int I, int J) const;
  bool IsStraightSegment(int I, int J) const;

  // Anchors; with bit 0 in Bezier mode also the control points, with bit 1
  // the curves' own bounds. (0, 0, 0, 0) for an empty path. Right and bottom
  // exclusive.
  TRect BmpBounds(int Flag) const;

  // ---- Pending transformation ---------------------------------------------------------
  // Created as the identity on first use.
  TAffineTransformation& Transformation();
  bool HasTransformation() const { return bool(FTransform); }
  // A copy of T becomes the pending transformation; nullptr cancels it.
  void SetTransformation(const TTransformation* T);
  // The shown points become the stored ones; PathChanged.
  void ValidateTransformation();
  void CancelTransformation();

  // ---- Geometry ----------------------------------------------------------------------
  // Moving or scaling the whole path is no change of it.
  void Translate(int DX, int DY);
  void Scale(double ZX, double ZY);
  // A path larger than Bounds (or any, without ReduceOnly) is scaled to fit,
  // then centred in Bounds (its own bounds are taken to start at (0, 0)).
  void AutoScaleAndPos(const TRect& Bounds, bool ReduceOnly);
  // 0 mirror left-right, 1 top-bottom, 2 quarter turn clockwise, 3
  // anticlockwise, 4 half turn, about the curve's bounds.
  void BasicTransform(int Kind);

  // ---- Control points --------------------------------------------------------------
  // Every segment becomes straight.
  void ResetControlPoints();
  // SmoothVertex(I, 0) for every vertex.
  void DefaultControlPoints();
  // Kind 1 mirrors B2 into B1, 2 B1 into B2, 0 sets both tangent to the
  // corner (a corner at the ends of an open path).
  void SmoothVertex(int I, int Kind);
  // Grid alignment of the view, then with Clamp into the image.
  void SnapPoint(TPoint& P, bool Clamp) const;
  TPoint MirrorPoint(TPoint Q, TPoint P) const;

  // ---- Rasteriser input -----------------------------------------------------------
  void CreateListOfPoints(TPathPointsData& Data) const;

  // ---- Drawing (24-bit bitmaps; the curve's top-left lands at (X, Y)) ------------
  // Brush segments of Width and Style (DrawStyledSegment24); the caller
  // resets the dash state before the path.
  void DrawPath(TBitmap& Bitmap, int X, int Y, TColor Color, int Width, int Style, const TRect& RClip) const;
  // Filled (FillColor, clNone for none) and edged (EdgeWidth 0 none) as a
  // polygon at Alpha percent.
  void DrawInBitmap(TBitmap& Bitmap, int X, int Y, TColor Color, int EdgeWidth, TColor FillColor, bool Antialias,
                    int Alpha, const TRect& RClip) const;

  // ---- The .lmv file --------------------------------------------------------------
  // The shown points relative to BmpBounds(1), effective control points
  // included. PathChanged becomes false only when every byte was written;
  // a failure is reported (ShowPathErrors) and answers false.
  bool SaveToStream(QIODevice& Stream);
  // Through a safe file: the old file stays whole when the save fails. A
  // file that cannot be created is a failure like any other.
  bool SaveToFile(const QString& FileName);
  // The file is read whole before the path changes: a file that fails (wrong
  // magic, a count the bytes cannot hold, a coordinate beyond
  // MaxPathCoordinate, a short file) leaves the path as it was, is reported
  // and answers false. A good one replaces the path, fitted into Bounds by
  // AutoScaleAndPos(Bounds, true).
  bool LoadFromStream(QIODevice& Stream, const TRect& Bounds);
  bool LoadFromFile(const QString& FileName, const TRect& Bounds);

protected:
  // The overlay's hooks around every visible change.
  virtual void EraseOverlay() {}
  virtual void DrawOverlay() {}
  // A drag of the overlay is under way (no notification while moving).
  virtual bool Dragging() const { return false; }
  // soChanged: OnChanged; the overlay adds its cursor and its own event.
  virtual void NotifyChanged();
  // Clear has dropped every vertex (the overlay forgets its drag and mode).
  virtual void Cleared() {}
  // Erase, Change, redraw, PathChanged, notify.
  template <class F> void ChangePoints(F&& Change) {
    EraseOverlay();
    Change();
    DrawOverlay();
    FChanged = true;
    NotifyChanged();
  }
  // The overlay's edits reach the vertices here.
  TPathVertexList& EditVertices() { return FVertices; }
  void SetPathChanged(bool Value) { FChanged = Value; }
  void SetCurrentVertexIndex(int Value) { FCurrentVertex = Value; }

private:
  bool ValidIndex(int I) const { return I >= 0 && I < PointsCount(); }
  template <class F> void MapPoints(F&& Map);
  TPoint TangentPoint(TPoint PA, TPoint P, TPoint PC) const;
  void ReportError(const QString& Name) const;

  const TPathView* FView;
  TPathVertexList FVertices;
  bool FBezierMode = false;
  bool FClosed = false;
  int FCurrentVertex = -1;
  bool FSymetricBesierPoints = true;
  bool FUpdating = false;
  bool FChanged = false;
  int FJoinBorder = 0;
  std::unique_ptr<TAffineTransformation> FTransform;
};

// ---- The .lmv format, shared with the path thumbnails --------------------------

// A path as a file holds it.
struct TPathFileData {
  bool BezierMode = false;
  bool Closed = false;
  TPathVertexList Vertices;
};

// "Lumaretique Path": 16 bytes, no terminator.
inline constexpr char PathFileMagic[] = "Lumaretique Path";
inline constexpr int PathFileHeaderSize = 60;

// Reads a whole path file: the magic, 32 reserved bytes, BezierMode, Closed
// and the count (32-bit little-endian), then the records (8 bytes in line
// mode, 32 in Bezier mode). Throws std::runtime_error for another magic, a
// count the remaining bytes cannot hold, a coordinate beyond
// MaxPathCoordinate or a short file; nothing is allocated before the count
// passed. A zero or negative count gives no vertex.
TPathFileData ReadPathFile(QIODevice& Stream);

// ---- The path clipboard ---------------------------------------------------------

// A copy of a path kept between editing sessions with the size of the image
// it came from.
class TMemPath {
public:
  // The raw vertices and modes of Path (no pending transformation applied).
  void AssignPath(const TPathControl& Path);
  // Path cleared and given the modes; the vertices only when the image
  // sizes agree.
  void AssignToPath(TPathControl& Path) const;
  int Count() const { return int(FVertices.size()); }
  int ImageWidth() const { return FImageWidth; }
  int ImageHeight() const { return FimageHeight; }

private:
  TPathVertexList FVertices;
  bool FBezierMode = false;
  bool FClosed = false;
  int FImageWidth = 0;
  int FimageHeight = 0;
};

// The one clipboard, created by the first copy; nullptr before.
const TMemPath* PathClipboard();
void CopyPath(const TPathControl& Path);
void PastePath(TPathControl& Path);
// A copy with vertices, taken from an image of this size.
bool CanPastePath(int ImageWidth, int ImageHeight);
void FreePathClipboard();

// ---- Stroking for the curve dialogs -----------------------------------------------

using TStrokeCallback = std::function<void(int X, int Y, void* Data)>;

// Walks Path mapped from its image onto Rect: DrawLineAA24 pieces in Color
// at Opacity, or, with a Callback, the LineDDA pixels of each piece (end
// excluded) and the last point of an open path; an open path is joined to
// the borders by JoinBorder. Samples of a curve closer than Step to the
// last drawn one on both axes are skipped. Nothing for fewer than 2
// vertices or an empty clip.
void StrokePath(TBitmap& Bitmap, const TRect& Rect, const TPathControl& Path, TColor Color, int Opacity, int Step,
                const TStrokeCallback& Callback, void* Data, TRect ClipRect);
