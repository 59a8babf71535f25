#pragma once
// The main window's opening of a genealogy file, without the window: guards
// against re-entry and repeated opening, discards the previous file, has the
// file-kind factory make and open the collection, and reports the outcome.
// The window supplies what it does at each step through the callbacks.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class WABSCollection;

class WGenealogyOpener {
public:
    using Factory = std::function<std::unique_ptr<WABSCollection>(const std::string& fileName, std::string& errorText,
                                                                  std::uint8_t forcedKind)>;
    struct Callbacks {
        // The previous file's state is dropped; the collection is still alive.
        std::function<void()> discardPrevious;
        // Wait dialog, busy cursor and import timer up.
        std::function<void()> beginReading;
        // Common end of every path: timers, main area, wait dialog.
        std::function<void()> endReading;
        // The import status shown once (counts so far, "(Analyzing...)").
        std::function<void()> refreshStatus;
        // A refused or failed open: the window shows its caption without a file.
        std::function<void()> restoreCaption;
        // Success: the collection is open; seconds is the load time.
        std::function<void(double seconds)> opened;
        // A failed open after the previous file was discarded.
        std::function<void()> cleared;
    };

    WGenealogyOpener(Factory factory, Callbacks callbacks);
    void SetCallbacks(Callbacks callbacks) { m_cb = std::move(callbacks); }
    ~WGenealogyOpener();

    // False only when a new file was asked for and was not opened (missing,
    // refused, cancelled).
    bool OpenGenealogyFile(const std::string& fileName, std::uint8_t forcedKind);

    WABSCollection* GetCollection() const { return m_collection.get(); }
    const std::string& GetFileName() const { return m_fileName; }
    bool IsReading() const { return m_reading; }
    // Frees the collection (window destruction).
    void Close();

private:
    Factory m_factory;
    Callbacks m_cb;
    std::unique_ptr<WABSCollection> m_collection;
    std::string m_fileName;
    bool m_reading = false;
};
