#include "dialogs/ui/OverlayPicture.h"

#include "filters/Filtres24.h"
#include "filters/ui/FilterHost.h"
#include "files/BmpOE2.h"
#include "i18n/Format.h"
#include "i18n/LibLang.h"
#include "platform/NumberFormat.h"
#include "raster/Bitmap24.h"
#include "raster/ImgUtils24.h"
#include "raster/Pixels.h"
#include "raster/TransformFunc.h"
#include "raster/Transparency.h"
#include "dialogs/ui/DialogParts.h"
#include "ui/ControlTag.h"
#include "ui/DlgMain.h"
#include "ui/DrawUtils.h"
#include "ui/SpecialEdit.h"
#include "ui/MsgDlg.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QToolButton>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>

namespace {

// FlipRotateBitmap's codes.
constexpr int FlipTopBottom = 0, FlipLeftRight = 1, TurnClockwise = 2, TurnAnticlockwise = 3, TurnHalf = 4;

void TurnGrey(TBitmap& B) {
  for (int Y = 0; Y < B.Height(); ++Y) {
    TRGB* Row = reinterpret_cast<TRGB*>(B.ScanLine(Y));
    for (int X = 0; X < B.Width(); ++X) {
      const uint8_t L = uint8_t(Luminance24(Row[X]));
      Row[X] = {L, L, L};
    }
  }
}

void InvertBytes(TBitmap& B) {
  for (int Y = 0; Y < B.Height(); ++Y) {
    TRGB* Row = reinterpret_cast<TRGB*>(B.ScanLine(Y));
    for (int X = 0; X < B.Width(); ++X) Row[X] = {uint8_t(255 - Row[X].Blue), uint8_t(255 - Row[X].Green), uint8_t(255 - Row[X].Red)};
  }
}

} // namespace

void TOverlayPicture::Free() {
  Bmp.Assign(TBitmap());
  Mask.Assign(TBitmap());
}

bool TOverlayPicture::Load(QString Name, const QString& InitialDir, bool KeepTransform) {
  TBitmap Loaded;
  const TImageIOResult Result = LoadImageFile(Name, Loaded, InitialDir);
  if (Result != iorDone) {
    if (!Name.isEmpty()) ReportLoadError(Name, Result);
    return false;
  }
  if (FKind == pkAlpha && Loaded.PixelFormat() != pf32bit) {
    ShowMsgDlg(Format(Tr(TrId::GetOeMsgErrorOpening), {Name}), mdkError, {mdbOk});
    return false;
  }
  if (FKind == pkAlpha) {
    Bitmap32ToBitmapMask(Loaded, Bmp, Mask);
  } else {
    ExtractTransparencyMask(Loaded, Bmp, Mask);
    Mask.Assign(TBitmap());
    TurnGrey(Bmp);
  }
  FileName = Name;
  if (!KeepTransform) {
    Angle = 0;
    FlipH = FlipV = Negatif = false;
    return true;
  }
  const int Turn = Angle;
  const bool H = FlipH, V = FlipV, N = Negatif;
  Angle = 0;
  FlipH = FlipV = Negatif = false;
  if (N) Invert();
  if (Turn) this->Turn(Turn);
  if (V) Flip(false);
  if (H) Flip(true);
  return true;
}

void TOverlayPicture::Turn(int Degrees) {
  const int Code = Degrees == 90 ? TurnClockwise : Degrees == 270 ? TurnAnticlockwise : TurnHalf;
  FlipRotateBitmap(Bmp, Code);
  FlipRotateBitmap(Mask, Code);
  Angle = (Angle + Degrees) % 360;
}

void TOverlayPicture::Flip(bool Horizontal) {
  FlipRotateBitmap(Bmp, Horizontal ? FlipLeftRight : FlipTopBottom);
  FlipRotateBitmap(Mask, Horizontal ? FlipLeftRight : FlipTopBottom);
  (Horizontal ? FlipH : FlipV) = !(Horizontal ? FlipH : FlipV);
}

void TOverlayPicture::Invert() {
  InvertBytes(Bmp);
  Negatif = !Negatif;
}

QString TOverlayPicture::FlipsText() const {
  return QString(FlipV ? u'1' : u'0') + QString(FlipH ? u'1' : u'0');
}

void TOverlayPicture::SetFlipsText(const QString& Text) {
  FlipV = Text.size() > 0 && Text[0] == u'1';
  FlipH = Text.size() > 1 && Text[1] == u'1';
}

void TOverlayPicture::SetAngleText(const QString& Text) { Angle = (StrToIntDef(Text, 0) % 360 + 360) / 90 % 4 * 90; }

void TOverlayPicture::DrawThumbnail(QLabel* Label) const {
  if (Empty()) {
    Label->clear();
    return;
  }
  TBitmap Shown(Bmp.Width(), Bmp.Height(), pf24bit, clWhite);
  CopyRect24Mask(Bmp, {0, 0, Bmp.Width(), Bmp.Height()}, Shown, 0, 0, {0, 0, Bmp.Width(), Bmp.Height()},
                 Mask.Empty() ? nullptr : &Mask);
  const QSize Size = Label->size();
  TBitmap Card(std::max(Size.width(), 8), std::max(Size.height(), 8), pf24bit, clWhite);
  DrawThumbnail24(Shown, Card, clWhite, 2, 4, ColorToRGB(clBtnFace));
  const QImage View(Card.ScanLine(0), Card.Width(), Card.Height(), int(Card.ScanLine(1) - Card.ScanLine(0)),
                    QImage::Format_BGR888);
  Label->setPixmap(QPixmap::fromImage(View.copy()));
}

