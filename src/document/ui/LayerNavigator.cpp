#include "document/ui/LayerNavigator.h"

#include "document/LayerUtils.h"
#include "document/ViewGeometry.h"
#include "filters/Filtres24.h"
#include "platform/Rounding.h"
#include "raster/Bitmap24.h"
#include "raster/ColorUtils.h"
#include "raster/GreyMasks.h"
#include "raster/ImgUtils24.h"
#include "raster/RectUtils.h"
#include "raster/Shadow.h"
#include "raster/Stretching.h"
#include "ui/UtilsDPI.h"

#include <QApplication>
#include <QDateTime>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QToolButton>

namespace {

constexpr int FilmTileSize = 14;
constexpr int IconDesignSize = 21;

TColor ToTColor(const QColor& C) { return RGB(C.red(), C.green(), C.blue()); }

QColor ToQColor(TColor C) {
  C = ColorToRGB(C);
  return QColor(GetRValue(C), GetGValue(C), GetBValue(C));
}

// The two row marks, drawn by the program: a crossed eye (hidden layer) and a
// padlock (locked layer), 21 x 21 at 96 dpi, on the light grey of a mark.
void MakeMarkIcon(bool Lock, TBitmap& Icon) {
  const int N = std::max(IconDesignSize, ScaleByDPI(IconDesignSize));
  NewBitmap24(Icon, N, N, 0xF0F0F0);
  TCanvas& C = Icon.Canvas();
  C.Pen = TPen{0x333333, std::max(1, N / 14), TPenStyle::psSolid, TPenMode::pmCopy};
  C.Brush = TBrush{0x333333, TBrushStyle::bsSolid};
  const int U = N / 7;
  if (Lock) {
    C.Brush.Style = TBrushStyle::bsClear;
    C.Ellipse(2 * U, U, 5 * U + 1, 4 * U + 1);
    C.Brush.Style = TBrushStyle::bsSolid;
    C.FillRect({U + U / 2, 3 * U, N - U - U / 2, N - U});
  } else {
    C.Brush.Style = TBrushStyle::bsClear;
    C.Ellipse(U, 2 * U, N - U, N - 2 * U);
    C.Brush.Style = TBrushStyle::bsSolid;
    C.Ellipse(3 * U, 3 * U, N - 3 * U, N - 3 * U);
    C.MoveTo(U, N - U);
    C.LineTo(N - U, U);
  }
}

const TBitmap& MarkIcon(bool Lock) {
  static TBitmap Icons[2];
  TBitmap& I = Icons[Lock ? 1 : 0];
  if (I.Empty()) MakeMarkIcon(Lock, I);
  return I;
}

// A slider bar in R with its knob at P percent.
void DrawSliderBar(TCanvas& C, const TRect& R, int P) {
  C.Pen = TPen{0x3F3D3D, 1, TPenStyle::psSolid, TPenMode::pmCopy};
  C.MoveTo(R.Left, R.Bottom - 1);
  C.LineTo(R.Left, R.Top);
  C.LineTo(R.Right - 1, R.Top);
  C.Pen.Color = 0xFFFDFD;
  C.LineTo(R.Right - 1, R.Bottom - 1);
  C.LineTo(R.Left, R.Bottom - 1);
  const TRect In{R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1};
  C.Brush = TBrush{0xB4AAAA, TBrushStyle::bsSolid};
  C.FillRect(In);
  const int Wi = std::max(0, In.Width());
  const int N = std::max(2, Wi / 20);
  const int K = MulDiv(N, 3, 2);
  const int X = MulDiv(Wi - K, P, 100);
  C.Pen.Color = 0x3F3D3D;
  C.Brush.Color = 0x777373;
  C.Rectangle(X, In.Top - N, X + K, In.Bottom + N);
}

// The box under a symbol holding slider bars.
void DrawSliderBox(TCanvas& C, const TRect& Box, std::initializer_list<int> Values, int PicWidth) {
  C.Pen = TPen{0xC0C0C0, 1, TPenStyle::psSolid, TPenMode::pmCopy};
  C.Brush = TBrush{ColorToRGB(clBtnFace), TBrushStyle::bsSolid};
  C.Rectangle(Box);
  const int Cw = std::max(2, PicWidth / 17);
  const double H3 = Box.Height() / double(Values.size());
  int I = 0;
  for (int V : Values) {
    const int Y = Box.Top + Round(I * H3 + (H3 - Cw) / 2);
    DrawSliderBar(C, {Box.Left + Cw, Y, Box.Right - Cw, Y + Cw}, V);
    ++I;
  }
}

} // namespace

