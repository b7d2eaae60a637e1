// The bracket of a direct command: DebutAction on entry, FinAction however
// the command ends (a return, a refusal or an exception).
#pragma once

#include "app/ui/MainForm.h"

struct TActionBracket {
  explicit TActionBracket(TMainForm& Form, const QString& Msg = QString()) : F(Form) { F.DebutAction(Msg, true); }
  ~TActionBracket() { F.FinAction(); }
  TActionBracket(const TActionBracket&) = delete;
  TActionBracket& operator=(const TActionBracket&) = delete;
  TMainForm& F;
};
