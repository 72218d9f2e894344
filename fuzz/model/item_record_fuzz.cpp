// Fuzzes the item record decoder on unpacked records: every read stays in the
// record, and what decodes whole must encode back the same.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "launcher/model/item_record.h"

namespace {

void check(bool condition) {
  if (!condition) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vorbin;
  std::span<const uint8_t> record(data, size);
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
  return 0;
}
