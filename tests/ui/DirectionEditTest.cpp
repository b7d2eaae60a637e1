#include "ui/DirectionEdit.h"

#include "UiTestSupport.h"
#include "platform/IniFile.h"
#include "platform/Rounding.h"
#include "ui/ControlColor.h"
#include "ui/DlgColors.h"
#include "ui/DlgMain.h"
#include "ui/UtilsDPI.h"

#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

struct DirectionEditTest : ::testing::Test {
  TDirectionEdit E;
  int Changes = 0;
  void SetUp() override {
    E.OnChange = [this](QObject* Sender) {
      EXPECT_EQ(Sender, &E);
      ++Changes;
    };
  }
  // The centre of disc I of N on the default 54 x 54 control, from the
  // layout formula: radius 20 around (26, 26).
  static TPoint Centre(int I, int N) {
    const double A = std::numbers::pi / 2 - I * 2 * std::numbers::pi / N;
    return {Round(26 + std::cos(A) * 20), Round(26 - std::sin(A) * 20)};
  }
};

TEST_F(DirectionEditTest, DefaultsAndLayout) {
  EXPECT_EQ(E.size(), QSize(54, 54));
  EXPECT_EQ(E.focusPolicy(), Qt::StrongFocus);
  EXPECT_EQ(E.ItemCount(), 8);
  EXPECT_EQ(E.ItemRadius(), 6);
  EXPECT_EQ(E.ActiveColor(), clRed);
  EXPECT_EQ(E.ItemRect(0), Rect(20, 0, 33, 13));  // at the top
  EXPECT_EQ(E.ItemRect(2), Rect(40, 20, 53, 33)); // a quarter: at the right
  // A wide control keeps the circle at its top-left corner.
  E.resize(100, 54);
  EXPECT_EQ(E.ItemRect(4), Rect(20, 40, 33, 53));
}

TEST_F(DirectionEditTest, SettersIgnoreValuesOutOfRange) {
  E.SetDirection(8);
  E.SetDirection(-1);
  E.SetDirection(0); // the current one
  EXPECT_EQ(Changes, 0);
  E.SetDirection(3);
  EXPECT_EQ(Changes, 1);
  EXPECT_DOUBLE_EQ(E.AngleDegree(), 135.0);
  EXPECT_DOUBLE_EQ(E.AngleRadian(), 3 * std::numbers::pi / 4);

  E.SetSymmetry(true);
  EXPECT_TRUE(E.Symmetry());
  for (int Count : {2, 34, 8}) {
    E.SetItemCount(Count);
    EXPECT_EQ(E.ItemCount(), 8);
  }
  E.SetItemCount(12);
  EXPECT_EQ(E.ItemCount(), 12);
  EXPECT_EQ(E.Direction(), 0);
  EXPECT_EQ(Changes, 2);
  EXPECT_FALSE(E.Symmetry());
  E.SetItemCount(6);
  E.SetSymmetry(true); // 6 is no multiple of 4
  EXPECT_FALSE(E.Symmetry());

  for (int R : {2, 21}) {
    E.SetItemRadius(R);
    EXPECT_EQ(E.ItemRadius(), 6);
  }
  E.SetItemRadius(20);
  EXPECT_EQ(E.ItemRadius(), 20);
}

TEST_F(DirectionEditTest, ClicksPickTheDiscUnderThePointer) {
  for (int I : {2, 5, 0, 7}) {
    const TPoint C = Centre(I, 8);
    QTest::mouseClick(&E, Qt::LeftButton, {}, QPoint(C.X, C.Y));
    EXPECT_EQ(E.Direction(), I);
  }
  EXPECT_EQ(Changes, 4);
  // The right button picks too; a click between discs changes nothing.
  QTest::mouseClick(&E, Qt::RightButton, {}, QPoint(Centre(1, 8).X, Centre(1, 8).Y));
  EXPECT_EQ(E.Direction(), 1);
  QTest::mouseClick(&E, Qt::LeftButton, {}, QPoint(26, 26));
  EXPECT_EQ(E.Direction(), 1);
  EXPECT_EQ(Changes, 5);
}

TEST_F(DirectionEditTest, KeysWrapAround) {
  struct Step {
    Qt::Key Key;
    int Expected;
  };
  for (const Step& S : {Step{Qt::Key_Left, 7}, Step{Qt::Key_Right, 0}, Step{Qt::Key_Up, 7}, Step{Qt::Key_Down, 0},
                        Step{Qt::Key_Down, 1}, Step{Qt::Key_Space, 1}}) {
    QTest::keyClick(&E, S.Key);
    EXPECT_EQ(E.Direction(), S.Expected) << S.Key;
  }
  E.SetItemCount(12);
  E.SetDirection(11);
  QTest::keyClick(&E, Qt::Key_Right);
  EXPECT_EQ(E.Direction(), 0);
}

