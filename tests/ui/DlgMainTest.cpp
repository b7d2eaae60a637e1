#include "ui/DlgMain.h"

#include "QtPrinters.h"
#include "platform/IniFile.h"
#include "ui/ControlTag.h"
#include "ui/DialogServices.h"
#include "ui/DlgEx.h"
#include "ui/RadioGroup.h"
#include "ui/SpecialEdit.h"
#include "ui/SpinEdit.h"
#include "ui/TrackBar.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDial>
#include <QFile>
#include <QFontComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// The main window's registration services, recorded.
class TFakeServices : public TDialogServices {
public:
  void SetModalForm(QWidget* Form) override { Log.push_back("modal " + Name(Form)); }
  void SetDialogueForm(QWidget* Form) override {
    Dialogue = Form;
    Log.push_back("dialogue " + Name(Form));
  }
  void SetPipetteForm(QWidget* Form) override {
    Pipette = Form;
    if (Form) Dialogue = Form;
    Log.push_back("pipette " + Name(Form));
  }
  QWidget* PipetteForm() const override { return Pipette; }
  QWidget* DialogueForm() const override { return Dialogue; }
  void UpdateActiveImage() override { Log.push_back("update"); }
  static std::string Name(QWidget* W) { return W ? W->objectName().toStdString() : "none"; }
  QPointer<QWidget> Pipette, Dialogue;
  std::vector<std::string> Log;
};

// A dialog with one control of every persisted class, plus controls that
// must not take part.
class TTestDialog : public TMainDialogForm {
public:
  explicit TTestDialog(const QString& Name = "TestForm") {
    setObjectName(Name);
    auto* L = new QVBoxLayout(this);
    auto Add = [&](QWidget* W, const char* WName) {
      W->setObjectName(WName);
      L->addWidget(W);
      return W;
    };
    Track = new TTrackBar(this);
    Track->setRange(0, 100);
    Track->SetPosition(30);
    Add(Track, "TrackBar1");
    Spin = new TSpinEdit2(this);
    Spin->SetMinValue(1);
    Spin->SetMaxValue(200);
    Spin->SetValue(10);
    Add(Spin, "SpinEdit2");
    Float = new TFloatSpinEdit(this);
    Float->SetMaxValue(10);
    Float->SetValue(1.5);
    Add(Float, "FloatEdit3");
    Edit = new QLineEdit(" padded ", this);
    Add(Edit, "Edit4");
    Menu = new QMenu(this);
    Menu->addAction("Small");
    Menu->addAction("Large");
    Special = new TSpecialEdit(this);
    Special->SetDropDownMenu(Menu);
    Special->SetItemIndex(0);
    Add(Special, "Special5");
    FileEdit = new TSpecialEdit(this);
    SetControlTag(FileEdit, -772);
    FileEdit->SetText("/no/such/file.png");
    Add(FileEdit, "Special6");
    Check = new QCheckBox("Check", this);
    Add(Check, "CheckBox7");
    Radio1 = new QRadioButton("One", this);
    Radio2 = new QRadioButton("Two", this);
    Radio1->setChecked(true);
    Add(Radio1, "Radio8");
    Add(Radio2, "Radio9");
    Group = new TRadioGroup(this);
    Group->SetItems({"A", "B", "C"});
    Group->SetItemIndex(0);
    Add(Group, "RadioGroup10");
    Combo = new QComboBox(this);
    Combo->addItems({"x", "y", "z"});
    Add(Combo, "Combo11");
    Editable = new QComboBox(this);
    Editable->setEditable(true);
    Editable->setEditText("typed");
    Add(Editable, "Combo12");
    ByText = new QComboBox(this);
    ByText->addItems({"red", "green"});
    SetControlTag(ByText, -771);
    Add(ByText, "Combo13");
    Memo = new QPlainTextEdit("first\nsecond", this);
    Add(Memo, "Memo14");
    Pages = new QTabWidget(this);
    Pages->addTab(new QWidget, "P1");
    Pages->addTab(new QWidget, "P2");
    Add(Pages, "Pages15");
    Speed = new QToolButton(this);
    Speed->setCheckable(true);
    Add(Speed, "Speed16");
    // Left out: a hidden-name control, the children of a "_" panel, unnamed.
    Add(new QCheckBox("private", this), "_Private");
    auto* Panel = Add(new QWidget(this), "_Panel");
    (new QCheckBox("inner", Panel))->setObjectName("Inner");
    Add(new QCheckBox("unnamed", this), "");
    auto* Ok = new QPushButton("Ok", this);
    Ok->setObjectName("BtnOk");
    auto* Cancel = new QPushButton("Annuler", this);
    Cancel->setObjectName("BtnCancel");
    L->addWidget(Ok);
    L->addWidget(Cancel);
    OkButton = Ok;
    CancelButton = Cancel;
    connect(Ok, &QPushButton::clicked, this, [this] {
      ++OkClicks;
      if (!HasEmptySpinEdit()) CloseOk();
    });
    IniCustomVarCount = 2;
    // A size of its own, whatever the system's fonts: the position cases
    // assume that it fits on the screen.
    setMinimumSize(100, 100);
    resize(300, 400);
  }
  void AcceptIniControl(QWidget* Control, bool& Accept) override {
    if (Control == Memo || Control == Pages || Control == Speed) Accept = true;
  }
  QString GetIniCustomVar(int Index) override { return Index == 0 ? "alpha" : "beta"; }
  void SetIniCustomVar(int Index, const QString& Value) override { Custom[Index] = Value; }
  void UpdateControls() override {
    SeenAtUpdate = Spin->Value();
    ++Updates;
  }
  void FormShow() override { ++Shows; }

