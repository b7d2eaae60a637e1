// Fuzz target of the layered image reader: the input is a whole .lmi file,
// read by the full reader (with a text data object for data layers) and by
// the light reader in its three modes.
#include "document/LayerStream.h"
#include "document/MyImageLayered.h"
#include "document/MyImageLayeredReg.h"
#include "document/TxtData.h"

#include <cstdlib>

namespace {

struct FuzzText : TTextData {
  void PrepareBitmaps(TLayerItem&) override {}
};

void CheckSize(const TBitmap& B) {
  if (int64_t(B.Width()) * B.Height() > MaxReadPixels) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  OnNeedLayerData = [](TLayerItem& L) {
    if (!L.Data()) L.SetData(std::make_unique<FuzzText>());
  };
  {
    TMemoryStream Stream(Data, Size);
    TMyImageLayered Image;
    try {
      Image.LoadFromStream(Stream);
      for (int I = 0; I < Image.Layers().Count(); ++I) CheckSize(Image.Layers()[I].Bitmap());
    } catch (const EStreamError&) {
    }
  }
  for (int Mode = 0; Mode < 3; ++Mode) {
    TMemoryStream Stream(Data, Size);
    TMyImageLayeredReg Reg;
    Reg.SetThumbMode(Mode == 1);
    Reg.SetLoadLayer(Mode == 2);
    try {
      Reg.LoadFromStream(Stream);
      CheckSize(Reg);
    } catch (const EStreamError&) {
    }
  }
  OnNeedLayerData = nullptr;
  return 0;
}
