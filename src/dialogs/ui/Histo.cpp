#include "dialogs/ui/Histo.h"

#include "dialogs/ui/DialogParts.h"
#include "dialogs/ui/EditDialogHost.h"
#include "dialogs/ui/ImageDialogHost.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace {

// Row 0 in bold, the present state's row bold and underlined, 2 pixels in
// from the row's left, 1 down from its top.
class THistoDelegate : public QStyledItemDelegate {
public:
  THistoDelegate(THistoForm& Form) : QStyledItemDelegate(&Form), F(Form) {}
  void paint(QPainter* Painter, const QStyleOptionViewItem& Option, const QModelIndex& Index) const override {
    const bool Selected = Option.state & QStyle::State_Selected;
    const QPalette& P = Option.palette;
    Painter->fillRect(Option.rect, Selected ? P.highlight() : P.base());
    QFont Font = Option.font;
    Font.setBold(Index.row() == 0 || Index.row() == F.FUndoIndex);
    Font.setUnderline(Index.row() == F.FUndoIndex);
    Painter->setFont(Font);
    Painter->setPen(Selected ? P.highlightedText().color() : P.text().color());
    Painter->drawText(Option.rect.adjusted(2, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop, Index.data().toString());
  }
  QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override {
    return {QStyledItemDelegate::sizeHint(Option, Index).width(), Option.fontMetrics.height() + 6};
  }

private:
  THistoForm& F;
};

} // namespace

THistoForm::THistoForm(QWidget* Parent) : TMainDialogForm(Parent) {
  setObjectName(QStringLiteral("HistoForm"));
  setWindowTitle(DialogTitle("MenuEditionHistoriques", QStringLiteral("Historiques")));
  DialogMode = TMainDialogMode::dmDialog;
  IniOptions = ioPosition;
  FAucun = u'<' + TrText(TrId::GetTrLblNone, QStringLiteral("Aucun")) + u'>';
  auto* Main = new QVBoxLayout(this);
  List = new QListWidget(this);
  List->setObjectName(QStringLiteral("List"));
  List->setItemDelegate(new THistoDelegate(*this));
  Main->addWidget(List, 1);
  auto* Row = new QHBoxLayout;
  BUndoRedo = new QPushButton(TrText(TrId::GetTrMnuUndo, QStringLiteral("Défaire")), this);
  BUndoRedo->setObjectName(QStringLiteral("BUndoRedo"));
  BCopy = new QPushButton(TrText(TrId::GetTrMnuCopy, QStringLiteral("Copier")), this);
  BCopy->setObjectName(QStringLiteral("BCopy"));
  BOk = new QPushButton(QStringLiteral("Ok"), this);
  BOk->setObjectName(QStringLiteral("BOk"));
  Row->addWidget(BUndoRedo);
  Row->addWidget(BCopy);
  Row->addStretch(1);
  Row->addWidget(BOk);
  Main->addLayout(Row);
  // Enter and Esc both close the list.
  OkButton = BOk;
  CancelButton = BOk;
  connect(List, &QListWidget::currentRowChanged, this, [this] { ListClick(); });
  connect(BUndoRedo, &QPushButton::clicked, this, [this] { BUndoRedoClick(); });
  connect(BCopy, &QPushButton::clicked, this, [this] { BCopyClick(); });
  connect(BOk, &QPushButton::clicked, this, [this] { close(); });
}

void THistoForm::FormShow() {
  TEditDialogHost* Edit = EditDialogHost();
  List->clear();
  List->addItem(FAucun);
  FUndoIndex = 0;
  if (Edit && ActiveImageDialogHost()) {
    const TUndoList& Undo = Edit->ListeUndo();
    // One caption per line, each line ended by a break.
    QStringList Lines = Undo.ActionList().split(u'\n');
    if (!Lines.isEmpty() && Lines.back().isEmpty()) Lines.removeLast();
    List->addItems(Lines);
    FUndoIndex = Undo.ItemIndex() + 1;
  }
  List->setCurrentRow(FUndoIndex);
  ListClick();
}

void THistoForm::ListClick() {
  const int T = List->currentRow();
  BUndoRedo->setText(T > FUndoIndex ? TrText(TrId::GetTrMnuRedo, QStringLiteral("Refaire"))
                                    : TrText(TrId::GetTrMnuUndo, QStringLiteral("Défaire")));
  BUndoRedo->setEnabled(T >= 0 && T != FUndoIndex);
}

void THistoForm::BUndoRedoClick() {
  TImageDialogHost* Host = ActiveImageDialogHost();
  if (!Host) return;
  Host->DebutAction(QString(), true);
  JumpToSelected();
  Host->FinAction();
}

void THistoForm::JumpToSelected() {
  TImageDialogHost* Host = ActiveImageDialogHost();
  TEditDialogHost* Edit = EditDialogHost();
  const int T = List->currentRow();
  if (!Host || !Edit || T < 0 || T == FUndoIndex) return;
  const int Steps = std::abs(T - FUndoIndex);
  // A long jump redraws the layers panel once, at its end.
  const bool Suspend = Steps > Host->Image().Layers().Count();
  if (Suspend) Edit->SetDisableThumbUpdate(true);
  for (int I = 0; I < Steps; ++I) T > FUndoIndex ? Edit->Redo() : Edit->Undo();
  if (Suspend) Edit->SetDisableThumbUpdate(false);
  FUndoIndex = T;
  List->viewport()->update();
  ListClick();
}

void THistoForm::BCopyClick() {
  QStringList Rows;
  for (int I = 0; I < List->count(); ++I) Rows << List->item(I)->text();
  QGuiApplication::clipboard()->setText(Rows.join(u'\n') + u'\n');
}