  TTrackBar* Track;
  TSpinEdit2* Spin;
  TFloatSpinEdit* Float;
  QLineEdit* Edit;
  QMenu* Menu;
  TSpecialEdit* Special;
  TSpecialEdit* FileEdit;
  QCheckBox* Check;
  QRadioButton *Radio1, *Radio2;
  TRadioGroup* Group;
  QComboBox *Combo, *Editable, *ByText;
  QPlainTextEdit* Memo;
  QTabWidget* Pages;
  QToolButton* Speed;
  QString Custom[2];
  int SeenAtUpdate = 0;
  int Updates = 0;
  int Shows = 0;
  int OkClicks = 0;
};

class DlgMainTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(Dir.isValid());
    SetDialogsIniFile(Dir.filePath("Lumaretique.ini"));
    DialogParams = true;
  }
  void TearDown() override {
    DialogParams = false;
    DialogsIniFile.clear();
    SetDialogServices(nullptr);
    QLocale::setDefault(QLocale::c());
  }
  QByteArray FileText() {
    QFile F(DialogsIniFile);
    return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray();
  }
  // Shows a dialog and makes it the active window.
  static void ShowActive(QWidget* W) {
    W->show();
    W->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(W));
  }
  QTemporaryDir Dir;
};

TEST_F(DlgMainTest, DialogsFileName) {
  struct Case {
    const char* Main;
    const char* Dialogs;
  };
  for (const Case& C : {Case{"/x/Lumaretique.ini", "/x/LumaretiqueDialogs.ini"},
                        Case{"/x/Lumaretique.INI", "/x/LumaretiqueDialogs.ini"},
                        Case{"/x/my.ini.d/set.ini", "/x/my.ini.d/setDialogs.ini"},
                        Case{"/x/settings", "/x/settingsDialogs.ini"}, Case{"", ""}}) {
    SetDialogsIniFile(QString::fromUtf8(C.Main));
    EXPECT_EQ(DialogsIniFile, QString::fromUtf8(C.Dialogs)) << C.Main;
  }
}

