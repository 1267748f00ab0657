#include "gridkeyboard.h"

#include "appointmentcommands.h"
#include "oadate.h"
#include "planner.h"

#include <algorithm>

namespace {

QDate DateOf(const PlannerYear &year, int column, int row)
{
    return OADate::toDate(year.DateOfCell(column, row));
}

QDate FirstDay(const PlannerYear &year)
{
    return OADate::toDate(year.PlannerStart());
}

QDate LastDay(const PlannerYear &year)
{
    return OADate::toDate(year.PlannerEnd());
}

} // namespace

QDate MovedDay(const PlannerYear &year, QDate day, DayMove move)
{
    const QDate first = FirstDay(year), last = LastDay(year);
    day = std::clamp(day, first, last);
    const int row = year.RowOfMonth(day.month());
    switch (move) {
    case DayMove::Left:
        return std::max(day.addDays(-1), first);
    case DayMove::Right:
        return std::min(day.addDays(1), last);
    case DayMove::Up:
    case DayMove::Down: {
        const int to = move == DayMove::Up ? row - 1 : row + 1;
        if (to < 1 || to > PlannerYear::kRows)
            return day;
        const int column =
            std::clamp(year.LeadIn(row) + day.day(), year.LeadIn(to) + 1, int(year.LastColumn(to)));
        return DateOf(year, column, to);
    }
    case DayMove::MonthStart:
        return QDate(day.year(), day.month(), 1);
    case DayMove::MonthEnd:
        return QDate(day.year(), day.month(), day.daysInMonth());
    case DayMove::YearStart:
        return first;
    case DayMove::YearEnd:
        return last;
    }
    return day;
}

QDate SameDayInYear(const PlannerYear &year, QDate day)
{
    if (!day.isValid())
        return FirstDay(year);
    const int y = year.YearOfMonth(day.month());
    return QDate(y, day.month(), std::min(day.day(), QDate(y, day.month(), 1).daysInMonth()));
}

QStringList KeysOnDay(const Planner &planner, QDate day)
{
    QStringList keys;
    const PlannerState &state = planner.state();
    const PlannerYear &year = state.year;
    if (!year.InPlannerYear(day.year(), day.month()))
        return keys;
    const int r = year.RowOfMonth(day.month()), q = year.LeadIn(r) + day.day();
    const int bands = state.RowBands[r] - state.RowBands[r - 1];
    for (int band = 2; band <= bands; ++band) {
        const QString key = planner.hitMap().at(r, q, band);
        if (!key.isEmpty() && !keys.contains(key))
            keys.append(key);
    }
    return keys;
}

QString DayDescription(const Planner &planner, QDate day)
{
    const PlannerState &state = planner.state();
    QString text = QLocale().toString(day, QLocale::LongFormat);
    if (const QList<DayMarks::Mark> *marks = state.marks->at(day))
        for (const DayMarks::Mark &m : *marks)
            text += QStringLiteral(", ") + m.name;
    QStringList subjects;
    for (const QString &key : KeysOnDay(planner, day)) {
        if (const CalEvent *event = state.store->Find(key))
            subjects << (event->Categories.isEmpty() ? event->Subject
                                                     : event->Subject + QStringLiteral(" (") +
                                                           event->Categories + QLatin1Char(')'));
    }
    if (!subjects.isEmpty())
        text += QStringLiteral(": ") + subjects.join(QStringLiteral(", "));
    return text;
}

GridKeyboard::GridKeyboard(Planner &planner, AppointmentCommands &commands, GridPointer &pointer,
                           PointerView &view)
    : m_planner(planner), m_commands(commands), m_pointer(pointer), m_view(view)
{
}

int GridKeyboard::row() const
{
    return m_planner.state().year.RowOfMonth(m_day.month());
}

int GridKeyboard::column() const
{
    return m_planner.state().year.LeadIn(row()) + m_day.day();
}

std::optional<std::pair<QDate, QDate>> GridKeyboard::run() const
{
    if (!m_anchor.isValid() || !m_day.isValid())
        return std::nullopt;
    return std::pair(std::min(m_anchor, m_day), std::max(m_anchor, m_day));
}

