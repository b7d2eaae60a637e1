// A real main window with one random 24-bit image open, and the ways a user
// reaches a filter dialog: its menu item, its sliders, its buttons.
#pragma once

#include "app/ui/MainForm.h"

#include "../support/ImageCompare.h"
#include "../support/Pixels.h"
#include "document/ui/ImgForm.h"
#include "document/ui/MyImageLayeredView.h"
#include "filters/ui/FilterNForm.h"
#include "ui/TrackBar.h"

#include <QAction>
#include <QMenu>
#include <QRadioButton>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

class FilterDialogFixture : public ::testing::Test {
public:
  // A slider moved with the keyboard by Steps page steps (negative: down);
  // the release of the last key is the end of the move.
  static void MoveSlider(TTrackBar* Bar, int Steps) {
    for (int I = 0; I < std::abs(Steps); ++I) QTest::keyClick(Bar, Steps > 0 ? Qt::Key_PageUp : Qt::Key_PageDown);
  }

  // A click with the pipette on the pixel (X, Y) of the active image.
  static void PickOnImage(const QWidget* Dialog, int X, int Y) {
    auto* Main = qobject_cast<TMainForm*>(Dialog->parentWidget());
    TMyImageLayeredView* View = Main->EnfantActif()->Image;
    const TPoint C = View->BmpToClient(TPoint{X, Y});
    QTest::mouseClick(View->viewport(), Qt::LeftButton, {}, QPoint(C.X, C.Y));
  }

  // The colour of a pixel as a TColor.
  static TColor ColorAt(const TBitmap& B, int X, int Y) { return TRGBToColor(Px(B, X, Y)); }

protected:
  void SetUp() override { MakeForm(); }
  // The main window, with the AutoReset preference as given.
  void MakeForm(bool AutoReset = true) {
    Form.reset();
    State.ProgramDir = Dir.path() + "/";
    State.MainIniFile = Dir.path() + "/Lumaretique.ini";
    if (!AutoReset) {
      QFile Ini(State.MainIniFile);
      ASSERT_TRUE(Ini.open(QIODevice::WriteOnly));
      Ini.write("[Params]\r\nAutoReset=0\r\n");
    }
    Form = std::make_unique<TMainForm>(State);
    Form->resize(900, 700);
    Form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
    TBitmap B(40, 30, pf24bit, clBlack);
    FillRandom(B, 7);
    Form->NouvelleImage(nullptr, &B, QString(), srcNew, 16777216);
    Original.Assign(Form->LeBitmap());
  }
  // Opens the dialog through its menu item, after its top menu opened (which
  // applies the menu rules).
  template <class TForm> TForm* Open(const char* Item, const char* TopMenu = "MenuReglage") {
    emit Form->MenuNamed(QString::fromLatin1(TopMenu))->aboutToShow();
    QAction* A = Form->MenuItem(QString::fromLatin1(Item));
    EXPECT_TRUE(A && A->isEnabled()) << Item;
    A->trigger();
    auto* D = Form->findChild<TForm*>();
    EXPECT_TRUE(D && D->isVisible()) << Item;
    return D;
  }
  static void Click(QPushButton* B) { QTest::mouseClick(B, Qt::LeftButton); }
  // Original with Filter applied over the whole layer.
  std::unique_ptr<TBitmap> Expected(const std::function<void(TBitmap&, const TRect&)>& Filter) const {
    auto E = std::make_unique<TBitmap>();
    E->Assign(Original);
    Filter(*E, {0, 0, E->Width(), E->Height()});
    return E;
  }
  // The steps Edit > Undo can take back.
  int UndoSteps() const { return Form->ListeUndo().ItemIndex() + 1; }
  QTemporaryDir Dir;
  TStartupState State;
  std::unique_ptr<TMainForm> Form;
  TBitmap Original;
};
