#include "dialogs.h"

#include <cstdio>

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

Dialogs::Answer ScriptedDialogs::message(const QString &text, Buttons buttons, Icon icon,
                                         const QString &title)
{
    m_shown.append({text, title, buttons, icon});
    if (!m_answers.isEmpty())
        return m_answers.takeFirst();
    return FirstButtonOf(buttons);
}

QStringList ScriptedDialogs::texts() const
{
    QStringList out;
    for (const Shown &s : m_shown)
        out.append(s.text);
    return out;
}

Dialogs::Answer StreamDialogs::message(const QString &text, Buttons buttons, Icon,
                                       const QString &title)
{
    const QString line = title.isEmpty() ? text : title + QStringLiteral(": ") + text;
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    return FirstButtonOf(buttons);
}
