#include "app/ui/BrenthaulApp.h"

#include <exception>

#include "app/Startup.h"
#include "platform/Hooks.h"

bool TBrenthaulApp::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception&) {
    } catch (...) {
    }
    m_failed = true;
    plat::showMessage(ZELT::kIOErrorText);
    // Leave the loop; the entry saves the settings on the way out.
    QCoreApplication::exit(1);
    return false;
}
