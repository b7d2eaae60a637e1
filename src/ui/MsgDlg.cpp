#include "ui/MsgDlg.h"

#include "i18n/LibLang.h"
#include "ui/DlgColors.h"
#include "ui/DlgEx.h"
#include "ui/DrawUtils.h"
#include "ui/MyBevel.h"
#include "ui/UtilsDPI.h"
#include "ui/VisualStyles.h"
#include "ui/WinVersion.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include <algorithm>
#include <memory>

namespace {

TMsgDlgNotify BeforeShow;
TMsgDlgNotify AfterShow;
TMsgDlgAnswerProvider Provider;

// Message texts break lines with one carriage return; the label breaks on
// line feeds.
QString DisplayText(const QString& Msg) {
  QString Text = Msg;
  Text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  Text.replace(u'\r', u'\n');
  return Text;
}

// The accelerator letter of a caption ("&Oui" gives O), or a null QChar.
QChar AcceleratorOf(const QString& Caption) {
  for (qsizetype I = 0; I + 1 < Caption.size(); ++I)
    if (Caption[I] == u'&') {
      if (Caption[I + 1] != u'&') return Caption[I + 1].toUpper();
      ++I;
    }
  return QChar();
}

QIcon KindIcon(TMsgDlgKind Kind, const QStyle* Style) {
  switch (Kind) {
  case mdkWarning:
    return Style->standardIcon(QStyle::SP_MessageBoxWarning);
  case mdkError:
    return Style->standardIcon(QStyle::SP_MessageBoxCritical);
  case mdkInformation:
    return Style->standardIcon(QStyle::SP_MessageBoxInformation);
  case mdkConfirmation:
    return Style->standardIcon(QStyle::SP_MessageBoxQuestion);
  case mdkCustom:
    break;
  }
  const QIcon App = QApplication::windowIcon();
  return App.isNull() ? Style->standardIcon(QStyle::SP_DesktopIcon) : App;
}

// Calls running now (a handler inside the modal loop may start another).
int Running = 0;

class TRunningScope {
public:
  TRunningScope() { ++Running; }
  ~TRunningScope() { --Running; }
  TRunningScope(const TRunningScope&) = delete;
  TRunningScope& operator=(const TRunningScope&) = delete;
};

TMsgDlgAnswer RunDialog(const TMsgDlgRequest& Request, const QString& Caption) {
  if (Provider) {
    TRunningScope Scope;
    return Provider(Request);
  }
  QWidget* Owner = QApplication::activeWindow();
  if (!Owner) Owner = MainFormWindow();
  TRunningScope Scope;
  auto Form = std::make_unique<TMsgDlgForm>(Owner);
  Form->Prepare(Request.Msg, Request.Kind, Request.Buttons, Caption, Request.Input, Request.Text);
  if (BeforeShow) BeforeShow(Form.get());
  TMsgDlgAnswer Answer;
  Answer.Result = Form->exec();
  Answer.Text = Form->EdiInput->text();
  if (AfterShow) AfterShow(Form.get());
  return Answer;
}

} // namespace

