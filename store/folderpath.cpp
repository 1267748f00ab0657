#include "folderpath.h"

#include "calendarstore.h"
#include "sessiondata_p.h"

namespace Store {

FolderPtr FolderAtPath(NameSpace &session, const QString &path, bool create)
{
    const QStringList parts = path.split(QLatin1Char('\\'));
    FolderPtr folder;
    FoldersPtr level = session.Folders();
    for (const QString &part : parts) {
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
        level = folder->Folders();
    }
    return folder;
}

} // namespace Store