TLayerNavigator::TLayerNavigator(QWidget* Parent, TMyImageLayered& Image) : QWidget(Parent), FImage(Image) {
  resize(80, 80);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(false);
  CreateCheckerBitmap(4, FChecker);
  auto MakeButton = [this](Qt::ArrowType Arrow, bool Repeat) {
    auto* B = new QToolButton(this);
    B->setArrowType(Arrow);
    B->setAutoRepeat(Repeat);
    B->setFocusPolicy(Qt::NoFocus);
    B->hide();
    return B;
  };
  FBtnNext = MakeButton(Qt::DownArrow, true);
  FBtnPrev = MakeButton(Qt::UpArrow, true);
  FBtnPopup = MakeButton(Qt::RightArrow, false);
  connect(FBtnNext, &QToolButton::clicked, this, [this] {
    if (LastRowShown() < ThumbCount() - 1) ++FTopItem;
    UpdateButtons();
    update();
  });
  connect(FBtnPrev, &QToolButton::clicked, this, [this] {
    if (FTopItem > 0) --FTopItem;
    UpdateButtons();
    update();
  });
  connect(FBtnPopup, &QToolButton::clicked, this, [this] { ShowLayerMenu(); });
}

TLayerNavigator::~TLayerNavigator() = default;

// ---- Sizes -------------------------------------------------------------------------------------------

int TLayerNavigator::FilmWidth() const { return FUseFilmBorder ? FilmTileSize : 0; }

int TLayerNavigator::StripHeight() const {
  return FBtnNext->isHidden() ? 0 : style()->pixelMetric(QStyle::PM_ScrollBarExtent);
}

int TLayerNavigator::TextHeight() const { return QFontMetrics(font()).height(); }

int TLayerNavigator::RowHeight() const {
  if (FShowThumb) return FThumbHeight + ShadowSize + 2 * Margin + 2 + (ShowText ? TextHeight() : 0);
  return MarkIcon(false).Height() + 2 * Margin + 1;
}

int TLayerNavigator::RowsThatFit(bool WithStrip) const {
  const int S = WithStrip ? StripHeight() : 0;
  return std::max(1, (height() - TopMargin - S) / std::max(1, RowHeight()));
}

int TLayerNavigator::LastRowShown() const { return std::min(FTopItem + RowsThatFit(true) - 1, ThumbCount() - 1); }

int TLayerNavigator::GetHeightNeeded() const { return ThumbCount() * RowHeight() + TopMargin; }

int TLayerNavigator::ItemAtPos(int X, int Y) const {
  if (X < 0 || X >= width() || Y < TopMargin) return -1;
  const int Row = (Y - TopMargin) / std::max(1, RowHeight()) + FTopItem;
  if (Row > LastRowShown() || Y >= height() - StripHeight()) return -1;
  return ThumbCount() - 1 - Row;
}

QString TLayerNavigator::RowCaption(int Index) const {
  const QString S = FImage.Layers()[Index].DisplayCaption();
  return FLayerNumber && Index > 0 ? QStringLiteral("%1 (%2)").arg(S).arg(Index) : S;
}

// ---- Thumbnails ----------------------------------------------------------------------------------------

void TLayerNavigator::FixScale() {
  if (!FShowThumb) {
    FThumbWidth = FThumbHeight = 1;
    FBkgWidth = FBkgHeight = 1;
    FRatio = 1.0;
    return;
  }
  // A very narrow panel still gets a thumbnail of a few pixels: the scale
  // below divides by the picture's size.
  FThumbWidth = std::max(8, width() - 2 * Margin - ShadowSize - 2 * FilmWidth() - 2);
  FThumbHeight = std::max(8, FThumbWidth * 3 / 4);
  const TBitmap& B = FImage.Layers()[0].Bitmap();
  const int BW = std::max(1, B.Width()), BH = std::max(1, B.Height());
  auto Scaled = [this](int Size) { return std::max(1, FRatio > 0 ? Round(Size / FRatio) : Size); };
  FBkgHeight = 0;
  if (BW >= BH) {
    FBkgWidth = FThumbWidth - 6;
    FRatio = (BW - 1) / double(FBkgWidth);
    FBkgHeight = BH == 1 ? 1 : Scaled(BH);
  }
  if (BH > BW || FBkgHeight > FThumbHeight - 6) {
    FBkgHeight = FThumbHeight - 6;
    FRatio = (BH - 1) / double(FBkgHeight);
    FBkgWidth = BW == 1 ? 1 : Scaled(BW);
  }
  if (FRatio < 1) {
    FRatio = 1;
    FBkgWidth = BW;
    FBkgHeight = BH;
  }
}

