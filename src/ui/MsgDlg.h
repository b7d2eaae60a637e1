// The program's one message, question and text-prompt dialog: ShowMsgDlg,
// InputMsgDlg, InputMsgBox. Depends on the translatable strings, the dialog
// font, DPI and colour helpers, the bevel, QtWidgets.
//
// Texts come from the translatable strings; a carriage return in a message is
// a line break. Tests answer the dialog without a person through
// SetMsgDlgAnswerProvider, or drive the real one from MsgDlgBeforeShow.
#pragma once

#include "platform/ModalResult.h"

#include <QDialog>
#include <QString>

#include <cstdint>
#include <functional>
#include <initializer_list>

class QLabel;
class QLineEdit;
class QPushButton;
class TMyBevel;

enum TMsgDlgKind : uint8_t {
  mdkWarning = 0,
  mdkError = 1,
  mdkInformation = 2,
  mdkConfirmation = 3,
  mdkCustom = 4,
};

enum TMsgDlgButton : uint8_t { mdbYes = 0, mdbNo = 1, mdbOk = 2, mdbCancel = 3 };

// A set of buttons, bit n for TMsgDlgButton n: {mdbOk} is 4, {mdbYes, mdbNo}
// 3, {mdbYes, mdbNo, mdbCancel} 11.
class TMsgDlgButtons {
public:
  constexpr TMsgDlgButtons(std::initializer_list<TMsgDlgButton> Buttons) {
    for (TMsgDlgButton B : Buttons) FBits = static_cast<uint8_t>(FBits | (1u << B));
  }
  static constexpr TMsgDlgButtons FromBits(uint8_t Bits) {
    TMsgDlgButtons Set({});
    Set.FBits = Bits & 0x0F;
    return Set;
  }
  constexpr bool Contains(TMsgDlgButton B) const { return (FBits >> B) & 1u; }
  constexpr uint8_t Bits() const { return FBits; }

private:
  uint8_t FBits = 0;
};

class TMsgDlgForm : public QDialog {
  Q_OBJECT
public:
  explicit TMsgDlgForm(QWidget* Parent = nullptr);

  // Lays the dialog out for one call (see ShowMsgDlg); Input is the text-prompt
  // mode with Text in the input line.
  void Prepare(const QString& Msg, TMsgDlgKind Kind, TMsgDlgButtons Buttons, const QString& Caption, bool Input,
               const QString& Text);

  QLabel* ResIcon;
  QLabel* LblMsg;
  QLineEdit* EdiInput;
  QLabel* LblCaption;
  QWidget* PnlButtons;
  TMyBevel* ButtonsSep;
  QPushButton* BtnYes;
  QPushButton* BtnNo;
  QPushButton* BtnOk;
  QPushButton* BtnCancel;
  TMyBevel* CaptionSep;
  int Flag = 0;     // 1 in input mode
  int BtnSpace = 0; // gap between two buttons
  int BtnWidth = 0; // width of one button

  // The buttons in the order Yes, No, Ok, Cancel.
  QPushButton* Button(TMsgDlgButton B) const;
  // The button Enter answers (Ok, else Yes) and the one Esc answers (Cancel,
  // else No), among the visible ones; nullptr when none.
  QPushButton* DefaultButton() const;
  QPushButton* CancelButton() const;

public slots:
  // Closing by the window frame answers Cancel.
  void reject() override;

protected:
  void keyPressEvent(QKeyEvent* Event) override;
  void showEvent(QShowEvent* Event) override;
};

// The title a call shows: Caption when not empty; else "Saisie" in input mode;
// else the kind's title ("Avertissement", "Erreur", "Information",
// "Confirmation", or the program's file name for mdkCustom).
QString MsgDlgTitle(TMsgDlgKind Kind, const QString& Caption, bool Input);

// Shows Msg modally under the title Caption (empty: the kind's title) and
// returns the button pressed: mrOk 1, mrCancel 2 (also when the window is
// closed), mrYes 6, mrNo 7.
int ShowMsgDlg(const QString& Msg, TMsgDlgKind Kind, TMsgDlgButtons Buttons, const QString& Caption = QString());

// Prompt with an input line holding Text, Ok and Cancel; on Ok Text takes the
// line and the result is true, otherwise Text is unchanged.
bool InputMsgDlg(const QString& Caption, const QString& Prompt, QString& Text);

// InputMsgDlg on a copy of Default: the line on Ok, Default otherwise.
QString InputMsgBox(const QString& Caption, const QString& Prompt, const QString& Default);

// True exactly while one of the calls above runs.
bool IsMsgDlgShowing();

// Called with the dialog right before it is shown and right after it closed
// (the main window's begin- and end-of-dialog handling).
using TMsgDlgNotify = std::function<void(TMsgDlgForm*)>;
void SetMsgDlgBeforeShow(TMsgDlgNotify Notify);
void SetMsgDlgAfterShow(TMsgDlgNotify Notify);

// The answer-provider seam: while a provider is set, the calls build no
// window and ask the provider instead.
struct TMsgDlgRequest {
  QString Msg;
  TMsgDlgKind Kind = mdkWarning;
  TMsgDlgButtons Buttons{};
  QString Title; // the title the dialog would show
  bool Input = false;
  QString Text; // the input line's text on entry
};
struct TMsgDlgAnswer {
  int Result = mrCancel;
  QString Text; // the input line on leaving (input mode)
};
using TMsgDlgAnswerProvider = std::function<TMsgDlgAnswer(const TMsgDlgRequest&)>;
void SetMsgDlgAnswerProvider(TMsgDlgAnswerProvider Provider);

// Installs a provider for a scope and puts the previous one back.
class TScopedMsgDlgAnswers {
public:
  explicit TScopedMsgDlgAnswers(TMsgDlgAnswerProvider Provider);
  ~TScopedMsgDlgAnswers();
  TScopedMsgDlgAnswers(const TScopedMsgDlgAnswers&) = delete;
  TScopedMsgDlgAnswers& operator=(const TScopedMsgDlgAnswers&) = delete;

private:
  TMsgDlgAnswerProvider FPrevious;
};
