#include "storedata_p.h"

#include "icalitem.h"
#include "qverror.h"

#include <QCryptographicHash>

namespace Store {

const char *const kMessageClassProperty = "X-QUORVEL-MESSAGE-CLASS";

QString HashId(const char *prefix, const QString &text)
{
    const QByteArray digest =
        QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1).toHex().toUpper();
    return QLatin1String(prefix) + QString::fromLatin1(digest.left(40));
}

void NotFound(const QString &what)
{
    throw QvError(
        kNotFound,
        QStringLiteral("The operation failed. An object could not be found (%1).").arg(what),
        QStringLiteral("Calendar store"));
}

bool IsFolderName(const QString &name)
{
    return !name.isEmpty() && !name.startsWith(QLatin1Char('.'));
}

QString ItemMessageClass(const IcalItem &item)
{
    const QString own = item.xText(kMessageClassProperty);
    if (!own.isEmpty())
        return own;
    return item.isMeeting() ? QStringLiteral("IPM.Schedule.Meeting.Request")
                            : QStringLiteral("IPM.Appointment");
}

} // namespace Store
