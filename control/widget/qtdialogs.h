#pragma once

#include "dialogs.h"

class QWidget;

// Message boxes on the desktop, owned by a window.
class QtDialogs : public Dialogs
{
public:
    explicit QtDialogs(QWidget *parent = nullptr) : m_parent(parent) {}
    Answer message(const QString &text, Buttons buttons, Icon icon, const QString &title) override;

private:
    QWidget *m_parent;
};
