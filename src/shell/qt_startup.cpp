#include "shell/qt_startup.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <QTimer>
#include <chrono>
#include <csignal>

#include "language/command_table.h"
#include "shell/frmMain.h"
#include "shell/frmSplash.h"
#include "shell/options.h"

namespace shell {

void Main()
{
    // Past a file-size limit (ulimit -f) the kernel would end the program, and every unsaved
    // window with it; ignored, the signal leaves a failed write that the save reports.
    std::signal(SIGXFSZ, SIG_IGN);
    auto* splash = new frmSplash;
    splash->show();
    splash->repaint();
    LoadOptions();
    language::CommandAdded = [splash] { splash->AdvanceProgress(); };
    language::LoadCommands();
    language::CommandAdded = nullptr;
    splash->ProgressBar1->hide();
    Pause(5);
    delete splash;
    auto* main = new frmMain;
    // Closed only once its shut-down has stored everything; then it goes, and the program ends.
    main->setAttribute(Qt::WA_DeleteOnClose);
    main->show();
}

// Measured on the monotonic clock, so neither midnight nor a change of the system time bends it.
void Pause(double seconds)
{
    using namespace std::chrono;
    const auto start = steady_clock::now();
    const duration<double> wait(seconds);
    QTimer wakeUp;  // ends each wait for messages in time to notice the end of the pause
    wakeUp.start(10);
    do
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    while (steady_clock::now() - start < wait);
}

}  // namespace shell
