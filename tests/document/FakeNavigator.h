// A fake layers panel that follows the panel's documented placement rules:
// a new layer lands just above the current one and becomes current, a
// bitmap layer always gets a mask. It counts resynchronisations and
// thumbnail updates.
#pragma once

#include "document/LayerNavigator.h"
#include "document/MyImageLayered.h"

#include <vector>

class FakeNavigator : public LayerNavigator {
public:
  explicit FakeNavigator(TMyImageLayered& Image) : FImage(Image) {}
  int PanelIndex = -1;
  int Syncs = 0;
  std::vector<int> Thumbs;

  TMyImageLayered& Image() const override { return FImage; }
  void Synchronize(bool) override { ++Syncs; }
  void ResetLayerIndex() override { PanelIndex = FImage.LayerIndex(); }
  void UpdateThumb(int Index) override { Thumbs.push_back(Index); }
  int AddLayer(const TBitmap* Bitmap, const TBitmap* Mask, TPoint Pos, TOpacityRange Opacity,
               const QString& Caption) override {
    const int Target = PanelIndex + 1;
    FImage.AddLayer(Bitmap, Mask, Pos, Opacity, Caption);
    FImage.CurrentLayer()->CheckCreateMask(false);
    return Place(Target);
  }
  int AddLayerData(std::unique_ptr<TLayerData> Data, const QString& Caption) override {
    const int Target = PanelIndex + 1;
    FImage.AddLayerData(std::move(Data), Caption);
    return Place(Target);
  }
  int AddLayerAdjust(const TAdjustLayerInfos& AdjustInfos, TOpacityRange Opacity, const QString& Caption) override {
    const int Target = PanelIndex + 1;
    FImage.AddLayerAdjust(AdjustInfos, Opacity, Caption);
    return Place(Target);
  }
  int AddLayerColor(TColor Color, TOpacityRange Opacity, bool Invert, const QString& Caption) override {
    const int Target = PanelIndex + 1;
    FImage.AddLayerColor(Color, Opacity, Invert, Caption);
    return Place(Target);
  }
  void DeleteLayer(int Index) override {
    FImage.Layers().Delete(Index);
    ResetLayerIndex();
  }
  void DeleteBackground(bool DeleteMask) override {
    FImage.DeleteBackground();
    if (DeleteMask) FImage.Layers()[0].Mask().ReleaseImage();
    ResetLayerIndex();
  }
  void InsertNewBackground(const TBitmap* Bitmap, const TBitmap* Mask, bool TransparentBkg,
                           const QString& Caption) override {
    FImage.Layers()[0].CheckCreateMask(false);
    FImage.InsertNewBackground(Bitmap, Mask, Caption);
    if (TransparentBkg && !Mask) FImage.Layers()[0].CheckCreateMask(true);
    UpdateThumb(0);
    ResetLayerIndex();
  }
  void Move(int CurIndex, int NewIndex, bool) override {
    if (CurIndex <= 0 || CurIndex >= FImage.Layers().Count()) return;
    FImage.Layers().Move(CurIndex, NewIndex);
    FImage.SetLayerIndex(NewIndex);
    ResetLayerIndex();
  }

private:
  int Place(int Target) {
    ResetLayerIndex();
    Move(FImage.LayerIndex(), Target, false);
    return PanelIndex;
  }
  TMyImageLayered& FImage;
};
