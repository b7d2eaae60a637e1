// TPropForm, File > "Propriétés de l'image" and the browser's properties:
// the image's general information, its metadata (EXIF and IPTC tags, listed
// only while FreeImage is loaded) and its comment on three pages. The
// active image's comment can be edited and stored back into it; the whole
// can be exported as a text file. Depends on the metadata of files/, the
// layer dialogs' host, the dialog base of ui/.
#pragma once

#include "document/Metadata.h"
#include "ui/DlgMain.h"

#include <functional>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

// The lines an export writes: Title, then the information (up to the
// colour count, file size and date: the trailing block and the empty line
// before the size are dropped), then the metadata and comment blocks each
// after an empty line and their caption, when they have lines.
QStringList PropertiesExportLines(const QString& Title, const QString& Infos, const QString& MetadataCaption,
                                  const QString& Metadata, const QString& CommentCaption, const QString& Comment);

class TPropForm : public TMainDialogForm {
  Q_OBJECT
public:
  explicit TPropForm(QWidget* Parent = nullptr);

  QString NomFichier;
  QTabWidget* PgControl;
  QWidget* TshInfos;
  QWidget* TshMetadata;
  QWidget* TshComment;
  QLabel* LblImage;
  QPlainTextEdit* MemMetadata;
  QPlainTextEdit* MemComment;
  QPushButton* BSaveComment;
  QPushButton* BOk;
  QPushButton* BExport;
  // Asks where to export (the proposed path given); empty when cancelled.
  // The default shows the save dialog limited to text files.
  std::function<QString(const QString& Proposed)> ExportFileChooser;

  // Fills the dialog; the caller shows it afterwards. ImgInfos: lines
  // separated by CR. Comment stands for the comment when the metadata holds
  // no comment tag (an image whose format keeps it apart).
  void ReadData(const QString& FileName, const QString& ImgInfos, const TMetadata& Metadata, bool CanChangeComment,
                const QString& Comment = QString());
  // The file's metadata read quietly when HasMetadata, then read-only.
  void ReadDataFromFile(const QString& FileName, const QString& ImgInfos, bool HasMetadata);
  void BSaveCommentClick();
  void BExportClick();

protected:
  void FormHide() override;
};
