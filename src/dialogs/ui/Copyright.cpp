#include "dialogs/ui/Copyright.h"

#include "dialogs/ui/DialogParts.h"
#include "dialogs/ui/ImageResize.h"
#include "dialogs/ui/LayerDialogHost.h"
#include "document/Calque.h"
#include "document/Undo.h"
#include "platform/Canvas.h"
#include "raster/BmpMem24.h"
#include "raster/Bitmap24.h"
#include "raster/FoncUtils.h"
#include "ui/ColorEdit.h"
#include "ui/ControlTag.h"
#include "ui/DrawUtils.h"
#include "ui/SpinEdit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileInfo>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

QString ExpandCopyrightText(QString Text, const QString& FileName, int Width, int Height, const QDate& Date) {
  const QFileInfo File(FileName);
  const QString Name = FileName.isEmpty() ? QString() : File.completeBaseName();
  const QString NameExt = FileName.isEmpty() ? QString() : File.fileName();
  const std::pair<const char*, QString> Places[] = {
      {"<#n>", Name},
      {"<#ne>", NameExt},
      {"<#d>", QLocale::system().toString(Date, QLocale::ShortFormat)},
      {"<#w>", QString::number(Width)},
      {"<#h>", QString::number(Height)},
  };
  for (const auto& [Key, Value] : Places) Text.replace(QString::fromLatin1(Key), Value, Qt::CaseInsensitive);
  return Text;
}

