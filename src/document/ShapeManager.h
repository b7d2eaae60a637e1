// Selection shapes: the shape kinds of a selection, the outline of a free
// polygon or of a bitmap shape kept in a reference frame of its own, its
// stretching to the selection rectangle, drawing (plain, XOR, dotted and
// marching ants), hit tests, flips and quarter turns, growing, shrinking and
// rescaling bitmap shapes, tracing masks into bitmap shapes, and the
// selection file (.lms). Depends on the raster core (masks, flips, turns,
// stretching, the direct pixel writer) and the layered file's byte streams.
//
// A selection is a shape kind plus a rectangle (kept by its owner in bitmap
// coordinates). Simple kinds are computed from the rectangle alone; polygons
// and bitmap shapes are point lists relative to their own top-left corner,
// stretched to the rectangle whenever they are drawn, hit-tested or
// rasterised.
//
// Bitmap shapes store only their edge pixels, in scan order (rows top down,
// left to right within a row), each with its exposed sides as flags; every
// run of the shape along a row starts at a point with the left flag and ends
// at a point with the right flag. The fill, the hit test and the drawing walk
// them once in that order.
#pragma once

#include "raster/Pixels.h"

#include <QString>

#include <cstdint>
#include <vector>

class TStream;

// Stored as one byte; the values are used in files and module interfaces.
enum TMyShape : uint8_t {
  ssRect = 0,
  ssEllipse = 1,
  ssRoundRect = 2,
  ssLine = 3,      // top-left to bottom-right corner, while drawing only
  ssLineWidth = 4, // the same, LineShapeWidth thick, while drawing only
  ssTriangle1 = 5, // pointing up
  ssTriangle2 = 6, // pointing right
  ssTriangle3 = 7, // pointing down
  ssTriangle4 = 8, // pointing left
  ssLosange = 9,   // through the middles of the four sides
  ssPolygon = 10,  // closed free polygon
  ssPolyline = 11, // open free polyline, while drawing only
  ssBitmap = 12,   // edge pixels with side flags
};

// How Draw paints an outline.
enum TShapeStyle : uint8_t {
  stCustom = 0,        // the canvas's own primitives, pen and brush
  stXOrDot = 1,        // XOR, runs of 4 pixels in colour 1 and colour 2
  stXOr = 2,           // XOR, solid
  stAnimate = 3,       // marching ants, the phase advancing
  stAnimateNoSwap = 4, // the same at the current phase
};

using TShapePointArray = std::vector<TPoint>;
using TShapeByteArray = std::vector<uint8_t>;

struct TPointsData {
  TShapePointArray Points;
  TRect Bounds;
};

struct TPointsDataEx {
  TShapePointArray Points;
  // Empty for polygons; one byte per point for bitmap shapes.
  TShapeByteArray Flags;
  TRect Bounds;
};

// Exposed sides of a bitmap-shape point.
enum : uint8_t { sfLeft = 1, sfTop = 2, sfRight = 4, sfBottom = 8 };

struct TShapeAttr {
  TPenMode PenMode = TPenMode::pmCopy;
  TColor Color1 = 0;
  TColor Color2 = 0;
};

// ---- Unit settings (process-wide, interface thread only; read on every use) ----
// AddPoint ignores a point closer than this to the last one on both axes.
extern int MinPointDistance;
// A failed selection-file read or write reports the shared message.
extern bool ShowLoadErrors;
// Thickness in pixels of ssLineWidth.
extern int LineShapeWidth;
// How far AnimStep advances per stAnimate drawing.
extern int AnimStepIncrement;
// Corner radius of ssRoundRect = smaller side / divisor (4, 3 or 2); values
// below 1 count as 1.
extern int RoundRectDivisor;
// Between X and Y in a vectorial selection file.
inline constexpr char PointSeparator = ';';

// Smallest X, smallest Y, largest X, largest Y (inclusive extremes) of a
// non-empty list; (0, 0, 0, 0) for an empty one.
TRect PointsBounds(const TShapePointArray& Points);
void OffsetPoints(TShapePointArray& Points, int DX, int DY);
// Even-odd crossing test over Points[0..HighIndex]; false for fewer than 3.
bool PtInPolygon(TPoint P, const TPoint* Points, int HighIndex);
// Vertices of a simple shape in R (replacing Vertices) and their count: 4 for
// ssRect and ssLosange, 8 for the octagon of ssRoundRect, 3 for the
// triangles, 0 (Vertices emptied) for the other kinds.
int ShapeToPolygon(TMyShape Shape, const TRect& R, std::vector<TPoint>& Vertices);
// The 4 vertices of the ssLineWidth polygon in R for a thickness Width.
std::vector<TPoint> ThickLineVertices(const TRect& R, int Width);
// The file codes of the simple shapes: -1 - shape; valid codes are -10..-1.
int ShapeToCode(TMyShape Shape);
TMyShape CodeToShape(int Code);
bool IsValidShapeCode(int Code);

