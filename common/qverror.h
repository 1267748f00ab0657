#pragma once

#include <QString>
#include <stdexcept>

// The error numbers the system raises besides the file errors (fileerror.h), as the original
// platform and the calendar client's object model number them: callers and stored messages
// compare them, so they never change. ErrorDescription holds the text of each.
enum class ErrorCode : int {
    InvalidCall = 5,
    Overflow = 6,
    OutOfMemory = 7,
    SubscriptOutOfRange = 9,
    TypeMismatch = 13,
    FileInUse = 32,
    Internal = 51,
    PermissionDenied = 70,
    ObjectNotSet = 91,
    NoWindow = 287,
    CannotCreateObject = 429,
    ServerUnavailable = 462,
    NotAllowed = -2147352567,
    InvalidProfile = -2147221219,
    NotFound = -2147221233,
};

// The one error type of the system: a number and description in the manner of the original
// platform's error object, and the name of the component that raised it. A procedure that owns
// a user-visible message catches it at its boundary and shows it through Dialogs.
class QvError : public std::runtime_error
{
public:
    QvError(int number, const QString &description, const QString &source = QString());
    QvError(ErrorCode code, const QString &description, const QString &source)
        : QvError(int(code), description, source)
    {
    }
    // With the catalogue's text of the code.
    explicit QvError(ErrorCode code, const QString &source = QString());

    int number() const { return m_number; }
    QString description() const { return m_description; }
    QString source() const { return m_source; }

private:
    int m_number;
    QString m_description;
    QString m_source;
};

// "Error: " + number + " " + description, the tail of every failure message.
QString ErrorTail(const QvError &e);

// The number of any failure caught as a standard exception: a QvError's own, memory running out
// as error 7, anything else as error 51.
int ErrorNumberOf(const std::exception &e);
// The tail of any failure caught as a standard exception, numbered as ErrorNumberOf says.
QString ErrorTail(const std::exception &e);

// The platform's text for an error number, for messages that name a number they were handed
// rather than a raised error.
QString ErrorDescription(int number);
inline QString ErrorDescription(ErrorCode code)
{
    return ErrorDescription(int(code));
}
