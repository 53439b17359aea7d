#include <windows.h>

#include <memory>

#include "app/MainWnd.h"
#include "app/MessageLoop.h"
#include "app/ResultsRecord.h"
#include "app/Settings.h"
#include "app/WinDlgController.h"
#include "app/WinSoundBank.h"
#include "game/Clock.h"
#include "resources/resource.h"

namespace {

// Loaded during static initialisation, before any window exists; saved only
// by the Preferences dialog.
pebbo::Settings settings{pebbo::defaultSettingsFile()};
// Saved at the end of every game and by the Results dialog's Reset.
pebbo::ResultsRecord results{pebbo::defaultResultsFile()};

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    pebbo::WinSoundBank sounds;
    pebbo::SteadyClock clock;
    auto controller = std::make_unique<pebbo::WinDlgController>(sounds, clock);
    pebbo::MainWnd mainWnd(*controller, settings, results);
    if (!mainWnd.create(instance, showCommand)) {
        return 0;
    }
    HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    const int exitCode = pebbo::runMessageLoop(mainWnd.handle(), accelerators);
    // Deleting the controller stops the game and waits for its threads.
    controller.reset();
    return exitCode;
}
