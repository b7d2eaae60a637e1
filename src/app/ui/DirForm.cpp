#include "app/ui/DirForm.h"

#include "files/ui/BrowseForFolder.h"
#include "i18n/LibLang.h"
#include "platform/IniFile.h"
#include "ui/DlgColors.h"
#include "ui/GlyphButtons.h"
#include "ui/MyBevel.h"
#include "ui/SimplePanel.h"
#include "ui/SpecialEdit.h"
#include "ui/ToolbarImages.h"
#include "ui/UtilsDPI.h"
#include "ui/WinVersion.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

namespace {

const QString ParamsSection = QStringLiteral("Params");
const QString CopyToKey = QStringLiteral("CopyTo");
// What the settings reader answers for a key that is absent.
const QString AbsentValue = QStringLiteral("ERR");

} // namespace

TDirForm::TDirForm(QWidget* Parent) : TDialogFormEx(Parent) {
  setObjectName(QStringLiteral("DirForm"));
  setWindowTitle(QGuiApplication::applicationDisplayName());
  const auto S = [](int V) { return ScaleByDPI(V); };
  setFixedSize(S(358), S(156));

  LblCaption = new QLabel(this);
  LblCaption->setObjectName(QStringLiteral("LblCaption"));
  LblCaption->setTextFormat(Qt::PlainText);
  LblCaption->setGeometry(S(16), S(12), S(326), S(18));
  QFont Bold = LblCaption->font();
  Bold.setBold(true);
  LblCaption->setFont(Bold);

  CaptionSep = new TMyBevel(this);
  CaptionSep->setObjectName(QStringLiteral("CaptionSep"));
  CaptionSep->SetStyle(TMyBevelStyle::bsFill);
  CaptionSep->setGeometry(S(16), S(30), width() - 2 * S(16), S(2));
  if (IsWinVista) {
    // A one-pixel blue rule over the window's colour.
    CaptionSep->SetStyle(TMyBevelStyle::bsGradient);
    CaptionSep->SetDrawColor(0xDE3C12);
    CaptionSep->SetParentColor(true);
    CaptionSep->setGeometry(CaptionSep->x(), CaptionSep->y() + 3, CaptionSep->width(), 1);
  }

  ResIcon = new QLabel(this);
  ResIcon->setObjectName(QStringLiteral("ResIcon"));
  ResIcon->setAlignment(Qt::AlignCenter);
  ResIcon->setGeometry(S(16), S(44), S(32), S(32));
  ResIcon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(ResIcon->size()));

  LblMsg = new QLabel(this);
  LblMsg->setObjectName(QStringLiteral("LblMsg"));
  LblMsg->setTextFormat(Qt::PlainText);
  LblMsg->setGeometry(S(60), S(42), S(282), S(18));

  EdiDir = new TSpecialEdit(this);
  EdiDir->setObjectName(QStringLiteral("EdiDir"));
  EdiDir->SetMinimizeText(true);
  const int EditHeight = GlyphButtonSize();
  EdiDir->setGeometry(S(60), S(64), S(282) - EditHeight - 1, EditHeight);

  SBDir = new QToolButton(this);
  SBDir->setObjectName(QStringLiteral("SBDir"));
  SBDir->setAutoRaise(true);
  SBDir->setGeometry(EdiDir->x() + EdiDir->width() + 1, EdiDir->y(), EditHeight, EditHeight);
  SBDir->setIcon(ToolbarIcon(TGlyph::Open, EditHeight - 6));
  connect(SBDir, &QToolButton::clicked, this, [this] { SBDirClick(); });
  EdiDir->OnClick = [this](QObject*) { SBDirClick(); };

  PnlButtons = new TSimplePanel(this);
  PnlButtons->setObjectName(QStringLiteral("PnlButtons"));
  PnlButtons->setGeometry(0, height() - S(50), width(), S(50));
  PnlButtons->SetBevelEdges(beTop);
  PnlButtons->SetBevelWidth(1);
  if (IsWinVista) {
    PnlButtons->SetColor(clDlgPanel);
    PnlButtons->SetBevelColor(clDlgBorder);
  }
  const bool Translated = TranslationLoaded();
  BOk = new QPushButton(Translated ? Tr(TrId::GetTrBtnOk) : QStringLiteral("Ok"), PnlButtons);
  BOk->setObjectName(QStringLiteral("BOk"));
  BOk->setDefault(true);
  BOk->setGeometry(width() - S(178), S(13), S(75), S(25));
  connect(BOk, &QPushButton::clicked, this, &QDialog::accept);
  BAnnuler = new QPushButton(Translated ? Tr(TrId::GetTrBtnCancel) : QStringLiteral("Annuler"), PnlButtons);
  BAnnuler->setObjectName(QStringLiteral("BAnnuler"));
  BAnnuler->setGeometry(width() - S(91), S(13), S(75), S(25));
  connect(BAnnuler, &QPushButton::clicked, this, &QDialog::reject);
}

QString TDirForm::InitialFolder() const {
  const QString CopyTo = TIniFile(MainIniFile).ReadString(ParamsSection, CopyToKey, AbsentValue);
  if (CopyTo != AbsentValue && !CopyTo.isEmpty() && QFileInfo(CopyTo).isDir()) return CopyTo;
  return EnregistrerDir.isEmpty() ? OuvrirDir : EnregistrerDir;
}

QString TDirForm::SelectDirectory(const QString& Caption, const QString& Msg) {
  LblCaption->setText(Caption);
  LblMsg->setText(Msg);
  EdiDir->SetText(InitialFolder());
  QString Result;
  if (exec() == QDialog::Accepted) {
    Result = EdiDir->Text();
    // A settings file that cannot be written only loses the remembered folder.
    TIniFile Ini(MainIniFile);
    Ini.WriteString(ParamsSection, CopyToKey, Result);
    Ini.UpdateFile();
  }
  if (QWidget* Owner = parentWidget()) {
    Owner->window()->raise();
    Owner->window()->activateWindow();
  }
  return Result;
}

void TDirForm::SBDirClick() {
  const QString Folder = BrowseForFolder(LblMsg->text(), EdiDir->Text());
  if (!Folder.isEmpty()) EdiDir->SetText(Folder);
}
