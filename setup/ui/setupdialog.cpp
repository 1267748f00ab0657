#include "setupdialog.h"

#include "caldavdialog.h"

#include "colours.h"
#include "dialogs.h"
#include "startup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

namespace {

constexpr int kClientCheckMs = 500;
constexpr quint32 kWarningRed = 0x0000FF, kThanksBlue = 0xFF0000;

QString css(quint32 bgr)
{
    return ColorOf(bgr).name();
}

// A white button whose text is normal in blue and takes the given colours when the pointer is
// over it (hot) or it has the focus.
QPushButton *colourButton(const QString &text, const char *name, quint32 hot, quint32 focused,
                          const QString &tip, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(tip);
    b->setStyleSheet(
        QStringLiteral("QPushButton { background: white; color: %1; border: 1px solid #a0a0a0;"
                       " padding: 3px 12px; }"
                       " QPushButton:focus { color: %2; border: 1px solid #606060; }"
                       " QPushButton:hover { color: %3; }")
            .arg(css(kThanksBlue), css(focused), css(hot)));
    return b;
}

QToolButton *browseButton(const char *name, const QString &tip, QWidget *parent)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setIcon(parent->style()->standardIcon(QStyle::SP_DirOpenIcon));
    b->setText(QStringLiteral("..."));
    b->setToolTip(tip);
    return b;
}

QLabel *text(const QString &s, QWidget *parent, Qt::Alignment align = Qt::AlignLeft)
{
    auto *l = new QLabel(s, parent);
    l->setAlignment(align | Qt::AlignVCenter);
    l->setWordWrap(true);
    return l;
}

QLabel *caption(const QString &s, QWidget *parent)
{
    return new QLabel(s, parent);
}

QLineEdit *field(const char *name, bool readOnly, QWidget *parent)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setReadOnly(readOnly);
    e->setMinimumWidth(360);
    return e;
}

QCheckBox *option(const char *name, const QString &explanation, QWidget *parent)
{
    auto *c = new QCheckBox(explanation, parent);
    c->setObjectName(QLatin1String(name));
    return c;
}

} // namespace