TMsgDlgForm::TMsgDlgForm(QWidget* Parent) : QDialog(Parent) {
  setObjectName(QStringLiteral("MsgDlgForm"));
  setWindowTitle(QGuiApplication::applicationDisplayName());
  setSizeGripEnabled(false);

  QFont Font = font();
  if (IsSystemStyle()) {
    // The form's own font: the dialog face at its size.
    Font.setFamily(QStringLiteral("Segoe UI"));
    Font.setPixelSize(PointsToPixels(9, 3));
  } else {
    QPalette Palette = palette();
    Palette.setColor(QPalette::Window, ToQColor(clDlgWindow));
    Palette.setColor(QPalette::WindowText, ToQColor(clDlgText));
    setPalette(Palette);
    ApplyDialogFont(Font, 3);
  }
  setFont(Font);
  setAutoFillBackground(true);

  auto S = [](int V) { return ScaleByDPI(V); };

  ResIcon = new QLabel(this);
  ResIcon->setObjectName(QStringLiteral("ResIcon"));
  ResIcon->setAlignment(Qt::AlignCenter);
  ResIcon->setGeometry(S(16), S(56), ScaleByDPI(32), ScaleByDPI(32));

  LblMsg = new QLabel(this);
  LblMsg->setObjectName(QStringLiteral("LblMsg"));
  LblMsg->setTextFormat(Qt::PlainText);
  LblMsg->move(S(60), S(56));

  EdiInput = new QLineEdit(this);
  EdiInput->setObjectName(QStringLiteral("EdiInput"));
  EdiInput->setGeometry(S(64), S(78), S(233), EdiInput->sizeHint().height());
  EdiInput->hide();

  LblCaption = new QLabel(this);
  LblCaption->setObjectName(QStringLiteral("LblCaption"));
  LblCaption->setTextFormat(Qt::PlainText);
  LblCaption->move(S(16), S(20));

  PnlButtons = new QWidget(this);
  PnlButtons->setObjectName(QStringLiteral("PnlButtons"));

  ButtonsSep = new TMyBevel(PnlButtons);
  ButtonsSep->setObjectName(QStringLiteral("ButtonsSep"));
  ButtonsSep->SetStyle(TMyBevelStyle::bsSeparator);
  ButtonsSep->resize(S(354), S(2));

  const int Lefts[4] = {24, 104, 184, 264};
  QPushButton** Buttons[4] = {&BtnYes, &BtnNo, &BtnOk, &BtnCancel};
  const char* Names[4] = {"BtnYes", "BtnNo", "BtnOk", "BtnCancel"};
  const TrId Captions[4] = {TrId::GetDlgYes, TrId::GetDlgNo, TrId::GetDlgOk, TrId::GetDlgCancel};
  const int Results[4] = {mrYes, mrNo, mrOk, mrCancel};
  for (int I = 0; I < 4; ++I) {
    QPushButton* B = new QPushButton(Tr(Captions[I]), PnlButtons);
    B->setObjectName(QString::fromLatin1(Names[I]));
    B->setGeometry(S(Lefts[I]), S(13), S(75), S(25));
    const int Result = Results[I];
    connect(B, &QPushButton::clicked, this, [this, Result] { done(Result); });
    *Buttons[I] = B;
  }

  CaptionSep = new TMyBevel(this);
  CaptionSep->setObjectName(QStringLiteral("CaptionSep"));
  CaptionSep->SetStyle(TMyBevelStyle::bsFill);
  CaptionSep->SetColor(clBlack);
  CaptionSep->setGeometry(S(16), S(36), S(50), S(2));

  if (IsWinVista) {
    // A one-pixel title rule fading from the text colour into the window, and
    // a one-pixel line in the frame colour over the button band.
    CaptionSep->resize(CaptionSep->width(), 1);
    CaptionSep->SetParentColor(true);
    CaptionSep->SetDrawColor(clDlgText);
    CaptionSep->SetStyle(TMyBevelStyle::bsGradient);
    ButtonsSep->resize(ButtonsSep->width(), 1);
    ButtonsSep->SetStyle(TMyBevelStyle::bsLine);
    ButtonsSep->SetDrawColor(clDlgBorder);
  }

  BtnWidth = BtnYes->width();
  BtnSpace = BtnNo->x() - BtnYes->x() - BtnWidth;

  for (QPushButton* B : {BtnYes, BtnNo, BtnOk, BtnCancel}) B->move(B->x(), ButtonsSep->height() + 16);
  PnlButtons->resize(S(354), BtnYes->height() - ButtonsSep->height() + 32);
}

QPushButton* TMsgDlgForm::Button(TMsgDlgButton B) const {
  switch (B) {
  case mdbYes:
    return BtnYes;
  case mdbNo:
    return BtnNo;
  case mdbOk:
    return BtnOk;
  case mdbCancel:
    return BtnCancel;
  }
  return nullptr;
}

