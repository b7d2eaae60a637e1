// A main window stand-in for image window tests: fixed settings, counted
// service calls, and the layer-move undo record built as the main window
// builds it.
#pragma once

#include "document/ImageWindowHost.h"
#include "document/Undo.h"
#include "document/ui/ImgForm.h"
#include "raster/Bitmap24.h"

#include <QStringList>

class TFakeImageWindowHost : public TImageWindowHost {
public:
  bool CadreOmbre() const override { return true; }
  int TailleGrille() const override { return 16; }
  TColor CouleurGrille() const override { return 0x00FF00; }
  int UniteGrille() const override { return 0; }
  int NbHistoriques() const override { return 10; }
  bool SelCalqueAuto() const override { return false; }
  bool LimitesCalqueActif() const override { return Limites; }
  bool NumCalque() const override { return false; }
  bool Smoothing() const override { return false; }
  int LayerNavSize() const override { return NavSize; }

  bool Enregistrer(const QString& FileName, const QString& DefaultName, bool, bool) override {
    Saves << FileName + QLatin1Char('|') + DefaultName;
    return SaveResult;
  }
  bool ConfirmFormatLoss(const QString&) override { return true; }
  void ChangerPosition(TPoint P) override { Position = P; }
  void InitPosition() override { Position = {-1, -1}; }
  void MajMenus() override { ++MenuUpdates; }
  void AfficherInfos() override {}
  void AfficherInfosCalque() override {}
  void PrepareLayerPosUndo(TPoint OldPos) override {
    TNewImgForm* F = ActiveImageWindow();
    TMyImageLayered& Img = F->Image->Image();
    auto U = std::make_unique<TUndoLayerInfos>(*Img.CurrentLayer());
    U->SetLayerPos(OldPos);
    U->SetNavigator(F->LayerNav);
    U->SetLayerIndex(Img.LayerIndex());
    F->ListeUndo->Add(std::move(U));
  }
  void PrepareLayerIndexUndo(int Index) override { IndexUndos.push_back(Index); }
  void LayerChanged() override { ++LayerChanges; }
  QMenu* PopupMenuBar() const override { return TitleMenu; }

  int NavSize = 80;
  bool Limites = false;
  TPoint Position{-1, -1};
  bool SaveResult = true;
  QStringList Saves;
  int MenuUpdates = 0;
  int LayerChanges = 0;
  std::vector<int> IndexUndos;
  QMenu* TitleMenu = nullptr;
};

// A bitmap whose pixel (x, y) is RGB(x * 5, y * 7, 90), easy to check at
// any zoom.
inline void MakeRamp(TBitmap& B, int W, int H) {
  NewBitmap24(B, W, H, clWhite);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) B.Canvas().SetPixels(X, Y, RGB(X * 5, Y * 7, 90));
}