int TLayerNavigator::AddThumb() {
  if (FThumbs.empty()) FixScale();
  FThumbs.push_back(std::make_unique<TBitmap>(FThumbWidth, FThumbHeight, pf24bit, clWhite));
  const int Index = ThumbCount() - 1;
  UpdateThumb(Index);
  LayoutButtons();
  return Index;
}

void TLayerNavigator::UpdateThumb(int Index) {
  if (FDisableThumbUpdate || Index < 0 || Index >= ThumbCount() || Index >= FImage.Layers().Count()) return;
  if (!FShowThumb) {
    update();
    return;
  }
  const TBusyScope Busy(FBusy);
  const TLayerItem& L = FImage.Layers()[Index];
  TBitmap& T = *FThumbs[Index];
  NewBitmap24(T, FThumbWidth, FThumbHeight, clWhite);
  TBitmap Pic;
  const bool Pixels = L.LayerType == ltBitmap;
  if (!Pixels) {
    GetParamsBitmap(Index, Pic);
  } else {
    NewBitmap24(Pic, FBkgWidth, FBkgHeight, clWhite);
    TileBitmap24(FChecker, Pic, 0, 0, BitmapRect(Pic));
    if (!L.Bitmap().Empty()) {
      const int W = std::max(1, Round(L.Bitmap().Width() / FRatio));
      const int H = std::max(1, Round(L.Bitmap().Height() / FRatio));
      TBitmap S, M;
      StretchBitmap(W, H, TStretchMode::smBicubic, L.Bitmap(), S);
      if (!L.Mask().Empty()) {
        StretchBitmap(W, H, TStretchMode::smBilinear, L.Mask(), M);
      } else if (L.Bitmap().Transparent) {
        NewBitmap24(M, W, H, clWhite);
        StretchSilhouette24(L.Bitmap(), BitmapRect(L.Bitmap()), M, {0, 0, W, H}, WholeBitmapRect, clBlack);
        GrowShrinkMask(M, 1, WholeBitmapRect, true);
        Negative24(M, WholeBitmapRect);
      }
      PutBitmapOpacity(S, Pic, Round(L.Pos.X / FRatio), Round(L.Pos.Y / FRatio), WholeBitmapRect, L.UsedOpacity(),
                       M.Empty() ? nullptr : &M);
    }
  }
  const int PX = (FThumbWidth - Pic.Width()) / 2, PY = (FThumbHeight - Pic.Height()) / 2;
  CopyBitmap24(Pic, T, PX, PY);
  if (Pixels) {
    T.Canvas().Brush = TBrush{0xC0C0C0, TBrushStyle::bsSolid};
    T.Canvas().FrameRect({PX - 1, PY - 1, PX + Pic.Width() + 1, PY + Pic.Height() + 1});
  }
  if (L.Locked) {
    const TBitmap& I = MarkIcon(true);
    CopyBitmap24(I, T, FThumbWidth - 1 - I.Width(), FThumbHeight - 1 - I.Height());
  }
  if (!L.Visible) {
    const TBitmap& I = MarkIcon(false);
    CopyBitmap24(I, T, 1, FThumbHeight - 1 - I.Height());
  }
  update();
}

void TLayerNavigator::GetParamsBitmap(int Index, TBitmap& Dest) const {
  const TLayerItem& L = FImage.Layers()[Index];
  const int W = std::max(4, FThumbWidth - 4), H = std::max(4, FThumbHeight - 4);
  NewBitmap24(Dest, W, H, clWhite);
  TCanvas& C = Dest.Canvas();
  switch (L.LayerType) {
  case ltData: {
    const int A = MulDiv(H, 2, 3);
    int Tw = MulDiv(A - 4, 9, 10);
    if (Tw % 2 == 0) ++Tw;
    const int B = std::max(1, Tw / 10);
    const int X0 = (W - Tw) / 2;
    for (int Pass = 0; Pass < 2; ++Pass) {
      const int O = Pass == 0 ? 1 : 0;
      C.Brush = TBrush{Pass == 0 ? TColor(0xBDBCBC) : TColor(0x353333), TBrushStyle::bsSolid};
      C.FillRect({X0 + O, 2 + O, X0 + Tw + O, 2 + B + 1 + O});                            // top bar
      C.FillRect({X0 + O, 2 + B + 1 + O, X0 + B + 1 + O, 2 + 2 * (B + 1) + O});           // left serif
      C.FillRect({X0 + Tw - B - 1 + O, 2 + B + 1 + O, X0 + Tw + O, 2 + 2 * (B + 1) + O}); // right serif
      C.FillRect({W / 2 - B + O, 2 + B + 1 + O, W / 2 + B + 1 + O, A + O});               // stem
      C.FillRect({W / 2 - 3 * B + O, A - B - 1 + O, W / 2 + 3 * B + 1 + O, A + O});       // foot
    }
    DrawSliderBox(C, {0, std::min(H - 1, A + 3), W, H}, {30}, W);
    break;
  }
  case ltColor: {
    const TRect Top{0, 0, W, H * 2 / 3 + 1};
    TileBitmap24(FChecker, Dest, 0, 0, Top);
    FillColorOpacity(Dest, L.Color, L.UsedOpacity(), L.Color2 != 0, Top);
    C.Brush = TBrush{0xC0C0C0, TBrushStyle::bsSolid};
    C.FrameRect(Top);
    DrawSliderBox(C, {0, std::min(H - 1, Top.Bottom + 2), W, H}, {60}, W);
    break;
  }
  case ltAdjust:
    DrawSliderBox(C, {0, 0, W, H}, {40, 80, 20}, W);
    break;
  default:
    break;
  }
}

