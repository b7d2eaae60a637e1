#include "ui/DlgColors.h"

#include "platform/Rounding.h"
#include "ui/DrawUtils.h"
#include "ui/VisualStyles.h"

void InitStyleColors() {
  const TVisualStyle& Style = ActiveStyle();
  const TColor W = Style.Window;
  clDlgDarkWindow = MixColorsF(W, clBlack, 0.12);
  clDlgWindow = W;
  clDlgText = Style.WindowText;
  const TColor P = Style.Panel;
  clDlgPanel = P;
  clDlgList = Style.ListView;
  clDlgPanelLight = ColorBrightness(P, 0) < 0.5 ? LightenColor(P, 0.05) : P;
  clDlgBorder = MixColorsF(P, clDlgText, 0.3);
  DlgPanelBrightness = Round(ColorBrightness(clDlgPanelLight, 0) * 50);
}
