#include "ui/VisualStyles.h"

namespace {

std::vector<TVisualStyle> MakeStyles() {
  TVisualStyle System;
  System.Name = QStringLiteral("Windows");
  System.SystemStyle = true;
  System.Window = clWindow;
  System.Panel = clBtnFace;
  System.ListView = clWindow;
  System.WindowText = clWindowText;
  System.EditBorderNormal = RGB(0x7A, 0x7A, 0x7A);
  System.EditBorderHot = RGB(0x00, 0x78, 0xD7);
  System.EditBorderDisabled = RGB(0xCC, 0xCC, 0xCC);
  System.EditField = clWindow;
  System.EditFieldDisabled = clBtnFace;

  TVisualStyle Light;
  Light.Name = QStringLiteral("Windows11 Light");
  Light.Window = RGB(0xF9, 0xF9, 0xF9);
  Light.Panel = RGB(0xF3, 0xF3, 0xF3);
  Light.ListView = RGB(0xFF, 0xFF, 0xFF);
  Light.WindowText = RGB(0x1A, 0x1A, 0x1A);
  Light.EditBorderNormal = RGB(0x8A, 0x8A, 0x8A);
  Light.EditBorderHot = RGB(0x00, 0x5F, 0xB8);
  Light.EditBorderDisabled = RGB(0xD6, 0xD6, 0xD6);
  Light.EditField = RGB(0xFF, 0xFF, 0xFF);
  Light.EditFieldDisabled = RGB(0xF5, 0xF5, 0xF5);

  TVisualStyle Dark;
  Dark.Name = QStringLiteral("Windows11 Dark");
  Dark.Window = RGB(0x20, 0x20, 0x20);
  Dark.Panel = RGB(0x33, 0x33, 0x33); // brightness 0.2
  Dark.ListView = RGB(0x2B, 0x2B, 0x2B);
  Dark.WindowText = RGB(0xFF, 0xFF, 0xFF);
  Dark.EditBorderNormal = RGB(0x9A, 0x9A, 0x9A);
  Dark.EditBorderHot = RGB(0x60, 0xCD, 0xFF);
  Dark.EditBorderDisabled = RGB(0x4A, 0x4A, 0x4A);
  Dark.EditField = RGB(0x2D, 0x2D, 0x2D);
  Dark.EditFieldDisabled = RGB(0x27, 0x27, 0x27);

  return {System, Light, Dark};
}

std::vector<TVisualStyle>& Styles() {
  static std::vector<TVisualStyle> List = MakeStyles();
  return List;
}

// Index into Styles(); indices stay valid because styles are never removed.
size_t Active = 0;

} // namespace

const std::vector<TVisualStyle>& RegisteredStyles() { return Styles(); }

const TVisualStyle* FindStyle(QStringView Name) {
  for (const TVisualStyle& S : Styles())
    if (S.Name == Name) return &S;
  return nullptr;
}

void RegisterStyle(const TVisualStyle& Style) {
  for (TVisualStyle& S : Styles())
    if (S.Name == Style.Name) {
      S = Style;
      return;
    }
  Styles().push_back(Style);
}

const TVisualStyle& ActiveStyle() { return Styles()[Active]; }

bool SetActiveStyle(QStringView Name) {
  for (size_t I = 0; I < Styles().size(); ++I)
    if (Styles()[I].Name == Name) {
      Active = I;
      return true;
    }
  return false;
}

bool IsStyleEnabled() { return ActiveStyle().Enabled; }

bool IsSystemStyle() { return ActiveStyle().SystemStyle; }
