// The bracket of a command's work: DebutAction on entry, FinAction on every
// way out, also when a routine throws.
#pragma once

#include "app/ui/MainForm.h"

struct TActionBracket {
  explicit TActionBracket(TMainForm& Form, const QString& Msg = QString()) : F(Form) { F.DebutAction(Msg, true); }
  ~TActionBracket() { F.FinAction(); }
  TActionBracket(const TActionBracket&) = delete;
  TActionBracket& operator=(const TActionBracket&) = delete;
  TMainForm& F;
};
