#include "qtdialogs.h"

#include "colours.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

QString NameFiltersOf(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString &caption = parts[i];
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt reads the patterns from the parentheses of the caption.
        filters << (caption.contains(QLatin1Char('('))
                        ? caption
                        : caption + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
    return filters.join(QStringLiteral(";;"));
}

QString MessageBoxHtml(const QString &text)
{
    // The line breaker may break after "/", "\\" and "-"; a word joiner after each of them
    // inside a word with a path in it leaves the spaces as the only places to wrap.
    static const QChar joiner(0x2060);
    QString html = QStringLiteral("<div style=\"white-space:pre-wrap\">");
    QString plain = text;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    const QStringList lines = plain.split(QLatin1Char('\n'));
    for (qsizetype l = 0; l < lines.size(); ++l) {
        if (l > 0)
            html += QStringLiteral("<br>");
        const QStringList words = lines[l].split(QLatin1Char(' '));
        for (qsizetype w = 0; w < words.size(); ++w) {
            if (w > 0)
                html += QLatin1Char(' ');
            QString word = words[w];
            if (word.contains(QLatin1Char('/')) || word.contains(QLatin1Char('\\'))) {
                for (const char c : {'/', '\\', '-'})
                    word.replace(QLatin1Char(c), QString(QLatin1Char(c)) + joiner);
            }
            html += word.toHtmlEscaped();
        }
    }
    return html + QStringLiteral("</div>");
}

namespace {

// The box's text gets the width its longest line asks for, up to a width a line is still read
// at, and at least its longest word's (a path): the box sizes itself from the rich text's
// narrowest width otherwise, and a short text without an icon came out cut off.
void SizeToText(QMessageBox &box, const QString &text)
{
    auto *label = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
    if (!label)
        return;
    const QFontMetrics metrics = label->fontMetrics();
    const int readable = metrics.averageCharWidth() * 70;
    int widestWord = 0, widestLine = 0;
    for (const QString &line : QString(text)
                                   .replace(QLatin1String("\r\n"), QLatin1String("\n"))
                                   .split(QLatin1Char('\n'))) {
        widestLine = std::max(widestLine, metrics.horizontalAdvance(line));
        for (const QString &word : line.split(QLatin1Char(' ')))
            widestWord = std::max(widestWord, metrics.horizontalAdvance(word));
    }
    const int width = std::max(std::min(widestLine, readable), std::min(widestWord, 900)) + 8;
    label->setMinimumWidth(width);
    label->setMinimumHeight(label->heightForWidth(width));
}

} // namespace

namespace {

class NoticeActivation : public QObject
{
public:
    NoticeActivation(QObject *box, QWidget *active, QWidget *focus)
        : QObject(box), m_active(active), m_focus(focus)
    {
        m_shown.start();
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::WindowActivate && m_active && m_shown.elapsed() < 1000) {
            QApplication::setActiveWindow(m_active);
            if (m_focus)
                m_focus->setFocus(Qt::OtherFocusReason);
            m_active = nullptr; // once
        }
        return false;
    }

private:
    QPointer<QWidget> m_active;
    QPointer<QWidget> m_focus;
    QElapsedTimer m_shown;
};

} // namespace

QtDialogs::~QtDialogs()
{
    while (m_waiting > 0)
        endWait();
    for (const QPointer<QMessageBox> &box : std::as_const(m_notices))
        delete box.data();
}

void QtDialogs::notice(const QString &text)
{
    // A failure repeated by every background refresh is one box, not a pile of them.
    m_notices.removeAll(nullptr);
    for (const QPointer<QMessageBox> &open : std::as_const(m_notices))
        if (open->property("notice").toString() == text)
            return;
    auto *box = new QMessageBox(m_parent);
    box->setProperty("notice", text);
    box->setTextFormat(Qt::RichText);
    box->setText(MessageBoxHtml(text));
    SizeToText(*box, text);
    box->setWindowTitle(titleOr(QString()));
    box->setStandardButtons(QMessageBox::Ok);
    box->setWindowModality(Qt::NonModal);
    box->setAttribute(Qt::WA_ShowWithoutActivating);
    box->setAttribute(Qt::WA_DeleteOnClose);
    m_notices.append(box);
    // Some platforms activate every window shown: the first activation, which comes with the
    // showing, goes back to the window that had the keyboard; a later one, asked for, stays.
    box->installEventFilter(
        new NoticeActivation(box, QApplication::activeWindow(), QApplication::focusWidget()));
    box->show();
}

QString QtDialogs::titleOr(const QString &title) const
{
    return title.isEmpty() ? QApplication::applicationDisplayName() : title;
}

