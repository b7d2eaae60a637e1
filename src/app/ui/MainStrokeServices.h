// The main window's side of the painting tools (MainForm_Tools.cpp).
#pragma once

#include "tools/ui/StrokeServices.h"

#include <memory>

class TMainForm;

std::unique_ptr<TStrokeServices> MakeStrokeServices(TMainForm& Form);
