#pragma once

#include <QMenu>

// The logo's help menu (mnuHelp) with its one item, About (mnuAbout).
class HelpMenu : public QMenu
{
    Q_OBJECT
public:
    explicit HelpMenu(QWidget *parent = nullptr);
    QAction *aboutAction() const { return m_about; }
    // Shown only while some calendar files are left out.
    QAction *leftOutAction() const { return m_leftOut; }

signals:
    void aboutRequested();
    void leftOutRequested();

private:
    QAction *m_about;
    QAction *m_leftOut;
};