// ---- Rebuild and settings ------------------------------------------------------------------------------

void TLayerNavigator::Synchronize(bool Immediate) {
  FNeedSynchronize = true;
  if (Immediate) Rebuild();
  update();
}

void TLayerNavigator::RebuildIfPending() {
  // A stack changed behind the panel's back is never drawn from stale rows.
  if (FNeedSynchronize || ThumbCount() != FImage.Layers().Count()) Rebuild();
}

void TLayerNavigator::Rebuild() {
  if (FBusy > 0) return;
  FNeedSynchronize = false;
  {
    const TBusyScope Busy(FBusy);
    FThumbs.clear();
    FLayerIndex = -1;
    for (int I = 0; I < FImage.Layers().Count(); ++I) AddThumb();
  }
  update();
  LayoutButtons();
  FLayerIndex = FImage.LayerIndex();
  if (OnSelectLayer) OnSelectLayer(this);
}

void TLayerNavigator::Clear() {
  FThumbs.clear();
  LayoutButtons();
  update();
}

void TLayerNavigator::SetShowThumb(bool Value) {
  if (Value == FShowThumb) return;
  FShowThumb = Value;
  Synchronize(false);
}

void TLayerNavigator::SetLayerNumber(bool Value) {
  FLayerNumber = Value;
  update();
}

void TLayerNavigator::SetDisableThumbUpdate(bool Value) {
  if (Value == FDisableThumbUpdate) return;
  FDisableThumbUpdate = Value;
  if (!Value) Synchronize(false);
}

void TLayerNavigator::SetUseFilmBorder(bool Value) {
  FUseFilmBorder = Value;
  FFilm.ReleaseImage();
  if (Value) {
    const TColor Parent = parentWidget() ? ToTColor(parentWidget()->palette().color(QPalette::Window)) : clBtnFace;
    NewBitmap24(FFilm, FilmTileSize, FilmTileSize, Parent);
    TCanvas& C = FFilm.Canvas();
    C.Brush = TBrush{ColorToRGB(Color), TBrushStyle::bsSolid};
    C.FillRect({0, 0, 3, FilmTileSize});
    C.FillRect({FilmTileSize - 3, 0, FilmTileSize, FilmTileSize});
    C.FillRect({0, 4, FilmTileSize, 10});
    C.Brush.Color = MixColors(ColorToRGB(Color), clWhite, 12);
    C.FillRect({0, 0, 1, FilmTileSize});
    C.FillRect({FilmTileSize - 1, 0, FilmTileSize, FilmTileSize});
    Soften24(FFilm, 69, true, WholeBitmapRect);
  }
  update();
}

// ---- Current layer and scrolling -------------------------------------------------------------------------

void TLayerNavigator::ResetLayerIndex() {
  if (FImage.LayerIndex() == FLayerIndex) return;
  FLayerIndex = FImage.LayerIndex();
  update();
  if (OnSelectLayer) OnSelectLayer(this);
}

void TLayerNavigator::MakeCurrentLayerVisible() {
  if (FThumbs.empty()) return;
  const int Row = ThumbCount() - 1 - FImage.LayerIndex();
  if (Row >= FTopItem && Row <= LastRowShown()) return;
  FTopItem = std::max(0, Row - RowsThatFit(true) + 1);
  if (Row < FTopItem) FTopItem = Row;
  UpdateButtons();
  update();
}