SetupDialog::SetupDialog(const QString &sourceDir, Dialogs &dialogs, QWidget *parent)
    : QDialog(parent), m_dialogs(dialogs), m_installer(sourceDir, dialogs)
{
    setObjectName(QStringLiteral("CQuorvelSetupDlg"));
    setWindowTitle(tr("Quorvel Installer"));
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    auto *about = new QToolButton(this);
    about->setObjectName(QStringLiteral("about"));
    about->setText(tr("About QuorvelSetup..."));
    about->setAutoRaise(true);
    connect(about, &QToolButton::clicked, this, &SetupDialog::showAbout);
    auto *logo = new QLabel(
        QStringLiteral(
            "<span style=\"font-size:16pt; font-weight:bold; color:#c03030\">Quorvel</span>"),
        this);
    logo->setObjectName(QStringLiteral("logo"));
    top->addWidget(about);
    top->addStretch();
    top->addWidget(logo);
    layout->addLayout(top);
    layout->addWidget(
        text(tr("Welcome to the Quorvel Installer by Brenholt."), this, Qt::AlignHCenter));
    layout->addWidget(text(tr("If you are installing locally for individual use, simply use the "
                              "automatically generated Access String."),
                           this));
    layout->addWidget(
        text(tr("If you are installing remotely for multiple use, we recommend using a "
                "URL.  For detailed instructions on setting the Access String, please "
                "click the Help button."),
             this, Qt::AlignHCenter));
    m_warning = text(QString(), this, Qt::AlignHCenter);
    m_warning->setObjectName(QStringLiteral("clientWarning"));
    layout->addWidget(m_warning);

    auto *middle = new QHBoxLayout;
    auto *mandatory = new QGroupBox(tr("Mandatory Settings"), this);
    auto *grid = new QGridLayout(mandatory);
    m_destination = field("destination", true, mandatory);
    m_calendar = field("calendarFolder", true, mandatory);
    m_access = field("accessString", false, mandatory);
    m_title = field("title", false, mandatory);
    m_title->setMaxLength(Installer::kMaxTitle);
    QToolButton *browseDestination = browseButton(
        "browseDestination", tr("Press to specify/create destination folder"), mandatory);
    QToolButton *browseCalendar =
        browseButton("browseCalendar", tr("Press to specify outlook calendar folder"), mandatory);
    grid->addWidget(caption(tr("Installation Folder"), mandatory), 0, 0);
    grid->addWidget(m_destination, 0, 1);
    grid->addWidget(browseDestination, 0, 2);
    grid->addWidget(caption(tr("Calendar Folder"), mandatory), 1, 0);
    grid->addWidget(m_calendar, 1, 1);
    grid->addWidget(browseCalendar, 1, 2);
    grid->addWidget(caption(tr("Access String"), mandatory), 2, 0);
    grid->addWidget(m_access, 2, 1);
    grid->addWidget(caption(tr("Title"), mandatory), 3, 0);
    grid->addWidget(m_title, 3, 1);
    middle->addWidget(mandatory, 1);

    auto *buttons = new QVBoxLayout;
    QPushButton *installButton = colourButton(tr("Install"), "install", 0x00FF00, 0x00FF00,
                                              tr("Press to install the Quorvel control"), this);
    installButton->setDefault(true);
    QPushButton *cancel =
        colourButton(tr("Cancel"), "cancel", 0x0000FF, 0x0000FF,
                     tr("Press to cancel installation, and exit installer"), this);
    QPushButton *help = colourButton(tr("Help"), "help", 0x00FFFF, 0x0000FF,
                                     tr("Press to view installation notes"), this);
    QPushButton *caldav = colourButton(tr("CalDAV..."), "caldav", 0x00FF00, 0x0000FF,
                                       tr("Press to connect a CalDAV account, whose calendars then "
                                          "open in the planner"),
                                       this);
    for (QPushButton *b : {installButton, cancel, help, caldav})
        buttons->addWidget(b);
    buttons->addStretch();
    middle->addLayout(buttons);
    layout->addLayout(middle);

    auto *optional = new QGroupBox(tr("Optional Settings"), this);
    auto *options = new QGridLayout(optional);
    m_allEvents =
        option("allEvents", tr("(Default is checked, i.e. All Events, not just All Day Events)"),
               optional);
    m_subject = option("displaySubject",
                       tr("(Default is unchecked, i.e. event bands without text)"), optional);
    m_hide = option("hideNonCategorised",
                    tr("(Default is unchecked, i.e. display all events regardless of category)"),
                    optional);
    m_month = new QComboBox(optional);
    m_month->setObjectName(QStringLiteral("startMonth"));
    // The months in the user's language; the pages keep the month's number.
    for (int month = 1; month <= 12; ++month)
        m_month->addItem(QLocale().standaloneMonthName(month));
    const std::pair<const char *, QWidget *> rows[] = {
        {QT_TR_NOOP("Display All Events"), m_allEvents},
        {QT_TR_NOOP("Display Subject"), m_subject},
        {QT_TR_NOOP("Hide Non-categorised Events"), m_hide},
        {QT_TR_NOOP("Start Month"), m_month}};
    int row = 0;
    for (const auto &[caption, widget] : rows) {
        options->addWidget(new QLabel(tr(caption), optional), row, 0);
        options->addWidget(widget, row++, 1, Qt::AlignLeft);
    }
    options->setColumnStretch(1, 1);
    layout->addWidget(optional);

    connect(browseDestination, &QToolButton::clicked, this, [this] {
        fromControls();
        m_installer.chooseDestination();
        toControls();
    });
    connect(browseCalendar, &QToolButton::clicked, this, [this] {
        fromControls();
        m_installer.PickCalendarFolder();
        toControls();
    });
    connect(installButton, &QPushButton::clicked, this, &SetupDialog::install);
    connect(caldav, &QPushButton::clicked, this, [this] { CalDavDialog(this).exec(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] {
        m_dialogs.openAddress(
            QUrl::fromLocalFile(
                QDir(m_installer.sourceDir()).filePath(QStringLiteral("ReadMe.htm")))
                .toString());
    });

    m_clientTimer = new QTimer(this);
    m_clientTimer->setInterval(kClientCheckMs);
    connect(m_clientTimer, &QTimer::timeout, this, &SetupDialog::checkClient);
    m_clientRunning = PlannerHostRunning();
    QPalette pal = m_warning->palette();
    pal.setColor(QPalette::WindowText, ColorOf(m_clientRunning ? kWarningRed : kThanksBlue));
    m_warning->setPalette(pal);
    m_warning->setText(m_clientRunning ? tr("Please close Outlook before proceeding.") : QString());
    if (m_clientRunning)
        m_clientTimer->start();
    toControls();
}

void SetupDialog::checkClient()
{
    m_clientRunning = PlannerHostRunning();
    if (m_clientRunning)
        return;
    QPalette pal = m_warning->palette();
    pal.setColor(QPalette::WindowText, ColorOf(kThanksBlue));
    m_warning->setPalette(pal);
    m_warning->setText(tr("Thank you for closing outlook."));
    m_clientTimer->stop();
}

void SetupDialog::toControls()
{
    const InstallerFields &f = m_installer.fields;
    m_destination->setText(f.destination);
    m_calendar->setText(f.calendarPath);
    m_access->setText(f.accessString);
    m_title->setText(f.title);
    m_allEvents->setChecked(f.allEvents);
    m_subject->setChecked(f.displaySubject);
    m_hide->setChecked(f.hideNonCategorised);
    m_month->setCurrentIndex(f.startMonthIndex);
}

void SetupDialog::fromControls()
{
    InstallerFields &f = m_installer.fields;
    f.destination = m_destination->text();
    f.calendarPath = m_calendar->text();
    f.accessString = m_access->text();
    f.title = m_title->text();
    f.allEvents = m_allEvents->isChecked();
    f.displaySubject = m_subject->isChecked();
    f.hideNonCategorised = m_hide->isChecked();
    f.startMonthIndex = m_month->currentIndex();
}

void SetupDialog::install()
{
    fromControls();
    if (m_installer.Install())
        accept();
}

void SetupDialog::showAbout()
{
    Dialogs::About box;
    box.caption = tr("About QuorvelSetup");
    box.versionLine = QStringLiteral("Quorvel Calendar Installer Version 2.1");
    m_dialogs.about(box);
}
