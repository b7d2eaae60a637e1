#include "platform/Beep.h"

namespace {
int Beeps = 0;
TBeepSound Sound = nullptr;
} // namespace

void Beep() {
  ++Beeps;
  if (Sound) Sound();
}

int BeepCount() { return Beeps; }

void ResetBeepCount() { Beeps = 0; }

void SetBeepSound(TBeepSound Value) { Sound = Value; }

TBeepSound BeepSound() { return Sound; }

TBeepCounter::TBeepCounter() : FStart(Beeps), FSound(Sound) { Sound = nullptr; }

TBeepCounter::~TBeepCounter() { Sound = FSound; }

int TBeepCounter::Count() const { return Beeps - FStart; }
