// The cache file reader and loader on any bytes: records are read, placed in a planner year and
// keyed, or the file is refused with a message; nothing else may happen.

#include "cacheloader.h"
#include "dialogs.h"
#include "fuzzapp.h"
#include "plannerstate.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdint>

namespace {

class QuietDialogs : public StreamDialogs
{
public:
    Answer message(const QString &, Buttons buttons, Icon, const QString &) override
    {
        return FirstButtonOf(buttons);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString path = QDir::temp().filePath(
        QStringLiteral("fuzz-cache-%1.tmp").arg(QCoreApplication::applicationPid()));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    QuietDialogs dialogs;
    for (const qint16 startMonth : {qint16(1), qint16(7)}) {
        PlannerState state(dialogs);
        state.year = PlannerYear(2026, startMonth);
        state.categories = {{"Work", "Other"}, {0x0000FF, 0xCCCCCC}};
        CacheLoader().LoadCache(state, path);
        for (const CalEvent &e : *state.store)
            (void)e.Band;
    }
    return 0;
}