QPushButton* TMsgDlgForm::DefaultButton() const {
  if (!BtnOk->isHidden()) return BtnOk;
  if (!BtnYes->isHidden()) return BtnYes;
  return nullptr;
}

QPushButton* TMsgDlgForm::CancelButton() const {
  if (!BtnCancel->isHidden()) return BtnCancel;
  if (!BtnNo->isHidden()) return BtnNo;
  return nullptr;
}

void TMsgDlgForm::Prepare(const QString& Msg, TMsgDlgKind Kind, TMsgDlgButtons Buttons, const QString& Caption,
                          bool Input, const QString& Text) {
  Flag = Input ? 1 : 0;
  EdiInput->setVisible(Input);
  EdiInput->setText(Input ? Text : QString());

  // Title line: two points larger than the dialog font.
  QFont TitleFont = font();
  const int TitlePoints = (IsSystemStyle() ? 9 : DialogFontSize()) + 2;
  if (IsWinVista)
    TitleFont.setPixelSize(PointsToPixels(TitlePoints, 3));
  else
    TitleFont.setBold(true);
  LblCaption->setFont(TitleFont);
  if (IsWinVista && IsSystemStyle()) {
    QPalette Palette = LblCaption->palette();
    Palette.setColor(QPalette::WindowText, ToQColor(0xDE3C12));
    LblCaption->setPalette(Palette);
  }
  LblCaption->setText(MsgDlgTitle(Kind, Caption, Input));
  LblCaption->adjustSize();

  LblMsg->setText(DisplayText(Msg));
  LblMsg->adjustSize();
  // An empty message still takes one line.
  LblMsg->resize(LblMsg->width(), std::max(LblMsg->height(), LblMsg->fontMetrics().height()));

  int W = LblMsg->x() + LblMsg->width() + ResIcon->x();
  W = std::max({W, 4 * BtnWidth, 377});
  if (Input) EdiInput->resize(W - EdiInput->x() - ResIcon->x(), EdiInput->height());

  const int B = LblMsg->y() + LblMsg->height();
  int H = B + LblCaption->y();
  if (Input) {
    EdiInput->move(EdiInput->x(), B + BtnSpace);
    H += BtnSpace + EdiInput->height();
  }
  H = std::max(H, LblCaption->y() + ResIcon->y() + ResIcon->height());
  setFixedSize(W, H + PnlButtons->height());

  PnlButtons->setGeometry(0, height() - PnlButtons->height(), W, PnlButtons->height());
  ButtonsSep->resize(W, ButtonsSep->height());
  CaptionSep->setGeometry(CaptionSep->x(), LblCaption->y() + LblCaption->height() + ScaleByDPI(3),
                          W - 2 * CaptionSep->x(), CaptionSep->height());

  const QIcon Icon = KindIcon(Input ? mdkConfirmation : Kind, style());
  ResIcon->setPixmap(Icon.pixmap(ResIcon->size()));

  int Visible = 0;
  for (TMsgDlgButton Id : {mdbYes, mdbNo, mdbOk, mdbCancel}) {
    Button(Id)->setVisible(Buttons.Contains(Id));
    Visible += Buttons.Contains(Id) ? 1 : 0;
  }
  const int Total = Visible * BtnWidth + (Visible - 1) * BtnSpace;
  const int X0 = W - Total - 15;
  int K = 0;
  for (TMsgDlgButton Id : {mdbYes, mdbNo, mdbOk, mdbCancel}) {
    QPushButton* Btn = Button(Id);
    Btn->setDefault(false);
    if (!Buttons.Contains(Id)) continue;
    Btn->move(X0 + K * (BtnWidth + BtnSpace), Btn->y());
    ++K;
  }
  if (QPushButton* Default = DefaultButton()) Default->setDefault(true);

  if (QWidget* Main = MainFormWindow(); Main && Main->isVisible())
    move(Main->frameGeometry().center() - QPoint(width() / 2, height() / 2));
}