// A selection outline. Each selection control owns one, the image view
// another for the shape being drawn; temporary users rasterise with them.
class TShapeManager {
public:
  TShapeManager();
  ~TShapeManager();
  TShapeManager(const TShapeManager&) = delete;
  TShapeManager& operator=(const TShapeManager&) = delete;

  // Both outlines and the reference flags emptied, both Bounds (0, 0, 0, 0).
  void Clear();
  // Takes a copy of Source's reference outline.
  void Assign(const TShapeManager& Source);
  // The colours of the animated styles (system colours resolved).
  void SetColors(TColor Color1, TColor Color2);

  // ---- Drawing -------------------------------------------------------------------
  // The outline of Shape fitted to R. stCustom uses the canvas's pen and
  // brush as the caller set them; the other styles set them (clear brush, the
  // style's pen mode). Into a bitmap the outline is written straight into the
  // rows (24-bit bitmaps only), clipped to BmpClipRect, XOR when the pen mode
  // is XOR; onto a canvas each pixel takes its plain colour.
  void Draw(TBitmap& Dest, TRect R, TMyShape Shape, TShapeStyle Style);
  void Draw(TCanvas& Dest, TRect R, TMyShape Shape, TShapeStyle Style);

  // Fills a bitmap shape in Color onto Canvas, its reference pixel (0, 0) at
  // (X0, Y0), each reference pixel ZoomX x ZoomY pixels large.
  void FillBitmapShape(TCanvas& Canvas, int X0, int Y0, double ZoomX, double ZoomY, TColor Color) const;

  // ---- The reference outline ------------------------------------------------------
  // Copies the reference points and Bounds into Data, the flags too when
  // there are some and Flags is true (else Data.Flags is emptied). Returns
  // the point count.
  int GetPoints(TPointsDataEx& Data, bool Flags) const;
  // Clear, then Data becomes the reference as it is (the caller passes
  // reference data: smallest X and Y 0). Flags are taken only when there is
  // one per point. Returns the point count.
  int SetPoints(const TPointsDataEx& Data);
  // (0, 0) out of range.
  TPoint GetPoint(int Index) const;
  // The window point count when there are window points, else the reference
  // count.
  int PointsCount() const;
  // 0 flips top to bottom, 1 mirrors left to right, 2 turns 90 degrees
  // clockwise, 3 counter-clockwise, 4 half a turn; other values nothing.
  void Transform(int Flag);

  const TPointsDataEx& RefData() const { return FRefData; }
  const TPointsData& WinData() const { return FWinData; }
  bool HasFlags() const { return !FRefData.Flags.empty(); }

  // ---- The selection file (.lms) ------------------------------------------------------
  // True when everything was written. Only ABounds' width and height are
  // used, and only for simple shapes.
  bool SaveToStream(TStream& AStream, TMyShape AShape, const TRect& ABounds);
  // True when a selection was read: AShape and ABounds = (0, 0, width,
  // height). A failure clears the manager and reports the shared message
  // naming the stream's file when ShowLoadErrors is set.
  bool LoadFromStream(TStream& AStream, TMyShape& AShape, TRect& ABounds);
  // Written safely (temporary file renamed over FileName when complete). A
  // file that cannot be created throws ESafeFileError; a failed write
  // returns false and leaves the old file as it was.
  bool SaveToFile(const QString& FileName, TMyShape AShape, const TRect& ABounds);
  // A file that cannot be opened throws EStreamError.
  bool LoadFromFile(const QString& FileName, TMyShape& AShape, TRect& ABounds);

  // ---- Point capture in window coordinates -------------------------------------
  void BeginPoints(TPoint P);
  // The index of P, or -1 when it lies closer than MinPointDistance to the
  // last point on both axes. Capture must have begun.
  int AddPoint(TPoint P);
  // The window list must not be empty.
  TPoint LastPoint() const;
  TPoint FirstPoint() const;
  // The collected points become the reference, divided by Factor (the view's
  // zoom) when it is not 1.
  void EndPoints(double Factor);
  void CancelPoints();
  // Removes the last window point; the inclusive bounds of the rest. The
  // list must hold at least two points.
  TRect DeleteLastPoint();
  // Moves every window point and the window Bounds.
  void Offset(int DX, int DY);
  bool UpdatingPoints() const { return FUpdatingPoints; }

