#include "storeoptions.h"
#include <QCoreApplication>

void AddStoreOptions(QCommandLineParser &parser)
{
    // The texts of --help, in the user's language where it has a catalogue.
    const auto said = [](const char *text) {
        return QCoreApplication::translate("store options", text);
    };
    parser.addOption({"profile",
                      said(QT_TRANSLATE_NOOP(
                          "store options",
                          "The profile listing the calendar stores (default: "
                          "$QUORVEL_PROFILE, else ~/.config/Quorvel/profile.ini; without one, the "
                          "calendars khal and vdirsyncer are set up for).")),
                      "file"});
    parser.addOption(
        {"store",
         said(QT_TRANSLATE_NOOP(
             "store options",
             "Open this store directory alone instead of the profile's stores (desktop: the "
             "desktop's calendars).")),
         "dir"});
}

Store::ProfileOptions StoreOptionsFrom(const QCommandLineParser &parser)
{
    Store::ProfileOptions options;
    options.profile = parser.value("profile");
    options.storeDir = parser.value("store");
    return options;
}