void TLayerNavigator::LayoutButtons() {
  if (RowsThatFit(false) >= ThumbCount()) {
    FBtnNext->hide();
    FBtnPrev->hide();
    FBtnPopup->hide();
    FTopItem = 0;
    return;
  }
  const int S = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  const int Top = height() - S;
  const int PW = S + 3;
  FBtnPopup->setGeometry(width() - PW, Top, PW, S);
  const int UpW = (width() - PW) / 2;
  FBtnPrev->setGeometry(0, Top, UpW, S);
  FBtnNext->setGeometry(UpW, Top, width() - PW - UpW, S);
  FBtnNext->show();
  FBtnPrev->show();
  FBtnPopup->show();
  const int Fit = RowsThatFit(true);
  if (ThumbCount() - FTopItem < Fit) FTopItem = std::max(0, ThumbCount() - Fit);
  UpdateButtons();
}

void TLayerNavigator::UpdateButtons() {
  FBtnPopup->setEnabled(true);
  FBtnPrev->setEnabled(FTopItem > 0);
  FBtnNext->setEnabled(LastRowShown() < ThumbCount() - 1);
}

void TLayerNavigator::resizeEvent(QResizeEvent* Event) {
  QWidget::resizeEvent(Event);
  LayoutButtons();
}

// ---- Layer edits -------------------------------------------------------------------------------------------

void TLayerNavigator::MoveThumb(int From, int To) {
  auto T = std::move(FThumbs[From]);
  FThumbs.erase(FThumbs.begin() + From);
  FThumbs.insert(FThumbs.begin() + To, std::move(T));
}

void TLayerNavigator::Move(int CurIndex, int NewIndex, bool DoEvent) {
  // Neither the background nor a place under it: the stack and the
  // thumbnails stay one to one.
  if (CurIndex <= 0 || CurIndex >= ThumbCount() || NewIndex <= 0 || NewIndex >= ThumbCount() ||
      CurIndex >= FImage.Layers().Count())
    return;
  FImage.Layers().Move(CurIndex, NewIndex);
  MoveThumb(CurIndex, NewIndex);
  FImage.SetLayerIndex(NewIndex);
  ResetLayerIndex();
  update();
  // A move onto itself changed nothing: no event, so no empty undo record.
  if (DoEvent && CurIndex != NewIndex && OnChangeLayerIndex) OnChangeLayerIndex(this, CurIndex, NewIndex);
}

int TLayerNavigator::PlaceNewLayer(int Target, int Index) {
  AddThumb();
  if (Target > 0 && Target != Index) Move(Index, Target, false);
  ResetLayerIndex();
  update();
  return FLayerIndex;
}

void TLayerNavigator::AddBackground(const TBitmap* Bitmap, const TBitmap* Mask, const QString& Caption) {
  FImage.AddBackground(Bitmap, Mask, Caption);
  FThumbs.clear();
  AddThumb();
  ResetLayerIndex();
}

void TLayerNavigator::AddBitmapAsBackground(const TBitmap& Bitmap, const QString& Caption) {
  FImage.AddBitmapAsBackground(Bitmap, Caption);
  FThumbs.clear();
  AddThumb();
  ResetLayerIndex();
}

int TLayerNavigator::AddLayer(const TBitmap* Bitmap, const TBitmap* Mask, TPoint Pos, TOpacityRange Opacity,
                              const QString& Caption) {
  const int Target = FLayerIndex + 1;
  const int Index = FImage.AddLayer(Bitmap, Mask, Pos, Opacity, Caption);
  FImage.Layers()[Index].CheckCreateMask(false);
  return PlaceNewLayer(Target, Index);
}

int TLayerNavigator::AddBitmapAsLayer(const TBitmap& Bitmap, TPoint Pos, TOpacityRange Opacity,
                                      const QString& Caption) {
  const int Target = FLayerIndex + 1;
  const int Index = FImage.AddBitmapAsLayer(Bitmap, Pos, Opacity, Caption);
  FImage.Layers()[Index].CheckCreateMask(false);
  return PlaceNewLayer(Target, Index);
}

int TLayerNavigator::DuplicateLayer(int Index, const QString& Caption) {
  const int Target = FLayerIndex + 1;
  const int New = FImage.DuplicateLayer(Index, Caption);
  if (New < 0) return -1;
  TLayerItem& L = FImage.Layers()[New];
  if (L.LayerType == ltBitmap || L.LayerType == ltData) L.CheckCreateMask(false);
  return PlaceNewLayer(Target, New);
}

