// A stand-in library that exports every name the FreeImage binding looks up;
// the build hides one of them, so that the binding must refuse it. The
// functions are never called.
#include "files/FreeImage.h"

#define LUMA_STUB_FUNCTION(Name, Type)                                                                                 \
  extern "C" __attribute__((visibility("default"))) void FreeImage_##Name() {}
LUMA_FREEIMAGE_FUNCTIONS(LUMA_STUB_FUNCTION)
