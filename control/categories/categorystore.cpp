#include "categorystore.h"

#include "categorycolours.h"
#include "dialogs.h"
#include "oadate.h"
#include "qverror.h"
#include "restriction.h"

#include <QCoreApplication>
#include <QHash>
#include <QRegularExpression>

using namespace Store;

const QString CategoryStore::kPropertySet =
    QStringLiteral("{FFF40745-D92F-4C11-9E14-92701F001EB3}");
const QString CategoryStore::kMessageClass = QStringLiteral("IPM.Calendar.Quorvel.Categories");
const QString CategoryStore::kSubjectPrefix =
    QStringLiteral("PLEASE IGNORE - Quorvel Category Colours: ");
const QString CategoryStore::kOldSubject =
    QStringLiteral("Please Ignore - Holds Category Colours for the Rudi Zuvevid");

namespace {

constexpr int kLong = 3;     // property type of 32-bit integers
constexpr int kString8 = 30; // property type of 8-bit texts

QString tag(HiddenItem &item, const QString &name, int type)
{
    return QString::number(item.GetIDsFromNames(CategoryStore::kPropertySet, name) | type);
}

} // namespace

CategoryStore::CategoryStore(Dialogs &dialogs, NameSpacePtr session, QString folderId,
                             QString storeId)
    : m_dialogs(dialogs), m_session(std::move(session)), m_folderId(std::move(folderId)),
      m_storeId(std::move(storeId))
{
}

HiddenItemsPtr CategoryStore::hiddenItems(bool &reported)
{
    reported = false;
    const FolderPtr folder = m_session->GetFolderFromID(m_folderId, m_storeId);
    auto helper = std::dynamic_pointer_cast<MapiFolder>(
        Application::shared()->CreateObject(QStringLiteral("TKCDO.tkMAPIFolder")));
    if (!helper) {
        m_dialogs.message(QStringLiteral("Cannot create TKCDO.tkMAPIFolder"));
        reported = true;
        return nullptr;
    }
    helper->setItem(folder);
    HiddenItemsPtr hidden = helper->hiddenItems();
    if (!hidden) {
        m_dialogs.message(QStringLiteral("hiddenItems is null"));
        reported = true;
    }
    return hidden;
}

bool CategoryStore::ReadCategoryStore(CategoryTable &table, const QString &subject)
{
    try {
        bool reported = false;
        const HiddenItemsPtr hidden = hiddenItems(reported);
        if (!hidden)
            return false;
        const HiddenItemPtr item = hidden->item(subject);
        if (!item)
            return false;
        const qint16 count =
            qint16(item->Fields(tag(*item, QStringLiteral("NumberOfCategories"), kLong)).toInt());
        if (count < 0 || count > kMaxStoredCategories)
            return false;
        CategoryTable read;
        for (int i = 1; i <= count; ++i) {
            read.names << item->Fields(tag(*item, QStringLiteral("Category%1").arg(i), kString8))
                              .toString();
            read.colours << quint32(
                item->Fields(tag(*item, QStringLiteral("Colour%1").arg(i), kLong)).toInt());
        }
        table = read;
        return true;
    } catch (const QvError &e) {
        m_dialogs.message(QCoreApplication::translate("Messages", "Error loading categories %1 %2")
                              .arg(e.number())
                              .arg(e.description()));
        return false;
    }
}

// A body's lines: trimmed of spaces and control characters, split at line breaks (the lists were
// written with CR LF; calendar files keep the LF alone).
QStringList CategoryStore::bodyLines(const AppointmentItemPtr &item) const
{
    auto body = std::dynamic_pointer_cast<AppointmentBody>(
        Application::shared()->CreateObject(QStringLiteral("TKCDO.tkAppointmentItem")));
    body->setItem(item);
    return TrimControlChars(body->Body().trimmed())
        .split(QRegularExpression(QStringLiteral("\r?\n")));
}

