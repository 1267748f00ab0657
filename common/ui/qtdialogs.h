#pragma once

#include "dialogs.h"

#include <QList>
#include <QPointer>

class QMessageBox;
class QWidget;

// The dialogs on the desktop, as windows of parent.
class QtDialogs : public Dialogs
{
public:
    explicit QtDialogs(QWidget *parent = nullptr) : m_parent(parent) {}
    ~QtDialogs() override;

    Answer message(const QString &text, Buttons buttons, Icon icon, const QString &title) override;
    void notice(const QString &text) override;
    bool question(const QString &text, bool defaultYes, const QString &title) override;
    QString inputBox(const QString &prompt, const QString &title,
                     const QString &defaultText) override;
    std::optional<quint32> pickColour(quint32 initial) override;
    QString saveFileName(const SaveFile &request) override;
    QString browseFolder(const QString &title, const QString &initial) override;
    void about(const About &box) override;
    void report(const QString &title, const QString &intro, const QStringList &lines) override;
    bool openAddress(const QString &address) override;
    void beginWait() override;
    void endWait() override;

private:
    QString titleOr(const QString &title) const;

    QWidget *m_parent;
    int m_waiting = 0;
    QList<QPointer<QMessageBox>> m_notices;
};

// A filter of the platform's common dialog ("Data(*.xml)|*.xml|All(*.*)|*.*") as the name
// filters of a Qt file dialog ("Data(*.xml);;All(*.*)").
QString NameFiltersOf(const QString &filter);

// A message as the box shows it: rich text that keeps the message's own line breaks and spaces,
// shows every character as it is (a "<" in a subject is no tag) and wraps only at spaces, never
// inside a word such as a path ("/tmp/quorvel/Team.ics" stays on one line).
QString MessageBoxHtml(const QString &text);
