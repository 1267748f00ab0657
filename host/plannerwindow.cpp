#include "plannerwindow.h"

#include "calendarstore.h"
#include "colours.h"
#include "dialogs.h"
#include "holidays.h"
#include "homepage.h"
#include "knowncalendars.h"
#include "remotesyncher.h"
#include "subscription.h"
#include "syncher.h"
#include "viewswitches.h"
#include "yearplan.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace {

// accept beside Cancel, closing the dialog either way.
QDialogButtonBox *ButtonsOf(QDialog &dialog, QDialogButtonBox::StandardButton accept)
{
    auto *buttons = new QDialogButtonBox(accept | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}

} // namespace

OpenedFolder OpenedOf(Store::Folder &folder)
{
    OpenedFolder opened;
    // A collection other programs share shows the name they give it.
    opened.title = Store::CollectionDisplayName(folder.directory());
    if (opened.title.isEmpty())
        opened.title = folder.FolderPath();
    // Without a planner page, a calendar of meetings shows them, with their subjects: the
    // page's defaults (whole days, no subjects) left a working calendar looking empty.
    if (!(folder.WebViewOn() && !folder.WebViewURL().isEmpty() &&
          ReadHomePage(folder.WebViewURL(), opened.bag)))
        opened.bag = MapPropertyBag({{QStringLiteral("Folder"), folder.FolderPath()},
                                     {QStringLiteral("AllEvents"), true},
                                     {QStringLiteral("DisplaySubject"), true}});
    // What the user switched in the window last time outweighs the page.
    const QString title =
        opened.bag.ReadProperty(QStringLiteral("TitleName"), QStringLiteral("Default")).toString();
    if (const std::optional<ViewSwitches> view = StoredViewSwitches(title)) {
        opened.bag.WriteProperty(QStringLiteral("AllEvents"), view->timedAppointments, false);
        opened.bag.WriteProperty(QStringLiteral("DisplaySubject"), view->subjects, false);
    }
    return opened;
}

Store::FolderPtr RememberedFolder(Store::NameSpace &session)
{
    const QString remembered = Store::RememberedCalendar();
    if (remembered.isEmpty())
        return nullptr;
    for (const Store::CalendarChoice &c : Store::CalendarsOf(session))
        if (c.directory == remembered)
            return Store::FolderAtPath(session, c.path);
    return nullptr;
}

PlannerWindow::PlannerWindow(Dialogs *dialogs) : m_dialogs(dialogs)
{
    QMenu *calendar = menuBar()->addMenu(tr("&Calendar"));
    QAction *open =
        calendar->addAction(tr("&Open Calendar..."), this, &PlannerWindow::openCalendar);
    open->setObjectName(QStringLiteral("open"));
    open->setShortcut(QKeySequence::Open);
    calendar->addSeparator();
    QAction *quit = calendar->addAction(tr("&Quit"), this, &QWidget::close);
    quit->setObjectName(QStringLiteral("quit"));
    quit->setShortcut(QKeySequence::Quit);

    QMenu *view = menuBar()->addMenu(tr("&View"));
    QAction *timed = view->addAction(tr("&Timed Appointments"));
    timed->setObjectName(QStringLiteral("timed"));
    QAction *subjects = view->addAction(tr("&Subjects"));
    subjects->setObjectName(QStringLiteral("subjects"));
    QAction *weeks = view->addAction(tr("&Week Numbers"));
    weeks->setObjectName(QStringLiteral("weeks"));
    for (QAction *a : {timed, subjects, weeks}) {
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, &PlannerWindow::switchView);
    }
    view->addSeparator();
    QAction *marks = view->addAction(tr("&Day Marks..."), this, &PlannerWindow::editDayMarks);
    marks->setObjectName(QStringLiteral("marks"));
    marks->setToolTip(tr("Shade public holidays and the days of other calendars"));
    timed->setToolTip(tr("Show appointments that take part of a day, not only whole days"));
    subjects->setToolTip(tr("Write each appointment's subject on its bar"));
    weeks->setToolTip(tr("Number the weeks at their first day in each month"));
}

QAction *PlannerWindow::action(const QString &key) const
{
    return findChild<QAction *>(key);
}

