// The two layer hooks every image calls while its layers are read: the
// caption shown for a stored name, and the data object a text layer needs.
#include "app/ui/MainForm.h"

#include "app/Commun.h"
#include "document/TxtData.h"

void TMainForm::ImageGetLayerCaption(const TLayerItem&, QString& S) { S = LayerDisplayName(S); }

void TMainForm::ImageNeedLayerData(TLayerItem& Item) {
  if (!Item.Data()) Item.SetData(std::make_unique<TTextData>());
}

void TMainForm::InstallLayerHooks() {
  OnNeedLayerData = [this](TLayerItem& Item) { ImageNeedLayerData(Item); };
  OnGetLayerCaption = [this](const TLayerItem& Item, QString& S) { ImageGetLayerCaption(Item, S); };
}

void TMainForm::ReleaseLayerHooks() {
  OnNeedLayerData = nullptr;
  OnGetLayerCaption = nullptr;
}
