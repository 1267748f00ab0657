#include "qverror.h"

#include "fileerror.h"

#include <new>

QvError::QvError(int number, const QString &description, const QString &source)
    : std::runtime_error(description.toStdString()), m_number(number), m_description(description),
      m_source(source)
{
}

QvError::QvError(ErrorCode code, const QString &source)
    : QvError(int(code), ErrorDescription(code), source)
{
}

QString ErrorTail(const QvError &e)
{
    return QStringLiteral("Error: %1 %2").arg(e.number()).arg(e.description());
}

int ErrorNumberOf(const std::exception &e)
{
    if (const auto *q = dynamic_cast<const QvError *>(&e))
        return q->number();
    return int(dynamic_cast<const std::bad_alloc *>(&e) ? ErrorCode::OutOfMemory
                                                        : ErrorCode::Internal);
}

QString ErrorTail(const std::exception &e)
{
    if (const auto *q = dynamic_cast<const QvError *>(&e))
        return ErrorTail(*q);
    return ErrorTail(QvError(ErrorCode(ErrorNumberOf(e))));
}

QString ErrorDescription(int number)
{
    switch (ErrorCode(number)) {
    case ErrorCode::InvalidCall:
        return QStringLiteral("Invalid procedure call or argument");
    case ErrorCode::Overflow:
        return QStringLiteral("Overflow");
    case ErrorCode::OutOfMemory:
        return QStringLiteral("Out of memory");
    case ErrorCode::SubscriptOutOfRange:
        return QStringLiteral("Subscript out of range");
    case ErrorCode::Internal:
        return QStringLiteral("Internal error");
    case ErrorCode::TypeMismatch:
        return QStringLiteral("Type mismatch");
    case ErrorCode::FileInUse:
        return QStringLiteral("The process cannot access the file because it is being used by "
                              "another process.");
    case ErrorCode::PermissionDenied:
        return QStringLiteral("Permission denied");
    case ErrorCode::ObjectNotSet:
        return QStringLiteral("Object variable or With block variable not set");
    case ErrorCode::CannotCreateObject:
        return QStringLiteral("ActiveX component can't create object");
    case ErrorCode::ServerUnavailable:
        return QStringLiteral("The remote server machine does not exist or is unavailable");
    case ErrorCode::NotAllowed:
        return QStringLiteral("The operation is not allowed.");
    case ErrorCode::InvalidProfile:
        return QStringLiteral("The user profile or user identity is invalid or does not have the "
                              "appropriate permissions");
    case ErrorCode::NotFound:
        return QStringLiteral("The operation failed. An object could not be found.");
    case ErrorCode::NoWindow:
        break;
    }
    if (number >= 52 && number <= 76)
        return FileErrorDescription(number);
    return QStringLiteral("Application-defined or object-defined error");
}
