// The message dialog answered in tests, through its answer seam.
#pragma once

#include "platform/ModalResult.h"
#include "ui/MsgDlg.h"

#include <QStringList>

#include <deque>

// The messages of one test: each answered from a queue (Ok when empty) and
// remembered; an input line takes the next of Typed (else stays as it was).
struct TMessages {
  std::deque<int> Answers;
  std::deque<QString> Typed;
  QStringList Shown;
  TMsgDlgAnswerProvider Provider() {
    return [this](const TMsgDlgRequest& R) {
      Shown << R.Msg;
      int Answer = mrOk;
      if (!Answers.empty()) {
        Answer = Answers.front();
        Answers.pop_front();
      }
      QString Text = R.Text;
      if (R.Input && !Typed.empty()) {
        Text = Typed.front();
        Typed.pop_front();
      }
      return TMsgDlgAnswer{Answer, Text};
    };
  }
};
