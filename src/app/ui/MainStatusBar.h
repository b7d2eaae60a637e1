// The main window's status bar: four panels side by side, the last one
// stretching to the end; panel 0 shows a progress fill while an operation
// runs. Depends on the style colours of ui/ and the progress texts of app/;
// used by the main window.
#pragma once

#include <QString>
#include <QWidget>

#include <array>

class TMainStatusBar : public QWidget {
  Q_OBJECT
public:
  static constexpr int PanelCount = 4;
  explicit TMainStatusBar(QWidget* Parent = nullptr);

  QString PanelText(int Index) const { return FTexts.at(Index); }
  void SetPanelText(int Index, const QString& Text);
  // Panels 0 to 2 have fixed widths; panel 3 takes the rest.
  int PanelWidth(int Index) const { return FWidths.at(Index); }
  void SetPanelWidth(int Index, int Width);
  // The panel's rectangle in the bar.
  QRect PanelRect(int Index) const;

  // Owner-drawn panel 0: the left Percent % of it filled (the "tag").
  bool ProgressDrawn() const { return FProgressDrawn; }
  int ProgressValue() const { return FProgressValue; }
  void SetProgress(bool Drawn, int Percent);

  QSize sizeHint() const override;

protected:
  void paintEvent(QPaintEvent* Event) override;

private:
  std::array<QString, PanelCount> FTexts;
  std::array<int, PanelCount> FWidths{200, 120, 120, 50};
  bool FProgressDrawn = false;
  int FProgressValue = 0;
};
