#include "qverror.h"

#include "fileio.h"

#include <new>

QvError::QvError(int number, const QString &description, const QString &source)
    : std::runtime_error(description.toStdString()), m_number(number), m_description(description),
      m_source(source)
{
}

QString ErrorTail(const QvError &e)
{
    return QStringLiteral("Error: %1 %2").arg(e.number()).arg(e.description());
}

QString ErrorTail(const std::exception &e)
{
    if (const auto *q = dynamic_cast<const QvError *>(&e))
        return ErrorTail(*q);
    const int number = dynamic_cast<const std::bad_alloc *>(&e) ? 7 : 51;
    return QStringLiteral("Error: %1 %2").arg(number).arg(ErrorDescription(number));
}

QString ErrorDescription(int number)
{
    switch (number) {
    case 5:
        return QStringLiteral("Invalid procedure call or argument");
    case 6:
        return QStringLiteral("Overflow");
    case 7:
        return QStringLiteral("Out of memory");
    case 9:
        return QStringLiteral("Subscript out of range");
    case 51:
        return QStringLiteral("Internal error");
    case 13:
        return QStringLiteral("Type mismatch");
    case 32:
        return QStringLiteral("The process cannot access the file because it is being used by "
                              "another process.");
    case 70:
        return QStringLiteral("Permission denied");
    case 91:
        return QStringLiteral("Object variable or With block variable not set");
    case 429:
        return QStringLiteral("ActiveX component can't create object");
    case 462:
        return QStringLiteral("The remote server machine does not exist or is unavailable");
    }
    if (number >= 52 && number <= 76)
        return FileErrorDescription(number);
    return QStringLiteral("Application-defined or object-defined error");
}
