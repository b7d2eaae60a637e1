// The main window as the text and retouch dialogs see it: an image view of a
// small picture, the undo copy, and counters and copies of what the dialogs
// asked for. Installed for the life of the object.
#pragma once

#include "document/TxtData.h"
#include "document/ui/MyImageLayeredView.h"
#include "tools/ui/ToolDialogHost.h"

#include <QApplication>

#include <memory>
#include <vector>

class FakeToolDialogHost final : public TToolDialogHost {
public:
  FakeToolDialogHost() { SetToolDialogHost(this); }
  ~FakeToolDialogHost() override { SetToolDialogHost(nullptr); }

  // A view of Picture (a copy), shown, its current layer the background,
  // the undo copy taken as the menu command would.
  void ShowPicture(const TBitmap& Picture) {
    View = std::make_unique<TMyImageLayeredView>();
    View->resize(400, 300);
    View->Image().AddBackground(&Picture, nullptr, "#0");
    View->BitmapChanged();
    View->show();
    QApplication::processEvents();
    Undo.Assign(Picture);
  }
  TBitmap& LayerBitmap() { return View->Image().CurrentLayer()->Bitmap(); }

  TMyImageLayeredView* ActiveView() const override { return View.get(); }
  const TBitmap& BmpUndo() const override { return Undo; }
  void DebutAction() override { ++Actions; }
  void FinAction() override {}
  void RestaureBitmap() override {
    LayerBitmap().Assign(Undo);
    ++Restores;
  }
  void RefreshBitmap() override { ++Refreshes; }
  void AnnulerFiltre(bool Restaure) override {
    if (Restaure) RestaureBitmap();
    ++Cancels;
  }
  void ClearLastFilterEvent() override { ++RepeatCleared; }
  void LayerChanged() override { ++LayerChanges; }
  void MajMenus() override {}

  TTextData* CurrentTextData() override { return Text; }
  bool AddTextLayer(const TTextData& Data, const TRect& OldSel) override {
    Added.push_back(std::make_unique<TTextData>());
    Added.back()->Assign(Data);
    AddedAt = OldSel;
    return true;
  }
  void PrepareTextDataUndo() override { ++TextUndos; }
  void RenderCurrentText() override { ++Renders; }
  void TextToSelection(const TTextData& Data, bool Centered) override {
    Selected = std::make_unique<TTextData>();
    Selected->Assign(Data);
    SelectionCentered = Centered;
  }
  QString SelectPatternFile() override { return PatternFile; }
  QString ProgramDir() const override { return QStringLiteral("/opt/luma/"); }
  void SetTool(int Number) override { Tool = Number; }
  // The palette's default blend menu at the entries the retouch offers.
  void LayerModeMenuItem(int Index, QString& Caption, int& Tag) const override {
    const std::pair<int, int> Modes[] = {{0, 0}, {3, 6}, {8, 4}, {14, 16}, {6, 24}, {12, 23}, {15, 15}, {17, 25}};
    Caption.clear();
    for (const auto& [Entry, Code] : Modes)
      if (Entry == Index) {
        Caption = QStringLiteral("Mode %1").arg(Code);
        Tag = Code;
      }
  }
  QString TitreMenu(const QString&) const override { return QString(); }
  void PreparerPopupMenu(QMenu*) override {}

  std::unique_ptr<TMyImageLayeredView> View;
  TBitmap Undo;
  TTextData* Text = nullptr;
  std::vector<std::unique_ptr<TTextData>> Added;
  TRect AddedAt;
  std::unique_ptr<TTextData> Selected;
  bool SelectionCentered = false;
  QString PatternFile;
  int Actions = 0, Restores = 0, Refreshes = 0, Cancels = 0, RepeatCleared = 0, LayerChanges = 0;
  int TextUndos = 0, Renders = 0, Tool = -1;
};