TEST_F(DlgMainTest, SavesOnOkInOrderAndRestoresInANewInstance) {
  const QString File = Dir.filePath("picture.png");
  QFile(File).open(QIODevice::WriteOnly);
  {
    TTestDialog D;
    ShowActive(&D);
    D.move(120, 90);
    D.Track->SetPosition(70);
    D.Spin->SetValue(42);
    D.Float->SetValue(2.25);
    D.Edit->setText("  two blanks  ");
    D.Special->SetItemIndex(1);
    D.FileEdit->SetText(File);
    D.Check->setChecked(true);
    D.Radio2->setChecked(true);
    D.Group->SetItemIndex(2);
    D.Combo->setCurrentIndex(1);
    D.Editable->setEditText("own text");
    D.ByText->setCurrentIndex(1);
    D.Memo->setPlainText("line 1\nline 2");
    D.Pages->setCurrentIndex(1);
    D.Speed->setChecked(true);
    QTest::mouseClick(D.findChild<QPushButton*>("BtnOk"), Qt::LeftButton);
    EXPECT_TRUE(D.DialogOk);
    EXPECT_FALSE(D.isVisible());
  }
  const QString Expected = "[TestForm]\n"
                           "$Left=120\n"
                           "$Top=90\n"
                           "TrackBar1=70\n"
                           "SpinEdit2=42\n"
                           "FloatEdit3=2.25\n"
                           "Edit4=\"  two blanks  \"\n"
                           "Special5=1\n"
                           "Special6=" +
                           File +
                           "\n"
                           "CheckBox7=1\n"
                           "Radio8=0\n"
                           "Radio9=1\n"
                           "RadioGroup10=2\n"
                           "Combo11=1\n"
                           "Combo12=own text\n"
                           "Combo13=green\n"
                           "Memo14=\\:\"line 1\\nline 2\"\n"
                           "Pages15=1\n"
                           "Speed16=1\n"
                           "$Var0=alpha\n"
                           "$Var1=beta\n";
  EXPECT_EQ(QString::fromUtf8(FileText()), Expected);

  TTestDialog D;
  ShowActive(&D);
  EXPECT_EQ(D.SeenAtUpdate, 42); // restored before UpdateControls
  EXPECT_TRUE(D.IniLoaded());
  EXPECT_EQ(D.pos(), QPoint(120, 90));
  EXPECT_EQ(D.Track->Position(), 70);
  EXPECT_EQ(D.Spin->Value(), 42);
  EXPECT_EQ(D.Float->Value(), 2.25);
  EXPECT_EQ(D.Edit->text(), "  two blanks  ");
  EXPECT_EQ(D.Special->ItemIndex(), 1);
  EXPECT_EQ(D.FileEdit->Text(), File);
  EXPECT_TRUE(D.Check->isChecked());
  EXPECT_TRUE(D.Radio2->isChecked());
  EXPECT_EQ(D.Group->ItemIndex(), 2);
  EXPECT_EQ(D.Combo->currentIndex(), 1);
  EXPECT_EQ(D.Editable->currentText(), "own text");
  EXPECT_EQ(D.ByText->currentIndex(), 1);
  EXPECT_EQ(D.Memo->toPlainText(), "line 1\nline 2");
  EXPECT_EQ(D.Pages->currentIndex(), 1);
  EXPECT_TRUE(D.Speed->isChecked());
  EXPECT_EQ(D.Custom[0], "alpha");
  EXPECT_EQ(D.Custom[1], "beta");
}

TEST_F(DlgMainTest, CancelCloseBoxAndEscSaveNothing) {
  {
    TTestDialog D;
    ShowActive(&D);
    D.Spin->SetValue(99);
    QTest::mouseClick(D.findChild<QPushButton*>("BtnCancel"), Qt::LeftButton);
    EXPECT_FALSE(D.isVisible());
    ShowActive(&D);
    D.close();
    ShowActive(&D);
    QTest::keyClick(D.Spin, Qt::Key_Escape); // from inside a field, to the form
    EXPECT_FALSE(D.isVisible());
    EXPECT_FALSE(D.DialogOk);
  }
  EXPECT_FALSE(QFile::exists(DialogsIniFile));
}