  // ---- Rasterising -------------------------------------------------------------------
  // The vertex list of Shape in R: ssLineWidth its 4 thick-line vertices,
  // the triangles and ssLosange those of ShapeToPolygon, ssPolygon and
  // ssPolyline the window outline brought up to date for R less 1 on the
  // right and bottom. First and Count are left unchanged for ssRect,
  // ssEllipse, ssRoundRect, ssLine and ssBitmap. The list stays valid until
  // the next operation on this manager.
  void PreparePoints(TRect R, TMyShape Shape, const TPoint*& First, int& Count);

  // ---- Bitmap shapes ------------------------------------------------------------------
  // Traces a 24-bit mask (inside: first byte at most Seuil) into a bitmap
  // shape. Returns the shape's rectangle in the bitmap, or (0, 0, -1, -1)
  // for a missing or non-24-bit bitmap or when nothing is inside.
  TRect MaskToPoints(const TBitmap* Bitmap, uint8_t Seuil);
  // The same with the pixels within Tolerence of Color on every channel.
  TRect BmpToPoints(const TBitmap* Bitmap, TColor Color, uint8_t Tolerence);
  // Grows (N > 0) or shrinks (N < 0) a bitmap shape by |N| pixels. Returns
  // the new shape's rectangle in the working bitmap, whose origin lies at
  // the old shape's (-N, -N) when growing and at its (0, 0) when shrinking.
  // Nothing (and (0, 0, 0, 0)) for N = 0.
  TRect InflateEx(int N);
  // Rescales a bitmap shape to NewW x NewH pixels (bilinear, threshold 128);
  // nothing (and (0, 0, 0, 0)) unless both are positive.
  TRect ScaleEx(int NewW, int NewH);

  // ---- Hit test ------------------------------------------------------------------------
  // False outside R. For ssEllipse and ssBitmap, R's top-left must be (0, 0);
  // ssPolygon tests the window outline as it stands.
  bool PtInShape(TRect R, TPoint P, TMyShape Shape);

  // ---- Drawing state -----------------------------------------------------------------
  // Element 0 for stXOrDot, 1 for stXOr, 2 for the animated styles.
  TShapeAttr Attrs[3];
  // Phase of the dash pattern, 0..7; only stAnimate drawings change it.
  int AnimStep = 0;
  const TRect& BmpClipRect() const { return FBmpClipRect; }
  void SetBmpClipRect(const TRect& Value) { FBmpClipRect = Value; }

private:
  class TPixelWriter;
  template <class TPredicate> TRect TraceToPoints(const TBitmap* Bitmap, TPredicate Inside);
  void UpdateWinData(const TRect& R);
  const TShapeAttr& StyleAttr(TShapeStyle Style) const;
  void DrawShape(TCanvas& Canvas, TPixelWriter& Writer, TRect R, TMyShape Shape, TShapeStyle Style);
  void DrawVectorShape(TCanvas& Canvas, TPixelWriter& Writer, const TRect& R, TMyShape Shape, TShapeStyle Style);
  void DrawBitmapShape(TCanvas& Canvas, TPixelWriter& Writer, const TRect& R, TShapeStyle Style);
  void DrawBitmapEdges(TPixelWriter& Writer, const TRect& R, TColor Color1, TColor Color2);
  void DrawBitmapEdgesXor(TPixelWriter& Writer, const TRect& R, TColor Color1, TColor Color2);
  void StampBitmapEdges(TCanvas& Canvas, const TRect& R);
  // The shape filled black on a white 24-bit W x H bitmap at (X0, Y0).
  void RenderToMask(TBitmap& Mask, int W, int H, int X0, int Y0) const;
  bool ReadBody(TStream& AStream, TMyShape& AShape, TRect& ABounds);
  void WriteBody(TStream& AStream, TMyShape AShape, const TRect& ABounds) const;

  TPointsDataEx FRefData;
  TPointsData FWinData;
  // The window points follow the reference for FWinData.Bounds; false when
  // they must be rebuilt whatever the next rectangle (after Clear,
  // CancelPoints, Transform).
  bool FWinValid = false;
  bool FUpdatingPoints = false;
  TRect FBmpClipRect = WholeBitmapRect;
  std::vector<TPoint> FScratch;
  // The dash phase of the drawing under way (AnimStep before it advanced).
  int FDrawPhase = 0;
};
