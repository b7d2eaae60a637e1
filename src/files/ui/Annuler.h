// TAnnulerForm: the small borderless box shown while a print job is sent,
// telling the user to wait, with a Cancel button that aborts the job. It
// knows the job only through TPrintJob. Depends on the dialog base of ui/
// and the translatable strings; used by the main window's print command.
//
// Per print: Init (box shown) -> the page is sent by the print dialog, which
// handles pending messages between pages so that Cancel works -> maybe
// BAnnulerClick (job aborted) -> VerifierImpression (document ended only
// when not cancelled; box closed).
#pragma once

#include "ui/DialogFormEx.h"

class QLabel;
class QPushButton;

// What the box does to the job being sent.
class TPrintJob {
public:
  virtual ~TPrintJob() = default;
  // A document is open and not aborted.
  virtual bool Printing() const = 0;
  // Aborts the job: nothing more is sent and the document is dropped, not
  // ended.
  virtual void AbortJob() = 0;
  // Ends the document: the job goes to the printer.
  virtual void EndJob() = 0;
};

class TAnnulerForm : public TDialogFormEx {
  Q_OBJECT
public:
  explicit TAnnulerForm(QWidget* Parent = nullptr);

  // Flag 0, the box shown (not modal) and painted at once, for Job.
  void Init(TPrintJob& Job);
  // The user's cancel: aborts the job when it is printing; Flag -1.
  void BAnnulerClick();
  // Ends the document unless cancelled, closes the box; true when the job
  // was not cancelled.
  bool VerifierImpression();

  // 0 while the job runs normally, -1 once the user cancelled.
  int Flag() const { return FFlag; }

  QLabel* LabelTitre = nullptr;
  QPushButton* BAnnuler = nullptr;

protected:
  void reject() override;

private:
  TPrintJob* FJob = nullptr;
  int FFlag = 0;
};