TCopyrightForm::TCopyrightForm(QWidget* Parent) : TMainDialogForm(Parent) {
  setObjectName(QStringLiteral("CopyrightForm"));
  setWindowTitle(DialogTitle("MenuImageCopyright", QStringLiteral("Copyright")));
  DialogMode = TMainDialogMode::dmModal;
  auto* Main = new QVBoxLayout(this);
  auto* Font = new QFormLayout;
  CmbPolices = new QFontComboBox(this);
  CmbPolices->setObjectName(QStringLiteral("CmbPolices"));
  // Kept by its font name, not its place in the list.
  SetControlTag(CmbPolices, -771);
  Font->addRow(TrLabel(TrId::GetTrLblFont, QStringLiteral("Police :")), CmbPolices);
  SETxtSize = NewSpinEdit2(this, "SETxtSize", 6, 50, 12);
  auto* Sizes = new QMenu(SETxtSize);
  for (int Size : {8, 10, 12, 14, 18, 24, 30, 36, 48}) Sizes->addAction(QString::number(Size));
  SETxtSize->SetDropDownMenu(Sizes);
  SETxtSize->SetShowDropButton(true);
  Font->addRow(TrText(TrId::GetTrLblSize, QStringLiteral("Taille :")), SETxtSize);
  EdiTxtColor = new TColorEdit(this);
  EdiTxtColor->setObjectName(QStringLiteral("EdiTxtColor"));
  EdiTxtColor->SetColor(clWhite);
  Font->addRow(TrLabel(TrId::GetTrLblColor, QStringLiteral("Couleur :")), EdiTxtColor);
  Main->addLayout(Font);

  const auto Check = [this](const char* Name, TrId Id, const char* French, bool On) {
    auto* B = new QCheckBox(TrText(Id, QString::fromUtf8(French)), this);
    B->setObjectName(QString::fromLatin1(Name));
    B->setChecked(On);
    return B;
  };
  auto* Styles = new QHBoxLayout;
  CBGras = Check("CBGras", TrId::GetTrLblFontBold, "Gras", false);
  CBItalique = Check("CBItalique", TrId::GetTrLblFontItalic, "Italique", false);
  CBSouligne = Check("CBSouligne", TrId::GetTrLblFontUnderline, "Souligné", false);
  for (QWidget* W : {CBGras, CBItalique, CBSouligne}) Styles->addWidget(W);
  Main->addLayout(Styles);

  auto* Place = new QHBoxLayout;
  const auto Radio = [this](const char* Name, TrId Id, const char* French) {
    auto* B = new QRadioButton(TrText(Id, QString::fromUtf8(French)).remove(u'&'), this);
    B->setObjectName(QString::fromLatin1(Name));
    return B;
  };
  RBTop = Radio("RBTop", TrId::GetTrLblTop, "Haut");
  RBCenter = Radio("RBCenter", TrId::GetTrMnuWallpaperCenter, "Centrer");
  RBBottom = Radio("RBBottom", TrId::GetTrLblBottom, "Bas");
  RBBottom->setChecked(true);
  for (QWidget* W : {RBTop, RBCenter, RBBottom}) Place->addWidget(W);
  Place->addSpacing(12);
  Place->addWidget(new QLabel(TrLabel(TrId::GetTrLblAlignment, QStringLiteral("Alignement :")), this));
  auto* Align = new QButtonGroup(this);
  const auto Speed = [&](const char* Name, const QString& Glyph) {
    auto* B = new QToolButton(this);
    B->setObjectName(QString::fromLatin1(Name));
    B->setText(Glyph);
    B->setCheckable(true);
    Align->addButton(B);
    Place->addWidget(B);
    return B;
  };
  SBGauche = Speed("SBGauche", QStringLiteral("⇤"));
  SBCentre = Speed("SBCentre", QStringLiteral("↔"));
  SBDroite = Speed("SBDroite", QStringLiteral("⇥"));
  SBCentre->setChecked(true);
  Main->addLayout(Place);

  auto* Band = new QHBoxLayout;
  CBTxtFond = Check("CBTxtFond", TrId::GetTrLblBkg, "Fond", true);
  EdiTxtFondColor = new TColorEdit(this);
  EdiTxtFondColor->setObjectName(QStringLiteral("EdiTxtFondColor"));
  EdiTxtFondColor->SetColor(clBlack);
  CBTxtExt = Check("CBTxtExt", TrId::GetTrLblOutside, "Extérieur", true);
  LblOpacite = new QLabel(TrText(TrId::GetTrLblOpacity, QStringLiteral("Opacité :")), this);
  SEOpacite = NewSpinEdit2(this, "SEOpacite", 10, 100, 100);
  for (QWidget* W : {static_cast<QWidget*>(CBTxtFond), static_cast<QWidget*>(EdiTxtFondColor),
                     static_cast<QWidget*>(CBTxtExt), static_cast<QWidget*>(LblOpacite),
                     static_cast<QWidget*>(SEOpacite)})
    Band->addWidget(W);
  Main->addLayout(Band);

  PnlTxtFond = new QWidget(this);
  PnlTxtFond->setObjectName(QStringLiteral("_PnlTxtFond"));
  PnlTxtFond->setAutoFillBackground(true);
  auto* Preview = new QVBoxLayout(PnlTxtFond);
  PnlTxt = new QLabel(QStringLiteral("AbZ"), PnlTxtFond);
  Preview->addWidget(PnlTxt);
  Main->addWidget(PnlTxtFond);

  auto* Input = new QHBoxLayout;
  Input->addWidget(new QLabel(TrLabel(TrId::GetTrLblTextInput, QStringLiteral("Saisie :")), this));
  EdiCopyright = new QLineEdit(this);
  EdiCopyright->setObjectName(QStringLiteral("EdiCopyright"));
  Input->addWidget(EdiCopyright, 1);
  BtnMenu = new QToolButton(this);
  BtnMenu->setObjectName(QStringLiteral("_BtnMenu"));
  BtnMenu->setText(QStringLiteral("▾"));
  Input->addWidget(BtnMenu);
  Main->addLayout(Input);
  PopMenu = new QMenu(this);
  const QString Width = CleanMenuCaption(TrText(TrId::GetTrLblWidth, QStringLiteral("Largeur"))).remove(u':').trimmed();
  const QString Height = CleanMenuCaption(TrText(TrId::GetTrLblHeight, QStringLiteral("Hauteur"))).remove(u':').trimmed();
  const QString FileName = TrText(TrId::GetTrLblFileName, QStringLiteral("Nom du fichier"));
  const std::pair<QString, const char*> Items[] = {
      {QStringLiteral("Copyright"), "Copyright ©"},
      {FileName, "<#n>"},
      {TranslationLoaded() && !Tr(TrId::GetTrLblExtension).isEmpty()
           ? FileName + QStringLiteral(" + ") + Tr(TrId::GetTrLblExtension)
           : QStringLiteral("Nom fichier + Extension"),
       "<#ne>"},
      {QStringLiteral("Date"), "<#d>"},
      {Width + QStringLiteral(" x ") + Height, "<#w> x <#h>"},
      {Width, "<#w>"},
      {Height, "<#h>"},
  };
  for (const auto& [Caption, Inserted] : Items) {
    const QString Text = QString::fromUtf8(Inserted);
    connect(PopMenu->addAction(Caption), &QAction::triggered, this, [this, Text] { PopupClick(Text); });
  }

  const TOkCancel Buttons = AddOkCancel(*this, *Main);
  BOk = Buttons.BOk;
  BAnnuler = Buttons.BAnnuler;

  connect(BtnMenu, &QToolButton::clicked, this, [this] { PopMenu->popup(BtnMenu->mapToGlobal(QPoint(0, BtnMenu->height()))); });
  connect(CBTxtFond, &QCheckBox::clicked, this, [this] { CBTxtFondClick(); });
  connect(CBTxtExt, &QCheckBox::clicked, this, [this] { CBTxtExtClick(); });
  for (QRadioButton* B : {RBTop, RBCenter, RBBottom})
    connect(B, &QRadioButton::toggled, this, [this](bool On) {
      if (On) RBPosClick();
    });
  const auto Changed = [this] { MajApercuTxt(); };
  for (QCheckBox* B : {CBGras, CBItalique, CBSouligne}) connect(B, &QCheckBox::toggled, this, Changed);
  for (QToolButton* B : {SBGauche, SBCentre, SBDroite}) connect(B, &QToolButton::toggled, this, Changed);
  connect(CmbPolices, &QFontComboBox::currentFontChanged, this, Changed);
  SETxtSize->OnChange = [this](QObject*) { MajApercuTxt(); };
  EdiTxtColor->OnChange = [this](QObject*) { MajApercuTxt(); };
  EdiTxtFondColor->OnChange = [this](QObject*) { MajApercuTxt(); };
  connect(BOk, &QPushButton::clicked, this, [this] { BOkClick(); });
  UpdateControls();
}

