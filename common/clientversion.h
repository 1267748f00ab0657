#pragma once

#include <QString>

// The calendar client's version, read once when a planner is made and handed on as one value.
// The system was written for a mail client whose versions up to 11 lack what later ones have:
// its categories command, the master category list in the store, the newer weekend and status
// colours. Those branches ask modern(); the registry paths that name the version use major.
struct ClientVersion
{
    int major = 0;

    bool modern() const { return major >= 12; }
    // Of a version text such as "16.0.0.1234".
    static ClientVersion of(const QString &version)
    {
        return {version.left(version.indexOf(QLatin1Char('.'))).toInt()};
    }
};
