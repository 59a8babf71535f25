#include "app/GenealogyOpener.h"

#include <sys/stat.h>

#include "model/ABSCollection.h"
#include "platform/CodePage.h"
#include "platform/Hooks.h"

namespace {
void call(const std::function<void()>& f) {
    if (f) f();
}
bool fileExists(const std::string& name) {
    struct stat st {};
    return ::stat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}
// Lowers the reading state once, on every way out, exceptions included.
struct ReadingGuard {
    bool& reading;
    const std::function<void()>& end;
    bool ended = false;
    void finish() {
        if (ended) return;
        ended = true;
        reading = false;
        call(end);
    }
    ~ReadingGuard() { finish(); }
};
} // namespace

WGenealogyOpener::WGenealogyOpener(Factory factory, Callbacks callbacks)
    : m_factory(std::move(factory)), m_cb(std::move(callbacks)) {}

WGenealogyOpener::~WGenealogyOpener() = default;

void WGenealogyOpener::Close() {
    m_collection.reset();
    m_fileName.clear();
}

bool WGenealogyOpener::OpenGenealogyFile(const std::string& fileName, std::uint8_t forcedKind) {
    // A request during a read only refreshes the status: running the common
    // end here would tear down the wait dialog of the open still under way.
    if (m_reading || (m_collection && m_collection->IsComputingIslands())) {
        call(m_cb.refreshStatus);
        return true;
    }
    if (fileName.empty() || fileName == m_fileName) return true;
    if (!fileExists(fileName)) {
        plat::showMessage("The file: " + plat::pathText(fileName) + "\rdoes not exist.  Please select another file.");
        return false;
    }

    m_reading = true;
    ReadingGuard guard{m_reading, m_cb.endReading};
    m_fileName = fileName;
    call(m_cb.discardPrevious);
    m_collection.reset();
    plat::setCancelRequested(false);
    call(m_cb.beginReading);
    const std::uint64_t start = plat::tickCount();

    std::string errorText;
    std::unique_ptr<WABSCollection> col = m_factory ? m_factory(fileName, errorText, forcedKind) : nullptr;
    if (!col) {
        // Emptied so that asking for the same file again is not taken as "already open".
        m_fileName.clear();
        call(m_cb.restoreCaption);
        call(m_cb.cleared);
        // The wait dialog goes first: it stays on top and would hide the message.
        guard.finish();
        if (!errorText.empty()) plat::showMessage(errorText);
        return false;
    }
    if (!col->Open()) {
        col.reset();
        m_fileName.clear();
        call(m_cb.restoreCaption);
        call(m_cb.cleared);
        return false;
    }
    col->AfterOpen();
    m_collection = std::move(col);
    m_reading = false;
    call(m_cb.refreshStatus);
    const double seconds = double(plat::tickCount() - start) / 1000.0;
    if (m_cb.opened) m_cb.opened(seconds);
    return true;
}
