// Benchmark of the skinned frame. First the program's start-up, from starting the process until its main window
// is viewable, skinned and with --no-skin, alternating in one run (median of several starts each); the goal is a
// skinned start at most 1.3 times the plain one. Then, in this process, the time to bring the frame up to date
// after a resize: the window resized (the shape recomputed from the transparent edges) and the frame ring
// painted, and the two parts alone, for a window of the main window's size.
#include <QApplication>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "skin/component/skindata.h"
#include "skin/frame/framemask.h"
#include "skin/frame/framepainter.h"
#include "skin/frame/skinmanage.h"
#include "skin/frame/winskinform.h"
#include "skin/load/shippedskin.h"
#include "startupclock.h"

namespace {

constexpr int kStartRuns = 7;
constexpr int kResizeRuns = 200;
const QSize kClient(768, 557);

using Nanoseconds = std::chrono::nanoseconds;

Nanoseconds median(std::vector<Nanoseconds> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

Nanoseconds medianOf(int runs, const std::function<void(int)> &work)
{
    std::vector<Nanoseconds> samples;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work(i);
        samples.push_back(std::chrono::steady_clock::now() - start);
    }
    return median(samples);
}

double milliseconds(Nanoseconds time)
{
    return std::chrono::duration<double, std::milli>(time).count();
}

void startUp()
{
#ifdef FRAMEWRIGHT_PROGRAM
    const QString program = QStringLiteral(FRAMEWRIGHT_PROGRAM);
    const QString title = QStringLiteral("Framewright");
    std::vector<Nanoseconds> skinned;
    std::vector<Nanoseconds> plain;
    for (int i = 0; i < kStartRuns; ++i) {
        if (const auto time = measureStartup(program, title)) {
            skinned.push_back(*time);
        }
        if (const auto time = measureStartup(program, title, {QStringLiteral("--no-skin")})) {
            plain.push_back(*time);
        }
    }
    if (skinned.empty() || plain.empty()) {
        std::printf("start-up: not measured (needs a display; run under tests/support/x11-session)\n");
        return;
    }
    const double ratio = milliseconds(median(skinned)) / milliseconds(median(plain));
    std::printf("start-up to a viewable main window (median of %d): skinned %8.1f ms, --no-skin %8.1f ms\n", kStartRuns,
        milliseconds(median(skinned)), milliseconds(median(plain)));
    std::printf("skinned / --no-skin = %.2f (goal at most 1.3): %s\n", ratio, ratio <= 1.3 ? "met" : "NOT met");
#else
    std::printf("start-up: not measured (the build has no framewright program)\n");
#endif
}

void repaintAfterResize()
{
    QObject host;
    auto *skinData = new TSkinData(&host);
    skinData->setActive(true);
    skinData->setSkinStream(TSkinData::framedSkinStream(shippedSkinPackage()));
    skinData->loaded();
    QWidget window;
    window.setWindowTitle(QStringLiteral("Framewright - Tarvelin Development"));
    window.resize(kClient);
    window.show();
    TWinSkinForm *frame = TSkinManage::instance()->findFrame(&window);
    auto *overlay = window.findChild<QWidget *>(QStringLiteral("FrameOverlay"));
    if (!frame || !overlay) {
        std::printf("frame repaint: the window was not framed\n");
        return;
    }
    QImage target(window.size() + QSize(64, 64), QImage::Format_ARGB32_Premultiplied);
    const QSize outer = window.size();
    // Alternating sizes, so that every resize changes the shape.
    const auto sizeFor = [outer](int i) { return outer + QSize(i % 2 * 32, i % 2 * 24); };
    const Nanoseconds whole = medianOf(kResizeRuns, [&](int i) {
        window.resize(sizeFor(i));
        overlay->render(&target);
    });
    const SkinObjects &skin = *frame->skin();
    const Nanoseconds shape = medianOf(kResizeRuns, [&](int i) {
        FrameFacts facts = frame->facts();
        facts.size = sizeFor(i);
        frameMask(skin, facts);
    });
    const Nanoseconds paint = medianOf(kResizeRuns, [&](int) {
        QPainter painter(&target);
        paintFrame(painter, skin, frame->facts(), frame->titleBarLayout(), {}, frame->icon(), frame->captionFont());
    });
    std::printf("frame after a resize of a %dx%d window (median of %d): %.3f ms in all; shape %.3f ms, "
                "painting the ring %.3f ms\n",
        outer.width(), outer.height(), kResizeRuns, milliseconds(whole), milliseconds(shape), milliseconds(paint));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    startUp();
    repaintAfterResize();
    return 0;
}
