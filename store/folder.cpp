#include "folder.h"

#include "calendarstore.h"
#include "qverror.h"
#include "sessiondata_p.h"

namespace Store {

Folder::Folder(std::shared_ptr<SessionData> session, std::shared_ptr<FolderData> data)
    : m_session(std::move(session)), m_data(std::move(data))
{
}

QString Folder::Name() const
{
    return m_data->name();
}

QString Folder::EntryID() const
{
    return m_data->id;
}

QString Folder::StoreID() const
{
    return m_data->store->id;
}

FolderPtr Folder::Parent() const
{
    if (m_data->relPath.isEmpty())
        return nullptr;
    const QString up = m_data->relPath.contains(QLatin1Char('/'))
                           ? m_data->relPath.section(QLatin1Char('/'), 0, -2)
                           : QString();
    return std::make_shared<Folder>(m_session, m_session->folder(m_data->store, up));
}

FoldersPtr Folder::Folders()
{
    QList<FolderPtr> subs;
    for (const QString &sub : m_data->store->subfolderNames(m_data->relPath)) {
        const QString rel = m_data->relPath.isEmpty() ? sub : m_data->relPath + '/' + sub;
        subs.append(std::make_shared<Folder>(m_session, m_session->folder(m_data->store, rel)));
    }
    return std::make_shared<Store::Folders>(m_session, subs, m_data);
}

int Folder::DefaultItemType() const
{
    if (m_data->relPath.isEmpty())
        return olMailItem; // a store's top folder holds folders, not appointments
    return m_data->meta(QStringLiteral("Folder/ItemType"), olAppointmentItem).toInt();
}

ItemsPtr Folder::Items()
{
    return std::make_shared<Store::Items>(m_session, m_data);
}

QString Folder::WebViewURL() const
{
    return m_data->meta(QStringLiteral("WebView/URL")).toString();
}

void Folder::setWebViewURL(const QString &url)
{
    m_data->setMeta(QStringLiteral("WebView/URL"), url);
}

bool Folder::WebViewOn() const
{
    return m_data->meta(QStringLiteral("WebView/On"), false).toBool();
}

void Folder::setWebViewOn(bool on)
{
    m_data->setMeta(QStringLiteral("WebView/On"), on);
}

bool Folder::WebViewAllowNavigation() const
{
    return m_data->meta(QStringLiteral("WebView/AllowNavigation"), true).toBool();
}

void Folder::setWebViewAllowNavigation(bool allow)
{
    m_data->setMeta(QStringLiteral("WebView/AllowNavigation"), allow);
}

void Folder::Display()
{
    StoreUi *ui = CurrentStoreUi();
    if (!ui)
        throw QvError(kNoWindow, QStringLiteral("No window can be shown for the folder"),
                      QStringLiteral("Folder"));
    ui->displayFolder(*this);
}

QString Folder::FolderPath() const
{
    QString path = m_data->store->name;
    if (m_data->source())
        return path + QLatin1Char('\\') + m_data->name(); // a calendar is known by its name
    if (!m_data->relPath.isEmpty())
        path += QLatin1Char('\\') +
                QString(m_data->relPath).replace(QLatin1Char('/'), QLatin1Char('\\'));
    return path;
}

QString Folder::directory() const
{
    return m_data->path;
}

} // namespace Store
