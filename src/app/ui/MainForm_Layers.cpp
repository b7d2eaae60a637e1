// The two layer hooks every image calls while its layers are read: the
// caption shown for a stored name, and the data object a text layer needs.
#include "app/ui/MainForm.h"

#include "app/Commun.h"
#include "document/TxtData.h"

namespace {

// The text of a text layer, read from a file with the pixels it was last
// rendered to. The text tools re-render it when they edit it; until then
// the layer shows those stored pixels as they are.
class TStoredTextData final : public TTextData {
public:
  void PrepareBitmaps(TLayerItem&) override {}
};

} // namespace

void TMainForm::ImageGetLayerCaption(const TLayerItem&, QString& S) { S = LayerDisplayName(S); }

void TMainForm::ImageNeedLayerData(TLayerItem& Item) {
  if (!Item.Data()) Item.SetData(std::make_unique<TStoredTextData>());
}

void TMainForm::InstallLayerHooks() {
  OnNeedLayerData = [this](TLayerItem& Item) { ImageNeedLayerData(Item); };
  OnGetLayerCaption = [this](const TLayerItem& Item, QString& S) { ImageGetLayerCaption(Item, S); };
}

void TMainForm::ReleaseLayerHooks() {
  OnNeedLayerData = nullptr;
  OnGetLayerCaption = nullptr;
}
