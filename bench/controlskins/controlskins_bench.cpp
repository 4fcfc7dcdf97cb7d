// Renders the main window with QWidget::grab, skinned and with the plain look of --no-skin, in the same process
// on the offscreen platform, and prints the median time per grab of each and their ratio (goal: skinned at most
// 1.5 times the plain look). The plain look is measured before the skin style is installed, and once more after
// the window was unskinned, when the style still answers for every widget.
#include <QApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

#include "fakewindowsystem.h"
#include "mainwnd.h"
#include "messageboxes.h"
#include "skin/frame/skinmanage.h"
#include "skin/style/skinregistry.h"

namespace {

struct Window
{
    Window()
    {
        services.windowSystem = &windowSystem;
        services.messageBoxes = &messageBoxes;
        services.settingsPath = dir.filePath(QStringLiteral("KTZ.ini"));
        services.openUrl = [](const QUrl &) { return true; };
        window = std::make_unique<TMainWnd>(services);
        window->setProperty("Tag", TSkinManage::kKeepFrameTag);
        window->show();
        QApplication::processEvents();
    }

    QTemporaryDir dir;
    FakeWindowSystem windowSystem;
    MessageBoxes messageBoxes;
    MainWndServices services;
    std::unique_ptr<TMainWnd> window;
};

// The process's CPU time (all threads: Qt converts large images on worker threads), in microseconds; unlike
// the wall clock it does not count the time other programs on a busy machine take.
double cpuMicroseconds()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e6 + double(now.tv_nsec) / 1e3;
}

// Median CPU microseconds per grab over `rounds` rounds of `grabs` grabs.
double microsecondsPerGrab(QWidget &widget, int rounds, int grabs)
{
    std::vector<double> perGrab;
    for (int round = 0; round < rounds; ++round) {
        const double start = cpuMicroseconds();
        for (int i = 0; i < grabs; ++i) {
            widget.grab();
        }
        perGrab.push_back((cpuMicroseconds() - start) / grabs);
    }
    std::sort(perGrab.begin(), perGrab.end());
    return perGrab[perGrab.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const int grabs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 40;

    // One main window: first with the plain look (its Tag keeps the platform frame, so nothing is skinned and
    // the skin style is not installed yet), then framed and skinned, then given its plain look back.
    Window window;
    TMainWnd &main = *window.window;
    microsecondsPerGrab(main, 1, grabs); // warm caches: fonts, glyphs, the side picture
    const double plainBefore = microsecondsPerGrab(main, rounds, grabs);

    main.setProperty("Tag", 0);
    if (!TSkinManage::instance()->frameWindow(&main) || !SkinRegistry::instance().isSkinned(&main)) {
        std::fprintf(stderr, "the main window was not skinned\n");
        return 1;
    }
    QApplication::processEvents();
    microsecondsPerGrab(main, 1, grabs);
    const double skinned = microsecondsPerGrab(main, rounds, grabs);
    const QSize skinnedSize = main.size();

    TSkinManage::instance()->unskinAll();
    QApplication::processEvents();
    const double plainAfter = microsecondsPerGrab(main, rounds, grabs);

    std::printf("main window grab, CPU time, median of %d rounds of %d grabs (%dx%d skinned with its frame)\n", rounds,
        grabs, skinnedSize.width(), skinnedSize.height());
    std::printf("  --no-skin look, before the skin style: %8.0f us\n", plainBefore);
    std::printf("  --no-skin look, under the skin style:  %8.0f us\n", plainAfter);
    std::printf("  skinned:                               %8.0f us\n", skinned);
    std::printf("  skinned / --no-skin:                   %8.2fx (goal <= 1.5x)\n", skinned / plainBefore);
    return 0;
}
