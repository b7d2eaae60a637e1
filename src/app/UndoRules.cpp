#include "app/UndoRules.h"

TModifInfo AdjustModifInfo(TModifInfo Info, bool DessinerSurAlpha, bool HasAlpha) {
  if (Info == miDrawBM && !DessinerSurAlpha) return miDrawBmp;
  if (Info == miFiltreBM_D && !DessinerSurAlpha) return miFiltre;
  if (Info == miFiltreBM && !HasAlpha) return miFiltre;
  return Info;
}

TUndoRecordClass UndoRecordClassOf(TModifInfo Info) {
  switch (Info) {
  case miBkgAll:
    return TUndoRecordClass::AllLayers;
  case miLayerAll:
  case miLayerMask:
    return TUndoRecordClass::WholeLayer;
  case miDrawBmp:
  case miDrawMask:
  case miFiltre:
  case miFiltreMask:
  case miFiltreBM:
    return TUndoRecordClass::RegionLayer;
  case miDrawBM:
  case miFiltreBM_D:
    return TUndoRecordClass::ExpandOrRegion;
  case miLayerIndex:
    return TUndoRecordClass::LayerIndex;
  case miTextData:
    return TUndoRecordClass::TextData;
  case miCreateLayer:
    return TUndoRecordClass::CreateLayer;
  case miDeleteLayer:
    return TUndoRecordClass::DeleteLayer;
  case miInsertBkg:
    return TUndoRecordClass::InsertBkg;
  case miMergeLayers:
    return TUndoRecordClass::MergeLayers;
  case miMergeAll:
    return TUndoRecordClass::MergeAll;
  case miShowHideAll:
    return TUndoRecordClass::ShowHideAll;
  case miAttenuer:
    return TUndoRecordClass::Fade;
  default: // miBkgNone, miLayerPos, miLayerOptions, miConvertText, miRenameLayer
    return TUndoRecordClass::LayerInfos;
  }
}

TUndoType UndoTypeOf(TModifInfo Info) {
  switch (Info) {
  case miLayerAll:
  case miDrawBM:
  case miFiltreBM:
  case miFiltreBM_D:
    return utAll;
  case miLayerMask:
  case miDrawMask:
  case miFiltreMask:
    return utMask;
  default:
    return utBitmap;
  }
}

bool UndoOnBackground(TModifInfo Info) {
  return Info == miBkgNone || Info == miBkgAll || Info == miInsertBkg || Info == miMergeAll || Info == miShowHideAll;
}

bool UndoHidesSelection(TModifInfo Info) { return Info == miBkgAll || Info == miLayerAll || Info == miLayerMask; }

bool UndoStartsEmpty(TModifInfo Info) { return Info == miDrawBmp || Info == miDrawMask || Info == miDrawBM; }

TScratchCopy BmpUndoCopyOf(TModifInfo Info) {
  switch (Info) {
  case miLayerMask:
  case miDrawMask:
  case miFiltreMask:
    return TScratchCopy::Mask;
  case miBkgAll:
  case miDrawBmp:
  case miDrawBM:
  case miFiltre:
  case miFiltreBM:
  case miFiltreBM_D:
    return TScratchCopy::Bitmap;
  default:
    return TScratchCopy::None;
  }
}

bool MaskUndoCopiesMask(TModifInfo Info) { return Info == miDrawBM || Info == miFiltreBM || Info == miFiltreBM_D; }

QString UndoTitle(const QString& Titre, bool AddShortcut) {
  if (!AddShortcut || !Titre.endsWith(QLatin1Char(']'))) return Titre;
  const qsizetype Open = Titre.indexOf(QLatin1Char('['));
  return Titre.left(std::max<qsizetype>(0, Open - 1));
}

bool ReachesBeyond(const TRect& Target, const TRect& Layer) {
  return Target.Left < Layer.Left || Target.Top < Layer.Top || Target.Right > Layer.Right ||
         Target.Bottom > Layer.Bottom;
}

bool CanFadeKind(int Kind) {
  switch (Kind) {
  case miDrawBmp:
  case miDrawMask:
  case miDrawBM:
  case miFiltre:
  case miFiltreMask:
  case miFiltreBM:
  case miFiltreBM_D:
  case miAttenuer:
    return true;
  default:
    return false;
  }
}
