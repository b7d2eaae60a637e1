// What the dialogs need of the main window: the registration of the open
// dialog (modal, non-modal, eyedropper) and the repaint of the active image.
// The main window implements it and installs itself; tests install a fake.
// Depends on nothing but QtWidgets' forward declarations.
#pragma once

class QWidget;

class TDialogServices {
public:
  virtual ~TDialogServices() = default;
  // The modal dialog shown now, or nullptr.
  virtual void SetModalForm(QWidget* Form) = 0;
  // The non-modal dialog while which commands are refused, or nullptr.
  virtual void SetDialogueForm(QWidget* Form) = 0;
  // The dialog that receives colours picked on the image (it is also the
  // dialogue form), or nullptr.
  virtual void SetPipetteForm(QWidget* Form) = 0;
  virtual QWidget* PipetteForm() const = 0;
  virtual QWidget* DialogueForm() const = 0;
  // Repaints the view of the active image window.
  virtual void UpdateActiveImage() = 0;
};

// The installed services (not owned), nullptr when no main window exists:
// dialogs then register nowhere.
inline TDialogServices*& DialogServicesSlot() {
  static TDialogServices* Services = nullptr;
  return Services;
}
inline TDialogServices* DialogServices() { return DialogServicesSlot(); }
inline void SetDialogServices(TDialogServices* Services) { DialogServicesSlot() = Services; }
