// TCopyrightForm, Image > "Copyright...": one line of text stamped on the
// background of the active image, in a font, size, colour and style, left,
// centred or right, at the top, the bottom or the middle, over an optional
// band, inside the image at an opacity or in a band added outside it. The
// text may hold placeholders expanded for each image. The same form serves
// the batch dialog as a panel (SetAsPanel, LoadFromIni, SaveToIni, Text,
// MajApercuTxt, Appliquer). Depends on the layer dialogs' host, the canvas
// of platform, the snapshots of raster, the dialog base of ui/.
#pragma once

#include "platform/Bitmap.h"
#include "ui/DlgMain.h"

#include <QDate>

class QCheckBox;
class QFontComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QToolButton;
class TColorEdit;
class TSpinEdit2;

// Text with "<#n>" (file name without folder and extension), "<#ne>" (with
// its extension), "<#d>" (Date in the system's short format), "<#w>" and
// "<#h>" (Width and Height) expanded, case-insensitively, in that order.
QString ExpandCopyrightText(QString Text, const QString& FileName, int Width, int Height, const QDate& Date);

class TCopyrightForm : public TMainDialogForm {
  Q_OBJECT
public:
  explicit TCopyrightForm(QWidget* Parent = nullptr);

  TSpinEdit2* SETxtSize;
  TColorEdit* EdiTxtColor;
  QFontComboBox* CmbPolices;
  QCheckBox* CBGras;
  QCheckBox* CBItalique;
  QCheckBox* CBSouligne;
  QRadioButton* RBTop;
  QRadioButton* RBCenter;
  QRadioButton* RBBottom;
  QToolButton* SBGauche;
  QToolButton* SBCentre;
  QToolButton* SBDroite;
  QCheckBox* CBTxtFond;
  TColorEdit* EdiTxtFondColor;
  QCheckBox* CBTxtExt;
  QLabel* LblOpacite;
  TSpinEdit2* SEOpacite;
  QLineEdit* EdiCopyright;
  QToolButton* BtnMenu;
  QMenu* PopMenu;
  QWidget* PnlTxtFond;
  QLabel* PnlTxt;
  QPushButton* BOk = nullptr;
  QPushButton* BAnnuler = nullptr;
  // Rows added at the top of the image by the last Appliquer.
  int OffsetY = 0;

  // Stamps Bmp in place (its height grows with a band outside); NomFic
  // feeds the file-name placeholders.
  void Appliquer(TBitmap& Bmp, const QString& NomFic);
  // The raw text, placeholders not expanded.
  QString Text() const;
  // The preview and the enabling rules from the controls.
  void MajApercuTxt();
  void SetAsPanel(QWidget* ParentControl, int X, int Y);
  void SaveToIni(const QString& FileName);
  void LoadFromIni(const QString& FileName);

  void UpdateControls() override;
  void AcceptIniControl(QWidget* Control, bool& Accept) override;
  void BOkClick();

private:
  // The stamp on the active image's background as one undo step, then
  // remembered for Edit > Repeat.
  void RunCommand();
  void CBTxtFondClick();
  void CBTxtExtClick();
  void RBPosClick();
  void PopupClick(const QString& Inserted);
  TFont StampFont() const;
};
