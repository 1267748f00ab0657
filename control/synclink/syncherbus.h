#pragma once

#include <QString>

// The names under which quorvel-sync serves synchronisers on the session bus.
namespace SyncBus {

inline const QString kService = QStringLiteral("org.quorvel.QuorvelSync");
inline const QString kFactoryPath = QStringLiteral("/QuorvelSync");
inline const QString kFactoryInterface = QStringLiteral("org.quorvel.QuorvelCacheUtility.Factory");
inline const QString kSyncherInterface = QStringLiteral("org.quorvel.QuorvelCacheUtility.Syncher");
inline const QString kPropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

} // namespace SyncBus
