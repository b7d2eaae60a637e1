// The kinds of change an undo record is prepared for, in their stored order
// (the value is kept in flag 2 of each record). Depends on nothing.
#pragma once

#include <cstdint>

enum TModifInfo : uint8_t {
  miBkgNone,
  miBkgAll,
  miLayerAll,
  miLayerMask,
  miDrawBmp,
  miDrawMask,
  miDrawBM,
  miFiltre,
  miFiltreMask,
  miFiltreBM,
  miFiltreBM_D,
  miLayerPos,
  miLayerIndex,
  miLayerOptions,
  miConvertText,
  miRenameLayer,
  miTextData,
  miCreateLayer,
  miDeleteLayer,
  miInsertBkg,
  miMergeLayers,
  miMergeAll,
  miShowHideAll,
  miAttenuer,
};
