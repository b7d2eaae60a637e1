#include "filters/ui/CurveDialogs.h"

#include "files/ui/BmpOE2.h"
#include "filters/ui/FilterHost.h"
#include "ui/ToolbarImages.h"

#include <QButtonGroup>
#include <QFileInfo>
#include <QPixmap>
#include <QToolButton>

#include <algorithm>

namespace {

// The program's cursors for dragging, adding and deleting vertices.
constexpr int DragCursorIndex = 13;
constexpr int AddCursorIndex = 23;
constexpr int DelCursorIndex = 24;

// Vertices keep this many pixels from their neighbours.
constexpr int MinVertexGap = 12;

} // namespace

QString CurveCaption(TrId Id, const char16_t* French) {
  const QString T = Tr(Id);
  return T.isEmpty() ? QString::fromUtf16(French) : T;
}

void PrepareCurvePath(TPathOverlay& Path) {
  Path.DragCursor = DragCursorIndex;
  Path.AddCursor = AddCursorIndex;
  Path.DelCursor = DelCursorIndex;
  Path.SetBezierMode(true);
  Path.SetClosed(false);
}

bool CurveVertexRule(const TPathOverlay& Path, TPathChangeInfo Info, int Index, int& X, int& Y, int Data,
                     bool Horizontal, int MinVertices, int MaxVertices, bool EndsFixed) {
  const int N = Path.PointsCount();
  const auto At = [&](int I) { return Horizontal ? Path.AnchorPoint(I).X : Path.AnchorPoint(I).Y; };
  const bool Inner = Index > 0 && Index < N - 1;
  switch (Info) {
  case piAdd:
  case piAltern:
  case piReset:
    return false;
  case piInsert: {
    // Insertions come in client pixels.
    const TPoint P = Path.ClientToBmp(TPoint{X, Y});
    const int Pos = Horizontal ? P.X : P.Y;
    return N < MaxVertices && Index > 0 && Index < N && Pos >= At(Index - 1) + MinVertexGap &&
           Pos <= At(Index) - MinVertexGap;
  }
  case piDelete:
    return N > MinVertices && Inner;
  case piSelect:
    return !EndsFixed || Inner;
  case piMove:
    if (Data == 0) {
      int& Pos = Horizontal ? X : Y;
      if (Index > 0) Pos = std::max(Pos, At(Index - 1) + MinVertexGap);
      if (Index < N - 1) Pos = std::min(Pos, At(Index + 1) - MinVertexGap);
    }
    return true;
  default:
    return true;
  }
}

int TCurveButtons::Create(QWidget* Parent, int Left, int Top, int Side, int Gap,
                          const std::function<QString(const QString& ItemName)>& MenuTitle,
                          const std::function<void(QToolButton*)>& Click) {
  const auto Hint = [&](const char* Item, const char16_t* French) {
    const QString T = MenuTitle(QString::fromLatin1(Item));
    return T.isEmpty() ? QString::fromUtf16(French) : T;
  };
  int Count = 0;
  const auto New = [&](const QString& Text, TGlyph Glyph, bool Checkable) {
    auto* B = new QToolButton(Parent);
    B->setToolTip(Text);
    B->setIcon(QIcon(QPixmap::fromImage(GlyphImage(Glyph, std::max(Side - 6, 8)))));
    B->setIconSize(QSize(std::max(Side - 6, 8), std::max(Side - 6, 8)));
    B->setCheckable(Checkable);
    B->setGeometry(Left + Count % 3 * (Side + Gap), Top + Count / 3 * (Side + Gap), Side, Side);
    ++Count;
    QObject::connect(B, &QToolButton::clicked, Parent, [Click, B] { Click(B); });
    return B;
  };
  SBMove = New(QStringLiteral("Modifier"), TGlyph::PathMove, true);
  SBAdd = New(QStringLiteral("Ajouter"), TGlyph::PathAdd, true);
  SBDel = New(QStringLiteral("Supprimer"), TGlyph::PathDelete, true);
  SBBezier = New(Hint("MenuFiltreLisser", u"Lisser"), TGlyph::PathBezier, true);
  SBLine = New(Hint("MenuFiltrePlusNet", u"Plus net"), TGlyph::PathLine, true);
  SBReset = New(CurveCaption(TrId::GetTrBtnReset, u"Réinitialiser"), TGlyph::PathReset, false);
  SBOpen = New(Hint("MenuFichierOuvrir", u"Ouvrir"), TGlyph::Open, false);
  SBSave = New(Hint("MenuFichierEnregistrerSous", u"Enregistrer sous"), TGlyph::Save, false);
  for (const auto& Group : {std::initializer_list<QToolButton*>{SBMove, SBAdd, SBDel}, {SBBezier, SBLine}}) {
    auto* G = new QButtonGroup(Parent);
    for (QToolButton* B : Group) G->addButton(B);
  }
  SBMove->setChecked(true);
  SBBezier->setChecked(true);
  return SBSave->y() + Side;
}

void TCurveButtons::Follow(const TPathOverlay& Path) const {
  const TPathMode Mode = Path.PathMode();
  (Mode == pmAdd ? SBAdd : (Mode == pmDelete ? SBDel : SBMove))->setChecked(true);
  (Path.BezierMode() ? SBBezier : SBLine)->setChecked(true);
}

bool TCurveButtons::SetMode(TPathOverlay& Path, QToolButton* Button) const {
  if (Button != SBAdd && Button != SBDel && Button != SBMove) return false;
  Path.SetPathMode(Button == SBAdd ? pmAdd : (Button == SBDel ? pmDelete : pmEdit));
  return true;
}

QString CurveDialogTitle(const QString& Caption, const QString& FileName, bool Changed) {
  if (FileName.isEmpty()) return Caption;
  return Caption + QStringLiteral(" - ") + QFileInfo(FileName).completeBaseName() +
         (Changed ? QStringLiteral("(*)") : QString());
}

QString AskCurveFile(bool Save, const QString& Extension, const QString& Caption) {
  const QString Type = Caption + QStringLiteral(" (*") + Extension + QLatin1Char(')');
  const TFilterHost* Host = FilterHost();
  const QString Folder = Host ? Host->DataDir() : QString();
  return Save ? SaveFileDialogExt(Extension, Type, Folder, Caption)
              : OpenFileDialogExt(Extension, Type, Folder, Caption);
}
