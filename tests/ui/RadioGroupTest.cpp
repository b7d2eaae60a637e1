#include "ui/RadioGroup.h"

#include "ui/DlgMain.h"

#include <QAction>
#include <QRadioButton>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

namespace {

TEST(RadioGroupTest, ClicksAndCodeChooseOneItem) {
  TRadioGroup G;
  G.SetColumns(2);
  G.SetItems({"Haut / Gauche", "Bas / Gauche", "Haut / Droite", "Bas / Droite", "Centre"});
  EXPECT_EQ(G.ItemIndex(), -1);
  int Clicks = 0;
  G.OnClick = [&](QObject* Sender) {
    EXPECT_EQ(Sender, &G);
    ++Clicks;
  };
  G.show();
  // Columns are filled top to bottom: three rows for five items.
  EXPECT_EQ(G.Button(1)->x(), G.Button(0)->x());
  EXPECT_GT(G.Button(3)->x(), G.Button(0)->x());
  EXPECT_EQ(G.Button(3)->y(), G.Button(0)->y());
  QTest::mouseClick(G.Button(2), Qt::LeftButton);
  EXPECT_EQ(G.ItemIndex(), 2);
  EXPECT_EQ(Clicks, 1);
  G.SetItemIndex(2);
  EXPECT_EQ(Clicks, 1); // no change, no event
  G.SetItemIndex(7);    // out of range: none
  EXPECT_EQ(G.ItemIndex(), -1);
  EXPECT_FALSE(G.Button(2)->isChecked());
  EXPECT_EQ(Clicks, 2);
  SetRadioIndexSilent(&G, 0);
  EXPECT_EQ(G.ItemIndex(), 0);
  EXPECT_TRUE(G.Button(0)->isChecked());
  EXPECT_EQ(Clicks, 2);
  EXPECT_TRUE(G.OnClick);
}

TEST(RadioGroupTest, ToolbarButtonLookups) {
  QToolBar Bar;
  QAction* A = Bar.addAction("a");
  QAction* B = Bar.addAction("b");
  Bar.addSeparator();
  QAction* C = Bar.addAction("c");
  for (QAction* X : {A, B, C}) X->setCheckable(true);
  A->setChecked(true);
  C->setChecked(true);
  A->setProperty("Tag", 5);
  B->setProperty("Tag", 5);
  B->setProperty("ImageIndex", 3);
  EXPECT_EQ(FindDownButton(&Bar, nullptr), C); // searched from the last
  EXPECT_EQ(FindButtonByTag(&Bar, 5, nullptr), B);
  EXPECT_EQ(FindButtonByTag(&Bar, 9, A), A);
  EXPECT_EQ(FindButtonByImageIndex(&Bar, 3, nullptr), B);
  EXPECT_EQ(FindButtonByImageIndex(&Bar, 0, nullptr), nullptr);
}

} // namespace
