#include "folderpath.h"

#include "calendarstore.h"
#include "knowncalendars.h"
#include "sessiondata_p.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <functional>

namespace Store {

FolderPtr FolderAtPath(NameSpace &session, const QString &path, bool create)
{
    const QStringList parts = path.split(QLatin1Char('\\'));
    FolderPtr folder;
    FoldersPtr level = session.Folders();
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString &part = parts[i];
        FolderPtr next;
        for (FolderPtr f = level->GetFirst(); f; f = level->GetNext()) {
            if (f->Name() == part) {
                next = f;
                break;
            }
        }
        if (!next && create && folder)
            next = level->Add(part, olFolderCalendar);
        if (!next)
            return nullptr;
        folder = next;
        // The last folder's subfolders are not asked for: listing them reads all its files.
        if (i + 1 < parts.size())
            level = folder->Folders();
    }
    return folder;
}

namespace {

// Each folder whose directory exists, depth first: subfolders under their parent.
void ForEachFolder(NameSpace &session, const std::function<void(const FolderPtr &)> &visit)
{
    QList<FolderPtr> pending;
    const FoldersPtr tops = session.Folders();
    for (FolderPtr f = tops->GetFirst(); f; f = tops->GetNext())
        pending.append(f);
    while (!pending.isEmpty()) {
        const FolderPtr folder = pending.takeFirst();
        if (!QFileInfo(folder->directory()).isDir())
            continue;
        visit(folder);
        const FoldersPtr subs = folder->Folders();
        QList<FolderPtr> children;
        for (FolderPtr f = subs->GetFirst(); f; f = subs->GetNext())
            children.append(f);
        pending = children + pending;
    }
}

} // namespace

QStringList FolderPaths(NameSpace &session)
{
    QStringList paths;
    ForEachFolder(session, [&](const FolderPtr &f) { paths.append(f->FolderPath()); });
    return paths;
}

QList<CalendarChoice> CalendarsOf(NameSpace &session)
{
    QList<CalendarChoice> calendars;
    ForEachFolder(session, [&](const FolderPtr &f) {
        if (f->DefaultItemType() != olAppointmentItem)
            return;
        const QString path = f->FolderPath();
        QString shown = CollectionDisplayName(f->directory());
        if (shown.isEmpty())
            shown = f->Name();
        calendars.append({path, shown, path.section(QLatin1Char('\\'), 0, 0), f->directory(),
                          CollectionColour(f->directory())});
    });
    return calendars;
}

QString NoFolderMessage(NameSpace &session, const QString &path)
{
    const QStringList there = FolderPaths(session);
    if (there.isEmpty())
        return QCoreApplication::translate(
                   "Calendar store",
                   "there is no folder \"%1\": the profile names no store that exists")
            .arg(path);
    return QCoreApplication::translate("Calendar store",
                                       "there is no folder \"%1\"; the folders are: %2")
        .arg(path, there.join(QStringLiteral(", ")));
}

} // namespace Store
