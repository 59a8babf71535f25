#include "BlockMan.h"

namespace payload {

TBlockMan::TBlockMan() {
    for (Set& s : set_) {
        s.counts.resize(257);
        s.starts.resize(257);
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
