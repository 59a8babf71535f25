#include <QApplication>

#include "app/Startup.h"
#include "app/Unpack.h"
#include "app/ui/BrenthaulApp.h"
#include "app/ui/LogoAppForm.h"
#include "app/ui/QtHooks.h"
#include "app/ui/SignalClose.h"
#include "app/ui/Splash.h"
#include "export/PsQRExportSettings.h"
#include "highlight/HLRegister.h"
#include "model/Options.h"
#include "model/ui/WaitDlg.h"
#include "platform/FileSizeLimit.h"
#include "platform/Hooks.h"
#include "platform/TempFiles.h"
#include "reports/ui/QRPrintDevices.h"

int main(int argc, char** argv) {
    // Before any thread or temporary file: a signal from now on ends the
    // program in order, deleting what it made.
    TSignalClose::CatchSignals();
    plat::CatchFileSizeLimit();
    const std::string own = plat::ownProgramPath();
    // Expanding the payload takes longest: it starts now and runs while Qt and
    // the windows are set up. The main window's show handler takes the result
    // and reports it where the unpacking always was.
    const TUnpackAhead unpacking(own);
    TBrenthaulApp app(argc, argv);
    // Takes the signals from here on; the window, once it exists, closes on them.
    TSignalClose closeOnSignal(nullptr);
    installQtHooks();
    TWaitDlg::InstallHooks();
    HLRegister::RegisterConditionClasses();
    QRInstallDevices();
    PsQRExportSettings().SetVisibleFilters(TPsQRVisibleFilters::all());

    std::string settings;
    try {
        settings = plat::tempDir() + "zelt.ini";
    } catch (const plat::TempError& e) {
        // Without a private folder there is nowhere to keep settings or the unpacked file.
        plat::messageBox(e.what(), ZELT::kNoGedcomCaption, plat::MB_OK | plat::MB_ICONERROR);
        return 1;
    }

    return ZELT::Run(own, settings, [&] {
        NX_Splash::ShowSplash("Brenthaul Self-Viewing GEDCOM");
        WOptions::SetProgramDir(ZELT::FolderOf(own));
        QApplication::setApplicationName("Brenthaul");
        int code = 0;
        {
            TLogoAppForm form(own);
            closeOnSignal.SetWindow(&form);
            QObject::connect(&form, &TLogoAppForm::startupFinished, &form, [&](bool ok) {
                if (!ok) code = 1;
            });
            form.show();
            const int loop = app.exec();
            if (loop != 0) code = loop;
        }
        NX_Splash::HideSplash();
        return code;
    });
}