QMenu* TOverlayPicture::MakeMenu(QWidget* Parent, bool WithNegatif, std::function<void()> Changed) {
  auto* Menu = new QMenu(Parent);
  const auto Item = [&](const QString& Caption, std::function<void()> Do) {
    QAction* A = Menu->addAction(Caption);
    QObject::connect(A, &QAction::triggered, Parent, [Do = std::move(Do), Changed] {
      Do();
      Changed();
    });
    return A;
  };
  Item(QStringLiteral("Symétrie verticale"), [this] { Flip(false); });
  Item(QStringLiteral("Symétrie horizontale"), [this] { Flip(true); });
  Menu->addSeparator();
  Item(QStringLiteral("Rotation 90° horaire"), [this] { Turn(90); });
  Item(QStringLiteral("Rotation 90° antihoraire"), [this] { Turn(270); });
  Item(QStringLiteral("Rotation 180°"), [this] { Turn(180); });
  Menu->addSeparator();
  if (WithNegatif) {
    Item(QStringLiteral("Négatif"), [this] { Invert(); });
    Menu->addSeparator();
  }
  QAction* Retablir = Item(QStringLiteral("Rétablir"), [this] { Restore(); });
  QObject::connect(Menu, &QMenu::aboutToShow, Menu, [this, Retablir] { Retablir->setEnabled(Transformed()); });
  return Menu;
}

// ---- The preview -------------------------------------------------------------------------

TOverlayPreview::TOverlayPreview(QCheckBox* Live, QPushButton* Apercu, std::function<bool()> CanPreview,
                                 std::function<void(const TRect&)> Apply)
    : FLive(Live), FApercu(Apercu), FCanPreview(std::move(CanPreview)), FApply(std::move(Apply)) {}

void TOverlayPreview::Start() {
  Preview = false;
  Changed = true;
}

void TOverlayPreview::Run() {
  TFilterHost* Host = FilterHost();
  if (!Host || !Host->UneImage() || !FLive->isEnabled() || !FCanPreview() || (Preview && !Changed)) return;
  TBusyAction Busy(*Host);
  if (Preview) Host->RestaureBitmap();
  FApply(Host->LaSelection());
  Host->AppliquerMasqueSel(1);
  Host->RefreshBitmap();
  Changed = false;
  Preview = true;
}

void TOverlayPreview::OptionChanged() {
  Changed = true;
  if (FLive->isChecked()) Run();
}

void TOverlayPreview::LiveClick() {
  FApercu->setEnabled(!FLive->isChecked() && FCanPreview());
  if (FLive->isChecked()) {
    if (Changed) Run();
    return;
  }
  TFilterHost* Host = FilterHost();
  if (!Preview || !Host || !Host->UneImage()) return;
  Host->RestaureBitmap();
  Host->RefreshBitmap();
  Changed = true;
  Preview = false;
}

void TOverlayPreview::Finish() {
  if (Changed) Run();
}

void TOverlayPreview::Cancel() {
  if (TFilterHost* Host = FilterHost(); Host && Host->UneImage()) Host->AnnulerFiltre(Preview);
  Preview = false;
}

// ---- The dialogs' parts ------------------------------------------------------------------

TPictureGroup MakePictureGroup(TMainDialogForm& Form, const QString& Title, const char* EditName, bool WithNegatif) {
  auto* Group = new QGroupBox(Title, &Form);
  Group->setObjectName(QStringLiteral("GroupBox2"));
  auto* Grid = new QGridLayout(Group);
  const auto Button = [Group](const char* Name, const QString& Text, const QString& Hint) {
    auto* B = new QToolButton(Group);
    B->setObjectName(QString::fromLatin1(Name));
    B->setText(Text);
    B->setToolTip(Hint);
    return B;
  };
  TPictureGroup G{Group, new TSpecialEdit(Group), Button("_BtnParcourir", QStringLiteral("..."), QString()),
                  new QLabel(Group), Button("_BtnRotation", QStringLiteral("↻"), QStringLiteral("Rotation 90° horaire")),
                  WithNegatif ? Button("_BtnNegatif", QStringLiteral("◐"), QStringLiteral("Négatif")) : nullptr};
  G.Edit->setObjectName(QString::fromLatin1(EditName));
  G.Edit->SetReadOnly(true);
  // Restored only while the file exists.
  SetControlTag(G.Edit, -772);
  G.Thumb->setFixedSize(Form.Rescale(120), Form.Rescale(90));
  G.Thumb->setContextMenuPolicy(Qt::CustomContextMenu);
  Grid->addWidget(G.Edit, 0, 0);
  Grid->addWidget(G.Browse, 0, 1);
  Grid->addWidget(G.Thumb, 1, 0, 2, 1);
  Grid->addWidget(G.Rotation, 1, 1, Qt::AlignTop);
  if (G.Negatif) Grid->addWidget(G.Negatif, 2, 1, Qt::AlignTop);
  return G;
}

TPreviewRow AddPreviewRow(TMainDialogForm& Form, QBoxLayout& Layout) {
  auto* Row = new QHBoxLayout;
  TPreviewRow P{new QCheckBox(TrText(TrId::GetTrLblDirectPreview, QStringLiteral("Aperçu direct")), &Form),
                new QPushButton(TrText(TrId::GetTrBtnPreview, QStringLiteral("Aperçu")), &Form)};
  P.CBPreview->setObjectName(QStringLiteral("CBPreview"));
  P.BApercu->setObjectName(QStringLiteral("BApercu"));
  Row->addWidget(P.CBPreview);
  Row->addWidget(P.BApercu);
  Layout.addLayout(Row);
  return P;
}
