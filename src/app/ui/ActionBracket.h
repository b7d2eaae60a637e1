// The bracket of a direct command: DebutAction on entry (status text,
// hourglass), FinAction however the command ends.
#pragma once

#include "app/ui/MainForm.h"

struct TActionBracket {
  explicit TActionBracket(TMainForm& Form) : F(Form) { F.DebutAction(QString(), true); }
  ~TActionBracket() { F.FinAction(); }
  TActionBracket(const TActionBracket&) = delete;
  TActionBracket& operator=(const TActionBracket&) = delete;
  TMainForm& F;
};
