#include "BlockMan.h"

namespace payload {

TBlockMan::TBlockMan()
    : transform_(kTransformEntries), counts_(kTransformEntries), starts_(kTransformEntries),
      buffer1_(kByteBufferSize), buffer2_(kByteBufferSize) {}

TBlockMan& TBlockMan::instance() {
    static TBlockMan man;
    return man;
}

} // namespace payload
