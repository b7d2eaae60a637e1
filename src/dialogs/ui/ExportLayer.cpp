#include "dialogs/ui/ExportLayer.h"

#include "dialogs/ui/DialogParts.h"
#include "dialogs/ui/EditDialogHost.h"
#include "dialogs/ui/ImageDialogHost.h"
#include "files/BmpFile.h"
#include "files/ColorDepth.h"
#include "files/GifImage.h"
#include "files/MyPngImage.h"
#include "files/ui/BmpOE2.h"
#include "i18n/Format.h"
#include "raster/Transparency.h"
#include "ui/MsgDlg.h"
#include "ui/RadioGroup.h"

#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

void ExportLayerFile(const QString& FileName, int Format, const TBitmap& B, const TBitmap* M) {
  const bool Alpha = M && !M->Empty();
  switch (Format) {
  case 1: {
    if (!Alpha) {
      SaveBitmapToBmpFile(FileName, B);
      break;
    }
    TBitmap B32;
    BitmapMaskToBitmap32(B, *M, B32, false);
    SaveBitmapToBmpFile(FileName, B32);
    break;
  }
  case 2: {
    TGIFImage Gif;
    if (Alpha) {
      BitmapMaskToGif(B, *M, Gif, true);
    } else {
      Gif.ColorReduction = rmQuantize;
      Gif.DitherMode = dmFloydSteinberg;
      Gif.Assign(B);
    }
    Gif.SaveToFile(FileName);
    break;
  }
  default: {
    TPngImage Png;
    if (Alpha)
      BitmapMaskToPng(B, *M, Png, false);
    else
      Png.AssignBitmap(B);
    Png.Filters = PngFilterNone;
    Png.SaveToFile(FileName);
    break;
  }
  }
}

void ExportLayerPng(const QString& FileName) {
  TImageDialogHost* Host = ActiveImageDialogHost();
  const TLayerItem* Layer = Host ? Host->Image().CurrentLayer() : nullptr;
  if (Layer) ExportLayerFile(FileName, 0, Layer->Bitmap(), &Layer->Mask());
}

QString ExportFileName(const QString& Caption, const QString& Ext) {
  QString Name = Caption;
  const qsizetype Dot = Name.lastIndexOf(u'.');
  if (Dot > Name.lastIndexOf(u'/')) Name.truncate(Dot);
  // A caption is a name, never a path.
  Name.replace(u'/', u'_');
  return Name + u'.' + Ext;
}

TExportLayerForm::TExportLayerForm(QWidget* Parent) : TMainDialogForm(Parent) {
  setObjectName(QStringLiteral("ExportLayerForm"));
  setWindowTitle(DialogTitle("MenuCalqueExporter", QStringLiteral("Exporter le calque")));
  DialogMode = TMainDialogMode::dmModal;
  auto* Main = new QVBoxLayout(this);
  RGFormat = new TRadioGroup(this);
  RGFormat->setObjectName(QStringLiteral("RGFormat"));
  RGFormat->setTitle(u' ' + TrText(TrId::GetTrLblOutputFormat, QStringLiteral("Format d'export")) + u' ');
  RGFormat->SetItems({QStringLiteral("PNG"), QStringLiteral("BMP"), QStringLiteral("GIF")});
  RGFormat->SetItemIndex(0);
  Main->addWidget(RGFormat);
  const TOkCancel Buttons = AddOkCancel(*this, *Main);
  BOk = Buttons.BOk;
  BOk->setText(TrText(TrId::GetTrBtnExport, QStringLiteral("Exporter")));
  BAnnuler = Buttons.BAnnuler;
  connect(BOk, &QPushButton::clicked, this, [this] { BOkClick(); });
}

void TExportLayerForm::BOkClick() {
  TImageDialogHost* Host = ActiveImageDialogHost();
  TEditDialogHost* Edit = EditDialogHost();
  const TLayerItem* Layer = Host ? Host->Image().CurrentLayer() : nullptr;
  if (!Layer || !Edit) return;
  const int Index = std::max(RGFormat->ItemIndex(), 0);
  const QString Item = RGFormat->Items().value(Index);
  const QString Name = SaveFileDialogExt(ExportFileName(Layer->DisplayCaption(), Item.left(3).toLower()), Item,
                                         Edit->EnregistrerDir(), windowTitle());
  if (Name.isEmpty()) return;
  NomFichier = Name;
  CloseOk();
  ExportLayer();
}

void TExportLayerForm::ExportLayer() {
  TImageDialogHost* Host = ActiveImageDialogHost();
  const TLayerItem* Layer = Host ? Host->Image().CurrentLayer() : nullptr;
  if (!Layer) return;
  QString Reason;
  Host->DebutAction(QString(), true);
  try {
    const int Format = std::max(RGFormat->ItemIndex(), 0);
    if (Format == 0)
      ExportLayerPng(NomFichier);
    else
      ExportLayerFile(NomFichier, Format, Layer->Bitmap(), &Layer->Mask());
  } catch (const std::exception& E) {
    Reason = QString::fromUtf8(E.what());
    if (Reason.isEmpty()) Reason = QStringLiteral("?");
  }
  Host->FinAction();
  if (!Reason.isEmpty())
    ShowMsgDlg(Format(Tr(TrId::GetOeMsgErrorSaving), {NomFichier}) + u'\n' + Reason, mdkError, {mdbOk});
}
