// TOutilsForm, the tool palette: the one window that chooses what a press on
// an image does. From top to bottom: the foreground and background colours
// with the swap and black-and-white icons, the rainbow strip and the colour
// strip with its previous/next buttons, eighteen tool buttons in rows of
// three, and the option page of the active tool. It floats as a tool window
// or is docked at the left or right edge of the main window, keeps its
// settings in the dialog-settings file, and offers the image brushes and
// nozzles of the data folders. Depends on the dialog base and controls of
// ui/, the brush lists and colour strips of tools/, and reaches the main
// window only through TPaletteServices.
//
// The image windows ask it which tool is active through the predicates
// (IsBrushTool ...); the stroke engine reads its option controls by name.
#pragma once

#include "platform/Colors.h"
#include "tools/BrushLists.h"
#include "tools/ui/PaletteServices.h"
#include "ui/DlgMain.h"

#include <QPointer>

#include <array>
#include <functional>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QRadioButton;
class QStackedWidget;
class QToolButton;
class TColorSwatch;
class TSpecialEdit;
class TSpinEdit2;
class TStripImage;
class TTrackBar;

// Tool ids: 0 selection (also any value outside 1..17), 1 pipette, 2 magic
// wand, 3 line, 4 fill, 5 airbrush, 6 brush, 7 advanced brush, 8 drop,
// 9 finger, 10 clone stamp, 11 hand scroll, 12 eraser, 13 layer tool,
// 14 retouch, 15 deform, 16 art brush, 17 nozzle.
using TToolId = int;
inline constexpr int ToolCount = 18;

// Option pages of the notebook, by index.
enum TOptionPage {
  pgSel, pgPipette, pgLigne, pgRemplir, pgDessin, pgDessin2, pgGoutte, pgScroll, pgAero, pgTampon, pgMagic,
  pgDoigt, pgCalque, pgRetouche, pgDeform, pgArt, PgNoz, OptionPageCount
};

// The palette's place: read by the main window as [Tools] ToolsPalette and
// ToolsAlignment (0 floating, 1 docked left, 2 docked right).
inline bool PaletteShown = false;
inline int PaletteAlignment = 2;

class TOutilsForm : public TMainDialogForm {
  Q_OBJECT
public:
  // FormCreate: builds the palette in the docking state PaletteAlignment,
  // loads the nozzle list.
  explicit TOutilsForm(TPaletteServices& Services, QWidget* Parent = nullptr);
  ~TOutilsForm() override;

  // ---- Tools
  void SetTool(TToolId Id);
  TToolId Tool() const;
  QToolButton* ToolButton(TToolId Id) const { return FToolButtons[size_t(Id)]; }
  // The tool's own hint, without its key: it titles the tool's undo steps.
  QString ToolHint(TToolId Id) const;
  // The click of every tool button.
  void ToolBtnClick(QToolButton* Sender);
  QStackedWidget* NbkOptions() const { return FNbkOptions; }
  // Enables the tools for the active image and layer; a disabled tool that
  // is down gives way to the selection tool.
  void MajBoutons();
  bool ToolPaletteVisible() const;

  // ---- Predicates (Ctrl and Space as held at the time of the call)
  bool IsSelectTool() const;
  bool IsSelPaused() const;
  bool IsAllSelectTool() const;
  bool IsPipetteTool() const;
  bool IsMagicTool() const;
  bool IsLineTool() const;
  bool IsFillTool() const;
  bool IsGoutteTool() const;
  bool IsAeroTool() const;
  bool IsDoigtTool() const;
  bool IsRetoucheTool() const;
  bool IsLayerTool() const;
  bool IsDeformTool() const;
  bool IsArtTool() const;
  bool IsNozzleTool() const;
  bool IsBrushTool() const;
  bool IsScrollTool() const;
  bool IsTamponTool() const;
  bool IsTamponTool2() const;
  bool IsTamponToolInit() const;
  bool IsDrawWithCursorTool() const;
  bool IsFillContourTool() const;
  bool IsDrawing() const { return StrokeRunning; }
  // A painting stroke runs (set by the stroke engine).
  bool StrokeRunning = false;
  // A Shift + press continues the last brush stroke with a straight line.
  bool CanDrawBrushLine = false;
  // Which brush page the eraser uses: 0 the built-in brushes, 1 the list.
  int GommePageIndex = 0;

  // ---- Colours
  TColor GetColor(bool Back) const;
  void SetColor(TColor Value, bool Back);
  void ImgSwapClick();
  void ImgNBClick();
  // Leaving the web colour edit: valid text becomes the foreground colour,
  // invalid text is replaced by the current one.
  void ValidateEdiHTML();

  // ---- Colour strip
  int ColorsIndex() const { return FColorsIndex; }
  void SetGradIndex(int Index);
  void BtnPrevGradClick();
  void BtnNextGradClick();
  TStripImage* ImgGrad() const { return FImgGrad; }
  TStripImage* ImgGrad2() const { return FImgGrad2; }

  // ---- Layer page
  void MajOptionsCalques();
  // The caption and blend code of the blend menu's item Index; an empty
  // caption for a separator or an index out of range.
  void LayerModeMenuItem(int Index, QString& Caption, int& Tag) const;

  // ---- Brushes and nozzles
  TBrushList& Brushes() { return FBrushes; }
  TNozzleList& Nozzles() { return FNozzles; }
  QString CurrentFileBrush() const { return FBrushes.CurrentFile; }
  void LoadBrushSet(const QString& Name);
  // Runs Load on the brush list, shows the list again and reports the files
  // it skipped.
  void LoadBrushList(const std::function<void()>& Load);
  // Mirrors the selected brush (the mirror state is kept in the buttons'
  // tags).
  void TBSymClick(bool Horizontal);
  // The brush-file menu: "Réinitialiser", a separator, one item per brush
  // file of the brushes folder but the default one.
  QMenu* BrushFileMenu();
  // The brush-outline cursor's shape for the current tool.
  void MajCureseurExData();

