#pragma once

#include <QString>

#include <optional>

// The message boxes, questions and pickers the system shows. Procedures never talk to a window
// directly: they call the control's Dialogs, which is a Qt implementation in the programs, a
// scripted fake in tests and a stream writer in tools without a display. Titles left empty are
// the application's title. Colours are 0x00BBGGRR.
class Dialogs
{
public:
    enum class Icon { None, Information, Exclamation, Critical, Question };
    enum class Buttons { Ok, OkCancel, RetryCancel, YesNo, YesNoCancel, AbortRetryIgnore };
    enum class Answer { Ok, Cancel, Abort, Retry, Ignore, Yes, No };

    // A save-file dialog. filter as the platform's common dialog takes it: pairs of a caption and
    // patterns, all separated by "|" ("Data(*.xml)|*.xml|All Files(*.*)|*.*").
    struct SaveFile
    {
        QString filter;
        QString title;
        QString defaultExtension; // added to a name typed without one
        QString initialName;
        bool overwritePrompt = true;
    };

    // The About box: its caption and the lines it shows above the OK button.
    struct About
    {
        QString caption;
        QString versionLine;
        QString productLine;
        QString description;
        QString address; // the product page a click on the logo or the heading opens
    };

    virtual ~Dialogs() = default;

    // A message box; the answer is the button chosen (its first button when nobody chooses).
    virtual Answer message(const QString &text, Buttons buttons = Buttons::Ok,
                           Icon icon = Icon::None, const QString &title = QString()) = 0;
    // A message that asks nothing and may come while the user is working in the window (a
    // drawing or layout failure during a background refresh): on the desktop it never takes the
    // keyboard, so the keys typed meanwhile go where they were going. Elsewhere a message.
    virtual void notice(const QString &text) { message(text); }
    // A Yes/No question with a question icon; true for Yes. defaultYes makes Yes the default
    // button, otherwise No is.
    virtual bool question(const QString &text, bool defaultYes = false,
                          const QString &title = QString()) = 0;
    // An input box; the text typed, or an empty text on Cancel.
    virtual QString inputBox(const QString &prompt, const QString &title,
                             const QString &defaultText = QString()) = 0;
    // The colour dialog with initial preselected; nothing when cancelled.
    virtual std::optional<quint32> pickColour(quint32 initial) = 0;
    // The file name chosen, or an empty text on Cancel.
    virtual QString saveFileName(const SaveFile &request) = 0;
    // A folder browser that can create folders; the folder chosen, or an empty text on Cancel.
    virtual QString browseFolder(const QString &title, const QString &initial = QString()) = 0;
    virtual void about(const About &box) = 0;
    // Lines to read, however many: intro above them, the lines in a box that scrolls.
    virtual void report(const QString &title, const QString &intro, const QStringList &lines) = 0;
    // Opens a web address or a file in the desktop's program for it; an address without a scheme
    // is taken as a web address. False when nothing could open it.
    virtual bool openAddress(const QString &address) = 0;

    // The wait cursor, shown from the first begin to the matching end (see WaitCursor).
    virtual void beginWait() = 0;
    virtual void endWait() = 0;
};

// The wait cursor for the life of the object.
class WaitCursor
{
public:
    explicit WaitCursor(Dialogs &dialogs) : m_dialogs(dialogs) { m_dialogs.beginWait(); }
    ~WaitCursor() { m_dialogs.endWait(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;

private:
    Dialogs &m_dialogs;
};

// A Dialogs for programs without a window: writes each message to standard error and takes the
// default of every question (the first button of a box, the default text, Cancel for pickers).
class StreamDialogs : public Dialogs
{
public:
    Answer message(const QString &text, Buttons buttons, Icon icon, const QString &title) override;
    bool question(const QString &text, bool defaultYes, const QString &title) override;
    QString inputBox(const QString &prompt, const QString &title,
                     const QString &defaultText) override;
    std::optional<quint32> pickColour(quint32 initial) override;
    QString saveFileName(const SaveFile &request) override;
    QString browseFolder(const QString &title, const QString &initial) override;
    void about(const About &box) override;
    void report(const QString &title, const QString &intro, const QStringList &lines) override;
    bool openAddress(const QString &address) override;
    void beginWait() override {}
    void endWait() override {}
};

// The address as it is opened: one without a scheme gets the web's.
QString AddressWithScheme(const QString &address);

// The answer a box gives when nobody chooses: its first button.
Dialogs::Answer FirstButtonOf(Dialogs::Buttons buttons);
