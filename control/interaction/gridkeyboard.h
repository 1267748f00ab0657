#pragma once

#include "gridpointer.h"

#include <QDate>
#include <QRectF>
#include <QStringList>

#include <optional>

class PlannerYear;

// How a key moves the day cursor over the grid.
enum class DayMove { Left, Right, Up, Down, MonthStart, MonthEnd, YearStart, YearEnd };

// Where a move takes the cursor from day, never leaving the planner year: left and right a day
// (across month ends), up and down the same weekday column in the month row above or below (the
// nearest day of that month where the column lies outside it), the first or last day of the
// month or of the year.
QDate MovedDay(const PlannerYear &year, QDate day, DayMove move);
// The cursor's day after a year change: the same month and day in the planner year shown (the
// 28th for a 29 February the year lacks); day itself where it lies in it.
QDate SameDayInYear(const PlannerYear &year, QDate day);

// The keys of the appointments drawn on a day of the year shown, from the top band down.
QStringList KeysOnDay(const Planner &planner, QDate day);
// What a screen reader says of a day: its full date in the user's form, its marks, and the
// subject and categories of each appointment drawn on it: "Tuesday, 3 March 2026: Fair (Work),
// Planning (Project)".
QString DayDescription(const Planner &planner, QDate day);

// The grid from the keyboard: a cursor day moved by the arrows, Home and End; a run of days
// selected with Shift; the appointments on the cursor day chosen one after another and opened,
// deleted or created with the keys, as the pointer does with the mouse. The date label and the
// tooltip follow the cursor as they follow the pointer.
class GridKeyboard
{
public:
    GridKeyboard(Planner &planner, AppointmentCommands &commands, GridPointer &pointer,
                 PointerView &view);

    // A key pressed on the grid; false for keys it leaves to others (Tab past the day's last
    // appointment moves the focus on).
    bool keyPress(int key, Qt::KeyboardModifiers modifiers);
    // The grid took the focus: the cursor starts on today where it lies in the year, else on its
    // first day.
    void focusIn();
    // A click on a day (month row and day column): the cursor goes there, for the keys that
    // follow; a click outside the month's days leaves it.
    void placeAt(int row, int column);
    // The year shown or its drawing changed: the cursor keeps its date where it can, and the
    // chosen appointment where it is still drawn.
    void yearShown();
    void redrawn();
    // The appointment menu's New Appointment, opened from the keyboard: the form for the
    // selected days (the cursor's day without a run), of the category at position (1..N).
    void createOver(int position);

    QDate day() const { return m_day; }
    // The run of days selected with Shift, from its earlier day; empty without one.
    std::optional<std::pair<QDate, QDate>> run() const;
    QString chosenKey() const;
    QStringList keysOnDay() const { return m_keys; }

    // Where the view draws what the keyboard marks, in twips on the grid: the cursor's day over
    // its month row, the run's cells in the rows' first band, the chosen appointment's bar.
    struct Marks
    {
        QRectF cursor;
        QList<QRectF> run;
        QRectF chosen;
    };
    Marks marks() const;

    // The cursor's cell: month row and day column from 1; the cursor must be on a day.
    int row() const;
    int column() const;

private:
    void moveTo(QDate day, bool extend);
    void choose(int step);
    void findKeys();
    // The band of the chosen appointment's bar on the cursor's day; 0 without one.
    int chosenBand() const;
    void show();
    void clear();

    Planner &m_planner;
    AppointmentCommands &m_commands;
    GridPointer &m_pointer;
    PointerView &m_view;
    QDate m_day;
    QDate m_anchor; // the run's other end, invalid without a run
    QStringList m_keys;
    int m_chosen = -1;
};
