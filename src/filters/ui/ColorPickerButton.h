// The picker button beside a filter dialog's colour edit: flat, checkable,
// 1 pixel right of the edit and at least as tall. The picker buttons of one
// dialog exclude each other, so the one down marks the edit that receives
// the colours picked on the image. Depends on TFilterNForm, QtWidgets.
#pragma once

class QAbstractButton;
class TColorEdit;
class TFilterNForm;

QAbstractButton* NewColorPickerBtn(TFilterNForm& Form, TColorEdit* Edit, bool Down);
