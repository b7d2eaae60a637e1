// The layer page of the tool palette: the current layer's name, opacity,
// visibility, lock and blend mode.
#include "tools/ui/Outils.h"

#include "ui/ControlTag.h"
#include "ui/SpecialEdit.h"
#include "ui/SpinEdit.h"

#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QVBoxLayout>

void TOutilsForm::CreateLayerPage() {
  QWidget* Page = NewPage(pgCalque);
  AddUnderlinedLabel(Page, "LblNomCalque");
  TSpinEdit2* Alpha = AddSpin(Page, "SELayerAlpha", QStringLiteral("Opacité"), 1, 100, 100,
                              findChild<QMenu*>(QStringLiteral("PopAlpha")));
  Alpha->OnChange = [this](QObject* Sender) { LayerOptionChanged(Sender); };
  // The opacity caption is the label just above the edit.
  Page->findChildren<QLabel*>().last()->setObjectName(QStringLiteral("Label15"));
  connect(AddCheck(Page, "CBVisible", QStringLiteral("Visible"), true), &QCheckBox::clicked, this,
          [this] { LayerOptionChanged(Control<QCheckBox>("CBVisible")); });
  connect(AddCheck(Page, "CBLocked", QStringLiteral("Verrou"), false), &QCheckBox::clicked, this,
          [this] { LayerOptionChanged(Control<QCheckBox>("CBLocked")); });
  // The blend codes of the modes offered; 7 and 18 are not.
  FPopLayerMode = NewMenu("PopLayerMode",
                          {"Normal", "Diffusion", "-", "Produit", "Assombrir", "Minimum", "Gamma -", "-",
                           "Superposition", "Eclaircir", "Addition", "Maximum", "Gamma +", "-", "Incrustation",
                           "Lumière douce", "Lumière dure", "Lumière gamma", "-", "Diviser", "Soustraction",
                           "Différence", "Extraction de grain", "Fusion de grain", "-", "Teinte", "Saturation",
                           "Luminosité", "Couleur"},
                          {0, 1, 0, 6, 14, 2, 24, 0, 4, 13, 21, 3, 23, 0, 16, 15, 17, 25, 0, 12, 22, 5, 19, 20, 0, 8,
                           9, 10, 11});
  TSpecialEdit* Mode = AddChoice(Page, "EdiLayerMode", QStringLiteral("Mode de fusion"), FPopLayerMode, 0);
  Page->findChildren<QLabel*>().last()->setObjectName(QStringLiteral("Label20"));
  Mode->SetIndexByTag(true);
  Mode->SetItemIndex(0);
  Mode->OnChange = [this](QObject* Sender) { LayerOptionChanged(Sender); };
}

void TOutilsForm::LayerModeMenuItem(int Index, QString& Caption, int& Tag) const {
  Caption.clear();
  const QList<QAction*> Items = FPopLayerMode->actions();
  if (Index < 0 || Index >= Items.size() || Items[Index]->isSeparator()) return;
  Caption = Items[Index]->text();
  Tag = ControlTag(Items[Index]);
}

void TOutilsForm::MajOptionsCalques() {
  FIgnoreLayerOptionChange = true;
  const bool U = FServices.UneImage();
  const TPaletteLayerInfo Layer = U ? FServices.CurrentLayer() : TPaletteLayerInfo{};
  Control<QLabel>("LblNomCalque")->setText(U ? Layer.Caption : QString());
  Control<QCheckBox>("CBLocked")->setChecked(Layer.Locked);
  auto* Mode = Control<TSpecialEdit>("EdiLayerMode");
  Mode->SetItemIndex(Layer.BlendMode);
  const bool ModeEnabled = U && Layer.CanChangeBlendMode;
  Mode->setEnabled(ModeEnabled);
  Control<QWidget>("Label20")->setEnabled(ModeEnabled);
  Control<QCheckBox>("CBVisible")->setChecked(Layer.Visible);
  // The background's opacity exists only with a transparency mask.
  const bool Alpha = U && !Layer.Locked && Layer.Visible && (!Layer.IsBackground || Layer.HasAlpha);
  auto* Opacity = Control<TSpinEdit2>("SELayerAlpha");
  Opacity->setEnabled(Alpha);
  Opacity->SetValue2(Layer.Opacity);
  Control<QWidget>("Label15")->setEnabled(Alpha);
  for (const char* Name : {"CBVisible", "CBLocked"}) Control<QWidget>(Name)->setEnabled(U);
  FIgnoreLayerOptionChange = false;
}

void TOutilsForm::LayerOptionChanged(QObject* Sender) {
  if (FIgnoreLayerOptionChange || !FServices.UneImage()) return;
  const QString Name = Sender->objectName();
  if (Name == QLatin1String("SELayerAlpha")) {
    FServices.SetLayerOpacity(Control<TSpinEdit2>("SELayerAlpha")->Value());
  } else if (Name == QLatin1String("CBVisible")) {
    FServices.SetLayerVisible(Control<QCheckBox>("CBVisible")->isChecked());
  } else if (Name == QLatin1String("CBLocked")) {
    FServices.SetLayerLocked(Control<QCheckBox>("CBLocked")->isChecked());
  } else {
    // Choosing the mode the layer has changes nothing.
    const int Code = Control<TSpecialEdit>("EdiLayerMode")->ItemIndex();
    if (Code != FServices.CurrentLayer().BlendMode) FServices.SetLayerBlendMode(Code);
  }
}
