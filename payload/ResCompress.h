#pragma once
// Front end of the payload archive reader.
#include <cstdint>
#include <memory>
#include <string>

namespace payload {

class TArchiveFile;
class TExpander;
class TPlainFileStream;

class WRESCompress {
public:
    // maxBlockLength: the longest block accepted, 0 for the format's limit
    // (a fuzzer keeps it small so that each input is quick).
    explicit WRESCompress(std::uint32_t maxBlockLength = 0);
    ~WRESCompress();

    // Expands the first blockCount blocks of the archive into a newly created
    // output file (0 or less: an empty file). Returns false when a block's CRC
    // did not match ("CRC does not match!" was shown and expansion went on),
    // else true.
    // Raises ESignatureWrong (wrong file or block signature, also a block count
    // larger than the archive holds), EBlockDamaged, EBitReadOverrun
    // ("Too many bytes read in bit mode.") and EFileError; the output then
    // keeps the blocks expanded before. The caller shows the text and cleans up.
    bool ExpandFile(const std::string& archiveName, const std::string& outputName, std::int64_t blockCount);

    // Caps the threads an expansion uses (0: as many as the machine has, up
    // to four). One thread walks several blocks side by side instead.
    static void SetMaxThreads(int n);

private:
    bool expandGrouped(TArchiveFile& archive, TPlainFileStream& out, std::int64_t blockCount);
    bool expandParallel(TArchiveFile& archive, TPlainFileStream& out, std::int64_t blockCount, int threads);
    std::unique_ptr<TExpander> expander_;
    std::uint32_t maxBlockLength_;
};

} // namespace payload