int TLayerNavigator::AddLayerData(std::unique_ptr<TLayerData> Data, const QString& Caption) {
  const int Target = FLayerIndex + 1;
  return PlaceNewLayer(Target, FImage.AddLayerData(std::move(Data), Caption));
}

int TLayerNavigator::AddLayerAdjust(const TAdjustLayerInfos& AdjustInfos, TOpacityRange Opacity,
                                    const QString& Caption) {
  const int Target = FLayerIndex + 1;
  return PlaceNewLayer(Target, FImage.AddLayerAdjust(AdjustInfos, Opacity, Caption));
}

int TLayerNavigator::AddLayerColor(TColor Color, TOpacityRange Opacity, bool Invert, const QString& Caption) {
  const int Target = FLayerIndex + 1;
  return PlaceNewLayer(Target, FImage.AddLayerColor(Color, Opacity, Invert, Caption));
}

void TLayerNavigator::DeleteLayer(int Index) {
  if (Index < 0 || Index >= FImage.Layers().Count()) return;
  FImage.Layers().Delete(Index);
  if (Index < ThumbCount()) FThumbs.erase(FThumbs.begin() + Index);
  ResetLayerIndex();
  LayoutButtons();
  update();
}

void TLayerNavigator::DeleteBackground(bool DeleteMask) {
  if (FImage.Layers().Count() < 2) return;
  FImage.DeleteBackground();
  if (!FThumbs.empty()) FThumbs.erase(FThumbs.begin());
  if (DeleteMask) FImage.Layers()[0].Mask().ReleaseImage();
  ResetLayerIndex();
  LayoutButtons();
  update();
}

void TLayerNavigator::InsertNewBackground(const TBitmap* Bitmap, const TBitmap* Mask, bool TransparentBkg,
                                          const QString& Caption) {
  if (FImage.Layers().Count() == 0) return;
  TLayerItem& Old = FImage.Layers()[0];
  if (Old.LayerType == ltBitmap || Old.LayerType == ltData) Old.CheckCreateMask(false);
  FImage.InsertNewBackground(Bitmap, Mask, Caption);
  if (TransparentBkg && !Mask) FImage.Layers()[0].CheckCreateMask(true);
  AddThumb();
  MoveThumb(ThumbCount() - 1, 0);
  UpdateThumb(0);
  ResetLayerIndex();
  update();
}

void TLayerNavigator::MergeWithPrevious(bool AutoCrop) {
  const int Index = FImage.LayerIndex();
  const int Count = FImage.Layers().Count();
  if (Index <= 0) return;
  FImage.MergeWithPrevious(AutoCrop);
  if (FImage.Layers().Count() == Count - 1 && Index < ThumbCount()) {
    FThumbs.erase(FThumbs.begin() + Index);
    UpdateThumb(Index - 1);
  } else if (FImage.Layers().Count() != ThumbCount()) {
    Synchronize(true);
  }
  ResetLayerIndex();
  LayoutButtons();
  update();
}

// ---- Painting ------------------------------------------------------------------------------------------------

void TLayerNavigator::Render() {
  const int W = std::max(1, width()), H = std::max(1, height());
  if (FBack.Width() != W || FBack.Height() != H) NewBitmap24(FBack, W, H, ColorToRGB(Color));
  TCanvas& C = FBack.Canvas();
  C.ResetClip();
  C.Brush = TBrush{ColorToRGB(Color), TBrushStyle::bsSolid};
  C.FillRect({0, 0, W, H});
  QImage Img = FBack.QImageView();
  QPainter Text(&Img);
  Text.setFont(font());
  Text.setPen(ToQColor(FontColor));
  if (!FThumbs.empty())
    for (int Row = FTopItem; Row <= LastRowShown(); ++Row) RenderRow(Row, Text);
  Text.end();
  const int S = StripHeight();
  if (S > 0) {
    C.Brush.Color = ColorToRGB(clBtnFace);
    C.FillRect({0, H - S, W, H});
  }
  if (FUseFilmBorder && !FFilm.Empty()) {
    TileBitmap24(FFilm, FBack, 0, 0, {0, 0, FilmTileSize, H - S});
    TileBitmap24(FFilm, FBack, W - FilmTileSize, 0, {W - FilmTileSize, 0, W, H - S});
  }
  if (FDragState == 3 && FTargetItem != FDraggedItem) DrawDropMarker();
}

