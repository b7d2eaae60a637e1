#include "FreeImageTestSupport.h"

#include <QProcess>

bool EnsureFreeImage() { return IsFreeImageLoaded() || StartFreeImage(false); }

TWithoutFreeImage::TWithoutFreeImage() : FWasLoaded(IsFreeImageLoaded()) { UnloadFreeImageLibrary(); }

TWithoutFreeImage::~TWithoutFreeImage() {
  if (FWasLoaded) StartFreeImage(false);
}

PBitmap LoadThroughFreeImage(const QString& FileName, TFreeExtraData* Extra, int IOFlag) {
  TFreeBitmap Free;
  Free.InitLoadFormat(FileName);
  Free.SetIOFlag(IOFlag);
  Free.LoadFromFileEx(FileName, Extra);
  auto Result = std::make_unique<TBitmap>();
  Result->Assign(Free);
  return Result;
}

void SaveThroughFreeImage(const TBitmap& Bitmap, const QString& FileName, TFreeExtraData* Extra, int IOFlag) {
  TFreeBitmap Free;
  Free.InitSaveFormat(FileName);
  if (IOFlag >= 0) Free.SetIOFlag(IOFlag);
  Free.Assign(Bitmap);
  Free.SaveToFileEx(FileName, Extra);
}

bool Convert(const QStringList& Args) {
  QProcess P;
  P.start(QStringLiteral("convert"), Args);
  return P.waitForFinished(60000) && P.exitStatus() == QProcess::NormalExit && P.exitCode() == 0;
}
