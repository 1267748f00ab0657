#include "filterchoice.h"

#include "dialogs.h"
#include "namespace.h"
#include "regio.h"
#include "usersettings.h"

#include <QCollator>
#include <QCoreApplication>

FilterChoice::FilterChoice(const FilterModel &filter, QStringList legends, QString separator,
                           MasterReader readMaster)
    : m_legends(std::move(legends)), m_separator(std::move(separator)),
      m_readMaster(std::move(readMaster)), m_usingAnd(filter.FilterUsingAnd())
{
    parse(filter.FilterText());
    m_text = filter.FilterText();
    fill();
    setChecks();
}

QStringList FilterChoice::chosen() const
{
    QStringList out;
    for (const CCollectionEx::Element &e : m_chosen.NewEnum())
        out << e.value.toString();
    return out;
}

void FilterChoice::parse(const QString &text)
{
    m_chosen.Clear();
    if (text.isEmpty())
        return; // no pieces at all
    for (const QString &piece : text.split(m_separator))
        m_chosen.AddVariant(piece);
}

QString FilterChoice::join() const
{
    return chosen().join(m_separator);
}

void FilterChoice::fill()
{
    QStringList working;
    std::optional<QStringList> master;
    if (m_includeMaster && m_readMaster)
        master = m_readMaster();
    // The legend names from the master list's last position on (the planner's first name, at
    // position 0, is always empty and leaves that position as it was).
    const qsizetype base = master ? master->size() - 1 : 0;
    if (master)
        for (const QString &name : std::as_const(*master))
            working << name.trimmed(); // sorted as they are shown
    working.resize(base + m_legends.size());
    for (qsizetype k = 0; k < m_legends.size(); ++k) {
        const QString name = m_legends[k].trimmed();
        if (!name.isEmpty())
            working[base + k] = name;
    }
    SortTextList(working, 0, int(working.size()) - 1);
    m_entries.clear();
    for (const QString &entry : std::as_const(working)) {
        const QString name = entry.trimmed();
        if (!name.isEmpty() && (m_entries.isEmpty() || m_entries.last() != name))
            m_entries.append(name);
    }
}

void FilterChoice::setChecks()
{
    const QStringList names = chosen();
    m_ticked.clear();
    for (const QString &entry : std::as_const(m_entries))
        m_ticked.append(names.contains(entry));
}

void FilterChoice::tick(int entry, bool on)
{
    if (entry < 0 || entry >= m_entries.size())
        return;
    m_ticked[entry] = on;
    const qsizetype found = chosen().indexOf(m_entries[entry]);
    if (on && found < 0)
        m_chosen.AddVariant(m_entries[entry]);
    else if (!on && found >= 0)
        m_chosen.Remove(int(found + 1));
    m_text = join();
}

void FilterChoice::textEdited(const QString &text)
{
    m_text = text;
    parse(text);
    setChecks();
}

void FilterChoice::clear()
{
    m_chosen.Clear();
    setChecks();
    m_text.clear();
}

void FilterChoice::setIncludeMasterList(bool on)
{
    m_includeMaster = on;
    fill();
    setChecks();
}

void FilterChoice::accept(FilterModel &filter, const QString &titleName, Dialogs &dialogs) const
{
    filter.SetFilter(m_text);
    filter.SetFilterMode(m_usingAnd);
    if (!filter.save(titleName))
        dialogs.message(QCoreApplication::translate(
                            "Messages", "The filter applies now, but it could not be kept for next "
                                        "time: %1 cannot be written.")
                            .arg(UserSettings().fileName()),
                        Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation,
                        QStringLiteral("Category Filtering"));
}

void SortTextList(QStringList &list, int lo, int hi)
{
    if (lo >= hi)
        return;
    static thread_local QCollator collator;
    collator.setLocale(QLocale());
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    const auto before = [](const QString &a, const QString &b) {
        return collator.compare(a, b) < 0;
    };
    const QString pivot = list[(lo + hi) / 2];
    int i = lo, j = hi;
    while (i <= j) {
        while (before(list[i], pivot) && i < hi)
            ++i;
        while (before(pivot, list[j]) && j > lo)
            --j;
        if (i <= j) {
            list.swapItemsAt(i, j);
            ++i;
            --j;
        }
    }
    if (lo < j)
        SortTextList(list, lo, j);
    if (i < hi)
        SortTextList(list, i, hi);
}

std::optional<QStringList> ReadMasterCategories(ClientVersion client, const RegIO &registry,
                                                Store::NameSpace *session)
{
    const int v = client.major;
    if (v < 0)
        return std::nullopt;
    if (client.modern()) {
        if (!session)
            return std::nullopt;
        QStringList names;
        for (const Store::MasterCategory &c : session->Categories())
            names << c.Name;
        names << QString();
        return names;
    }
    const QString key = QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\") +
                        QString::number(v) + QStringLiteral(".0\\Outlook\\Categories");
    QString text;
    if (v < 10) {
        text = registry.RegReadText(key, QStringLiteral("MasterList"));
    } else {
        text = registry.RegReadRaw(key, QStringLiteral("MasterList")).toString();
        if (text != RegIO::kError) {
            // The value's bytes are UTF-16 text, two bytes a character.
            const QByteArray bytes = text.toLatin1();
            text = QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData()),
                                      bytes.size() / 2);
        }
    }
    if (text == RegIO::kError)
        return std::nullopt;
    return text.split(QLatin1Char(';'));
}