TEST_F(DlgMainTest, DialogParamsOffMeansNoFileAccess) {
  {
    TIniFile Ini(DialogsIniFile);
    Ini.WriteString("TestForm", "SpinEdit2", "77");
  }
  const QByteArray Before = FileText();
  DialogParams = false;
  TTestDialog D;
  ShowActive(&D);
  EXPECT_EQ(D.Spin->Value(), 10);
  EXPECT_FALSE(D.IniLoaded());
  D.CloseOk();
  EXPECT_EQ(FileText(), Before);
}

TEST_F(DlgMainTest, PositionIsKeptOnScreen) {
  // Margin 4 on Windows Vista and later; a 1920 x 1080 screen.
  EXPECT_EQ(KeepFormOnScreen(-50, 100, 400, 300, 1920, 1080, 4), (TPoint{4, 100}));
  EXPECT_EQ(KeepFormOnScreen(1900, 100, 400, 300, 1920, 1080, 4), (TPoint{1516, 100}));
  EXPECT_EQ(KeepFormOnScreen(10, 900, 400, 300, 1920, 1080, 4), (TPoint{10, 776}));
  EXPECT_EQ(KeepFormOnScreen(10, 2, 400, 300, 1920, 1080, 4), (TPoint{10, 4}));

  {
    TIniFile Ini(DialogsIniFile);
    Ini.WriteString("TestForm", "$Left", "-50");
    Ini.WriteString("TestForm", "$Top", "oops"); // not a number: the current top stays
  }
  TTestDialog D;
  D.IniOptions = ioPosition; // position only
  ShowActive(&D); // once, so that the window frame is known
  D.hide();
  D.move(30, 40);
  ShowActive(&D);
  EXPECT_EQ(D.x(), 4);
  const QSize Screen = QGuiApplication::primaryScreen()->geometry().size();
  const QSize Frame = D.frameGeometry().size();
  EXPECT_EQ(D.y(), KeepFormOnScreen(4, 40, Frame.width(), Frame.height(), Screen.width(), Screen.height(), 4).Y);
  EXPECT_FALSE(D.IniLoaded());
}

TEST_F(DlgMainTest, CentredOverTheMainWindowOnFirstShow) {
  QWidget Main;
  Main.setGeometry(100, 80, 600, 500);
  SetMainFormWindow(&Main);
  TTestDialog D;
  D.resize(200, 600); // taller than the main window: no negative offset
  ShowActive(&D);
  const QRect M = Main.frameGeometry();
  EXPECT_EQ(D.pos(), QPoint(M.x() + (M.width() - D.frameGeometry().width()) / 2, M.y()));
  SetMainFormWindow(nullptr);
}

TEST_F(DlgMainTest, StatePrefixAndRangeChecks) {
  {
    TIniFile Ini(DialogsIniFile);
    Ini.WriteString("TestForm", "SpinEdit2", "0125"); // hidden, enabled, 25
    Ini.WriteString("TestForm", "TrackBar1", "7");    // one character: a plain value
    Ini.WriteString("TestForm", "Combo11", "1099");   // disabled, no such index
    Ini.WriteString("TestForm", "RadioGroup10", "115");
    Ini.WriteString("TestForm", "Special5", "117");
    Ini.WriteString("TestForm", "Pages15", "11-1");
    Ini.WriteString("TestForm", "Special6", "11/no/file/any/more.png");
  }
  TTestDialog D;
  D.IniOptions = ioValue | ioNoEvent | ioState;
  D.Combo->setCurrentIndex(2);
  D.FileEdit->SetText("kept");
  ShowActive(&D);
  EXPECT_TRUE(D.Spin->isHidden());
  EXPECT_TRUE(D.Spin->isEnabled());
  EXPECT_EQ(D.Spin->Value(), 25);
  EXPECT_EQ(D.Track->Position(), 7);
  EXPECT_EQ(D.Combo->currentIndex(), 2);
  EXPECT_FALSE(D.Combo->isEnabled());
  EXPECT_EQ(D.Group->ItemIndex(), 0);
  EXPECT_EQ(D.Special->ItemIndex(), 0);
  EXPECT_EQ(D.Pages->currentIndex(), 0);
  EXPECT_EQ(D.FileEdit->Text(), "kept"); // the stored file no longer exists
}