void TLayerNavigator::RenderRow(int Row, QPainter& Text) {
  TCanvas& C = FBack.Canvas();
  const int Index = ThumbCount() - 1 - Row;
  const int RH = RowHeight(), F = FilmWidth();
  const int Top = TopMargin + (Row - FTopItem) * RH;
  const bool Current = Index == FLayerIndex && ThumbCount() >= 2;
  const TLayerItem& L = FImage.Layers()[Index];
  QFont Fnt = font();
  Fnt.setUnderline(Current);
  Text.setFont(Fnt);
  if (FShowThumb) {
    const TBitmap& T = *FThumbs[Index];
    const int BX = F + Margin, BY = Top + Margin;
    int TX = BX + 1, TY = BY + 1;
    if (Current) {
      TX += ShadowSize / 2;
      TY += ShadowSize / 2;
      C.Brush = TBrush{ColorToRGB(DragColor), TBrushStyle::bsSolid};
      C.FrameRect({TX - 2, TY - 2, TX + T.Width() + 2, TY + T.Height() + 2});
      C.FrameRect({TX - 1, TY - 1, TX + T.Width() + 1, TY + T.Height() + 1});
    } else {
      const TRect Frame{BX, BY, BX + T.Width() + 2, BY + T.Height() + 2};
      if (ShadowSize > 0) DrawShadow(C, Frame, ShadowSize, 60, ColorToRGB(Color), true, true);
      const TColor Light = FUseFilmBorder ? ColorToRGB(Color) : 0xCDCDCD;
      const TColor Dark = FUseFilmBorder ? ColorToRGB(Color) : 0x575757;
      C.Pen = TPen{Light, 1, TPenStyle::psSolid, TPenMode::pmCopy};
      C.MoveTo(Frame.Left, Frame.Bottom - 1);
      C.LineTo(Frame.Left, Frame.Top);
      C.LineTo(Frame.Right - 1, Frame.Top);
      C.Pen.Color = Dark;
      C.LineTo(Frame.Right - 1, Frame.Bottom - 1);
      C.LineTo(Frame.Left, Frame.Bottom - 1);
    }
    CopyBitmap24(T, FBack, TX, TY);
    if (ShowText) {
      const int TextTop = TY + T.Height() + (Current ? ShadowSize / 2 + 1 : ShadowSize + 1);
      Text.drawText(QRect(F, TextTop, width() - 2 * F, TextHeight()), Qt::AlignHCenter | Qt::AlignTop,
                    RowCaption(Index));
    }
  } else {
    if (Current) {
      C.Brush = TBrush{ColorToRGB(DragColor), TBrushStyle::bsSolid};
      C.FrameRect({F, Top, width() - F, Top + RH});
      C.FrameRect({F + 1, Top + 1, width() - F - 1, Top + RH - 1});
    }
    const TColor Tint = MixColors(ColorToRGB(Color), FUseFilmBorder ? clWhite : clBlack, 33);
    for (int X = F; X < width() - F; ++X) {
      const int P = MulDiv(X - F, 100, std::max(1, width() - 2 * F));
      C.SetPixels(X, Top + RH - 1, MixColors(Tint, ColorToRGB(Color), std::clamp(P, 1, 100)));
    }
    int X = width() - F - Margin;
    for (bool Lock : {false, true}) {
      const bool Show = Lock ? L.Locked : !L.Visible;
      if (!Show) continue;
      const TBitmap& I = MarkIcon(Lock);
      X -= I.Width() + 2;
      CopyBitmap24(I, FBack, X, Top + Margin);
    }
    const int TY = Top + Margin + (MarkIcon(false).Height() - TextHeight()) / 2;
    Text.drawText(QRect(F + Margin + 2, TY, std::max(0, X - F - Margin - 2), TextHeight()),
                  Qt::AlignLeft | Qt::AlignTop, RowCaption(Index));
  }
}

void TLayerNavigator::DrawDropMarker() {
  const int Row = ThumbCount() - 1 - FTargetItem;
  const int RH = RowHeight();
  int Y = (Row - FTopItem) * RH + TopMargin;
  if (FShowThumb)
    Y += FDragBelow ? FThumbHeight + Margin + 2 : Margin - 2;
  else
    Y += FDragBelow ? RH - 2 : Margin - 3;
  int X1, X2;
  if (FShowThumb) {
    X1 = (width() - FThumbWidth - ShadowSize) / 2 - 1;
    X2 = X1 + FThumbWidth + 2;
  } else {
    X1 = FilmWidth() + Margin;
    X2 = width() - Margin - FilmWidth();
  }
  TCanvas& C = FBack.Canvas();
  C.Brush = TBrush{ColorToRGB(DragColor), TBrushStyle::bsSolid};
  C.FillRect({X1, Y, X2, Y + 2});
  C.FillRect({X1, Y - 1, X1 + 2, Y + 3});
  C.FillRect({X2 - 2, Y - 1, X2, Y + 3});
}

