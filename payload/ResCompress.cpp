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
    for (std::int64_t b = 0; b < blockCount; ++b) {
        expander_->ExpandBlock(archive, out);
        if (!expander_->BlockValid()) allValid = false;
        plat::processMessages();
    }
    out.Close();
    return allValid;
}

} // namespace payload