void PlannerWindow::showCalendar(const OpenedFolder &opened)
{
    setWindowTitle(opened.title + QStringLiteral(" - Quorvel"));
    auto *planner = new YearPlan(this, m_dialogs);
    // Without quorvel-sync the year is rebuilt in this process.
    planner->setSyncherFactory([planner](const Store::ProfileOptions &store) {
        return MakeSyncherLink(planner->planner().dialogs(), store,
                               [](Dialogs &dialogs, const Store::ProfileOptions &options) {
                                   return std::make_unique<Syncher>(dialogs, options);
                               });
    });
    setCentralWidget(planner); // the planner shown before goes, with its link and its year
    m_planner = planner;
    m_folderPath = opened.bag.ReadProperty(QStringLiteral("Folder"), QString()).toString();
    emit plannerShown(planner);
    planner->ReadProperties(opened.bag);
    showSwitches();
}

void PlannerWindow::showSwitches()
{
    const ViewSwitches view = m_planner ? m_planner->planner().viewSwitches() : ViewSwitches{};
    action(QStringLiteral("timed"))->setChecked(view.timedAppointments);
    action(QStringLiteral("subjects"))->setChecked(view.subjects);
    action(QStringLiteral("weeks"))->setChecked(view.weekNumbers);
}

void PlannerWindow::switchView()
{
    if (!m_planner)
        return;
    m_planner->planner().switchView({action(QStringLiteral("timed"))->isChecked(),
                                     action(QStringLiteral("subjects"))->isChecked(),
                                     action(QStringLiteral("weeks"))->isChecked()});
}

void PlannerWindow::openCalendar()
{
    if (!m_planner)
        return;
    Dialogs &dialogs = m_planner->planner().dialogs();
    const Store::NameSpacePtr session =
        Store::Application::shared()->GetNamespace(QStringLiteral("MAPI"));
    const QList<Store::CalendarChoice> calendars = Store::CalendarsOf(*session);
    if (calendars.isEmpty()) {
        dialogs.message(tr("There is no calendar to open: %1")
                            .arg(Store::NoFolderMessage(*session, QString())));
        return;
    }
    int current = -1;
    for (int i = 0; i < calendars.size(); ++i)
        if (calendars[i].path == m_folderPath)
            current = i;
    const int picked =
        m_picker ? m_picker(this, calendars, current) : PickCalendar(this, calendars, current);
    if (picked < 0 || picked >= calendars.size())
        return;
    const Store::FolderPtr folder = Store::FolderAtPath(*session, calendars[picked].path);
    if (!folder) {
        dialogs.message(Store::NoFolderMessage(*session, calendars[picked].path));
        return;
    }
    if (!Store::RememberCalendar(calendars[picked].directory))
        dialogs.message(tr("The calendar opens now, but it could not be kept as the one to open "
                           "next time: the settings cannot be written."));
    showCalendar(OpenedOf(*folder));
}

void PlannerWindow::editDayMarks()
{
    if (!m_planner)
        return;
    Planner &planner = m_planner->planner();
    QList<MarkSource> sources = planner.session().markSources();
    const Store::NameSpacePtr session =
        Store::Application::shared()->GetNamespace(QStringLiteral("MAPI"));
    if (EditMarkSources(this, sources, Store::CalendarsOf(*session)))
        planner.setMarkSources(sources, true);
}

