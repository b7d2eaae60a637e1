#include "dialogs/ui/OverlayForm.h"

#include "dialogs/ui/DialogParts.h"
#include "dialogs/ui/ImageDialogHost.h"
#include "filters/ui/FilterHost.h"
#include "ui/SpecialEdit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

TOverlayForm::TOverlayForm(QWidget* Parent, TOverlayPicture::TKind Kind, const char* TitleItem, int UndoKind,
                           TOverlayFolder Folder)
    : TPipetteForm(Parent), Picture(Kind), Main(new QVBoxLayout(this)), FTitleItem(TitleItem), FUndoKind(UndoKind),
      FFolder(Folder) {
  DialogMode = TMainDialogMode::dmDialog;
}

TOverlayForm::~TOverlayForm() = default;

void TOverlayForm::BuildPictureGroup(const QString& Title, const char* EditName, bool WithNegatif) {
  const TPictureGroup G = MakePictureGroup(*this, Title, EditName, WithNegatif);
  GroupBox2 = G.Group;
  PictureEdit = G.Edit;
  Thumb = G.Thumb;
  Browse = G.Browse;
  Rotation = G.Rotation;
  Negatif = G.Negatif;
  Main->addWidget(GroupBox2);
  QMenu* Menu = Picture.MakeMenu(this, WithNegatif, [this] { PictureChanged(); });
  connect(Thumb, &QWidget::customContextMenuRequested, this,
          [this, Menu](const QPoint& At) { Menu->popup(Thumb->mapToGlobal(At)); });
  connect(Browse, &QToolButton::clicked, this, [this] { LoadPicture(QString(), false); });
  PictureEdit->OnClick = [this](QObject*) { LoadPicture(QString(), false); };
  connect(Rotation, &QToolButton::clicked, this, [this] {
    Picture.Turn(90);
    PictureChanged();
  });
  if (Negatif)
    connect(Negatif, &QToolButton::clicked, this, [this] {
      Picture.Invert();
      PictureChanged();
    });
}

void TOverlayForm::BuildButtons() {
  const TPreviewRow Live = AddPreviewRow(*this, *Main);
  CBPreview = Live.CBPreview;
  BApercu = Live.BApercu;
  const TOkCancel Buttons = AddOkCancel(*this, *Main);
  BOk = Buttons.BOk;
  BAnnuler = Buttons.BAnnuler;
  // An empty number field leaves nothing to preview; Ok warns about it.
  Previewer = std::make_unique<TOverlayPreview>(
      CBPreview, BApercu, [this] { return !Picture.Empty() && !HasEmptySpinEdit(); },
      [this](const TRect& R) { ApplyOverlay(R); });
  connect(CBPreview, &QCheckBox::clicked, this, [this] { Previewer->LiveClick(); });
  connect(BApercu, &QPushButton::clicked, this, [this] { Previewer->Run(); });
  connect(BOk, &QPushButton::clicked, this, [this] { BOkClick(); });
  MajBoutons();
}

void TOverlayForm::LoadPicture(const QString& Name, bool KeepTransform) {
  TFilterHost* Host = FilterHost();
  if (!Picture.Load(Name, Host ? Host->OverlayFolder(FFolder) : QString(), KeepTransform)) return;
  PictureEdit->SetText(Picture.FileName);
  MajBoutons();
  Picture.DrawThumbnail(Thumb);
  if (!Updating) Previewer->OptionChanged();
}

void TOverlayForm::ExplorePicture(const QString& NomFic) {
  FlagExplorer = true;
  LoadPicture(NomFic, false);
}

void TOverlayForm::AcceptIniControl(QWidget* Control, bool& Accept) {
  TMainDialogForm::AcceptIniControl(Control, Accept);
  if (Control == PictureEdit && FlagExplorer) Accept = false;
}

void TOverlayForm::PictureChanged() {
  Picture.DrawThumbnail(Thumb);
  Previewer->OptionChanged();
}

void TOverlayForm::Applied() {
  if (TImageDialogHost* Host = ActiveImageDialogHost()) {
    Host->MajMenus();
    Host->AfficherInfos();
  }
}

void TOverlayForm::FreePicture() {
  Picture.Free();
  Thumb->clear();
}

void TOverlayForm::MajBoutons() {
  const bool Any = !Picture.Empty();
  for (QWidget* W : {static_cast<QWidget*>(Rotation), static_cast<QWidget*>(Negatif),
                     static_cast<QWidget*>(CBPreview), static_cast<QWidget*>(BOk)})
    if (W) W->setEnabled(Any);
  if (BApercu) BApercu->setEnabled(Any && !CBPreview->isChecked());
}

void TOverlayForm::FormShow() { Previewer->Start(); }

void TOverlayForm::UpdateControls() {
  const bool WasUpdating = std::exchange(Updating, true);
  // The browser's picture stands instead of the stored one, for this opening.
  if (!std::exchange(FlagExplorer, false) && !PictureEdit->Text().isEmpty()) LoadPicture(PictureEdit->Text(), true);
  MajBoutons();
  Updating = WasUpdating;
  if (BOk && !BOk->isEnabled()) BAnnuler->setFocus();
  if (CBPreview->isEnabled() && CBPreview->isChecked()) Previewer->Run();
}

void TOverlayForm::BOkClick() {
  if (HasEmptySpinEdit()) {
    WarnEmptyFields();
    return;
  }
  CloseOk();
  Previewer->Finish();
  Applied();
  if (TFilterHost* Host = FilterHost(); Host && Host->UneImage())
    Host->DernierFiltre(Host->TitreMenu(QString::fromLatin1(FTitleItem)), this, [this](QObject*) { Repeat(); }, 0);
  FreePicture();
}

void TOverlayForm::FormHide() {
  // Ok frees the picture itself once it has applied it.
  if (DialogOk) return;
  Previewer->Cancel();
  FreePicture();
}

void TOverlayForm::Repeat() {
  TFilterHost* Host = FilterHost();
  if (!Host || !Host->UneImage()) return;
  Host->PreparerUndo(FUndoKind, Host->TitreMenu(QString::fromLatin1(FTitleItem)));
  Previewer->Start();
  const bool WasUpdating = std::exchange(Updating, true);
  LoadPicture(PictureEdit->Text(), true);
  Updating = WasUpdating;
  Previewer->Run();
  Applied();
  FreePicture();
}
