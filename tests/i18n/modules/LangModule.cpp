// Language modules for the loader's tests, one per LANG_VARIANT:
// 1 a module with a few texts, 2 one answering only the version,
// 3 one answering a version that is nearly right.
#include <cstdint>
#include <cstring>

namespace {

const char16_t* Put(char16_t* Buffer, const char16_t* Text) {
  int32_t N = 0;
  while (Text[N]) ++N;
  std::memcpy(Buffer, Text, (N + 1) * sizeof(char16_t));
  return Buffer;
}

} // namespace

#define LANG_EXPORT extern "C" __attribute__((visibility("default"))) const char16_t*

#if LANG_VARIANT == 3
LANG_EXPORT GetCompatibility(char16_t* B, int32_t) { return Put(B, u"2.0 "); }
LANG_EXPORT GetDlgOk(char16_t* B, int32_t) { return Put(B, u"Never"); }
#else
LANG_EXPORT GetCompatibility(char16_t* B, int32_t) { return Put(B, u"2.0"); }
#endif

#if LANG_VARIANT == 1
LANG_EXPORT GetDlgOk(char16_t* B, int32_t) { return Put(B, u"OK"); }
// Text of the module's own.
LANG_EXPORT GetDlgCancel(char16_t*, int32_t) { return u"Cancel"; }
LANG_EXPORT GetDlgWarning(char16_t*, int32_t) { return nullptr; }
// The whole buffer filled, no end.
LANG_EXPORT GetDlgError(char16_t* B, int32_t Max) {
  for (int32_t I = 0; I < Max; ++I) B[I] = u'E';
  return B;
}
// A format that lost its argument.
LANG_EXPORT GetOeMsgErrorOpening(char16_t* B, int32_t) { return Put(B, u"Cannot open the file"); }
LANG_EXPORT GetTrFmtHue(char16_t* B, int32_t) { return Put(B, u" Hue : %d°"); }
LANG_EXPORT GetTrFmtSaturation(char16_t* B, int32_t) { return Put(B, u"Saturation %d%%"); }
LANG_EXPORT GetTrFmtAmount(char16_t* B, int32_t) { return Put(B, u"Amount: %d"); }
LANG_EXPORT GetTrMnuSelection(char16_t* B, int32_t) { return Put(B, u"Selection"); }
LANG_EXPORT GetTrMnuPath(char16_t* B, int32_t) { return Put(B, u"Path"); }
LANG_EXPORT GetTrMnuTransform(char16_t* B, int32_t) { return Put(B, u"Transform"); }
LANG_EXPORT GetTrLblWindows256(char16_t* B, int32_t) { return Put(B, u"WINDOWS 256 colours, Windows 256"); }
LANG_EXPORT GetTrFmtExploreProperties(char16_t* B, int32_t) {
  return Put(B, u"Name %s\rFolder %s\rSize %s\r\rBytes %s\rWhen : %s\r\rImages %d");
}
LANG_EXPORT GetTrPrnUnit(char16_t* B, int32_t) { return Put(B, u"1"); }
#endif
