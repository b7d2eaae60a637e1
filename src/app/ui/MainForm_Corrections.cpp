// Image > horizon correction and perspective correction: the main window's
// side of the two dialogs (the services they reach through
// TCorrectionHost) and the menu items that open them.
#include "app/ui/MainForm.h"
#include "raster/FoncUtils.h"

#include "document/Calque.h"
#include "filters/ui/CorrectionHost.h"
#include "filters/ui/HorizonForm.h"
#include "filters/ui/PerspectiveForm.h"
#include "i18n/LibLang.h"
#include "ui/DlgEx.h"
#include "ui/MsgDlg.h"

#include <QAction>
#include <QPointer>

namespace {

// The smallest background either correction works on.
constexpr int MinCorrectionSize = 100;

class TMainCorrectionHost final : public QObject, public TCorrectionHost {
public:
  explicit TMainCorrectionHost(TMainForm& Form) : QObject(&Form), F(Form) { SetCorrectionHost(this); }
  ~TMainCorrectionHost() override {
    if (CorrectionHost() == this) SetCorrectionHost(nullptr);
  }
  TBitmap* LeFond() override { return F.UneImage() ? &F.LeFond() : nullptr; }
  void PrepareBackgroundUndo(const QString& Titre) override { F.PreparerUndo(miBkgAll, Titre); }
  void ShiftUpperLayers(int DX, int DY) override {
    if (!F.UneImage()) return;
    if (TUndoItem* Record = F.ListeUndo().CurrentUndo()) {
      Record->SetFlag(5, DX);
      Record->SetFlag(6, DY);
    }
    // The size changed too: TailleChangee rebuilds the layers panel.
    OffsetAllLayers(*F.LayerNav(), DX, DY, false);
  }
  void TailleChangee() override { F.TailleChangee(); }
  void BackgroundChanged() override {
    F.RefreshBitmap();
    F.LayerChanged();
  }

private:
  TMainForm& F;
};

// The size check of both commands, then the dialog made once and shown with
// the selection hidden.
template <class TForm> void OpenCorrection(TMainForm& F) {
  static QPointer<TForm> Form;
  if (!F.UneImage()) return;
  if (F.LeFond().Width() < MinCorrectionSize || F.LeFond().Height() < MinCorrectionSize) {
    ShowMsgDlg(Tr(TrId::GetTrDldGlb2), mdkWarning, {mdbOk});
    return;
  }
  CreateFormIfNeeded(Form, &F);
  F.MasquerSelection();
  Form->show();
}

} // namespace

void TMainForm::ConnectCorrectionCommands() {
  new TMainCorrectionHost(*this);
  Connect("MenuImageHorizon", [this] { OpenCorrection<THorizonForm>(*this); });
  Connect("MenuImagePerspective", [this] { OpenCorrection<TPerspectiveForm>(*this); });
}
