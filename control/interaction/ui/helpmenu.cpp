#include "helpmenu.h"

HelpMenu::HelpMenu(QWidget *parent) : QMenu(parent)
{
    setObjectName(QStringLiteral("mnuHelp"));
    m_about = addAction(QStringLiteral("About"));
    m_about->setObjectName(QStringLiteral("mnuAbout"));
    connect(m_about, &QAction::triggered, this, &HelpMenu::aboutRequested);
    m_leftOut = addAction(QStringLiteral("Calendar files left out..."));
    m_leftOut->setObjectName(QStringLiteral("mnuLeftOut"));
    m_leftOut->setVisible(false);
    connect(m_leftOut, &QAction::triggered, this, &HelpMenu::leftOutRequested);
}
