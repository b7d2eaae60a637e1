#include "raster/DataFileError.h"

#include "i18n/LibLang.h"

#include <utility>

namespace {

TFileErrorHandler& Handler() {
  static TFileErrorHandler Installed;
  return Installed;
}

} // namespace

TFileErrorHandler SetFileErrorHandler(TFileErrorHandler NewHandler) {
  return std::exchange(Handler(), std::move(NewHandler));
}

void ReportFileError(const QString& Message) {
  // A copy, so that a handler may replace itself while it runs.
  const TFileErrorHandler Current = Handler();
  if (Current) Current(Message);
}

void ShowInvalidDataFileError() { ReportFileError(Tr(TrId::GetShpMsgStreamError)); }

void ShowInvalidDataFileError(const QString& FileName) {
  if (FileName.isEmpty())
    ShowInvalidDataFileError();
  else
    ReportFileError(Tr(TrId::GetShpMsgStreamError) + QLatin1Char('\n') + FileName);
}
