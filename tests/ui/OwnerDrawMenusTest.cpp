#include "ui/OwnerDrawMenus.h"

#include "i18n/LibLang.h"
#include "ui/DrawUtils.h"
#include "ui/UtilsDPI.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

TEST(OwnerDrawMenus, ShortCutTextsInFrench) {
  const std::pair<int, const char*> Cases[] = {
      {scShift | 13, "Maj+Entrée"},
      {scCtrl | 27, "Ctrl+Echap"},
      {123, "F12"},
      {scCtrl | 101, "Ctrl+5"}, // the numeric keypad's 5
      {scShift | scCtrl | scAlt | 'A', "Maj+Ctrl+Alt+A"},
      {scCtrl | 46, "Ctrl+Suppr"},
      {8, "RetArr"},
      {scAlt | 135, "Alt+F24"},
      {scCtrl | 0xFF, ""}, // no name: no prefix either
      {0, ""},
  };
  for (const auto& [ShortCut, Text] : Cases)
    EXPECT_EQ(ShortCutToTextLoc(ShortCut), QString::fromUtf8(Text)) << ShortCut;
  // Named keys follow the language module.
  ASSERT_TRUE(SetTranslation(TrId::GetMnuEnter, QStringLiteral("Enter")));
  ASSERT_TRUE(SetTranslation(TrId::GetMnuShift, QStringLiteral("Shift+")));
  EXPECT_EQ(ShortCutToTextLoc(scShift | 13), "Shift+Enter");
  SetTranslation(TrId::GetMnuEnter, TrDefault(TrId::GetMnuEnter));
  SetTranslation(TrId::GetMnuShift, TrDefault(TrId::GetMnuShift));
}

TEST(OwnerDrawMenus, KeySequencesBecomeShortCuts) {
  EXPECT_EQ(ShortCutOf(QKeySequence("Ctrl+Shift+S")), scCtrl | scShift | 'S');
  EXPECT_EQ(ShortCutText(QKeySequence("Ctrl+Shift+S")), "Maj+Ctrl+S");
  EXPECT_EQ(ShortCutText(QKeySequence(Qt::CTRL | Qt::Key_Return)), QString::fromUtf8("Ctrl+Entrée"));
  EXPECT_EQ(ShortCutOf(QKeySequence(Qt::KeypadModifier | Qt::Key_5)), 101);
  EXPECT_EQ(ShortCutOf(QKeySequence(Qt::Key_F4 | Qt::ALT)), scAlt | 115);
  EXPECT_EQ(ShortCutOf(QKeySequence()), 0);
}

TEST(OwnerDrawMenus, ItemHeights) {
  EXPECT_EQ(MenuItemHeight(false, 96, 12, 16), 20); // 8 + 12, at least 18, same parity
  EXPECT_EQ(MenuItemHeight(false, 96, 13, 16), 22); // 21 grows to the parity of 18
  EXPECT_EQ(MenuItemHeight(false, 96, 8, 16), 18);  // the icon's height + 2 at least
  EXPECT_EQ(MenuItemHeight(false, 144, 12, 0), 24); // no icons: no rule of parity
  EXPECT_EQ(MenuItemHeight(true, 96, 12, 16), 7);   // a separator, Windows 8 and later
}

TEST(OwnerDrawMenus, ColoursFromTheBase) {
  const TColor Base = RGB(0, 120, 215);
  SetMenuColors(Base);
  const TMenuColors& C = MenuColors();
  EXPECT_EQ(C.SelectionFrame, Base);
  EXPECT_EQ(C.SelectionFill, MixColorsF(clMenu, Base, 0.2));
  EXPECT_EQ(C.DisabledText, MixColorsF(clMenuText, clMenu, 0.7));
  EXPECT_EQ(C.Separator, C.DisabledText);
  EXPECT_EQ(C.ShortCutText, TColor(0x000080));
}

TEST(OwnerDrawMenus, MenusAreHookedOnceWithTheirSubmenus) {
  QMenuBar Bar;
  QMenu* File = Bar.addMenu("Fichier");
  QMenu* Recent = File->addMenu("Récents");
  QStyle* BarStyle = Bar.style();
  OwnerDrawMainMenu(&Bar, false);
  EXPECT_TRUE(IsOwnerDrawn(File));
  EXPECT_TRUE(IsOwnerDrawn(Recent));
  EXPECT_EQ(Bar.style(), BarStyle); // the bar's own entries stay the style's
  QStyle* MenuStyle = File->style();
  EXPECT_NE(MenuStyle, BarStyle);
  OwnerDrawMenu(File);
  EXPECT_EQ(File->style(), MenuStyle);
  // A submenu added later is drawn the same way.
  QMenu* Later = File->addMenu("Plus tard");
  EXPECT_TRUE(IsOwnerDrawn(Later));
  EXPECT_EQ(Later->style(), MenuStyle);
  SetMenuBarTextItems(&Bar);
  EXPECT_TRUE(IsOwnerDrawn(File));
}

TEST(OwnerDrawMenus, MeasuresAndPaintsTheItems) {
  const int OldIcons = MenuIconSize();
  SetMenuIconSize(16);
  SetMenuColors(RGB(0, 120, 215));
  QMenu Menu;
  Menu.setFont(QFont(Menu.font().family(), -1));
  QAction* Open = Menu.addAction("Ouvrir...");
  Open->setShortcut(QKeySequence("Ctrl+O"));
  QAction* Separator = Menu.addSeparator();
  QAction* Checked = Menu.addAction("Grille");
  Checked->setCheckable(true);
  Checked->setChecked(true);
  QAction* Disabled = Menu.addAction("Rétablir");
  Disabled->setEnabled(false);
  OwnerDrawMenu(&Menu);
  Menu.ensurePolished();
  Menu.adjustSize();
  const int FontHeight = QFontMetrics(Menu.font()).height();
  EXPECT_EQ(Menu.actionGeometry(Open).height(), MenuItemHeight(false, ScreenPixelsPerInch(), FontHeight, 16));
  EXPECT_EQ(Menu.actionGeometry(Separator).height(), 7);
  const QImage Image = Menu.grab().toImage();
  // The short-cut stands right-aligned in dark red; the separator is one
  // line in its colour across the item.
  const QRect OpenRect = Menu.actionGeometry(Open);
  int DarkRed = 0;
  for (int Y = OpenRect.top(); Y <= OpenRect.bottom(); ++Y)
    for (int X = OpenRect.center().x(); X <= OpenRect.right(); ++X)
      if (const QColor P = Image.pixelColor(X, Y); P.red() > 100 && P.green() < 60 && P.blue() < 60) ++DarkRed;
  EXPECT_GT(DarkRed, 20);
  // The caption, on the left, is not red.
  int RedCaption = 0;
  for (int Y = OpenRect.top(); Y <= OpenRect.bottom(); ++Y)
    for (int X = OpenRect.left(); X < OpenRect.center().x() - 20; ++X)
      if (const QColor P = Image.pixelColor(X, Y); P.red() > 100 && P.green() < 60) ++RedCaption;
  EXPECT_EQ(RedCaption, 0);
  const QRect SepRect = Menu.actionGeometry(Separator);
  const QColor Line = ToQColor(MenuColors().Separator);
  EXPECT_EQ(Image.pixelColor(SepRect.center().x(), SepRect.top() + SepRect.height() / 2), Line);
  EXPECT_EQ(Image.pixelColor(SepRect.center().x(), SepRect.top() + 1), ToQColor(MenuColors().Background));
  SetMenuIconSize(OldIcons);
}
