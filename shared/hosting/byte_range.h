#pragma once
// The Range header of a request for media that seeks: one range of bytes,
// as browsers ask for it ("bytes=first-last", "bytes=first-", "bytes=-suffix").
#include <cstdint>

#include "platform/ustring.h"

namespace vantrel {

struct TByteRange {
  enum class Kind {
    Whole,          // no range asked, or one we do not serve (several, malformed): answer it all
    Part,           // answer bytes first..last (inclusive)
    Unsatisfiable,  // the range lies past the end: answer 416
  };
  Kind kind = Kind::Whole;
  uint64_t first = 0;
  uint64_t last = 0;
  uint64_t Length() const { return last - first + 1; }
};

// `header`: the Range header's value (empty when none); `size`: the
// resource's size.
TByteRange ParseByteRange(ustring_view header, uint64_t size);

}  // namespace vantrel