TEST_F(DirectionEditTest, PaintsTheLitDiscsAndTheirOpposite) {
  SetControlColor(&E, RGB(10, 20, 30));
  E.SetActiveColor(RGB(0, 0, 250));
  E.SetDirection(1);
  E.SetSymmetry(true);
  for (int I = 0; I < 8; ++I) EXPECT_EQ(E.IsLit(I), I == 1 || I == 5) << I;
  const QImage Shot = GrabWidget(E);
  for (int I = 0; I < 8; ++I) {
    const TPoint C = Centre(I, 8);
    EXPECT_EQ(PixelAt(Shot, C.X, C.Y), E.IsLit(I) ? RGB(0, 0, 250) : ColorToRGB(clDlgWindow)) << I;
  }
  EXPECT_EQ(PixelAt(Shot, 26, 26), RGB(10, 20, 30)); // the background between the discs
  EXPECT_EQ(PixelAt(Shot, 0, 53), RGB(10, 20, 30));

  // Disabled: outlines only, the centres show the background.
  E.setEnabled(false);
  const QImage Off = GrabWidget(E);
  const TPoint C = Centre(1, 8);
  EXPECT_EQ(PixelAt(Off, C.X, C.Y), RGB(10, 20, 30));
  EXPECT_NE(PixelAt(Off, 26, 0), RGB(10, 20, 30)); // the top of disc 0's outline
}

TEST(StyleDirectionEdit, ScalesAboveNinetySixDpiAndTakesTheAccent) {
  TDirectionEdit E;
  StyleDirectionEdit(&E);
  EXPECT_EQ(E.ItemRadius(), 6);
  EXPECT_EQ(E.ActiveColor(), clDlgAccent);
  SetScreenPixelsPerInch(144);
  TDirectionEdit Big;
  StyleDirectionEdit(&Big);
  SetScreenPixelsPerInch(96);
  EXPECT_EQ(Big.ItemRadius(), 8); // 9 less 1
}

// A dialog holding direction pickers, saved with Ok and read back.
class TDirectionDialog : public TMainDialogForm {
public:
  TDirectionDialog() {
    setObjectName("GradientForm");
    Edit = new TDirectionEdit(this);
    Edit->setObjectName("DirectionEdit1");
    Hidden = new TDirectionEdit(this);
    Hidden->setObjectName("_Direction");
    Edit->OnChange = [this](QObject*) { ++Changes; };
  }
  TDirectionEdit* Edit;
  TDirectionEdit* Hidden;
  int Changes = 0;
};

TEST(DirectionEditSettings, RoundTripThroughTheDialogFile) {
  QTemporaryDir Dir;
  ASSERT_TRUE(Dir.isValid());
  SetDialogsIniFile(Dir.filePath("Lumaretique.ini"));
  DialogParams = true;
  {
    TDirectionDialog D;
    D.show();
    D.Edit->SetDirection(5);
    D.Hidden->SetDirection(3);
    D.CloseOk();
  }
  {
    TIniFile Ini(DialogsIniFile);
    EXPECT_EQ(Ini.ReadString("GradientForm", "DirectionEdit1", ""), "5");
    EXPECT_EQ(Ini.ReadString("GradientForm", "_Direction", "none"), "none");
  }
  auto Store = [](const QString& Value) {
    TIniFile Ini(DialogsIniFile);
    Ini.WriteString("GradientForm", "DirectionEdit1", Value);
    Ini.UpdateFile();
  };
  {
    // Restored without its change event (the default options).
    TDirectionDialog D;
    D.show();
    EXPECT_EQ(D.Edit->Direction(), 5);
    EXPECT_EQ(D.Changes, 0);
    EXPECT_EQ(D.Hidden->Direction(), 0);
    D.hide();
  }
  // With events, and a value that is no direction of the picker.
  Store("6");
  {
    TDirectionDialog D;
    D.IniOptions = ioValue;
    D.show();
    EXPECT_EQ(D.Edit->Direction(), 6);
    EXPECT_EQ(D.Changes, 1);
    D.hide();
  }
  for (const char* Bad : {"9", "abc"}) {
    Store(Bad);
    TDirectionDialog D;
    D.Edit->SetDirection(2);
    D.show();
    EXPECT_EQ(D.Edit->Direction(), Bad[0] == 'a' ? 0 : 2) << Bad; // text that is no number gives 0
    D.hide();
  }
  DialogParams = false;
  DialogsIniFile.clear();
}

} // namespace
