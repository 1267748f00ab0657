#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The message boxes, questions and pickers the system shows. Procedures never talk to a window
// directly: they call the control's Dialogs, which is a Qt implementation in the program, a
// scripted fake in tests and a stream writer in tools without a display.
class Dialogs
{
public:
    enum class Icon { None, Information, Exclamation, Critical, Question };
    enum class Buttons { Ok, OkCancel, RetryCancel, YesNo, YesNoCancel, AbortRetryIgnore };
    enum class Answer { Ok, Cancel, Abort, Retry, Ignore, Yes, No };

    virtual ~Dialogs() = default;

    virtual Answer message(const QString &text, Buttons buttons = Buttons::Ok,
                           Icon icon = Icon::None, const QString &title = QString()) = 0;
};

// A Dialogs for tests: records every message and gives the queued answers in turn (the first
// button of the box when the queue is empty).
class ScriptedDialogs : public Dialogs
{
public:
    struct Shown
    {
        QString text;
        QString title;
        Buttons buttons;
        Icon icon;
    };

    Answer message(const QString &text, Buttons buttons, Icon icon, const QString &title) override;

    void queueAnswer(Answer a) { m_answers.append(a); }
    const QList<Shown> &shown() const { return m_shown; }
    QStringList texts() const;
    void clear() { m_shown.clear(); }

private:
    QList<Shown> m_shown;
    QList<Answer> m_answers;
};

// A Dialogs for programs without a window: writes each message to standard error and gives the
// first button of the box.
class StreamDialogs : public Dialogs
{
public:
    Answer message(const QString &text, Buttons buttons, Icon icon, const QString &title) override;
};

// The answer a box gives when nobody chooses: its first button.
Dialogs::Answer FirstButtonOf(Dialogs::Buttons buttons);
