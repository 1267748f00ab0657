#pragma once

#include <QString>
#include <stdexcept>

// The one error type of the system: a number and description in the manner of the original
// platform's error object, and the name of the component that raised it. A procedure that owns
// a user-visible message catches it at its boundary and shows it through Dialogs.
class QvError : public std::runtime_error
{
public:
    QvError(int number, const QString &description, const QString &source = QString());

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

// The tail of any failure caught as a standard exception: a QvError's own, memory running out
// as error 7, anything else as error 51.
QString ErrorTail(const std::exception &e);

// The platform's text for an error number, for messages that name a number they were handed
// rather than a raised error.
QString ErrorDescription(int number);
