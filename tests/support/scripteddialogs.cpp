#include "scripteddialogs.h"

ScriptedDialogs::Shown &ScriptedDialogs::record(Kind kind, const QString &text,
                                                const QString &title)
{
    Shown s;
    s.kind = kind;
    s.text = text;
    s.title = title;
    m_shown.append(s);
    return m_shown.last();
}

Dialogs::Answer ScriptedDialogs::message(const QString &text, Buttons buttons, Icon icon,
                                         const QString &title)
{
    Shown &s = record(Kind::Message, text, title);
    s.buttons = buttons;
    s.icon = icon;
    if (!m_answers.isEmpty())
        return m_answers.takeFirst();
    return FirstButtonOf(buttons);
}

bool ScriptedDialogs::question(const QString &text, bool defaultYes, const QString &title)
{
    Shown &s = record(Kind::Question, text, title);
    s.buttons = Buttons::YesNo;
    s.icon = Icon::Question;
    s.defaultYes = defaultYes;
    if (!m_answers.isEmpty())
        return m_answers.takeFirst() == Answer::Yes;
    return defaultYes;
}

QString ScriptedDialogs::inputBox(const QString &prompt, const QString &title,
                                  const QString &defaultText)
{
    record(Kind::Input, prompt, title).defaultText = defaultText;
    return m_inputs.isEmpty() ? defaultText : m_inputs.takeFirst();
}

std::optional<quint32> ScriptedDialogs::pickColour(quint32 initial)
{
    record(Kind::Colour, QString(), QString()).colour = initial;
    return m_colours.isEmpty() ? std::nullopt : m_colours.takeFirst();
}

QString ScriptedDialogs::saveFileName(const SaveFile &request)
{
    record(Kind::SaveFile, QString(), request.title).saveFile = request;
    return m_fileNames.isEmpty() ? QString() : m_fileNames.takeFirst();
}

QString ScriptedDialogs::browseFolder(const QString &title, const QString &initial)
{
    record(Kind::Folder, initial, title);
    return m_folders.isEmpty() ? QString() : m_folders.takeFirst();
}

void ScriptedDialogs::about(const About &box)
{
    record(Kind::About, box.caption, box.caption).aboutBox = box;
}

void ScriptedDialogs::report(const QString &title, const QString &intro, const QStringList &lines)
{
    record(Kind::Report, intro, title).lines = lines;
}

bool ScriptedDialogs::openAddress(const QString &address)
{
    record(Kind::Address, AddressWithScheme(address), QString());
    return !browsersFail;
}

void ScriptedDialogs::beginWait()
{
    m_mostWaiting = std::max(m_mostWaiting, ++m_waiting);
}

void ScriptedDialogs::endWait()
{
    --m_waiting;
}

QStringList ScriptedDialogs::texts() const
{
    QStringList out;
    for (const Shown &s : m_shown)
        out.append(s.text);
    return out;
}
