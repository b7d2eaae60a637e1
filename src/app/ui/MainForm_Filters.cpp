// The direct commands of the Filter and Adjust menus: each runs its fixed
// sequence of filter routines on the current layer inside the selection, in
// the undo step of its kind, and registers itself for Edit > Repeat. The
// automatic corrections measure the image first. Also the flip and rotate
// buttons, which pass the command to the Image or the Layer menu.
//
// How to add a direct command: one row in DirectFilters (its item, undo kind,
// title and the routines it runs, in order).
#include "app/ui/MainForm.h"

#include "document/Undo.h"
#include "filters/AutoCorrections.h"
#include "filters/Blur24.h"
#include "filters/Distortions24.h"
#include "filters/Filtres24.h"
#include "filters/FiltresComposes.h"
#include "filters/MatrixConst.h"
#include "filters/Patterns24.h"
#include "filters/TexturePictures.h"
#include "raster/Bitmap24.h"
#include "raster/FilterEvent.h"
#include "raster/FoncUtils.h"
#include "raster/TransformFunc.h"
#include "tools/ui/Outils.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>

namespace {

using TWork = bool (*)(TMainForm&, TBitmap&, const TRect&);

// How the undo title is made: the item's caption, its submenu's caption, or
// both joined by a blank.
enum class TTitle : uint8_t { Item, Submenu, SubmenuAndItem };

struct TDirectFilter {
  const char* Item;
  TModifInfo Kind;
  TTitle Title;
  TWork Work;
};

TRect Whole(const TBitmap& B) { return {0, 0, B.Width(), B.Height()}; }

bool Matrix(TBitmap& B, const TMatrix3x3Record& M, int Amount, const TRect& R) {
  ConvolveMatrix3x3(B, M, Amount, R);
  return true;
}

// Black and white or sepia, aged: contrast, grain, relief, softer contrast.
bool Aged(TBitmap& B, bool Sepia, const TRect& R) {
  Grayscale24(B, R);
  if (Sepia) GammaRGB24(B, 1.2, 1.0, 0.5, R);
  Contrast24(B, 20, R);
  MonoNoise24(B, 15, R);
  ConvolveMatrix3x3(B, MatReliefMild, 100, R);
  Contrast24(B, -10, R);
  return true;
}

bool Colorize(TBitmap& B, int PR, int PG, int PB, const TRect& R) {
  Grayscale24(B, R);
  BrightnessRGB24(B, PR, PG, PB, R);
  return true;
}

bool Fog(TMainForm& F, TBitmap& B, TColor Color, const TRect& R) {
  Fog24(B, F.DessinerSurAlpha() ? &F.LeMasque() : nullptr, Color, 50, R);
  return true;
}

// The undo copy laid back over the layer at Opacity, inside the work
// rectangle.
void UndoCopyOver(TMainForm& F, TBitmap& B, int Opacity, const TRect& R) {
  CopyRect24Opacity(F.BmpUndo, Whole(F.BmpUndo), B, 0, 0, R, Opacity);
}

// The ellipse of a layer with transparency keeps the area outside it
// transparent; an opaque layer gets the palette's background colour there.
bool Ellipse(TMainForm& F, TBitmap& B, const TRect& R) {
  F.ListeUndo().CurrentUndo()->SetFlag(8, 1);
  if (F.HasAlpha()) {
    SetProgressPasses(2);
    BleedColorsIntoTransparent(F.BmpUndo, F.LeMasque(), 2, Whole(F.BmpUndo));
    EllipseDistort24(F.MaskUndo, F.LeMasque(), clWhite, R, amBilinear);
    EllipseDistort24(F.BmpUndo, B, clNone, R, amBicubic);
    WhitenMaskedPixels(B, F.LeMasque());
  } else {
    const TColor Back = F.Palette() ? F.Palette()->GetColor(true) : clWhite;
    EllipseDistort24(F.BmpUndo, B, Back, R, amBicubic);
  }
  return true;
}

bool Sandstone(TBitmap& B, const TRect& R) {
  ApplyTextureResource(B, "TXT1", 10, false, R);
  return Matrix(B, MatRelief, 100, R);
}

// The work rectangle, or its centre when it is the whole layer.
TRect SampleRect(TMainForm& F) {
  const TRect R = F.LaSelection();
  return R != Whole(F.LeBitmap()) ? R : CentralSampleRect(F.LeBitmap());
}

// A channel without mid-tones gives no gamma; the step stays, unchanged.
bool AutoLevels(TMainForm& F, TBitmap& B, const TRect& R) { return AutoLevels24(B, SampleRect(F), R); }

bool Stripes(TBitmap& B, TColor Color, const TRect& R) {
  HorizontalStripes24(B, 1, 1, Color, 40, R);
  return true;
}

// Every other pixel, from the image's origin, 55 % towards black.
bool OnePixelInTwo(TBitmap& B, const TRect& R) {
  TBitmap Checker(2, 2, pf24bit, clWhite);
  Checker.ScanLine(0)[0] = Checker.ScanLine(0)[1] = Checker.ScanLine(0)[2] = 0;
  Checker.ScanLine(1)[3] = Checker.ScanLine(1)[4] = Checker.ScanLine(1)[5] = 0;
  TileBitmap24ColorKey(Checker, B, 0, 0, R, 55, clWhite, 7);
  return true;
}

#define STEPS(...) [](TMainForm & F, TBitmap & B, const TRect& R) -> bool { \
  (void)F; __VA_ARGS__; return true; }

