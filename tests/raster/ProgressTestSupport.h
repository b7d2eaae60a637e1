// Progress seen from tests: a sink that counts begins and cancels at a chosen
// report, and a fixture that lets every step through to it and puts the
// service back afterwards.
#pragma once

#include "raster/FilterEvent.h"

#include <gtest/gtest.h>

// Cancels at the report number Stop (counted from 1): the step after it
// answers false. Stop 0 never cancels.
class TCancelAt : public TProgressSink {
public:
  explicit TCancelAt(int Stop) : FStop(Stop) {}
  void ProgressCallback(uint8_t Stage, int, int) override {
    if (Stage == ProgressStageBegin) ++Begins;
    if (Stage == ProgressStageReport && ++Reports == FStop) ProgressCancelled = true;
  }
  void HandlePendingMessages() override {}
  int Begins = 0;
  int Reports = 0;

private:
  int FStop;
};

// Every step reaches the sink when it makes a new percentage: keep the
// maximum at 100 or below to see each one.
class TProgressFixture : public ::testing::Test {
protected:
  void Install(TProgressSink& Sink) {
    ProgressInitialDelay = ProgressMinInterval = 0;
    SetProgressSink(&Sink);
  }
  void TearDown() override {
    SetProgressSink(nullptr);
    ProgressCancelled = false;
    ProgressInitialDelay = FDelay;
    ProgressMinInterval = FInterval;
  }

private:
  int FDelay = ProgressInitialDelay;
  int FInterval = ProgressMinInterval;
};