TEST_F(DlgMainTest, RestoringWithoutEvents) {
  {
    TIniFile Ini(DialogsIniFile);
    Ini.WriteString("TestForm", "SpinEdit2", "33");
    Ini.WriteString("TestForm", "CheckBox7", "1");
    Ini.WriteString("TestForm", "RadioGroup10", "1");
    Ini.WriteString("TestForm", "TrackBar1", "50");
  }
  for (TIniOptions Options : {TIniOptions(ioValue | ioNoEvent), TIniOptions(ioValue | ioNoTrackBarEvent)}) {
    TTestDialog D;
    D.IniOptions = Options;
    int Changes = 0, Tracks = 0;
    D.Spin->OnChange = [&](QObject*) { ++Changes; };
    QObject::connect(D.Check, &QCheckBox::toggled, [&] { ++Changes; });
    D.Group->OnClick = [&](QObject*) { ++Changes; };
    D.Track->OnChange = [&](QObject*) { ++Tracks; };
    ShowActive(&D);
    EXPECT_EQ(D.Spin->Value(), 33);
    EXPECT_TRUE(D.Check->isChecked());
    EXPECT_EQ(D.Group->ItemIndex(), 1);
    EXPECT_EQ(D.Track->Position(), 50);
    const bool NoEvent = Options & ioNoEvent;
    EXPECT_EQ(Changes, NoEvent ? 0 : 3);
    EXPECT_EQ(Tracks, NoEvent ? 1 : 0); // track bars have their own switch
    EXPECT_TRUE(D.Group->OnClick);      // detached only for the restore
  }
}

TEST_F(DlgMainTest, FloatsReadBackUnderAnotherLocale) {
  QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
  {
    TTestDialog D;
    ShowActive(&D);
    D.Float->SetValue(1.5);
    D.CloseOk();
  }
  EXPECT_NE(FileText().indexOf("FloatEdit3=1,5\n"), -1);
  QLocale::setDefault(QLocale::c());
  TTestDialog D;
  ShowActive(&D);
  EXPECT_EQ(D.Float->Value(), 1.5);
  EXPECT_EQ(D.Float->text(), "1.50");
}

TEST_F(DlgMainTest, EnterCommitsASpinEditThenTriggersOk) {
  TTestDialog D;
  ShowActive(&D);
  EXPECT_TRUE(D.UseDefaultKeyPress);
  EXPECT_EQ(D.Spin->Tag(), 10); // its value at the first show
  D.Spin->setFocus();
  D.Spin->selectAll();
  QTest::keyClick(D.Spin, Qt::Key_Backspace);
  EXPECT_TRUE(D.HasEmptySpinEdit());
  QTest::keyClick(D.Spin, Qt::Key_Return);
  EXPECT_EQ(D.Spin->text(), "10");
  EXPECT_TRUE(D.isVisible());
  EXPECT_EQ(D.OkClicks, 0);
  EXPECT_EQ(QApplication::focusWidget(), D.findChild<QPushButton*>("BtnOk"));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(D.OkClicks, 1);
  EXPECT_FALSE(D.isVisible());
  EXPECT_TRUE(D.DialogOk);
}

TEST_F(DlgMainTest, EscWithHiddenCancelKeepsTheDialogOpen) {
  TTestDialog D;
  D.findChild<QPushButton*>("BtnCancel")->hide();
  ShowActive(&D);
  QTest::keyClick(D.Edit, Qt::Key_Escape);
  EXPECT_TRUE(D.isVisible());
}

TEST_F(DlgMainTest, HideNormalisesSpinEditsSilently) {
  DialogParams = false;
  TTestDialog D;
  ShowActive(&D);
  int Changes = 0;
  D.Spin->OnChange = [&](QObject*) { ++Changes; };
  D.Spin->setText("");
  D.Float->setText("99");
  Changes = 0;
  D.close();
  EXPECT_EQ(D.Spin->text(), "10"); // its Tag
  EXPECT_EQ(D.Float->text(), "10.00");
  EXPECT_EQ(Changes, 0);
}

