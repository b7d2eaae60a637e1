#include "document/CnvUtils.h"

void ClipCanvas(TCanvas& Canvas, const TRect& R) { Canvas.IntersectClipRect(R); }

void SetCanvasClip(TCanvas& Canvas, const TRect& R) { Canvas.SetClipRect(R); }
