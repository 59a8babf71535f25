#include "BlockMan.h"

namespace payload {

TBlockMan::TBlockMan() : counts_(257), starts_(257) {
    for (Set& s : set_) {
        s.transform.resize(kTransformEntries);
        s.buffer1.resize(kByteBufferSize);
        s.buffer2.resize(kByteBufferSize);
    }
}

TBlockMan& TBlockMan::instance() {
    static TBlockMan man;
    return man;
}

} // namespace payload