void TMsgDlgForm::showEvent(QShowEvent* Event) {
  QDialog::showEvent(Event);
  if (Flag == 1) {
    EdiInput->setFocus(Qt::OtherFocusReason);
    EdiInput->selectAll();
  } else if (QPushButton* Default = DefaultButton()) {
    Default->setFocus(Qt::OtherFocusReason);
  }
}

void TMsgDlgForm::reject() { done(mrCancel); }

void TMsgDlgForm::keyPressEvent(QKeyEvent* Event) {
  const int Key = Event->key();
  const bool Enter = Key == Qt::Key_Return || Key == Qt::Key_Enter;
  if (Flag == 1) {
    if (Enter) return done(mrOk);
    if (Key == Qt::Key_Escape) return done(mrCancel);
    return QDialog::keyPressEvent(Event);
  }
  if (Key == Qt::Key_Escape) {
    // Esc answers the cancel button; without one (a lone Ok) it does nothing.
    if (QPushButton* Cancel = CancelButton()) Cancel->click();
    return;
  }
  if (!Enter) {
    const QChar Yes = AcceleratorOf(BtnYes->text());
    const QChar No = AcceleratorOf(BtnNo->text());
    if (!Yes.isNull() && Key == Yes.unicode() && !BtnYes->isHidden()) return done(mrYes);
    if (!No.isNull() && Key == No.unicode() && !BtnNo->isHidden()) return done(mrNo);
  }
  QDialog::keyPressEvent(Event);
}

QString MsgDlgTitle(TMsgDlgKind Kind, const QString& Caption, bool Input) {
  if (!Caption.isEmpty()) return Caption;
  if (Input) return Tr(TrId::GetDlgInput);
  switch (Kind) {
  case mdkWarning:
    return Tr(TrId::GetDlgWarning);
  case mdkError:
    return Tr(TrId::GetDlgError);
  case mdkInformation:
    return Tr(TrId::GetDlgInformation);
  case mdkConfirmation:
    return Tr(TrId::GetDlgConfirmation);
  case mdkCustom:
    break;
  }
  return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

int ShowMsgDlg(const QString& Msg, TMsgDlgKind Kind, TMsgDlgButtons Buttons, const QString& Caption) {
  TMsgDlgRequest Request;
  Request.Msg = Msg;
  Request.Kind = Kind;
  Request.Buttons = Buttons;
  Request.Title = MsgDlgTitle(Kind, Caption, false);
  return RunDialog(Request, Caption).Result;
}

bool InputMsgDlg(const QString& Caption, const QString& Prompt, QString& Text) {
  TMsgDlgRequest Request;
  Request.Msg = Prompt;
  Request.Kind = mdkConfirmation;
  Request.Buttons = {mdbOk, mdbCancel};
  Request.Title = MsgDlgTitle(mdkConfirmation, Caption, true);
  Request.Input = true;
  Request.Text = Text;
  const TMsgDlgAnswer Answer = RunDialog(Request, Caption);
  if (Answer.Result != mrOk) return false;
  Text = Answer.Text;
  return true;
}

QString InputMsgBox(const QString& Caption, const QString& Prompt, const QString& Default) {
  QString Text = Default;
  return InputMsgDlg(Caption, Prompt, Text) ? Text : Default;
}

bool IsMsgDlgShowing() { return Running > 0; }

void SetMsgDlgBeforeShow(TMsgDlgNotify Notify) { BeforeShow = std::move(Notify); }

void SetMsgDlgAfterShow(TMsgDlgNotify Notify) { AfterShow = std::move(Notify); }

void SetMsgDlgAnswerProvider(TMsgDlgAnswerProvider Value) { Provider = std::move(Value); }

TScopedMsgDlgAnswers::TScopedMsgDlgAnswers(TMsgDlgAnswerProvider Value) : FPrevious(std::move(Provider)) {
  Provider = std::move(Value);
}

TScopedMsgDlgAnswers::~TScopedMsgDlgAnswers() { Provider = std::move(FPrevious); }
