#include "storeoptions.h"

void AddStoreOptions(QCommandLineParser &parser)
{
    parser.addOption({"profile",
                      "The profile listing the calendar stores (default: "
                      "$QUORVEL_PROFILE, else ~/.config/Quorvel/profile.ini; without one, the "
                      "calendars khal and vdirsyncer are set up for).",
                      "file"});
    parser.addOption(
        {"store", "Open this store directory alone instead of the profile's stores.", "dir"});
}

Store::ProfileOptions StoreOptionsFrom(const QCommandLineParser &parser)
{
    Store::ProfileOptions options;
    options.profile = parser.value("profile");
    options.storeDir = parser.value("store");
    return options;
}