bool EditMarkSources(QWidget *owner, QList<MarkSource> &sources,
                     const QList<Store::CalendarChoice> &calendars)
{
    QDialog dialog(owner);
    dialog.setObjectName(QStringLiteral("dayMarks"));
    dialog.setWindowTitle(QObject::tr("Day Marks"));
    QList<MarkSource> chosen = sources;
    auto *list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("sources"));
    const auto fill = [&] {
        list->clear();
        for (int i = 0; i < chosen.size(); ++i) {
            auto *row = new QListWidgetItem(chosen[i].name(), list);
            row->setToolTip(chosen[i].spec());
            QPixmap swatch(14, 14);
            swatch.fill(ColorOf(MarkColour(i)));
            row->setIcon(QIcon(swatch));
        }
    };
    fill();
    const auto add = [&](const MarkSource &s) {
        if (!chosen.contains(s))
            chosen.append(s);
        fill();
    };
    auto *holidays = new QPushButton(QObject::tr("Holidays..."), &dialog);
    holidays->setObjectName(QStringLiteral("addHolidays"));
    QObject::connect(holidays, &QPushButton::clicked, &dialog, [&] {
        bool ok = false;
        const QString region = QInputDialog::getText(
            &dialog, QObject::tr("Public Holidays"),
            QObject::tr("The region, as GNU gcal names it (DE_BY, US_CA, GB_EN, FR):"),
            QLineEdit::Normal, DefaultHolidayRegion(QLocale()), &ok);
        if (const std::optional<MarkSource> s =
                MarkSource::parse(QStringLiteral("holidays:") + region);
            ok && s)
            add(*s);
    });
    auto *calendar = new QPushButton(QObject::tr("Calendar..."), &dialog);
    calendar->setObjectName(QStringLiteral("addCalendar"));
    QObject::connect(calendar, &QPushButton::clicked, &dialog, [&] {
        const int picked = PickCalendar(&dialog, calendars, -1);
        if (picked >= 0)
            add({MarkSource::Kind::Calendar, calendars[picked].path});
    });
    auto *file = new QPushButton(QObject::tr("File..."), &dialog);
    file->setObjectName(QStringLiteral("addFile"));
    QObject::connect(file, &QPushButton::clicked, &dialog, [&] {
        const QString name = QFileDialog::getOpenFileName(
            &dialog, QObject::tr("Calendar File"), QString(), QObject::tr("Calendars (*.ics)"));
        if (!name.isEmpty())
            add({MarkSource::Kind::File, name});
    });
    auto *web = new QPushButton(QObject::tr("Web Calendar..."), &dialog);
    web->setObjectName(QStringLiteral("addSubscription"));
    web->setToolTip(QObject::tr("Subscribe to a calendar published at a web address: vdirsyncer "
                                "fetches it and keeps it current"));
    QObject::connect(web, &QPushButton::clicked, &dialog, [&] {
        bool ok = false;
        const QString url =
            QInputDialog::getText(
                &dialog, QObject::tr("Web Calendar"),
                QObject::tr("The address of the calendar (https://.../holidays.ics):"),
                QLineEdit::Normal, QString(), &ok)
                .trimmed();
        if (!ok || url.isEmpty())
            return;
        QString error;
        bool subscribed = false;
        {
            QApplication::setOverrideCursor(Qt::WaitCursor);
            subscribed = Subscribe(
                url, QStandardPaths::findExecutable(QStringLiteral("vdirsyncer")), &error);
            QApplication::restoreOverrideCursor();
        }
        if (subscribed)
            add({MarkSource::Kind::Subscription, url});
        else
            QMessageBox::warning(&dialog, QObject::tr("Web Calendar"), error);
    });
    auto *remove = new QPushButton(QObject::tr("Remove"), &dialog);
    remove->setObjectName(QStringLiteral("remove"));
    QObject::connect(remove, &QPushButton::clicked, &dialog, [&] {
        if (const int row = list->currentRow(); row >= 0 && row < chosen.size()) {
            chosen.removeAt(row);
            fill();
        }
    });
    QDialogButtonBox *buttons = ButtonsOf(dialog, QDialogButtonBox::Ok);
    auto *side = new QVBoxLayout;
    for (QPushButton *b : {holidays, calendar, file, web, remove})
        side->addWidget(b);
    side->addStretch();
    auto *row = new QHBoxLayout;
    row->addWidget(list, 1);
    row->addLayout(side);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QObject::tr("Days to shade under the year:"), &dialog));
    layout->addLayout(row);
    layout->addWidget(buttons);
    dialog.resize(420, 300);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    sources = chosen;
    return true;
}

int PickCalendar(QWidget *owner, const QList<Store::CalendarChoice> &calendars, int current)
{
    QDialog dialog(owner);
    dialog.setObjectName(QStringLiteral("calendarPicker"));
    dialog.setWindowTitle(QObject::tr("Open Calendar"));
    auto *list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("calendars"));
    QMap<QString, int> uses;
    for (const Store::CalendarChoice &c : calendars)
        ++uses[c.displayName];
    for (const Store::CalendarChoice &c : calendars) {
        const QString shown = uses.value(c.displayName) > 1
                                  ? QStringLiteral("%1 (%2)").arg(c.displayName, c.storeName)
                                  : c.displayName;
        auto *row = new QListWidgetItem(shown, list);
        row->setToolTip(c.directory);
        QPixmap swatch(14, 14);
        swatch.fill(c.colour.isEmpty() ? QColor(Qt::transparent) : QColor(c.colour));
        row->setIcon(QIcon(swatch));
    }
    list->setCurrentRow(current >= 0 ? current : 0);
    QDialogButtonBox *buttons = ButtonsOf(dialog, QDialogButtonBox::Open);
    QObject::connect(list, &QListWidget::itemActivated, &dialog, &QDialog::accept);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QObject::tr("The calendar to show:"), &dialog));
    layout->addWidget(list);
    layout->addWidget(buttons);
    dialog.resize(380, 300);
    if (dialog.exec() != QDialog::Accepted)
        return -1;
    return list->currentRow();
}