  // ---- Docking, focus and edits
  int Alignment() const;
  void SetAlignment(int Value);
  int WidthNeeded(int AHeight) const;
  int DefWidth() const { return FDefWidth; }
  int DefHeight() const { return FDefHeight; }
  int VHeight() const { return FVHeight; }
  // The focused spin edit or edit of the palette (with All also a focused
  // slider or an open list); nullptr when none or the palette is hidden.
  QWidget* FindEditingControl(bool All) const;
  bool IsEditing(bool All) const { return FindEditingControl(All) != nullptr; }
  // Commits every spin edit and the web colour edit; true when one of them
  // had the focus.
  bool ValidateEditControls();
  void ResetFocus();

  // ---- Dialog settings
  void UpdateControls() override;
  void AcceptIniControl(QWidget* Control, bool& Accept) override;
  QString GetIniCustomVar(int Index) override;
  void SetIniCustomVar(int Index, const QString& Value) override;

  // A named control of the palette (the option controls carry the names of
  // the stroke engine, e.g. "SERBrush").
  template <class T>
  T* Control(const char* Name) const {
    return findChild<T*>(QString::fromLatin1(Name));
  }

  // Key state as the predicates see it: Ctrl and Space are tracked from the
  // application's key events.
  bool KeyHeld(int Key) const;

protected:
  void FormShow() override;
  void FormHide() override;
  bool eventFilter(QObject* Watched, QEvent* Event) override;
  void paintEvent(QPaintEvent* Event) override;
  void changeEvent(QEvent* Event) override;

private:
  // The tool's button is down; and no dialogue form is registered.
  bool Down(TToolId Id) const;
  bool DownAlone(TToolId Id) const;
  const char* ToolKey(TToolId Id) const;
  // Outils_Hints.cpp
  void SetButtonHints();
  QString WithKey(const QString& Hint, const char* Key) const;
  // Outils_Pages.cpp
  void CreateOptionPages();
  QWidget* NewPage(TOptionPage Page);
  TSpinEdit2* AddSpin(QWidget* Page, const char* Name, const QString& Caption, int Min, int Max, int Default,
                      QMenu* Presets);
  TTrackBar* AddSlider(QWidget* Page, const char* Name, const QString& Caption, int Min, int Max, int Default);
  QLabel* AddUnderlinedLabel(QWidget* Page, const char* Name);
  QCheckBox* AddCheck(QWidget* Page, const char* Name, const QString& Caption, bool Checked);
  QRadioButton* AddRadio(QWidget* Page, const char* Name, const QString& Caption, bool Checked);
  TSpecialEdit* AddChoice(QWidget* Page, const char* Name, const QString& Caption, QMenu* Menu, int Index);
  QMenu* NewMenu(const char* Name, const QStringList& Items, const QList<int>& Tags = {});
  void CreateSelectionPage();
  void CreateBrushPage();
  void CreateListPages();
  void CreateLayerPage();
  void EdiDessinModeChange();
  void EdiRetoucheChange();
  void CBTamponClick();
  // The clone's and the fill's "Motif" boxes: ticking one loads a pattern
  // when there is none (cleared again when none loads); each shows its
  // pattern toolbar while ticked.
  void PatternBoxClick(QCheckBox* Box);
  QWidget* AddPatternBar(QWidget* Page, const char* Name, int Number);
  void CBLineStyleChange();
  void BtnBrushClick(QToolButton* Sender);
  void TBSelClick(QToolButton* Sender);
  // Outils_Colors.cpp
  void CreateColorArea();
  void ShowColorValues(TColor C);
  void PnlCouleurClick(bool Back);
  void StripPick(TStripImage* Strip, int X, int Y, bool Back);
  void DrawGrad();
  // Outils_Layer.cpp
  void LayerOptionChanged(QObject* Sender);
  // Outils_Dock.cpp
  void Layout();
  void PlacePalette();

  TPaletteServices& FServices;
  std::array<QToolButton*, ToolCount> FToolButtons{};
  QButtonGroup* FToolGroup = nullptr;
  QWidget* FTlbBtn = nullptr;
  QStackedWidget* FNbkOptions = nullptr;
  QWidget* FContent = nullptr;
  TColorSwatch* FPnlCouleur = nullptr;
  TColorSwatch* FPnlFond = nullptr;
  QToolButton* FImgSwap = nullptr;
  QToolButton* FImgNB = nullptr;
  TStripImage* FImgGrad = nullptr;
  TStripImage* FImgGrad2 = nullptr;
  QToolButton* FBtnPrevGrad = nullptr;
  QToolButton* FBtnNextGrad = nullptr;
  QToolButton* FBtnGommePlus = nullptr;
  QCheckBox* FCBInvertGomme = nullptr;
  QList<QToolButton*> FBrushButtons; // TlbDessin
  QList<QToolButton*> FSelButtons;   // TlbSel
  QMenu* FPopLayerMode = nullptr;
  QMenu* FPopBrushFile = nullptr;
  QComboBox* FCBBrush = nullptr;
  QComboBox* FCBNozzle = nullptr;
  QToolButton* FTBSymHorz = nullptr;
  QToolButton* FTBSymVert = nullptr;
  TBrushList FBrushes;
  TNozzleList FNozzles;
  int FColorsIndex = -1;
  int FAlignment = -1; // before the first SetAlignment
  int FDefWidth = 0;
  int FDefHeight = 0;
  int FVHeight = 0;
  bool FIgnoreLayerOptionChange = false;
  bool FCtrlHeld = false;
  bool FSpaceHeld = false;
};
