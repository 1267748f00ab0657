#pragma once

#include <QMenu>

// The logo's help menu (mnuHelp) with its one item, About (mnuAbout).
class HelpMenu : public QMenu
{
    Q_OBJECT
public:
    explicit HelpMenu(QWidget *parent = nullptr);
    QAction *aboutAction() const { return m_about; }

signals:
    void aboutRequested();

private:
    QAction *m_about;
};
