#include "dialogs.h"

#include <QRegularExpression>

#include <cstdio>

namespace {

void writeLine(const QString &title, const QString &text)
{
    const QString line = title.isEmpty() ? text : title + QStringLiteral(": ") + text;
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
}

} // namespace

Dialogs::Answer FirstButtonOf(Dialogs::Buttons buttons)
{
    switch (buttons) {
    case Dialogs::Buttons::Ok:
    case Dialogs::Buttons::OkCancel:
        return Dialogs::Answer::Ok;
    case Dialogs::Buttons::RetryCancel:
        return Dialogs::Answer::Retry;
    case Dialogs::Buttons::YesNo:
    case Dialogs::Buttons::YesNoCancel:
        return Dialogs::Answer::Yes;
    case Dialogs::Buttons::AbortRetryIgnore:
        return Dialogs::Answer::Abort;
    }
    return Dialogs::Answer::Ok;
}

Dialogs::Answer StreamDialogs::message(const QString &text, Buttons buttons, Icon,
                                       const QString &title)
{
    writeLine(title, text);
    return FirstButtonOf(buttons);
}

bool StreamDialogs::question(const QString &text, bool defaultYes, const QString &title)
{
    writeLine(title, text + (defaultYes ? QStringLiteral(" Yes") : QStringLiteral(" No")));
    return defaultYes;
}

QString StreamDialogs::inputBox(const QString &prompt, const QString &title,
                                const QString &defaultText)
{
    writeLine(title, prompt);
    return defaultText;
}

std::optional<quint32> StreamDialogs::pickColour(quint32)
{
    return std::nullopt;
}

QString StreamDialogs::saveFileName(const SaveFile &)
{
    return QString();
}

QString StreamDialogs::browseFolder(const QString &, const QString &)
{
    return QString();
}

void StreamDialogs::about(const About &box)
{
    writeLine(box.caption, box.versionLine + QLatin1Char('\n') + box.productLine +
                               QLatin1Char('\n') + box.description);
}

void StreamDialogs::report(const QString &title, const QString &intro, const QStringList &lines)
{
    writeLine(title, intro + QLatin1Char('\n') + lines.join(QLatin1Char('\n')));
}

bool StreamDialogs::openAddress(const QString &address)
{
    writeLine(QString(), AddressWithScheme(address));
    return false;
}

QString AddressWithScheme(const QString &address)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    return scheme.match(address).hasMatch() ? address : QStringLiteral("http://") + address;
}