const TDirectFilter DirectFilters[] = {
    // Filter menu.
    {"MenuFiltreAdoucir", miFiltre, TTitle::Item, STEPS(ConvolveMatrix3x3(B, MatSoftenMild, 100, R))},
    {"MenuFiltreLisser", miFiltre, TTitle::Item, STEPS(Smooth24(B, 100, R))},
    {"MenuFiltreContoursNet", miFiltre, TTitle::Item, STEPS(SharperContours24(B, F.BmpUndo, R))},
    {"MenuFiltreDurcir", miFiltre, TTitle::Item, STEPS(ConvolveMatrix3x3(B, MatSharpen, 100, R))},
    {"MenuFiltreFlouInt", miFiltre, TTitle::Item, STEPS(InnerBlur24(B, F.BmpUndo, R))},
    {"MenuFiltreRelief1", miFiltre, TTitle::Item, STEPS(ConvolveMatrix3x3(B, MatReliefMild, 100, R))},
    {"MenuFiltreRelief2", miFiltre, TTitle::Item, STEPS(ConvolveMatrix3x3(B, MatRelief, 100, R))},
    {"MenuFiltreContoursEncres", miFiltre, TTitle::Item, STEPS(InkedContours24(B, R))},
    {"MenuFiltreBrume2", miFiltreBM_D, TTitle::Submenu, STEPS(Fog(F, B, clWhite, R))},
    {"MenuFiltreBrume1", miFiltreBM_D, TTitle::Submenu, STEPS(Fog(F, B, clBlack, R))},
    {"MenuFiltreFlouArt", miFiltre, TTitle::Item, STEPS(GaussianBlurRadius(B, 12, R); UndoCopyOver(F, B, 33, R))},
    {"MenuFiltreFragmenter", miFiltre, TTitle::Item, STEPS(Fragment24(B, F.BmpUndo, R))},
    {"MenuFiltreEllipse", miFiltreBM, TTitle::Item, Ellipse},
    {"MenuFiltreVerre", miFiltre, TTitle::Item, STEPS(Glass24(B, F.BmpUndo, 7, R))},
    {"MenuFiltreReflet", miFiltre, TTitle::Item, STEPS(WaterReflection24(F.BmpUndo, B, 6, 10, clWhite, R))},
    {"MenuFiltreDiffusion", miFiltre, TTitle::Item, STEPS(Diffuse24(B, 1, 0, R))},
    {"MenuFiltreVieillir1", miFiltre, TTitle::SubmenuAndItem, STEPS(Aged(B, false, R))},
    {"MenuFiltreVieillir2", miFiltre, TTitle::SubmenuAndItem, STEPS(Aged(B, true, R))},
    {"MenuFiltreVieillir3", miFiltre, TTitle::Item, STEPS(OldPhoto24(B, R))},
    {"MenuFiltrePapier", miFiltre, TTitle::Item, STEPS(EmbossedPaper24(B, R))},
    {"MenuFiltrePhotocopie", miFiltre, TTitle::Item, STEPS(Photocopy24(B, R))},
    {"MenuFiltrePlatre", miFiltre, TTitle::Item,
     STEPS(ConvolveMatrix3x3(B, MatPlaster, 100, R); Negative24(B, R); Grayscale24(B, R))},
    {"MenuFiltreContoursCouleurs", miFiltre, TTitle::Item, STEPS(ColorContours24(B, F.BmpUndo, R))},
    {"MenuFiltreContours", miFiltre, TTitle::Item, STEPS(BlackContours24(B, 7, true, R))},
    {"MenuFiltreCraie", miFiltre, TTitle::Item, STEPS(WhiteChalk24(B, R))},
    {"MenuFiltreTeinteSepia", miFiltre, TTitle::Item, STEPS(Grayscale24(B, R); GammaRGB24(B, 1.2, 1.0, 0.5, R))},
    {"MenuFiltreSaturer", miFiltre, TTitle::Item, STEPS(Saturation24(B, 50, R))},
    {"MenuFiltreDesaturer", miFiltre, TTitle::Item, STEPS(Saturation24(B, -70, R))},
    {"MenuFiltreNuit", miFiltre, TTitle::Item, STEPS(Gamma24(B, 0.5, R); GammaRGB24(B, 0.6, 0.6, 1.1, R))},
    {"MenuFiltreSoleil", miFiltre, TTitle::Item, STEPS(Gamma24(B, 0.5, R); GammaRGB24(B, 3.0, 0.9, 0.9, R))},
    {"MenuFiltreTeinteBleu", miFiltre, TTitle::SubmenuAndItem, STEPS(Colorize(B, -5, -5, 30, R))},
    {"MenuFiltreTeinteVert", miFiltre, TTitle::SubmenuAndItem, STEPS(Colorize(B, -5, 20, -5, R))},
    {"MenuFiltreTeinteRouge", miFiltre, TTitle::SubmenuAndItem, STEPS(Colorize(B, 30, -5, -5, R))},
    {"MenuFiltreTeinteViolet", miFiltre, TTitle::SubmenuAndItem, STEPS(Colorize(B, 20, -5, 20, R))},
    {"MenuFiltreTeinteJaune", miFiltre, TTitle::SubmenuAndItem, STEPS(Colorize(B, 10, 10, -88, R))},
    {"MenuLignes1", miFiltre, TTitle::Submenu, STEPS(Stripes(B, clBlack, R))},
    {"MenuLignes2", miFiltre, TTitle::Submenu, STEPS(Stripes(B, clWhite, R))},
    // Filter > Texture.
    {"MenuTextureCraquelure", miFiltre, TTitle::Item,
     STEPS(ApplyTextureResource(B, "TXT3", 12, false, R); Matrix(B, MatRelief, 77, R))},
    {"MenuTextureMaillageFin", miFiltre, TTitle::Item, STEPS(ApplyTextureResource(B, "TXT5", 22, true, R))},
    {"MenuTextureMailleLarge", miFiltre, TTitle::Item, STEPS(ApplyTextureResource(B, "TXT6", 22, true, R))},
    {"MenuTextureToile", miFiltre, TTitle::Item,
     STEPS(ApplyTextureResource(B, "TXT5", 17, true, R); ApplyTextureResource(B, "TXT8", 15, false, R);
           Matrix(B, MatRelief, 77, R))},
    {"MenuTextureGres", miFiltre, TTitle::Item, STEPS(Sandstone(B, R))},
    {"MenuTexturePapier", miFiltre, TTitle::Item, STEPS(Sandstone(B, R); UndoCopyOver(F, B, 77, R))},
    {"MenuTextureZebre", miFiltre, TTitle::Item, STEPS(ApplyTextureResource(B, "TXT2", 12, false, R))},
    {"MenuTextureGrille", miFiltre, TTitle::Item, STEPS(ApplyTextureResource(B, "TXT7", 33, false, R))},
    {"MenuTextureZigzag", miFiltre, TTitle::Item, STEPS(ApplyTextureResource(B, "TXT4", 33, false, R))},
    {"MenuTexture12", miFiltre, TTitle::Item, STEPS(OnePixelInTwo(B, R))},
    // Adjust menu.
    {"MenuReglageTonsSombres", miFiltre, TTitle::Item, STEPS(BandContrast24(B, 33, 0, 100, 100, R))},
    {"MenuReglageTonsClairs", miFiltre, TTitle::Item, STEPS(BandContrast24(B, 33, 150, 255, 150, R))},
    {"MenuReglageNegatif", miFiltre, TTitle::Item, STEPS(Negative24(B, R))},
    {"MenuReglageTramage", miFiltre, TTitle::Item, STEPS(DitherFloydSteinberg24(B, R))},
    {"MenuReglageNivAuto", miFiltre, TTitle::Item, AutoLevels},
};

