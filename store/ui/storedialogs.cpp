#include "storedialogs.h"

#include "filterdate.h"
#include "oadate.h"
#include "qverror.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

using namespace Store;

namespace {

QDialogButtonBox *okCancel(QDialog &dialog)
{
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}

template <typename W> W *named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

void addFolders(QTreeWidgetItem *parent, QTreeWidget *tree, const FoldersPtr &folders,
                QHash<QTreeWidgetItem *, FolderPtr> &byItem)
{
    for (FolderPtr f = folders->GetFirst(); f; f = folders->GetNext()) {
        auto *item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
        item->setText(0, f->Name());
        byItem.insert(item, f);
        addFolders(item, tree, f->Folders(), byItem);
    }
}

} // namespace

namespace {

constexpr double kLongAppointmentDays = 3653; // ten years

// A date box that reads a two-digit year typed into its four-digit year as the nearest such
// year, as the export's date boxes do, rather than as a year of the first century.
class YearDateTimeEdit : public QDateTimeEdit
{
public:
    using QDateTimeEdit::QDateTimeEdit;

    void fixup(QString &input) const override
    {
        double date = 0;
        if (ParseFilterDate(input, locale(), date))
            input = locale().toString(OADate::toDateTime(date), displayFormat());
        else
            QDateTimeEdit::fixup(input);
    }
};

// The form edits a whole series from its first occurrence: said, with the day the user opened.
QString SeriesNote(const AppointmentItem &item, std::optional<double> openedOn)
{
    const auto day = [](double date) {
        return QLocale().toString(OADate::toDateTime(date).date(),
                                  WithFourDigitYear(QLocale().dateFormat(QLocale::ShortFormat)));
    };
    QString note = QObject::tr("This appointment repeats. The times below are those of its first "
                               "occurrence, on %1; a change applies to every occurrence.")
                       .arg(day(item.Start()));
    if (openedOn && OADate::DateOnly(*openedOn) != OADate::DateOnly(item.Start()))
        note +=
            QLatin1Char('\n') + QObject::tr("You opened the occurrence on %1.").arg(day(*openedOn));
    return note;
}

} // namespace

bool StoreDialogs::editAppointment(AppointmentItem &item, std::optional<double> openedOn)
{
    QDialog dialog(m_parent);
    dialog.setObjectName("appointmentForm");
    dialog.setWindowTitle(item.Subject().isEmpty()
                              ? QObject::tr("Appointment")
                              : item.Subject() + QObject::tr(" - Appointment"));
    auto *subject = named(new QLineEdit(item.Subject()), "subject");
    auto *location = named(new QLineEdit(item.Location()), "location");
    const bool allDay = item.AllDayEvent();
    auto *start = named(new YearDateTimeEdit(OADate::toDateTime(item.Start())), "start");
    // A whole-day item shows its last day, not the midnight after it.
    auto *end = named(
        new YearDateTimeEdit(OADate::toDateTime(allDay ? item.End() - 1 : item.End())), "end");
    // Whole years: "2/7/26" reads as 1926 or 2026 alike.
    const auto showDates = [=](bool wholeDays) {
        for (QDateTimeEdit *e : {start, end})
            e->setDisplayFormat(
                WithFourDigitYear(wholeDays ? QLocale().dateFormat(QLocale::ShortFormat)
                                            : QLocale().dateTimeFormat(QLocale::ShortFormat)));
    };
    for (QDateTimeEdit *e : {start, end})
        e->setCalendarPopup(true);
    showDates(allDay);
    auto *wholeDay = named(new QCheckBox(QObject::tr("All day event")), "allDay");
    wholeDay->setChecked(allDay);
    QObject::connect(wholeDay, &QCheckBox::toggled, &dialog, showDates);
    auto *categories = named(new QLineEdit(item.Categories()), "categories");
    auto *reminder = named(new QCheckBox(QObject::tr("Reminder")), "reminder");
    reminder->setChecked(item.ReminderSet());
    auto *body = named(new QPlainTextEdit(item.Body()), "body");

    auto *form = new QFormLayout;
    if (item.IsRecurring()) {
        auto *note = named(new QLabel(SeriesNote(item, openedOn)), "seriesNote");
        note->setTextFormat(Qt::PlainText);
        note->setWordWrap(true);
        form->addRow(note);
    }
    form->addRow(QObject::tr("Subject:"), subject);
    form->addRow(QObject::tr("Location:"), location);
    form->addRow(QObject::tr("Start time:"), start);
    form->addRow(QObject::tr("End time:"), end);
    form->addRow(QString(), wholeDay);
    form->addRow(QObject::tr("Categories:"), categories);
    form->addRow(QString(), reminder);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addLayout(form);
    layout->addWidget(body, 1);
    layout->addWidget(okCancel(dialog));
    dialog.resize(520, 460);

    for (;;) {
        if (dialog.exec() != QDialog::Accepted)
            return false;
        double from = OADate::fromDateTime(start->dateTime().date(), start->dateTime().time());
        double to = OADate::fromDateTime(end->dateTime().date(), end->dateTime().time());
        if (wholeDay->isChecked()) {
            from = OADate::DateOnly(from);
            to = OADate::DateOnly(to) + 1;
        }
        if (to < from) {
            QMessageBox::warning(
                &dialog, dialog.windowTitle(),
                QObject::tr("The end time you entered occurs before the start time."));
            continue;
        }
        // A year mistyped makes an appointment of decades: asked before it is saved.
        if (to - from > kLongAppointmentDays &&
            QMessageBox::question(&dialog, dialog.windowTitle(),
                                  QObject::tr("The appointment lasts more than ten years, from "
                                              "%1 to %2. Save it so?")
                                      .arg(FormatFilterDate(start->date()),
                                           FormatFilterDate(end->date()))) != QMessageBox::Yes)
            continue;
        try {
            item.setSubject(subject->text());
            item.setLocation(location->text());
            item.setBody(body->toPlainText());
            item.setCategories(categories->text());
            item.setReminderSet(reminder->isChecked());
            item.setAllDayEvent(false);
            item.setStart(from);
            item.setEnd(to);
            item.setAllDayEvent(wholeDay->isChecked());
            item.Save();
            return true;
        } catch (const QvError &e) {
            QMessageBox::warning(&dialog, dialog.windowTitle(), ErrorTail(e));
        }
    }
}

