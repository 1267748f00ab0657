#include "yield.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace {

constexpr qint64 kSliceNsecs = 4'000'000;
// Reading the clock costs more than the rest of a yield: look at it every few calls only.
constexpr int kCallsPerClockRead = 16;

std::function<void()> &hook()
{
    static std::function<void()> h;
    return h;
}

} // namespace

void YieldToLoop()
{
    if (hook()) {
        // Copied, so a hook that replaces itself stays alive until it returns.
        const std::function<void()> h = hook();
        h();
    }
    static QElapsedTimer sinceLast;
    static int calls = 0;
    if (++calls < kCallsPerClockRead && sinceLast.isValid())
        return;
    calls = 0;
    if (!sinceLast.isValid() || sinceLast.nsecsElapsed() >= kSliceNsecs) {
        if (QCoreApplication::instance())
            QCoreApplication::processEvents();
        sinceLast.start();
    }
}

void YieldAndWait(int ms)
{
    if (hook()) {
        const std::function<void()> h = hook();
        h();
    }
    if (!QCoreApplication::instance())
        return;
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

std::function<void()> SetYieldHook(std::function<void()> h)
{
    std::function<void()> previous = std::move(hook());
    hook() = std::move(h);
    return previous;
}
