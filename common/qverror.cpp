#include "qverror.h"

#include "fileerror.h"

#include <QCoreApplication>

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
    return QCoreApplication::translate("Errors", "Error: %1 %2")
        .arg(e.number())
        .arg(e.description());
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
        return QCoreApplication::translate("Errors", "Invalid procedure call or argument");
    case ErrorCode::Overflow:
        return QCoreApplication::translate("Errors", "Overflow");
    case ErrorCode::OutOfMemory:
        return QCoreApplication::translate("Errors", "Out of memory");
    case ErrorCode::SubscriptOutOfRange:
        return QCoreApplication::translate("Errors", "Subscript out of range");
    case ErrorCode::Internal:
        return QCoreApplication::translate("Errors", "Internal error");
    case ErrorCode::TypeMismatch:
        return QCoreApplication::translate("Errors", "Type mismatch");
    case ErrorCode::FileInUse:
        return QCoreApplication::translate(
            "Errors", "The process cannot access the file because it is being used by "
                      "another process.");
    case ErrorCode::PermissionDenied:
        return QCoreApplication::translate("Errors", "Permission denied");
    case ErrorCode::ObjectNotSet:
        return QCoreApplication::translate("Errors",
                                           "Object variable or With block variable not set");
    case ErrorCode::CannotCreateObject:
        return QCoreApplication::translate("Errors", "ActiveX component can't create object");
    case ErrorCode::ServerUnavailable:
        return QCoreApplication::translate(
            "Errors", "The remote server machine does not exist or is unavailable");
    case ErrorCode::NotAllowed:
        return QCoreApplication::translate("Errors", "The operation is not allowed.");
    case ErrorCode::InvalidProfile:
        return QCoreApplication::translate(
            "Errors", "The user profile or user identity is invalid or does not have the "
                      "appropriate permissions");
    case ErrorCode::NotFound:
        return QCoreApplication::translate("Errors",
                                           "The operation failed. An object could not be found.");
    case ErrorCode::NoWindow:
        break;
    }
    if (number >= 52 && number <= 76)
        return FileErrorDescription(number);
    return QCoreApplication::translate("Errors", "Application-defined or object-defined error");
}