TEST_F(DlgMainTest, RegistrationWithTheMainWindow) {
  TFakeServices Services;
  SetDialogServices(&Services);
  auto A = std::make_unique<TTestDialog>("A");
  A->DialogMode = TMainDialogMode::dmDialog;
  auto B = std::make_unique<TTestDialog>("B");
  B->DialogMode = TMainDialogMode::dmPipette;
  A->show();
  EXPECT_EQ(Services.Log, (std::vector<std::string>{"pipette none", "dialogue none", "dialogue A"}));
  Services.Log.clear();
  B->show();
  EXPECT_EQ(SavedRegistration(), A.get());
  EXPECT_EQ(Services.Log, (std::vector<std::string>{"pipette none", "dialogue none", "pipette B"}));
  Services.Log.clear();
  B->close(); // A is handed back
  EXPECT_EQ(Services.Log, (std::vector<std::string>{"pipette none", "dialogue none", "dialogue A"}));
  Services.Log.clear();
  A->close(); // nothing to hand back
  EXPECT_EQ(Services.Log, (std::vector<std::string>{"pipette none", "dialogue none"}));

  // A freed or hidden dialog is never handed back.
  A->show();
  B->show();
  A.reset();
  Services.Log.clear();
  B->close();
  EXPECT_EQ(Services.Log, (std::vector<std::string>{"pipette none", "dialogue none"}));
  auto C = std::make_unique<TTestDialog>("C");
  C->DialogMode = TMainDialogMode::dmModal;
  C->show();
  C->close();
  EXPECT_EQ(Services.Log.back(), "modal none");
  UpdateActiveImage();
  EXPECT_EQ(Services.Log.back(), "update");
}

TEST_F(DlgMainTest, InheritedOnlyFormsDoNothingOnShow) {
  TFakeServices Services;
  SetDialogServices(&Services);
  {
    TIniFile Ini(DialogsIniFile);
    Ini.WriteString("Panel", "SpinEdit2", "50");
  }
  TTestDialog Host("Host");
  auto* Panel = new TTestDialog("Panel");
  Panel->setParent(&Host, Qt::Widget);
  Panel->InheritedOnly = true;
  Panel->DialogMode = TMainDialogMode::dmDialog;
  Host.layout()->addWidget(Panel);
  ShowActive(&Host);
  EXPECT_EQ(Panel->Shows, 0);
  EXPECT_EQ(Panel->Spin->Value(), 10);
  EXPECT_TRUE(Services.Log.empty());
  // The panel's controls are its own, not the host's.
  Host.CloseOk();
  EXPECT_EQ(FileText().count("SpinEdit2="), 2); // the panel's stored one and the host's
  // A panel is loaded and saved by its owner through its own file.
  Panel->IniFileName = "Batch.ini";
  Panel->IniOptions = ioValue;
  Panel->Spin->SetValue(60);
  Panel->SaveIniValues();
  EXPECT_EQ(TIniFile(Dir.filePath("Batch.ini")).ReadString("Panel", "SpinEdit2", ""), "60");
}

TEST_F(DlgMainTest, ShowAndWaitReturnsWhenHidden) {
  TTestDialog D;
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  QTimer::singleShot(0, &D, [&] { // inside the wait loop
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::ArrowCursor);
    D.CloseOk();
  });
  D.ShowAndWait();
  EXPECT_FALSE(D.isVisible());
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  QGuiApplication::restoreOverrideCursor();
}

