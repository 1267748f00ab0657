#include "categoryeditor.h"

#include "calendarstore.h"
#include "categorycolours.h"
#include "categorystore.h"
#include "dialogs.h"
#include "planner.h"
#include "qverror.h"

#include <QCoreApplication>

CategoryEditor::CategoryEditor(Planner &planner) : m_planner(planner) {}

void CategoryEditor::save()
{
    const CalendarAccess *access = m_planner.access();
    if (!access)
        return;
    CategoryStore(m_planner.dialogs(), access->session(), access->folderId(), access->storeId())
        .SaveCategories(m_planner.state().categories, m_planner.CategoryStoreSubject());
}

void CategoryEditor::settle(bool rebuildMenu)
{
    m_planner.SelectCategory(0);
    m_planner.ReloadPlanner();
    if (rebuildMenu)
        m_planner.RebuildCategoryMenu();
}

void CategoryEditor::NewCategory()
{
    const QString answer = m_planner.dialogs().inputBox(
        QCoreApplication::translate("Messages", "Enter name of new category"),
        QCoreApplication::translate("Messages", "New Category"), QString());
    const QString name = CleanCategoryName(answer);
    // Only spaces, bars and control characters leave no name that could ever match.
    if (name.trimmed().isEmpty())
        return;
    CategoryTable &table = m_planner.state().categories;
    // A colour of its own that its name reads on (pure blue hid the black text).
    const quint32 colour = NextCategoryColour(table);
    if (m_planner.HideNonCategoryItems() || table.names.isEmpty()) {
        table.names.append(name);
        table.colours.append(colour);
    } else {
        // The catch-all stays last.
        table.names.insert(table.names.size() - 1, name);
        table.colours.insert(table.colours.size() - 1, colour);
    }
    save();
    settle(true);
}

void CategoryEditor::CatDelete()
{
    const int s = m_planner.SelectedCategory();
    if (s == 0)
        return;
    CategoryTable &table = m_planner.state().categories;
    if (table.names.size() == 1) {
        m_planner.dialogs().message(QCoreApplication::translate(
            "Messages", "Cannot delete all the categories; at least one must be retained."));
        return;
    }
    table.names.removeAt(s - 1);
    table.colours.removeAt(s - 1);
    save();
    settle(true);
}

void CategoryEditor::CatColour()
{
    const int s = m_planner.SelectedCategory();
    if (s == 0)
        return;
    CategoryTable &table = m_planner.state().categories;
    const quint32 current = table.colours.value(s - 1);
    const std::optional<quint32> chosen = m_planner.dialogs().pickColour(current);
    if (!chosen || *chosen == current)
        return;
    if (table.colours.contains(*chosen)) {
        m_planner.dialogs().message(
            QCoreApplication::translate("Messages", "This colour has already been used."),
            Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation,
            QCoreApplication::translate("Messages", "Category Colour Picker"));
        return;
    }
    table.colours[s - 1] = *chosen;
    save();
    m_planner.SelectCategory(0);
    m_planner.ReloadPlanner();
}

bool CategoryEditor::CommitCategoryRename(int position, const QString &text)
{
    CategoryTable &table = m_planner.state().categories;
    if (position < 1 || position > table.names.size())
        return false;
    // A name cleared to nothing keeps the old one: a nameless category could never match.
    if (CleanCategoryName(text).trimmed().isEmpty())
        return false;
    // The name as typed is compared, before it is cleaned.
    const qsizetype same = table.names.indexOf(text);
    if (same >= 0) {
        if (same != position - 1)
            m_planner.dialogs().message(
                QCoreApplication::translate("Messages", "The category %1 already exists")
                    .arg(text));
        return false;
    }
    table.names[position - 1] = CleanCategoryName(text);
    save();
    settle(true);
    return true;
}

void CategoryEditor::EditOutlookCategories()
{
    if (!m_planner.clientVersion().modern())
        return;
    WaitCursor wait(m_planner.dialogs());
    const CalendarAccess *access = m_planner.access();
    if (!access)
        return;
    CategoryTable &table = m_planner.state().categories;
    const QString separator = m_planner.state().ListSeparator;
    QString chosen;
    try {
        // A carrier for the dialog, never saved.
        const Store::AppointmentItemPtr carrier = access->folder()->Items()->Add();
        carrier->setCategories(table.names.join(separator));
        // A cancelled dialog changes nothing: taking its unchanged list would still give every
        // category of the master list that list's colour over the one the team chose.
        if (!carrier->ShowCategoriesDialog())
            return;
        chosen = carrier->Categories();
    } catch (const QvError &e) {
        m_planner.dialogs().message(ErrorTail(e));
        return;
    }
    QStringList names;
    for (const QString &name : chosen.split(separator))
        if (!name.trimmed().isEmpty())
            names.append(name.trimmed());
    if (names.isEmpty()) {
        m_planner.dialogs().message(
            QCoreApplication::translate("Messages", "You must specify at least one category!"));
        return;
    }
    // The catch-all stays last: a category added in the dialog comes after it in its list.
    if (!m_planner.HideNonCategoryItems() && !table.names.isEmpty() &&
        names.removeAll(table.names.last()) > 0)
        names.append(table.names.last());
    const QList<Store::MasterCategory> master = access->session()->Categories();
    const CategoryTable old = table;
    table = CategoryTable();
    for (const QString &name : names) {
        // A name neither the master list nor the table knows gets a colour of its own (white
        // showed no swatch at all).
        quint32 colour = 0;
        const auto known =
            std::find_if(master.begin(), master.end(),
                         [&](const Store::MasterCategory &m) { return m.Name == name; });
        if (known != master.end())
            colour = OutlookColourOf(known->Color);
        else if (const qsizetype i = old.names.indexOf(name); i >= 0)
            colour = old.colours.value(i);
        else
            colour = NextCategoryColour(table);
        table.names.append(name);
        table.colours.append(colour);
    }
    save();
    settle(true);
}
