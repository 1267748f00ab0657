#pragma once

#include <QWidget>

// The update indicator: a small round shape in the colour of the moment (0x00BBGGRR).
class UpdateIndicator : public QWidget
{
public:
    explicit UpdateIndicator(QWidget *parent) : QWidget(parent) {}
    void setColour(quint32 colour);
    quint32 colour() const { return m_colour; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    quint32 m_colour = 0xFFFFFF;
};