QStringList CategoryStore::ReadLegacyCategoryList(const QString &subject)
{
    // A failing step is passed over and the next one taken.
    auto find = [this](const QString &s) -> AppointmentItemPtr {
        try {
            const FolderPtr folder = m_session->GetFolderFromID(m_folderId, m_storeId);
            // Both texts are quoted with the filter's own escape, so a title with an apostrophe
            // still finds its list.
            const QString date = FormatFilterDate(QDate(2010, 12, 31));
            const ItemPtr item =
                folder->Items()->Find(QStringLiteral("[Start]>=") + QuoteFilterText(date) +
                                      QStringLiteral(" AND [Subject]=") + QuoteFilterText(s));
            return std::dynamic_pointer_cast<AppointmentItem>(item);
        } catch (const QvError &) {
            return nullptr;
        }
    };
    try {
        if (const AppointmentItemPtr current = find(subject)) {
            const QStringList lines = bodyLines(current);
            if (lines.size() >= 2)
                return lines;
            current->Delete();
        } else if (const AppointmentItemPtr old = find(kOldSubject)) {
            const QStringList lines = bodyLines(old);
            if (lines.size() >= 3) {
                old->setSubject(subject);
                old->Save();
                return lines;
            }
            old->Delete();
        }
    } catch (const QvError &) {
        // Fall through to the default table.
    }
    return DefaultCategoryLines();
}

bool CategoryStore::LoadCategories(CategoryTable &table, const QString &subject)
{
    if (ReadCategoryStore(table, subject))
        return true;
    const QStringList lines = ReadLegacyCategoryList(subject);
    CategoryTable read;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        read.names << lines[i].section(QLatin1Char('|'), 0, 0);
        read.colours << quint32(lines[i].section(QLatin1Char('|'), 1, 1).toInt());
    }
    table = read;
    return lines != DefaultCategoryLines();
}

void CategoryStore::SaveCategories(const CategoryTable &table, const QString &subject)
{
    int step = 1;
    try {
        step = 2;
        const FolderPtr folder = m_session->GetFolderFromID(m_folderId, m_storeId);
        step = 3;
        auto helper = std::dynamic_pointer_cast<MapiFolder>(
            Application::shared()->CreateObject(QStringLiteral("TKCDO.tkMAPIFolder")));
        step = 4;
        if (!helper) {
            m_dialogs.message(QStringLiteral("Cannot create TKCDO.tkMAPIFolder"));
            return;
        }
        step = 5;
        helper->setItem(folder);
        step = 6;
        const HiddenItemsPtr hidden = helper->hiddenItems();
        step = 7;
        if (!hidden) {
            m_dialogs.message(QStringLiteral("hiddenItems is null"));
            return;
        }
        step = 8;
        HiddenItemPtr item = hidden->item(subject);
        step = 9;
        if (!item) {
            step = 10;
            item = hidden->Add(kMessageClass);
            step = 11;
            item->setSubject(subject);
        }
        step = 12;
        const int n = int(table.names.size());
        step = 13;
        const QString count = tag(*item, QStringLiteral("NumberOfCategories"), kLong);
        step = 14;
        item->setFields(count, n);
        step = 15;
        for (int i = 1; i <= n; ++i) {
            item->setFields(tag(*item, QStringLiteral("Category%1").arg(i), kString8),
                            table.names[i - 1]);
            item->setFields(tag(*item, QStringLiteral("Colour%1").arg(i), kLong),
                            qint32(table.colours.value(i - 1)));
        }
        step = 16;
        item->Save();
    } catch (const QvError &e) {
        if (step == 11)
            m_dialogs.message(QCoreApplication::translate(
                "Messages", "Quorvel is unable to create an entry in the calendar to "
                            "store the list of categories.  Please ensure that "
                            "appropriate permissions have been granted."));
        else
            m_dialogs.message(QCoreApplication::translate(
                                  "Messages", "Error saving categories %1 %2 Last Step: %3")
                                  .arg(e.number())
                                  .arg(e.description())
                                  .arg(step));
    }
}

void ResolveEventCategories(PlannerState &state)
{
    // Events share few categories texts: each is resolved once.
    QHash<QString, qint16> resolved;
    for (const CalEvent &e : *state.store) {
        auto it = resolved.constFind(e.Categories);
        if (it == resolved.constEnd())
            it = resolved.insert(e.Categories, state.categoryIndexOf(e.Categories));
        state.store->SetCatIndex(e, *it);
    }
}

QStringList GetStringList(const CategoryTable &table)
{
    QStringList list{QString()};
    for (const QString &name : table.names)
        list << name.section(QLatin1Char('|'), 0, 0);
    return list;
}

QString CleanCategoryName(const QString &text)
{
    if (text.trimmed().isEmpty())
        return QString();
    QString out;
    for (const QChar c : text) {
        if (c != QLatin1Char('|') && c.unicode() > 31)
            out.append(c);
    }
    return out;
}

QString TrimControlChars(const QString &text)
{
    qsizetype from = 0, to = text.size();
    while (from < to && text[from].unicode() <= 32)
        ++from;
    while (to > from && text[to - 1].unicode() <= 32)
        --to;
    return text.mid(from, to - from);
}
