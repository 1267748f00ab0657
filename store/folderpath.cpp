#include "folderpath.h"

#include "calendarstore.h"
#include "sessiondata_p.h"

#include <QFileInfo>

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

QStringList FolderPaths(NameSpace &session)
{
    QStringList paths;
    QList<FolderPtr> pending;
    const FoldersPtr tops = session.Folders();
    for (FolderPtr f = tops->GetFirst(); f; f = tops->GetNext())
        pending.append(f);
    while (!pending.isEmpty()) {
        const FolderPtr folder = pending.takeFirst();
        if (!QFileInfo(folder->directory()).isDir())
            continue;
        paths.append(folder->FolderPath());
        const FoldersPtr subs = folder->Folders();
        QList<FolderPtr> children;
        for (FolderPtr f = subs->GetFirst(); f; f = subs->GetNext())
            children.append(f);
        pending = children + pending; // depth first: subfolders under their parent
    }
    return paths;
}

QString NoFolderMessage(NameSpace &session, const QString &path)
{
    const QStringList there = FolderPaths(session);
    if (there.isEmpty())
        return QStringLiteral("there is no folder \"%1\": the profile names no store that exists")
            .arg(path);
    return QStringLiteral("there is no folder \"%1\"; the folders are: %2")
        .arg(path, there.join(QStringLiteral(", ")));
}

} // namespace Store