QString GridKeyboard::chosenKey() const
{
    return m_chosen >= 0 && m_chosen < m_keys.size() ? m_keys[m_chosen] : QString();
}

void GridKeyboard::focusIn()
{
    if (!m_day.isValid()) {
        const PlannerYear &year = m_planner.state().year;
        const QDate today = QDate::currentDate();
        m_day = year.InPlannerYear(OADate::fromDateTime(today)) ? today : FirstDay(year);
        findKeys();
    }
    show();
}

void GridKeyboard::placeAt(int row, int column)
{
    const PlannerYear &year = m_planner.state().year;
    if (row < 1 || row > PlannerYear::kRows || column <= year.LeadIn(row) ||
        column > year.LastColumn(row))
        return;
    m_day = OADate::toDate(year.DateOfCell(column, row));
    m_anchor = QDate();
    m_chosen = -1;
    findKeys();
    m_view.showKeyboardMarks({});
}

void GridKeyboard::yearShown()
{
    if (!m_day.isValid())
        return;
    const PlannerYear &year = m_planner.state().year;
    m_day = SameDayInYear(year, m_day);
    if (m_anchor.isValid())
        m_anchor = SameDayInYear(year, m_anchor);
    m_chosen = -1;
    findKeys();
}

void GridKeyboard::redrawn()
{
    if (!m_day.isValid())
        return;
    const QString chosen = chosenKey();
    findKeys();
    m_chosen = chosen.isEmpty() ? -1 : int(m_keys.indexOf(chosen));
}

int GridKeyboard::chosenBand() const
{
    const QString chosen = chosenKey();
    if (chosen.isEmpty())
        return 0;
    const PlannerState &state = m_planner.state();
    const int r = row(), q = column();
    for (int band = 2; band <= state.RowBands[r] - state.RowBands[r - 1]; ++band)
        if (m_planner.hitMap().at(r, q, band) == chosen)
            return band;
    return 0;
}

void GridKeyboard::findKeys()
{
    m_keys = KeysOnDay(m_planner, m_day);
}

bool GridKeyboard::keyPress(int key, Qt::KeyboardModifiers modifiers)
{
    if (!m_day.isValid())
        focusIn();
    const bool shift = modifiers & Qt::ShiftModifier;
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool alt = modifiers & Qt::AltModifier;
    const PlannerYear &year = m_planner.state().year;
    auto move = [&](DayMove m) {
        moveTo(MovedDay(year, m_day, m), shift);
        return true;
    };
    switch (key) {
    case Qt::Key_Left:
        return move(DayMove::Left);
    case Qt::Key_Right:
        return move(DayMove::Right);
    case Qt::Key_Up:
        if (alt) {
            choose(-1);
            return true;
        }
        return move(DayMove::Up);
    case Qt::Key_Down:
        if (alt) {
            choose(1);
            return true;
        }
        return move(DayMove::Down);
    case Qt::Key_Home:
        return move(ctrl ? DayMove::YearStart : DayMove::MonthStart);
    case Qt::Key_End:
        return move(ctrl ? DayMove::YearEnd : DayMove::MonthEnd);
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        m_planner.ChangeYear(key == Qt::Key_PageUp ? -1 : 1);
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
        if (ctrl || alt)
            return false;
        // Through the day's appointments, then on to the next control.
        const int step = key == Qt::Key_Backtab || shift ? -1 : 1;
        const int next = m_chosen < 0 ? (step > 0 ? 0 : int(m_keys.size()) - 1) : m_chosen + step;
        if (next < 0 || next >= m_keys.size())
            return false;
        m_chosen = next;
        show();
        return true;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_planner.CategorySelectionActive()) {
            // A category picked in the legend: its appointment over the days, as a drag.
            const int position = m_planner.SelectedCategory();
            m_planner.SelectCategory(0);
            createOver(position);
        } else if (const QString chosen = chosenKey(); !chosen.isEmpty()) {
            m_commands.OpenAppointment(chosen);
        } else {
            m_view.showAppointmentMenu(QString(), false, marks().cursor.center());
        }
        return true;
    case Qt::Key_Delete:
        if (const QString chosen = chosenKey(); !chosen.isEmpty())
            m_commands.DeleteAppointment(chosen);
        return true;
    case Qt::Key_F10:
        if (!shift)
            return false;
        [[fallthrough]];
    case Qt::Key_Menu:
        m_view.showAppointmentMenu(chosenKey(), m_planner.CategorySelectionActive(),
                                   marks().cursor.center());
        return true;
    case Qt::Key_Escape:
        m_planner.SelectCategory(0); // pen mode ends, as a click beside the grid ends it
        clear();
        return true;
    default:
        return false;
    }
}

