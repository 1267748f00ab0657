#include "qverror.h"

QvError::QvError(int number, const QString &description, const QString &source)
    : std::runtime_error(description.toStdString()), m_number(number),
      m_description(description), m_source(source)
{
}

QString ErrorTail(const QvError &e)
{
    return QStringLiteral("Error: %1 %2").arg(e.number()).arg(e.description());
}