void TCopyrightForm::AcceptIniControl(QWidget* Control, bool& Accept) {
  TMainDialogForm::AcceptIniControl(Control, Accept);
  // The alignment buttons are kept as their down state.
  if (Control == SBGauche || Control == SBCentre || Control == SBDroite) Accept = true;
}

void TCopyrightForm::UpdateControls() {
  if (CmbPolices->currentIndex() < 0) CmbPolices->setCurrentFont(QFont(QStringLiteral("Arial")));
  MajApercuTxt();
}

QString TCopyrightForm::Text() const { return EdiCopyright->text(); }

// ---- Enabling rules and preview ---------------------------------------------------------

void TCopyrightForm::CBTxtFondClick() {
  const bool On = CBTxtFond->isChecked();
  EdiTxtFondColor->setEnabled(On);
  CBTxtExt->setEnabled(On && !RBCenter->isChecked());
  if (!On) CBTxtExt->setChecked(false);
  MajApercuTxt();
}

void TCopyrightForm::CBTxtExtClick() {
  // A band outside the image always has a background, at full opacity.
  LblOpacite->setEnabled(!CBTxtExt->isChecked());
  SEOpacite->setEnabled(!CBTxtExt->isChecked());
  if (CBTxtExt->isChecked()) {
    CBTxtFond->setChecked(true);
    EdiTxtFondColor->setEnabled(true);
  }
}

void TCopyrightForm::RBPosClick() {
  // A band outside the image is never centred.
  CBTxtExt->setEnabled(!RBCenter->isChecked() && CBTxtFond->isChecked());
  if (RBCenter->isChecked()) CBTxtExt->setChecked(false);
  CBTxtExtClick();
}

TFont TCopyrightForm::StampFont() const {
  TFont F;
  F.Name = CmbPolices->currentFont().family();
  F.SetSize(SETxtSize->Value());
  F.Color = EdiTxtColor->Color();
  F.Style = (CBGras->isChecked() ? fsBold : 0) | (CBItalique->isChecked() ? fsItalic : 0) |
            (CBSouligne->isChecked() ? fsUnderline : 0);
  return F;
}

void TCopyrightForm::MajApercuTxt() {
  const TFont F = StampFont();
  QFont Font(F.Name);
  Font.setPointSize(F.Size());
  Font.setBold(F.Style & fsBold);
  Font.setItalic(F.Style & fsItalic);
  Font.setUnderline(F.Style & fsUnderline);
  PnlTxt->setFont(Font);
  QPalette Text = PnlTxt->palette();
  Text.setColor(QPalette::WindowText, isEnabled() ? ToQColor(F.Color) : palette().color(QPalette::Disabled, QPalette::Text));
  PnlTxt->setPalette(Text);
  QPalette Back = PnlTxtFond->palette();
  Back.setColor(QPalette::Window, CBTxtFond->isChecked() && isEnabled() ? ToQColor(EdiTxtFondColor->Color())
                                                                         : palette().color(QPalette::Window));
  PnlTxtFond->setPalette(Back);
  PnlTxt->setAlignment(SBCentre->isChecked()   ? Qt::AlignCenter
                       : SBDroite->isChecked() ? (Qt::AlignRight | Qt::AlignVCenter)
                                               : (Qt::AlignLeft | Qt::AlignVCenter));
  CBTxtExtClick();
  RBPosClick();
}

