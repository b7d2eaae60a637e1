// The program's warning beep, counted so that tests can see a refusal without
// hearing it. Depends on nothing; the interface installs the real sound.
#pragma once

// Counts one beep and plays the installed sound, if any.
void Beep();

// Beeps since the program started (or since the last ResetBeepCount).
int BeepCount();
void ResetBeepCount();

// The routine that makes the sound (the interface sets QApplication::beep at
// start-up); nullptr makes beeps silent.
using TBeepSound = void (*)();
void SetBeepSound(TBeepSound Sound);
TBeepSound BeepSound();

// Silences beeps for a scope and counts those made within it (tests); the
// previous sound comes back afterwards.
class TBeepCounter {
public:
  TBeepCounter();
  ~TBeepCounter();
  TBeepCounter(const TBeepCounter&) = delete;
  TBeepCounter& operator=(const TBeepCounter&) = delete;
  int Count() const;

private:
  int FStart;
  TBeepSound FSound;
};
