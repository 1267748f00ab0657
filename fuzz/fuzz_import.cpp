// Importing calendar text into a store folder: whatever the text, the folder ends up with items
// that read back, the rest named among the problems.

#include "calendarstore.h"
#include "fuzzapp.h"
#include "qverror.h"

#include <QCoreApplication>
#include <QDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The store is named after its directory: "Fuzz".
    static const QString base = QDir::temp().filePath(
        QStringLiteral("fuzz-import-%1").arg(QCoreApplication::applicationPid()));
    static const QString root = base + QStringLiteral("/Fuzz");
    QDir(base).removeRecursively();
    QDir().mkpath(root + QStringLiteral("/Calendar"));
    Store::ProfileOptions options;
    options.storeDir = root;
    try {
        Store::NameSpace session(options);
        const Store::FolderPtr folder =
            Store::FolderAtPath(session, QStringLiteral("Fuzz\\Calendar"));
        if (!folder)
            std::abort(); // the harness itself is wrong: every input would test nothing
        const QByteArray text(reinterpret_cast<const char *>(data), qsizetype(size));
        const Store::ImportResult r = Store::ImportCalendar(*folder, text);
        if (r.added + r.updated > 0)
            (void)folder->Items()->Count();
    } catch (const QvError &) {
        // a file the folder could not take is an error of its own kind, not a finding
    }
    return 0;
}
