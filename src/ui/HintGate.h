#pragma once
// Hints (tool tips) switched off panel by panel while a drag or an overlay
// mode runs. Qt has no per-widget switch, so one application-wide filter
// swallows the tool-tip events aimed at a gated panel or anything inside it.

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <vector>

class THintGate : public QObject {
public:
  static THintGate& Instance();

  // Value false: no hint shows over Panel or its children until set back.
  void SetShowHint(QWidget* Panel, bool Value);
  bool ShowHint(const QWidget* Panel) const;

protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
  THintGate();
  std::vector<QPointer<QWidget>> FSilenced;
};
