// The two layer hooks every image calls while its layers are read: the
// caption shown for a stored name, and the data object a text layer needs.
#include "app/ui/MainForm.h"

#include "app/Commun.h"
#include "document/TxtData.h"
#include "files/PatternFile.h"
#include "raster/FoncUtils.h"

#include <QFileInfo>

void TMainForm::ImageGetLayerCaption(const TLayerItem&, QString& S) { S = LayerDisplayName(S); }

void TMainForm::ImageNeedLayerData(TLayerItem& Item) {
  if (!Item.Data()) Item.SetData(std::make_unique<TTextData>());
}

void TMainForm::InstallLayerHooks() {
  OnNeedLayerData = [this](TLayerItem& Item) { ImageNeedLayerData(Item); };
  OnGetLayerCaption = [this](const TLayerItem& Item, QString& S) { ImageGetLayerCaption(Item, S); };
  // A text filled with a pattern reads its file as the fill patterns do;
  // a missing file leaves the text in its colour, without a question.
  OnLoadTextPattern = [](const QString& FileName, TBitmap& Pattern, TBitmap& PatternMask) {
    return !FileName.isEmpty() && QFileInfo(FileName).isFile() &&
           LoadPatternFile(FileName, Pattern, PatternMask, QString());
  };
  OnExpandFolderMacro = [this](const QString& Path) { return ExpandFolderMacro(Path, FState.ProgramDir); };
}

void TMainForm::ReleaseLayerHooks() {
  OnNeedLayerData = nullptr;
  OnGetLayerCaption = nullptr;
  OnLoadTextPattern = nullptr;
  OnExpandFolderMacro = nullptr;
}