Dialogs::Answer QtDialogs::message(const QString &text, Buttons buttons, Icon icon,
                                   const QString &title)
{
    QMessageBox box(m_parent);
    box.setTextFormat(Qt::RichText);
    box.setText(MessageBoxHtml(text));
    SizeToText(box, text);
    box.setWindowTitle(titleOr(title));
    switch (icon) {
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case Icon::None:
        break;
    }
    switch (buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case Buttons::RetryCancel:
        box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case Buttons::AbortRetryIgnore:
        box.setStandardButtons(QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Cancel:
        return Answer::Cancel;
    case QMessageBox::Abort:
        return Answer::Abort;
    case QMessageBox::Retry:
        return Answer::Retry;
    case QMessageBox::Ignore:
        return Answer::Ignore;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Ok;
    }
}

bool QtDialogs::question(const QString &text, bool defaultYes, const QString &title)
{
    QMessageBox box(QMessageBox::Question, titleOr(title), QString(),
                    QMessageBox::Yes | QMessageBox::No, m_parent);
    box.setTextFormat(Qt::RichText);
    box.setText(MessageBoxHtml(text));
    SizeToText(box, text);
    box.setDefaultButton(defaultYes ? QMessageBox::Yes : QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

QString QtDialogs::inputBox(const QString &prompt, const QString &title, const QString &defaultText)
{
    QInputDialog box(m_parent);
    box.setWindowTitle(titleOr(title));
    box.setLabelText(prompt);
    box.setTextValue(defaultText);
    // A prompt may quote a category name: plain text, never markup.
    for (QLabel *label : box.findChildren<QLabel *>())
        label->setTextFormat(Qt::PlainText);
    return box.exec() == QDialog::Accepted ? box.textValue() : QString();
}

std::optional<quint32> QtDialogs::pickColour(quint32 initial)
{
    const QColor c = QColorDialog::getColor(ColorOf(initial), m_parent);
    if (!c.isValid())
        return std::nullopt;
    return BgrOf(c);
}

QString QtDialogs::saveFileName(const SaveFile &request)
{
    QFileDialog dialog(m_parent, titleOr(request.title), request.initialName,
                       NameFiltersOf(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(request.defaultExtension);
    if (!request.overwritePrompt)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString QtDialogs::browseFolder(const QString &title, const QString &initial)
{
    return QFileDialog::getExistingDirectory(m_parent, titleOr(title), initial,
                                             QFileDialog::ShowDirsOnly);
}

void QtDialogs::about(const About &box)
{
    QDialog about(m_parent);
    about.setObjectName(QStringLiteral("aboutBox"));
    about.setWindowTitle(box.caption);
    // The logo and the heading open the product page.
    auto *logo = new QToolButton(&about);
    logo->setObjectName(QStringLiteral("aboutLogo"));
    logo->setIcon(QApplication::windowIcon());
    logo->setIconSize(QSize(48, 48));
    logo->setAutoRaise(true);
    logo->setCursor(Qt::PointingHandCursor);
    logo->setToolTip(box.address);
    auto *heading = new QLabel(&about);
    heading->setObjectName(QStringLiteral("aboutHeading"));
    heading->setTextFormat(Qt::RichText);
    heading->setText(QStringLiteral("<a href=\"%1\">%2</a><br>%3")
                         .arg(box.address.toHtmlEscaped(), box.versionLine.toHtmlEscaped(),
                              box.productLine.toHtmlEscaped()));
    heading->setCursor(Qt::PointingHandCursor);
    auto *description = new QLabel(box.description, &about);
    description->setWordWrap(true);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &about);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &about, &QDialog::accept);
    const auto open = [this, &box] {
        if (!box.address.isEmpty())
            openAddress(box.address);
    };
    QObject::connect(logo, &QToolButton::clicked, &about, open);
    QObject::connect(heading, &QLabel::linkActivated, &about, open);

    auto *top = new QHBoxLayout;
    top->addWidget(logo, 0, Qt::AlignTop);
    top->addWidget(heading, 1);
    auto *layout = new QVBoxLayout(&about);
    layout->addLayout(top);
    layout->addWidget(description);
    layout->addWidget(buttons);
    about.resize(420, about.sizeHint().height());
    about.exec();
}

void QtDialogs::report(const QString &title, const QString &intro, const QStringList &lines)
{
    QDialog box(m_parent);
    box.setObjectName(QStringLiteral("reportBox"));
    box.setWindowTitle(titleOr(title));
    auto *label = new QLabel(intro, &box);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    auto *text = new QPlainTextEdit(lines.join(QLatin1Char('\n')), &box);
    text->setObjectName(QStringLiteral("reportLines"));
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, &box);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &box, &QDialog::reject);
    auto *layout = new QVBoxLayout(&box);
    layout->addWidget(label);
    layout->addWidget(text, 1);
    layout->addWidget(buttons);
    box.resize(760, 320);
    box.exec();
}

bool QtDialogs::openAddress(const QString &address)
{
    return QDesktopServices::openUrl(QUrl(AddressWithScheme(address)));
}

void QtDialogs::beginWait()
{
    ++m_waiting;
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtDialogs::endWait()
{
    if (m_waiting == 0)
        return;
    --m_waiting;
    QApplication::restoreOverrideCursor();
}