#undef STEPS

QString Caption(const QAction* Item) { return CleanMenuCaption(Item->text()); }

// The caption of the submenu that holds Item.
QString SubmenuCaption(const QAction* Item) {
  for (const QObject* Widget : Item->associatedObjects())
    if (const auto* Menu = qobject_cast<const QMenu*>(Widget)) return CleanMenuCaption(Menu->title());
  return QString();
}

void RunDirectFilter(TMainForm& F, const TDirectFilter& D, QObject* Sender) {
  QAction* Item = F.MenuItem(QString::fromLatin1(D.Item));
  QString Titre;
  if (D.Title == TTitle::Submenu) Titre = SubmenuCaption(Item);
  if (D.Title == TTitle::SubmenuAndItem) Titre = SubmenuCaption(Item) + QLatin1Char(' ') + Caption(Item);
  F.RunPixelCommand(
      Sender, Item, D.Kind, 1, [&F, &D](TBitmap& B, const TRect& R) { return D.Work(F, B, R); }, 0,
      [&F, &D](QObject* S) { RunDirectFilter(F, D, S); }, Titre);
}

// Egalisation automatique: the sample's luminance range stretched to 0..255;
// a sample that already spans it, or that holds one value or none, leaves
// no trace.
void AutoEqualize(TMainForm& F, QObject* Sender) {
  if (!F.ActionPossible(Sender) || !F.UneImage()) return;
  uint8_t Min = 0, Max = 0;
  LuminanceMinMax24(F.LeBitmap(), SampleRect(F), Min, Max);
  if ((Min == 0 && Max == 255) || Min >= Max) return;
  QAction* Item = F.MenuItem(QStringLiteral("MenuReglageEgalisation"));
  F.RunPixelCommand(
      Sender, Item, miFiltre, 1,
      [Min, Max](TBitmap& B, const TRect& R) {
        Levels24(B, 1.0, Min, Max, 0, 255, R);
        return true;
      },
      0, [&F](QObject* S) { AutoEqualize(F, S); });
}

