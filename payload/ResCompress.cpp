#include "ResCompress.h"

#include "BufferedFileStream.h"
#include "Expander.h"
#include "platform/Hooks.h"

namespace payload {

WRESCompress::WRESCompress() : expander_(std::make_unique<TExpander>()) {}
WRESCompress::~WRESCompress() = default;

bool WRESCompress::ExpandFile(const std::string& archiveName, const std::string& outputName,
                              std::int64_t blockCount) {
    TArchiveFile archive(archiveName, OpenMode::Read);
    archive.SmartSeek(4, soFromBeginning);
    TPlainFileStream out(outputName);
    bool allValid = true;
    // Blocks go in groups: each is decoded, then their transforms are walked
    // together. A damaged block still leaves the ones before it written.
    for (std::int64_t b = 0; b < blockCount;) {
        int held = 0;
        try {
            while (held < TExpander::kSlots && b + held < blockCount) {
                expander_->DecodeStage(archive, held);
                ++held;
                if (held < TExpander::kSlots && b + held < blockCount) plat::processMessages();
            }
        } catch (...) {
            if (held > 0) expander_->FinishSlots(held, out);
            throw;
        }
        expander_->FinishSlots(held, out);
        for (int s = 0; s < held; ++s) allValid = allValid && expander_->SlotValid(s);
        b += held;
        plat::processMessages();
    }
    out.Close();
    return allValid;
}

} // namespace payload