void TCopyrightForm::PopupClick(const QString& Inserted) {
  QString S = EdiCopyright->text();
  if (!S.isEmpty()) S += u' ';
  EdiCopyright->setText(S + Inserted);
  EdiCopyright->setFocus();
  EdiCopyright->setCursorPosition(int(EdiCopyright->text().size()));
}

// ---- Stamping --------------------------------------------------------------------------

void TCopyrightForm::Appliquer(TBitmap& Bmp, const QString& NomFic) {
  TCanvas Measure(&Bmp);
  Measure.Font = StampFont();
  const int H = Measure.TextHeight(QStringLiteral("M"));
  const bool Outside = CBTxtExt->isChecked();
  OffsetY = 0;
  if (Outside) {
    TBitmap Taller(Bmp.Width(), Bmp.Height() + H + 2, pf24bit, clBlack);
    CopyBitmap24(Bmp, Taller, 0, RBBottom->isChecked() ? 0 : H + 2);
    Bmp.Assign(Taller);
    if (RBTop->isChecked()) OffsetY = H + 2;
  }
  TRect R{0, 0, Bmp.Width(), Bmp.Height()};
  if (RBTop->isChecked()) {
    R.Bottom = R.Top + H + 2;
  } else if (RBBottom->isChecked()) {
    R.Top = R.Bottom - H - 2;
  } else {
    R.Top = (R.Bottom - H) / 2;
    R.Bottom = R.Top + H;
  }
  TBmp24 Saved;
  const bool Faded = SEOpacite->isEnabled() && SEOpacite->Value() < 100 && Saved.Assign(&Bmp, R);
  TCanvas Canvas(&Bmp);
  Canvas.Font = StampFont();
  if (CBTxtFond->isChecked()) {
    Canvas.Brush.Color = EdiTxtFondColor->Color();
    Canvas.Brush.Style = TBrushStyle::bsSolid;
    Canvas.FillRect(R);
  }
  const TRect T{R.Left + 2, R.Top, R.Right - 2, R.Bottom};
  const QString S = ExpandCopyrightText(Text(), NomFic, Bmp.Width(), Bmp.Height(), QDate::currentDate());
  const int W = Canvas.TextWidth(S);
  const int X = SBCentre->isChecked() ? T.Left + (T.Width() - W) / 2 : SBDroite->isChecked() ? T.Right - W : T.Left;
  Canvas.Brush.Style = TBrushStyle::bsClear;
  Canvas.SetClipRect(T);
  Canvas.TextOut(X, T.Top + (T.Height() - Canvas.TextHeight(S)) / 2, S);
  // Text and band keep the opacity's share over the former pixels.
  if (Faded) Saved.AlphaBlend(Bmp, R, 100 - SEOpacite->Value());
}

// ---- The command -------------------------------------------------------------------------

void TCopyrightForm::BOkClick() {
  if (SETxtSize->text().isEmpty() || SEOpacite->text().isEmpty() || EdiCopyright->text().isEmpty()) {
    WarnEmptyFields();
    return;
  }
  CloseOk();
  RunCommand();
}

void TCopyrightForm::RunCommand() {
  TLayerDialogHost* Host = ActiveLayerDialogHost();
  if (!Host) return;
  TImageDialogHost& Base = *ActiveImageDialogHost();
  const QString Title = Base.TitreMenu(QStringLiteral("MenuImageCopyright"));
  TActionScope Action(Base);
  Base.PreparerUndo(UndoKindBkgAll, Title);
  Appliquer(Base.LeFond(), Host->NomFichier());
  if (OffsetY > 0) {
    if (TUndoItem* Record = Base.CurrentUndo()) Record->SetFlag(6, OffsetY);
    OffsetAllLayers(Base.LayerNav(), 0, OffsetY, true);
  }
  if (CBTxtExt->isChecked())
    Base.TailleChangee();
  else
    Base.RefreshBitmap();
  Host->DernierFiltre(Title, this, [this](QObject*) { RunCommand(); });
}

// ---- As a panel of the batch dialog ------------------------------------------------------

void TCopyrightForm::SetAsPanel(QWidget* ParentControl, int X, int Y) {
  MakeDialogPanel(*this, ParentControl, X, Y, {BOk, BAnnuler});
  BOk = BAnnuler = nullptr;
}

void TCopyrightForm::SaveToIni(const QString& FileName) { SavePanelValues(*this, FileName); }
void TCopyrightForm::LoadFromIni(const QString& FileName) { LoadPanelValues(*this, FileName); }
