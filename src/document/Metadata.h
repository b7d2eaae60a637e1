// The metadata an image carries: one flat list of tags in FreeImage's models
// (comments, EXIF, GPS, IPTC, the raw EXIF block), data only. The document
// holds one list; the image-file layer (files/FreeMetadata.h) reads, changes
// and writes the tags. Depends on the standard library only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

using TFreeTagData = std::vector<uint8_t>;

struct TFreeTag {
  int Model = 0;
  std::string Key;
  uint16_t Id = 0;
  int Format = 0;
  // Values: characters with the NUL for ASCII, bytes for UNDEFINED and BYTE
  // blocks, 1 for a single number.
  uint32_t Count = 0;
  TFreeTagData Data;
};

// The list of one image. Copies share the list: a tag changed, added or
// patched through one holder is seen by every holder (the document, the load
// and save options, the writer). Clear drops this holder's share and leaves
// the others' list as it is. The tags of one model stand together, in the
// order read or added.
class TMetadata {
public:
  int Length() const { return FTags ? int(FTags->size()) : 0; }
  bool Empty() const { return Length() == 0; }
  TFreeTag& operator[](int I) { return (*FTags)[size_t(I)]; }
  const TFreeTag& operator[](int I) const { return (*FTags)[size_t(I)]; }
  // Appends a tag (creating the list of a holder that has none); answers its index.
  int Append(TFreeTag Tag) {
    if (!FTags) FTags = std::make_shared<std::vector<TFreeTag>>();
    FTags->push_back(std::move(Tag));
    return int(FTags->size()) - 1;
  }
  void Clear() { FTags.reset(); }
  bool SharesListWith(const TMetadata& Other) const { return FTags && FTags == Other.FTags; }

private:
  std::shared_ptr<std::vector<TFreeTag>> FTags;
};
