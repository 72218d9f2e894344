// Fuzzes an item value as the profile holds it: packed bytes unpacked within
// the record limit, decoded, and cut to its image as KeepCompression keeps it.
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
  const bool cut = data[0] & 2;
  std::span<const uint8_t> input(data + 1, size - 1);
  // One area for every run: the unpacked record is whatever unpacking stored in it.
  static std::vector<uint8_t> area(kMaxItemRecordBytes);
  std::span<const uint8_t> record = input;
  if (packed)
    record = std::span<const uint8_t>(
        area.data(),
        unpackPairs(area, input, pairHeader(static_cast<uint32_t>(input.size()), 0), area.size()));
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
  // A record cut short (a text without terminator) may no longer fit whole once
  // its terminators are written; one that decoded whole must come back the same.
  if (r.complete && encoded.size() < kMaxItemRecordBytes && r.text5.size() <= kMaxCommentChars) {
    ItemRecord again = decodeItemRecord(encoded, latin1Decoder);
    check(again.complete);
    check(again.target == r.target);
    check(again.folder == r.folder && again.text3 == r.text3 && again.text4 == r.text4 &&
          again.text5 == r.text5);
    check(again.image == r.image);
    check((again.flags & kItemFlagBits) == (r.flags & kItemFlagBits));
  }
  if (packed && cut && !r.image.empty()) {
    // A crafted record may cut differently from how it unpacks; the kept image
    // must still be safe to unpack.
    IconImage kept;
    kept.depth = static_cast<uint32_t>(r.depth) | kImagePackedFlag;
    kept.bits = cutPackedRecord(input, r.imageOffset + r.image.size());
    IconImage unpacked = unpackedImage(kept);
    check(unpacked.bits.empty() || unpacked.bits.size() == r.image.size());
    // One that packing wrote cuts to exactly its image.
    kept.bits = cutPackedRecord(packPairs(record), r.imageOffset + r.image.size());
    check(unpackedImage(kept).bits == r.image);
  }
  return 0;
}