void TLayerNavigator::paintEvent(QPaintEvent*) {
  if (FBusy > 0) return;
  RebuildIfPending();
  Render();
  QPainter P(this);
  P.drawImage(0, 0, FBack.QImageView());
}

// ---- Mouse ---------------------------------------------------------------------------------------------------

void TLayerNavigator::CancelDrag() {
  if (FDragState == 3) {
    unsetCursor();
    update();
  }
  FDragState = 0;
}

void TLayerNavigator::mousePressEvent(QMouseEvent* Event) {
  CancelDrag();
  RebuildIfPending();
  const QPoint P = Event->position().toPoint();
  const int Item = ItemAtPos(P.x(), P.y());
  if (!FThumbs.empty() && Item >= 0 && Item != FImage.LayerIndex()) {
    FImage.SetLayerIndex(Item);
    ResetLayerIndex();
  }
  const bool OneButton = Event->buttons() == Event->button();
  if (Event->type() != QEvent::MouseButtonDblClick && OneButton && Item >= 0) {
    if (Event->button() == Qt::RightButton && PopupMenu) {
      FDragState = 1;
    } else if (Event->button() == Qt::LeftButton && Item > 0 && ThumbCount() >= 3) {
      FDragState = 2;
      FPtOriginDrag = P;
      FDraggedItem = Item;
    }
  }
  if (OnMouseDown) OnMouseDown(this);
}

void TLayerNavigator::mouseMoveEvent(QMouseEvent* Event) {
  const QPoint P = Event->position().toPoint();
  if (FDragState == 2 && (std::abs(P.x() - FPtOriginDrag.x()) > 3 || std::abs(P.y() - FPtOriginDrag.y()) > 3)) {
    FDragState = 3;
    FTargetItem = FDraggedItem;
  }
  if (FDragState != 3) return;
  setCursor(rect().contains(P) ? Qt::DragMoveCursor : Qt::ForbiddenCursor);
  int Target = rect().contains(P) ? ItemAtPos(P.x(), P.y()) : -1;
  if (Target <= 0) Target = FDraggedItem;
  FDragBelow = P.y() > FPtOriginDrag.y();
  if (Target == FTargetItem) return;
  FTargetItem = Target;
  repaint();
}

void TLayerNavigator::mouseReleaseEvent(QMouseEvent* Event) {
  if (FDragState == 1 && PopupMenu) {
    PopupMenu->popup(Event->globalPosition().toPoint());
  } else if (FDragState == 3) {
    FDragState = 0;
    Move(FDraggedItem, FTargetItem, true);
    unsetCursor();
    update();
  }
  FDragState = 0;
}

void TLayerNavigator::mouseDoubleClickEvent(QMouseEvent* Event) {
  mousePressEvent(Event);
  if (OnDblClick) OnDblClick(this);
}

void TLayerNavigator::ShowLayerMenu() {
  const qint64 Now = QDateTime::currentMSecsSinceEpoch();
  if (FMenuClosedAt >= 0 && Now - FMenuClosedAt < 300) return;
  if (!FPopupLayers) {
    FPopupLayers = new QMenu(this);
    connect(FPopupLayers, &QMenu::aboutToHide, this, [this] { FMenuClosedAt = QDateTime::currentMSecsSinceEpoch(); });
    connect(FPopupLayers, &QMenu::triggered, this, [this](QAction* A) {
      FImage.SetLayerIndex(A->data().toInt());
      ResetLayerIndex();
      MakeCurrentLayerVisible();
    });
  }
  FPopupLayers->clear();
  auto AddItem = [this](int Index, const QString& Text) {
    QAction* A = FPopupLayers->addAction(Text);
    A->setData(Index);
    if (Index == FImage.LayerIndex()) {
      QFont F = A->font();
      F.setBold(true);
      A->setFont(F);
    }
  };
  const int Count = FImage.Layers().Count();
  for (int I = Count - 1; I >= 1; --I)
    AddItem(I, QStringLiteral("%1. %2").arg(I).arg(FImage.Layers()[I].DisplayCaption()));
  if (Count > 0) {
    FPopupLayers->addSeparator();
    AddItem(0, FImage.Layers()[0].DisplayCaption());
  }
  FPopupLayers->popup(FBtnPopup->mapToGlobal(QPoint(FBtnPopup->width(), FBtnPopup->height())));
}
