#pragma once

#include "dialogs.h"

#include <QList>
#include <QStringList>

// A Dialogs for tests: records everything shown and answers each kind of question from its own
// queue, or with what nobody choosing gives (the first button of a box, the default button of a
// question, the default text of an input box, Cancel for the pickers).
class ScriptedDialogs : public Dialogs
{
public:
    enum class Kind { Message, Question, Input, Colour, SaveFile, Folder, About, Address, Report };
    struct Shown
    {
        QString text; // the message, question or prompt; the caption of the About box
        QString title;
        Buttons buttons = Buttons::Ok;
        Icon icon = Icon::None;
        Kind kind = Kind::Message;
        bool defaultYes = false; // questions
        QString defaultText;     // input boxes
        quint32 colour = 0;      // the colour preselected
        SaveFile saveFile;
        About aboutBox;
        QStringList lines; // of a report
    };

    Answer message(const QString &text, Buttons buttons, Icon icon, const QString &title) override;
    bool question(const QString &text, bool defaultYes, const QString &title) override;
    QString inputBox(const QString &prompt, const QString &title,
                     const QString &defaultText) override;
    std::optional<quint32> pickColour(quint32 initial) override;
    QString saveFileName(const SaveFile &request) override;
    QString browseFolder(const QString &title, const QString &initial) override;
    void about(const About &box) override;
    void report(const QString &title, const QString &intro, const QStringList &lines) override;
    // Records the address (as text) and says it was opened, unless browsersFail.
    bool openAddress(const QString &address) override;
    bool browsersFail = false;
    void beginWait() override;
    void endWait() override;

    // Answers to message boxes and questions (Yes or No), in turn.
    void queueAnswer(Answer a) { m_answers.append(a); }
    void queueInput(const QString &text) { m_inputs.append(text); }
    void queueColour(std::optional<quint32> colour) { m_colours.append(colour); }
    void queueFileName(const QString &name) { m_fileNames.append(name); }
    void queueFolder(const QString &folder) { m_folders.append(folder); }

    const QList<Shown> &shown() const { return m_shown; }
    QStringList texts() const;
    void clear() { m_shown.clear(); }
    // How deep in wait cursors the code is now, and the most it has been.
    int waiting() const { return m_waiting; }
    int mostWaiting() const { return m_mostWaiting; }

private:
    Shown &record(Kind kind, const QString &text, const QString &title);

    QList<Shown> m_shown;
    QList<Answer> m_answers;
    QStringList m_inputs;
    QList<std::optional<quint32>> m_colours;
    QStringList m_fileNames;
    QStringList m_folders;
    int m_waiting = 0;
    int m_mostWaiting = 0;
};