// Contraste automatique: each band's contrast by how the mid-tones outnumber
// its tones. A sample without pixels (a selection beside a smaller layer)
// has nothing to share out and leaves no trace.
void AutoContrast(TMainForm& F, QObject* Sender) {
  if (!F.ActionPossible(Sender) || !F.UneImage()) return;
  const auto Shares = MeasureToneShares(F.LeBitmap(), SampleRect(F));
  if (!Shares) return;
  F.RunPixelCommand(
      Sender, F.MenuItem(QStringLiteral("MenuReglageCtrAuto")), miFiltre, 1,
      [S = *Shares](TBitmap& B, const TRect& R) {
        AutoContrast24(B, S, R);
        return true;
      },
      0, [&F](QObject* S) { AutoContrast(F, S); });
}

// The flip and rotate buttons run the Image menu's command on the
// background ("Fond"), else the Layer menu's on the current layer.
struct TTurnButton {
  const char* Button;
  const char* BackgroundItem;
  const char* LayerItem;
};
constexpr TTurnButton TurnButtons[] = {
    {"BtnSymVert", "MenuImageSymVerti1", "MenuCalqueSymVert"},
    {"BtnSymHorz", "MenuImageSymHoriz1", "MenuCalqueSymHoriz"},
    {"BtnRotation90a", "MenuImageRot270_1", "MenuCalque90a"},
    {"BtnRotation90h", "MenuImageRot90_1", "MenuCalque90h"},
};

} // namespace

void TMainForm::ConnectFilterCommands() {
  for (const TDirectFilter& D : DirectFilters) {
    QAction* Item = MenuItem(QString::fromLatin1(D.Item));
    Connect(D.Item, [this, Item, &D] { RunDirectFilter(*this, D, CommandSender(Item)); });
  }
  using THandler = void (*)(TMainForm&, QObject*);
  for (const auto& [Name, Handler] : {std::pair<const char*, THandler>{"MenuReglageEgalisation", AutoEqualize},
                                      std::pair<const char*, THandler>{"MenuReglageCtrAuto", AutoContrast}}) {
    QAction* Item = MenuItem(QString::fromLatin1(Name));
    Connect(Name, [this, Item, Handler] { Handler(*this, CommandSender(Item)); });
  }

  for (const TTurnButton& T : TurnButtons) {
    QAction* Button = ToolBar(3)->findChild<QAction*>(QString::fromLatin1(T.Button));
    // The button works once both commands it passes to are built, which the
    // window knows when every command is connected.
    QMetaObject::invokeMethod(
        this,
        [this, Button, &T] {
          const auto Built = [this](const char* Name) { return MenuItem(Name)->property("Built").toBool(); };
          Button->setProperty("Built", Built(T.BackgroundItem) && Built(T.LayerItem));
          UpdateToolButtonRules();
        },
        Qt::QueuedConnection);
    connect(Button, &QAction::triggered, this, [this, Button, &T] {
      if (!ActionPossible(Button) || !UneImage()) return;
      QAction* Item = MenuItem(QString::fromLatin1(Image().LayerIndex() == 0 ? T.BackgroundItem : T.LayerItem));
      if (Item && Item->isEnabled()) Item->trigger();
    });
  }
}