void GridKeyboard::moveTo(QDate day, bool extend)
{
    if (extend && !m_anchor.isValid())
        m_anchor = m_day;
    else if (!extend)
        m_anchor = QDate();
    m_day = day;
    m_chosen = -1;
    findKeys();
    show();
}

void GridKeyboard::choose(int step)
{
    if (m_keys.isEmpty())
        return;
    const int n = int(m_keys.size());
    m_chosen = m_chosen < 0 ? (step > 0 ? 0 : n - 1) : ((m_chosen + step) % n + n) % n;
    show();
}

void GridKeyboard::clear()
{
    m_anchor = QDate();
    m_chosen = -1;
    show();
}

void GridKeyboard::show()
{
    const int r = row(), q = column();
    const int band = std::max(chosenBand(), 1);
    m_pointer.ShowHover(r, q, band);
    if (m_planner.CategorySelectionActive() || m_anchor.isValid()) {
        const auto days = run().value_or(std::pair(m_day, m_day));
        m_pointer.showDays(OADate::fromDateTime(days.first), OADate::fromDateTime(days.second));
    }
    const GridGeometry &g = m_view.gridGeometry();
    const double top = (m_planner.state().RowBands[r - 1] + band - 1) * g.BandHeight;
    m_view.showKeyboardMarks(QRectF((q - 1) * g.DayWidth, top, g.DayWidth, g.BandHeight));
}

GridKeyboard::Marks GridKeyboard::marks() const
{
    Marks m;
    if (!m_day.isValid())
        return m;
    const GridGeometry &g = m_view.gridGeometry();
    const PlannerState &state = m_planner.state();
    const PlannerYear &year = state.year;
    const int r = row(), q = column();
    const auto top = [&](int row, int band) {
        return (state.RowBands[row - 1] + band - 1) * g.BandHeight;
    };
    m.cursor = QRectF((q - 1) * g.DayWidth, top(r, 1), g.DayWidth,
                      (state.RowBands[r] - state.RowBands[r - 1]) * g.BandHeight);
    if (const auto days = run()) {
        const int firstRow = year.RowOfMonth(days->first.month());
        const int lastRow = year.RowOfMonth(days->second.month());
        for (int i = firstRow; i <= lastRow; ++i) {
            const int left =
                i == firstRow ? year.LeadIn(i) + days->first.day() - 1 : year.LeadIn(i);
            const int right =
                i == lastRow ? year.LeadIn(i) + days->second.day() : int(year.LastColumn(i));
            m.run.append(
                QRectF(left * g.DayWidth, top(i, 1), (right - left) * g.DayWidth, g.BandHeight));
        }
    }
    if (const int band = chosenBand(); band > 0) {
        const QString key = chosenKey();
        const HitMap &hits = m_planner.hitMap();
        int left = q, right = q;
        while (left > 1 && hits.at(r, left - 1, band) == key)
            --left;
        while (right < PlannerYear::kColumns && hits.at(r, right + 1, band) == key)
            ++right;
        m.chosen = QRectF((left - 1) * g.DayWidth, top(r, band), (right - left + 1) * g.DayWidth,
                          g.BandHeight);
    }
    return m;
}

void GridKeyboard::createOver(int position)
{
    if (!m_day.isValid())
        return;
    const auto days = run().value_or(std::pair(m_day, m_day));
    const QString name = m_planner.state().categories.names.value(position - 1);
    m_anchor = QDate();
    show();
    // The midnight after the last day, as a drag gives it.
    m_commands.CreateAppointment(OADate::fromDateTime(days.first),
                                 OADate::fromDateTime(days.second.addDays(1)), name);
}
