// Fuzzes the item record as it comes from the profile: packed or unpacked
// bytes, decoded within bounds; what decodes whole must encode back the same.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "launcher/model/item_record.h"
#include "launcher/render/pair_codec.h"

namespace {

void check(bool condition) {
  if (!condition) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vorbin;
  if (size == 0) return 0;
  const bool packed = data[0] & 1;
  std::span<const uint8_t> input(data + 1, size - 1);
  std::vector<uint8_t> record;
  if (packed) {
    record.resize(kMaxItemRecordBytes);
    record.resize(unpackPairs(record, input, pairHeader(static_cast<uint32_t>(input.size()), 0), record.size()));
  } else {
    record.assign(input.begin(), input.end());
  }
  ItemRecord r = decodeItemRecord(record, latin1Decoder);
  check(r.image.empty() || r.image.size() == imageByteSize(r.depth));
  if ((r.flags & kItemIdList) && !r.target.empty()) check(idListByteSize(r.target) == r.target.size());

  Item item;
  item.flags = r.flags;
  item.promptOptions = r.promptOptions;
  item.hotKey = r.hotKey;
  item.target = r.target;
  item.folder = r.folder;
  item.text3 = r.text3;
  item.text4 = r.text4;
  item.text5 = r.text5;
  if (!r.image.empty()) item.image = makeImage(r.image, r.depth, false);
  std::vector<uint8_t> encoded = encodeItemRecord(item);
  check(encoded.size() <= kMaxItemRecordBytes);
  if (encoded.size() < kMaxItemRecordBytes && r.text5.size() <= kMaxCommentChars) {
    ItemRecord again = decodeItemRecord(encoded, latin1Decoder);
    check(again.complete);
    check(again.target == r.target);
    check(again.folder == r.folder && again.text3 == r.text3 && again.text4 == r.text4 && again.text5 == r.text5);
    check(again.image == r.image);
    check((again.flags & kItemFlagBits) == (r.flags & kItemFlagBits));
  }
  if (packed && !r.image.empty()) {
    // The image cut out of the packed record unpacks to exactly the image.
    IconImage kept;
    kept.depth = static_cast<uint32_t>(r.depth) | kImagePackedFlag;
    kept.bits = cutPackedRecord(input, r.imageOffset + r.image.size());
    check(unpackedImage(kept).bits == r.image);
  }
  return 0;
}
