// Cheap reads of the headers of files handed to FreeImage, for the formats
// whose decoders in the library trust what they read: the image size a
// header declares (also where the library's header-only load would hide a
// negative one), and the structure that must hold before any decoder runs
// (sections, chunks and data that fit in the file). Depends on QtCore only;
// used by the binding's file checks (FreeUtils).
//
// How to add a format: give it a case in ProbeFreeImageHeader that reads
// only the bytes it needs, sets the size when the header has one, and names
// a Problem when the file cannot be whole.
#pragma once

#include <QIODevice>

#include <cstdint>
#include <string>

struct TFreeHeaderProbe {
  bool HasSize = false;
  int64_t Width = 0;
  int64_t Height = 0;
  // Not empty: the file is refused for this reason.
  std::string Problem;
};

// Reads what format Fif (a FreeImage format number) needs from File, an
// open, seekable device holding the whole file. GIF (first frame), SGI,
// DDS, JPEG 2000 (file and codestream), WBMP, IFF, MNG (and its first PNG or
// JNG header), XBM, PICT, PSD, Sun raster, OpenEXR, ICO, BMP, PNG, JPEG and
// Targa are read; any other format gives an empty answer.
TFreeHeaderProbe ProbeFreeImageHeader(int Fif, QIODevice& File);