FolderPtr StoreDialogs::pickFolder(NameSpace &session)
{
    QDialog dialog(m_parent);
    dialog.setObjectName("folderPicker");
    dialog.setWindowTitle(QObject::tr("Select Folder"));
    auto *tree = named(new QTreeWidget, "folders");
    tree->setHeaderHidden(true);
    QHash<QTreeWidgetItem *, FolderPtr> byItem;
    addFolders(nullptr, tree, session.Folders(), byItem);
    tree->expandAll();
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(tree);
    QDialogButtonBox *buttons = okCancel(dialog);
    layout->addWidget(buttons);
    auto ok = [&] { buttons->button(QDialogButtonBox::Ok)->setEnabled(tree->currentItem()); };
    QObject::connect(tree, &QTreeWidget::currentItemChanged, &dialog, ok);
    QObject::connect(tree, &QTreeWidget::itemDoubleClicked, &dialog, &QDialog::accept);
    ok();
    dialog.resize(360, 420);
    if (dialog.exec() != QDialog::Accepted || !tree->currentItem())
        return nullptr;
    return byItem.value(tree->currentItem());
}

bool StoreDialogs::editCategories(AppointmentItem &item, NameSpace &session)
{
    QDialog dialog(m_parent);
    dialog.setObjectName("categoriesDialog");
    dialog.setWindowTitle(QObject::tr("Categories"));
    const QString separator = session.categorySeparator();
    QStringList chosen;
    for (const QString &c : item.Categories().split(separator.trimmed()))
        if (!c.trimmed().isEmpty())
            chosen << c.trimmed();
    QList<MasterCategory> master = session.Categories();

    auto *list = named(new QListWidget, "categories");
    auto addRow = [list](const QString &name, bool checked) {
        auto *row = new QListWidgetItem(name, list);
        row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
        row->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    };
    QStringList shown;
    for (const MasterCategory &m : master) {
        addRow(m.Name, chosen.contains(m.Name));
        shown << m.Name;
    }
    for (const QString &c : chosen) // categories of the item the master list lacks
        if (!shown.contains(c))
            addRow(c, true);

    auto *newName = named(new QLineEdit, "newCategory");
    auto *add = named(new QPushButton(QObject::tr("Add to List")), "addCategory");
    QObject::connect(add, &QPushButton::clicked, &dialog, [&] {
        const QString name = newName->text().trimmed();
        if (name.isEmpty() || !list->findItems(name, Qt::MatchExactly).isEmpty())
            return;
        addRow(name, true);
        // A colour of its own: number 0 is no colour, and showed as a white swatch.
        int number = kLightColourNumbers[0];
        for (const int n : kLightColourNumbers) {
            if (std::none_of(master.cbegin(), master.cend(),
                             [n](const MasterCategory &m) { return m.Color == n; })) {
                number = n;
                break;
            }
        }
        master.append({name, number});
        newName->clear();
    });
    auto *row = new QHBoxLayout;
    row->addWidget(newName);
    row->addWidget(add);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addLayout(row);
    layout->addWidget(list);
    layout->addWidget(okCancel(dialog));
    if (dialog.exec() != QDialog::Accepted)
        return false;

    QStringList result;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->checkState() == Qt::Checked)
            result << list->item(i)->text();
    item.setCategories(result.join(separator));
    if (master.size() != session.Categories().size())
        session.setCategories(master);
    return true;
}
