#include "helpmenu.h"

HelpMenu::HelpMenu(QWidget *parent) : QMenu(parent)
{
    setObjectName(QStringLiteral("mnuHelp"));
    m_about = addAction(QStringLiteral("About"));
    m_about->setObjectName(QStringLiteral("mnuAbout"));
    connect(m_about, &QAction::triggered, this, &HelpMenu::aboutRequested);
}