TEST_F(DlgMainTest, PreparedTrackBar) {
  TTestDialog D;
  auto* T = new TTrackBar(&D); // placed by hand, not by the layout
  T->setRange(0, 100);
  T->SetPosition(30);
  T->setGeometry(5, 5, 228, 30); // 200 pixels between the two half thumbs (20 / 2 + 4 each)
  D.PrepareTrackBar(T);
  EXPECT_EQ(ControlTag(T), 30);
  int KeyUps = 0;
  T->OnKeyUp = [&](TTrackBar*, int Key, Qt::KeyboardModifiers) {
    EXPECT_EQ(Key, 0);
    ++KeyUps;
  };
  ShowActive(&D);
  int P = 0;
  ASSERT_TRUE(TrackBarClickPosition(T, 114, 5, P));
  EXPECT_EQ(P, 50);
  ASSERT_TRUE(TrackBarClickPosition(T, 15, 5, P));
  EXPECT_EQ(P, 0); // Round(0.5) is 0, halves to even
  ASSERT_TRUE(TrackBarClickPosition(T, 17, 5, P));
  EXPECT_EQ(P, 2); // Round(1.5)

  QTest::mouseClick(T, Qt::LeftButton, {}, QPoint(194, 15)); // far from the thumb
  EXPECT_EQ(T->Position(), 90);
  EXPECT_EQ(TrackBarDownPosition(), 30);
  EXPECT_EQ(KeyUps, 1);
  // A double click as the platform reports it: press, release, double-click
  // press, release.
  auto DoubleClick = [T](QPoint P) {
    QTest::mouseClick(T, Qt::LeftButton, {}, P);
    QTest::mouseDClick(T, Qt::LeftButton, {}, P);
    QTest::mouseRelease(T, Qt::LeftButton, {}, P);
  };
  DoubleClick(QPoint(34, 15)); // the first click jumps, the second is far from 90
  EXPECT_EQ(T->Position(), 10);
  T->SetPosition(70);
  const int ThumbX = 14 + 70 * 2;
  DoubleClick(QPoint(ThumbX, 15)); // on the thumb: back to the design value
  EXPECT_EQ(T->Position(), 30);

  // A bar with no room does nothing.
  T->resize(0, 30);
  EXPECT_FALSE(TrackBarClickPosition(T, 0, 5, P));
  T->resize(20, 30);
  EXPECT_FALSE(TrackBarClickPosition(T, 3, 5, P));

  // A vertical bar has its minimum at the top and reads Y.
  TTrackBar V;
  V.SetOrientation(Qt::Vertical);
  V.setRange(0, 100);
  V.setGeometry(0, 0, 30, 228);
  EXPECT_TRUE(V.invertedAppearance());
  ASSERT_TRUE(TrackBarClickPosition(&V, 500, 64, P));
  EXPECT_EQ(P, 25);
}

TEST_F(DlgMainTest, NewControlClassesRegisterBeforeTheirBases) {
  TSpinEdit2 Spin;
  EXPECT_EQ(FindIniControlClass(&Spin)->Class, &TSpinEdit2::staticMetaObject); // not the edit row
  QDial Dial;
  EXPECT_EQ(FindIniControlClass(&Dial), nullptr);

  // A class of its own is added; a subclass of a listed class goes before it.
  RegisterIniControlClass(
      {&QDial::staticMetaObject, true, [](QWidget* C) { return QString::number(static_cast<QDial*>(C)->value()); },
       [](QWidget* C, const QString& V, TIniOptions) { static_cast<QDial*>(C)->setValue(V.toInt()); }});
  RegisterIniControlClass({&QFontComboBox::staticMetaObject, false,
                           [](QWidget* C) { return static_cast<QFontComboBox*>(C)->currentFont().family(); },
                           [](QWidget*, const QString&, TIniOptions) {}});
  ASSERT_NE(FindIniControlClass(&Dial), nullptr);
  EXPECT_EQ(FindIniControlClass(&Dial)->Class, &QDial::staticMetaObject);
  QFontComboBox Fonts;
  EXPECT_EQ(FindIniControlClass(&Fonts)->Class, &QFontComboBox::staticMetaObject);
  QComboBox Plain;
  EXPECT_EQ(FindIniControlClass(&Plain)->Class, &QComboBox::staticMetaObject);

  // Registered classes take part in the dialogs like the built-in ones.
  {
    TTestDialog D;
    auto* Knob = new QDial(&D);
    Knob->setObjectName("Knob");
    Knob->setValue(12);
    ShowActive(&D);
    D.CloseOk();
  }
  EXPECT_EQ(TIniFile(DialogsIniFile).ReadString("TestForm", "Knob", ""), "12");
}

} // namespace
