<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AppointmentCommands</name>
    <message>
        <source>Delete this appointment %1?</source>
        <translation>Den Termin „%1“ löschen?</translation>
    </message>
</context>
<context>
    <name>AppointmentMenu</name>
    <message>
        <source>Edit Appointment</source>
        <translation>Termin bearbeiten</translation>
    </message>
    <message>
        <source>Delete Appointment</source>
        <translation>Termin löschen</translation>
    </message>
    <message>
        <source>Clear Selection</source>
        <translation>Auswahl aufheben</translation>
    </message>
    <message>
        <source>New Appointment</source>
        <translation>Neuer Termin</translation>
    </message>
</context>
<context>
    <name>CalDavConnection</name>
    <message>
        <source>The server refused the user name or password of %1.</source>
        <translation>Der Server hat den Benutzernamen oder das Passwort von %1 abgelehnt.</translation>
    </message>
    <message>
        <source>The password could not be read: the command that gives it failed.</source>
        <translation>Das Passwort konnte nicht gelesen werden: Der Befehl, der es liefert, ist fehlgeschlagen.</translation>
    </message>
    <message>
        <source>The server at %1 cannot be reached.</source>
        <translation>Der Server unter %1 ist nicht erreichbar.</translation>
    </message>
    <message>
        <source>There is no calendar account at %1.</source>
        <translation>Unter %1 gibt es kein Kalenderkonto.</translation>
    </message>
    <message>
        <source>The server&apos;s certificate for %1 is not trusted.</source>
        <translation>Dem Zertifikat des Servers für %1 wird nicht vertraut.</translation>
    </message>
    <message>
        <source>%1 holds files already: connecting would upload them to the server. Choose an empty directory for the account&apos;s calendars, or ask for what is there to be uploaded.</source>
        <translation>%1 enthält bereits Dateien: Beim Verbinden würden sie auf den Server hochgeladen. Wählen Sie ein leeres Verzeichnis für die Kalender des Kontos, oder verlangen Sie ausdrücklich, dass das Vorhandene hochgeladen wird.</translation>
    </message>
    <message>
        <source>The account is in %1</source>
        <translation>Das Konto steht in %1</translation>
    </message>
    <message>
        <source>%1 cannot be run: %2</source>
        <translation>%1 kann nicht ausgeführt werden: %2</translation>
    </message>
    <message>
        <source>vdirsyncer could not %1: %2</source>
        <translation>vdirsyncer konnte %1 nicht ausführen: %2</translation>
    </message>
    <message>
        <source>it failed</source>
        <translation>es ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>To keep the calendars current, run &quot;vdirsyncer -c %1 sync&quot; every few minutes (from cron, say).</source>
        <translation>Damit die Kalender aktuell bleiben, führen Sie „vdirsyncer -c %1 sync“ alle paar Minuten aus (etwa per cron).</translation>
    </message>
    <message>
        <source>The timer&apos;s units cannot be written to %1. </source>
        <translation>Die Units des Timers lassen sich nicht nach %1 schreiben. </translation>
    </message>
    <message>
        <source>systemd is not here. </source>
        <translation>systemd ist nicht vorhanden. </translation>
    </message>
    <message>
        <source>The timer could not be started (%1). </source>
        <translation>Der Timer konnte nicht gestartet werden (%1). </translation>
    </message>
    <message>
        <source>The calendars are synchronised every five minutes (%1).</source>
        <translation>Die Kalender werden alle fünf Minuten abgeglichen (%1).</translation>
    </message>
    <message>
        <source>vdirsyncer is not installed: it keeps the calendars of a CalDAV account (Debian&apos;s package vdirsyncer).</source>
        <translation>vdirsyncer ist nicht installiert: Es hält die Kalender eines CalDAV-Kontos (Debian-Paket vdirsyncer).</translation>
    </message>
    <message>
        <source>A CalDAV account needs the server&apos;s address and a user name.</source>
        <translation>Ein CalDAV-Konto braucht die Adresse des Servers und einen Benutzernamen.</translation>
    </message>
    <message>
        <source>Looking for the account&apos;s calendars at %1</source>
        <translation>Suche nach den Kalendern des Kontos unter %1</translation>
    </message>
    <message>
        <source>Reading the calendars&apos; names and colours</source>
        <translation>Lesen der Namen und Farben der Kalender</translation>
    </message>
    <message>
        <source>Synchronising the calendars into %1</source>
        <translation>Abgleichen der Kalender nach %1</translation>
    </message>
    <message>
        <source>Quorvel opens the calendar &quot;%1&quot; next.</source>
        <translation>Quorvel öffnet als Nächstes den Kalender „%1“.</translation>
    </message>
    <message>
        <source>The vdirsyncer configuration %1 cannot be written: %2</source>
        <translation>Die vdirsyncer-Konfiguration %1 lässt sich nicht schreiben: %2</translation>
    </message>
</context>
<context>
    <name>CalDavDialog</name>
    <message>
        <source>Connect a CalDAV Account</source>
        <translation>CalDAV-Konto verbinden</translation>
    </message>
    <message>
        <source>The account&apos;s calendars are kept on this computer by vdirsyncer, synchronised every five minutes, and open in the planner.</source>
        <translation>Die Kalender des Kontos hält vdirsyncer auf diesem Rechner, gleicht sie alle fünf Minuten ab, und sie öffnen sich im Planer.</translation>
    </message>
    <message>
        <source>secret-tool lookup … (the default)</source>
        <translation>secret-tool lookup … (die Vorgabe)</translation>
    </message>
    <message>
        <source>Server address</source>
        <translation>Serveradresse</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>Benutzername</translation>
    </message>
    <message>
        <source>Password command</source>
        <translation>Passwortbefehl</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Verbinden</translation>
    </message>
    <message>
        <source>Connected: open the planner to see the account&apos;s calendars.</source>
        <translation>Verbunden: Öffnen Sie den Planer, um die Kalender des Kontos zu sehen.</translation>
    </message>
</context>
<context>
    <name>Calendar store</name>
    <message>
        <source>One occurrence cannot be changed here; open the series.</source>
        <translation>Ein einzelnes Vorkommen lässt sich hier nicht ändern; öffnen Sie die Serie.</translation>
    </message>
    <message>
        <source>The item %1 shares the file %2 with events that cannot be read, and is not written</source>
        <translation>Das Element %1 teilt sich die Datei %2 mit Ereignissen, die sich nicht lesen lassen, und wird nicht geschrieben</translation>
    </message>
    <message>
        <source>Cannot write the folder settings of %1</source>
        <translation>Die Ordnereinstellungen von %1 lassen sich nicht schreiben</translation>
    </message>
    <message>
        <source>Cannot create the folder.</source>
        <translation>Der Ordner kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Cannot create the folder %1</source>
        <translation>Der Ordner %1 kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>The item %1 could not be read back: %2</source>
        <translation>Das Element %1 konnte nicht zurückgelesen werden: %2</translation>
    </message>
    <message>
        <source>The imported items could not be stored on the disk</source>
        <translation>Die importierten Elemente konnten nicht auf dem Datenträger gespeichert werden</translation>
    </message>
    <message>
        <source>there is no folder &quot;%1&quot;: the profile names no store that exists</source>
        <translation>es gibt keinen Ordner „%1“: Das Profil nennt keinen vorhandenen Speicher</translation>
    </message>
    <message>
        <source>there is no folder &quot;%1&quot;; the folders are: %2</source>
        <translation>es gibt keinen Ordner „%1“; die Ordner sind: %2</translation>
    </message>
    <message>
        <source>The calendar %1 is read-only: the change is not saved</source>
        <translation>Der Kalender %1 ist schreibgeschützt: die Änderung wird nicht gespeichert</translation>
    </message>
    <message>
        <source>The calendar %1 did not take the change: %2</source>
        <translation>Der Kalender %1 hat die Änderung nicht angenommen: %2</translation>
    </message>
    <message>
        <source>The calendar %1 cannot be read: %2</source>
        <translation>Der Kalender %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>the desktop has no such calendar</source>
        <translation>die Arbeitsumgebung hat keinen solchen Kalender</translation>
    </message>
</context>
<context>
    <name>DayMarks</name>
    <message>
        <source>Public holidays need GNU gcal (Debian&apos;s package gcal)</source>
        <translation>Für Feiertage wird GNU gcal gebraucht (Debian-Paket gcal)</translation>
    </message>
    <message>
        <source>%1 has not been fetched yet (vdirsyncer sync %2)</source>
        <translation>%1 wurde noch nicht geladen (vdirsyncer sync %2)</translation>
    </message>
    <message>
        <source>%1 is not there</source>
        <translation>%1 ist nicht vorhanden</translation>
    </message>
    <message>
        <source>%1 is no web address of a calendar (https://...)</source>
        <translation>%1 ist keine Webadresse eines Kalenders (https://…)</translation>
    </message>
    <message>
        <source>vdirsyncer is not installed: it fetches subscribed calendars (Debian&apos;s package vdirsyncer).</source>
        <translation>vdirsyncer ist nicht installiert: Es lädt abonnierte Kalender (Debian-Paket vdirsyncer).</translation>
    </message>
    <message>
        <source>%1 cannot be run: %2</source>
        <translation>%1 kann nicht ausgeführt werden: %2</translation>
    </message>
    <message>
        <source>vdirsyncer could not fetch %1: %2</source>
        <translation>vdirsyncer konnte %1 nicht laden: %2</translation>
    </message>
</context>
<context>
    <name>Errors</name>
    <message>
        <source>Error: %1 %2</source>
        <translation>Fehler: %1 %2</translation>
    </message>
    <message>
        <source>Invalid procedure call or argument</source>
        <translation>Ungültiger Prozeduraufruf oder ungültiges Argument</translation>
    </message>
    <message>
        <source>Overflow</source>
        <translation>Überlauf</translation>
    </message>
    <message>
        <source>Out of memory</source>
        <translation>Nicht genügend Arbeitsspeicher</translation>
    </message>
    <message>
        <source>Subscript out of range</source>
        <translation>Index außerhalb des gültigen Bereichs</translation>
    </message>
    <message>
        <source>Internal error</source>
        <translation>Interner Fehler</translation>
    </message>
    <message>
        <source>Type mismatch</source>
        <translation>Typen unverträglich</translation>
    </message>
    <message>
        <source>The process cannot access the file because it is being used by another process.</source>
        <translation>Der Prozess kann nicht auf die Datei zugreifen, da sie von einem anderen Prozess verwendet wird.</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>Zugriff verweigert</translation>
    </message>
    <message>
        <source>Object variable or With block variable not set</source>
        <translation>Objektvariable oder With-Blockvariable nicht festgelegt</translation>
    </message>
    <message>
        <source>ActiveX component can&apos;t create object</source>
        <translation>Das Objekt kann nicht erstellt werden</translation>
    </message>
    <message>
        <source>The remote server machine does not exist or is unavailable</source>
        <translation>Der Remoteserver existiert nicht oder ist nicht verfügbar</translation>
    </message>
    <message>
        <source>The operation is not allowed.</source>
        <translation>Der Vorgang ist nicht zulässig.</translation>
    </message>
    <message>
        <source>The user profile or user identity is invalid or does not have the appropriate permissions</source>
        <translation>Das Benutzerprofil oder die Benutzeridentität ist ungültig oder hat nicht die nötigen Berechtigungen</translation>
    </message>
    <message>
        <source>The operation failed. An object could not be found.</source>
        <translation>Der Vorgang ist fehlgeschlagen. Ein Objekt wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>Application-defined or object-defined error</source>
        <translation>Anwendungs- oder objektdefinierter Fehler</translation>
    </message>
</context>
<context>
    <name>FileError</name>
    <message>
        <source>Bad file name or number</source>
        <translation>Ungültiger Dateiname oder ungültige Dateinummer</translation>
    </message>
    <message>
        <source>File not found</source>
        <translation>Datei nicht gefunden</translation>
    </message>
    <message>
        <source>Bad file mode</source>
        <translation>Ungültiger Dateimodus</translation>
    </message>
    <message>
        <source>File already open</source>
        <translation>Datei bereits geöffnet</translation>
    </message>
    <message>
        <source>Disk full</source>
        <translation>Datenträger voll</translation>
    </message>
    <message>
        <source>File already exists</source>
        <translation>Datei existiert bereits</translation>
    </message>
    <message>
        <source>Input past end of file</source>
        <translation>Lesen über das Dateiende hinaus</translation>
    </message>
    <message>
        <source>Bad file name</source>
        <translation>Ungültiger Dateiname</translation>
    </message>
    <message>
        <source>Too many files</source>
        <translation>Zu viele Dateien</translation>
    </message>
    <message>
        <source>Device unavailable</source>
        <translation>Gerät nicht verfügbar</translation>
    </message>
    <message>
        <source>Disk not ready</source>
        <translation>Datenträger nicht bereit</translation>
    </message>
    <message>
        <source>Path/File access error</source>
        <translation>Fehler beim Zugriff auf Pfad/Datei</translation>
    </message>
    <message>
        <source>Path not found</source>
        <translation>Pfad nicht gefunden</translation>
    </message>
    <message>
        <source>File error</source>
        <translation>Dateifehler</translation>
    </message>
    <message>
        <source>That filename is illegal.</source>
        <translation>Dieser Dateiname ist unzulässig.</translation>
    </message>
    <message>
        <source>Can&apos;t open your file for that type of access.</source>
        <translation>Die Datei lässt sich für diese Zugriffsart nicht öffnen.</translation>
    </message>
    <message>
        <source>That file is already open.</source>
        <translation>Diese Datei ist bereits geöffnet.</translation>
    </message>
    <message>
        <source>The disk is full.</source>
        <translation>Der Datenträger ist voll.</translation>
    </message>
    <message>
        <source>This file has a nonstandard end-of-file marker,or an attempt was made to read beyond the end-of-file marker.</source>
        <translation>Diese Datei hat eine ungewöhnliche Dateiende-Markierung, oder es wurde versucht, über die Dateiende-Markierung hinaus zu lesen.</translation>
    </message>
    <message>
        <source>That device appears to be unavailable.</source>
        <translation>Dieses Gerät scheint nicht verfügbar zu sein.</translation>
    </message>
    <message>
        <source>The disk is not ready.</source>
        <translation>Der Datenträger ist nicht bereit.</translation>
    </message>
    <message>
        <source>That path doesn&apos;t exist.</source>
        <translation>Dieser Pfad existiert nicht.</translation>
    </message>
    <message>
        <source>File Error</source>
        <translation>Dateifehler</translation>
    </message>
</context>
<context>
    <name>FilterDialog</name>
    <message>
        <source>Category Filtering</source>
        <translation>Nach Kategorien filtern</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Available categories:</source>
        <translation>Verfügbare Kategorien:</translation>
    </message>
    <message>
        <source>Item(s) belong to these categories:</source>
        <translation>Elemente gehören zu diesen Kategorien:</translation>
    </message>
</context>
<context>
    <name>FilterModel</name>
    <message>
        <source>Click to define a filter</source>
        <translation>Klicken, um einen Filter festzulegen</translation>
    </message>
    <message>
        <source>Active Filter: %1</source>
        <translation>Aktiver Filter: %1</translation>
    </message>
</context>
<context>
    <name>GridArea</name>
    <message>
        <source>Force refresh of current year</source>
        <translation>Aktuelles Jahr neu einlesen</translation>
    </message>
</context>
<context>
    <name>Installer</name>
    <message>
        <source>Destination Path</source>
        <translation>Zielpfad</translation>
    </message>
    <message>
        <source>Failed whilst initialising Outlook!</source>
        <translation>Fehler beim Starten des Kalenderzugriffs!</translation>
    </message>
    <message>
        <source>%1 is not a Calendar folder!</source>
        <translation>%1 ist kein Kalenderordner!</translation>
    </message>
    <message>
        <source>An unexpected error has occurred related to Outlook!</source>
        <translation>Beim Kalenderzugriff ist ein unerwarteter Fehler aufgetreten!</translation>
    </message>
    <message>
        <source>Specified title contains an invalid character.  Invalid characters are: %1</source>
        <translation>Der angegebene Titel enthält ein ungültiges Zeichen.  Ungültige Zeichen sind: %1</translation>
    </message>
    <message>
        <source>Source and destination appear to be the same?!: %1</source>
        <translation>Quelle und Ziel scheinen gleich zu sein?!: %1</translation>
    </message>
    <message>
        <source>Unable to copy HTML file from source to destination!</source>
        <translation>Die HTML-Datei konnte nicht von der Quelle zum Ziel kopiert werden!</translation>
    </message>
    <message>
        <source>Unable to copy CAB file from source to destination!</source>
        <translation>Die CAB-Datei konnte nicht von der Quelle zum Ziel kopiert werden!</translation>
    </message>
    <message>
        <source>You must specify a destination folder!</source>
        <translation>Bitte einen Zielordner angeben!</translation>
    </message>
    <message>
        <source>You must specify an outlook calendar folder!</source>
        <translation>Bitte einen Kalenderordner angeben!</translation>
    </message>
    <message>
        <source>Failed whilst copying files from source to specified destination!</source>
        <translation>Fehler beim Kopieren der Dateien von der Quelle zum angegebenen Ziel!</translation>
    </message>
    <message>
        <source>Failed whilst attempting to update html configuration at specified destination!</source>
        <translation>Fehler beim Aktualisieren der HTML-Konfiguration am angegebenen Ziel!</translation>
    </message>
    <message>
        <source>Unable to set outlook folder association to destination path!</source>
        <translation>Die Zuordnung des Kalenderordners zum Zielpfad konnte nicht gesetzt werden!</translation>
    </message>
    <message>
        <source>Thank you for installing Brenholt Quorvel.</source>
        <translation>Vielen Dank, dass Sie Brenholt Quorvel installiert haben.</translation>
    </message>
    <message>
        <source>The Calendar Installer already appears to be running.</source>
        <translation>Der Kalender-Installer scheint bereits zu laufen.</translation>
    </message>
</context>
<context>
    <name>LegendPanel</name>
    <message>
        <source>Categories</source>
        <translation>Kategorien</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Umbenennen</translation>
    </message>
    <message>
        <source>Colour</source>
        <translation>Farbe</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>New Category</source>
        <translation>Neue Kategorie</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>Quorvel Data saved</source>
        <translation>Quorvel-Daten gespeichert</translation>
    </message>
    <message>
        <source>Failed to save file.</source>
        <translation>Die Datei konnte nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>The filter applies now, but it could not be kept for next time: %1 cannot be written.</source>
        <translation>Der Filter gilt jetzt, konnte aber nicht für das nächste Mal gespeichert werden: %1 lässt sich nicht schreiben.</translation>
    </message>
    <message>
        <source>Unable to locate event, please refresh and try again.</source>
        <translation>Der Termin wurde nicht gefunden. Bitte neu einlesen und noch einmal versuchen.</translation>
    </message>
    <message>
        <source>Cannot get appointment</source>
        <translation>Der Termin ist nicht abrufbar</translation>
    </message>
    <message>
        <source>Error calculating the month bands, please refresh planner.

</source>
        <translation>Fehler beim Berechnen der Monatsbänder, bitte den Planer neu einlesen.

</translation>
    </message>
    <message>
        <source>Cannot delete all the categories; at least one must be retained.</source>
        <translation>Es können nicht alle Kategorien gelöscht werden; mindestens eine muss bleiben.</translation>
    </message>
    <message>
        <source>This colour has already been used.</source>
        <translation>Diese Farbe wird bereits verwendet.</translation>
    </message>
    <message>
        <source>Category Colour Picker</source>
        <translation>Kategoriefarbe wählen</translation>
    </message>
    <message>
        <source>The category %1 already exists</source>
        <translation>Die Kategorie %1 gibt es bereits</translation>
    </message>
    <message>
        <source>You must specify at least one category!</source>
        <translation>Bitte mindestens eine Kategorie angeben!</translation>
    </message>
    <message>
        <source>Could not set up a link to Outlook. Cache will not be updated. Refresh to try again.

</source>
        <translation>Die Verbindung zum Kalender ließ sich nicht herstellen. Der Zwischenspeicher wird nicht aktualisiert. Zum erneuten Versuch neu einlesen.

</translation>
    </message>
    <message>
        <source>Unable to access specified calendar folder.</source>
        <translation>Auf den angegebenen Kalenderordner kann nicht zugegriffen werden.</translation>
    </message>
    <message>
        <source>Error while initialising the background processing, the cache file will not be updated from the calender (Step:%1). 

</source>
        <translation>Fehler beim Starten der Hintergrundverarbeitung, der Zwischenspeicher wird nicht aus dem Kalender aktualisiert (Schritt:%1). 

</translation>
    </message>
    <message>
        <source>The view applies now, but it could not be kept for next time: %1 cannot be written.</source>
        <translation>Die Ansicht gilt jetzt, konnte aber nicht für das nächste Mal gespeichert werden: %1 lässt sich nicht schreiben.</translation>
    </message>
    <message>
        <source>The marked days apply now, but they could not be kept for next time: %1 cannot be written.</source>
        <translation>Die markierten Tage gelten jetzt, konnten aber nicht für das nächste Mal gespeichert werden: %1 lässt sich nicht schreiben.</translation>
    </message>
    <message>
        <source>The help page could not be opened: no web browser could be started. It is at %1</source>
        <translation>Die Hilfeseite konnte nicht geöffnet werden: Es ließ sich kein Webbrowser starten. Sie liegt unter %1</translation>
    </message>
    <message>
        <source>Error drawing the current events, please refresh planner.

</source>
        <translation>Fehler beim Zeichnen der Termine, bitte den Planer neu einlesen.

</translation>
    </message>
    <message>
        <source>The print settings apply now, but they could not be kept for next time: %1 cannot be written.</source>
        <translation>Die Druckeinstellungen gelten jetzt, konnten aber nicht für das nächste Mal gespeichert werden: %1 lässt sich nicht schreiben.</translation>
    </message>
    <message>
        <source>Error drawing the year, please refresh planner.</source>
        <translation>Fehler beim Zeichnen des Jahres, bitte den Planer neu einlesen.</translation>
    </message>
    <message>
        <source>Error drawing the current events, please refresh planner.</source>
        <translation>Fehler beim Zeichnen der Termine, bitte den Planer neu einlesen.</translation>
    </message>
    <message>
        <source>Some days cannot be marked: %1</source>
        <translation>Einige Tage können nicht markiert werden: %1</translation>
    </message>
    <message>
        <source>An error occured while updating the cache file

Error: %1 %2</source>
        <translation>Beim Aktualisieren des Zwischenspeichers ist ein Fehler aufgetreten

Fehler: %1 %2</translation>
    </message>
    <message>
        <source>Error occured while fetching events.

</source>
        <translation>Beim Abrufen der Termine ist ein Fehler aufgetreten.

</translation>
    </message>
    <message>
        <source>Error setting cache update.

</source>
        <translation>Fehler beim Einrichten der Aktualisierung des Zwischenspeichers.

</translation>
    </message>
    <message>
        <source>Unable to obtain current username! This is likely to be due to Outlook security: ensure that TKCDO.dll is registered.</source>
        <translation>Der aktuelle Benutzername ist nicht ermittelbar! Das liegt wahrscheinlich an den Sicherheitseinstellungen des Kalenderzugriffs: Stellen Sie sicher, dass TKCDO.dll registriert ist.</translation>
    </message>
    <message>
        <source>Error reading cache file %1.  Error No.: 

%2 Error Description: %3</source>
        <translation>Fehler beim Lesen der Zwischenspeicherdatei %1.  Fehlernr.: 

%2 Fehlerbeschreibung: %3</translation>
    </message>
    <message>
        <source>Error loading categories %1 %2</source>
        <translation>Fehler beim Laden der Kategorien %1 %2</translation>
    </message>
    <message>
        <source>Quorvel is unable to create an entry in the calendar to store the list of categories.  Please ensure that appropriate permissions have been granted.</source>
        <translation>Quorvel kann im Kalender keinen Eintrag anlegen, um die Liste der Kategorien zu speichern.  Bitte stellen Sie sicher, dass die nötigen Berechtigungen erteilt sind.</translation>
    </message>
    <message>
        <source>Error saving categories %1 %2 Last Step: %3</source>
        <translation>Fehler beim Speichern der Kategorien %1 %2 Letzter Schritt: %3</translation>
    </message>
    <message>
        <source>The cache of %1 could not be read</source>
        <translation>Der Zwischenspeicher von %1 konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>Error whilst performing Export: %1 %2</source>
        <translation>Fehler beim Exportieren: %1 %2</translation>
    </message>
    <message>
        <source>Enter name of new category</source>
        <translation>Name der neuen Kategorie eingeben</translation>
    </message>
    <message>
        <source>New Category</source>
        <translation>Neue Kategorie</translation>
    </message>
    <message>
        <source>Error initialising: %1 %2 Step: %3</source>
        <translation>Fehler beim Starten: %1 %2 Schritt: %3</translation>
    </message>
    <message>
        <source>left margin</source>
        <translation>linker Rand</translation>
    </message>
    <message>
        <source>right margin</source>
        <translation>rechter Rand</translation>
    </message>
    <message>
        <source>top margin</source>
        <translation>oberer Rand</translation>
    </message>
    <message>
        <source>bottom margin</source>
        <translation>unterer Rand</translation>
    </message>
    <message>
        <source>category legend width</source>
        <translation>Breite der Kategorienlegende</translation>
    </message>
    <message>
        <source>minimum number of bands</source>
        <translation>Mindestanzahl der Bänder</translation>
    </message>
    <message>
        <source>minimum band height</source>
        <translation>Mindesthöhe der Bänder</translation>
    </message>
    <message>
        <source>Please enter a numeric value for the %1</source>
        <translation>Bitte einen Zahlenwert eingeben für: %1</translation>
    </message>
    <message>
        <source>Error initialising: %1 %2</source>
        <translation>Fehler beim Starten: %1 %2</translation>
    </message>
    <message>
        <source>Reading cache error: %1 %2</source>
        <translation>Fehler beim Lesen des Zwischenspeichers: %1 %2</translation>
    </message>
</context>
<context>
    <name>PlannerToolBar</name>
    <message>
        <source>Back a year</source>
        <translation>Ein Jahr zurück</translation>
    </message>
    <message>
        <source>Forward a year</source>
        <translation>Ein Jahr vor</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>Filter</translation>
    </message>
    <message>
        <source>Apply filter</source>
        <translation>Filter anwenden</translation>
    </message>
    <message>
        <source>Categories</source>
        <translation>Kategorien</translation>
    </message>
    <message>
        <source>Define Categories</source>
        <translation>Kategorien festlegen</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>Print this year</source>
        <translation>Dieses Jahr drucken</translation>
    </message>
    <message>
        <source>About Quorvel</source>
        <translation>Über Quorvel</translation>
    </message>
    <message>
        <source>Year %1</source>
        <translation>Jahr %1</translation>
    </message>
</context>
<context>
    <name>PlannerWindow</name>
    <message>
        <source>&amp;Calendar</source>
        <translation>&amp;Kalender</translation>
    </message>
    <message>
        <source>&amp;Open Calendar...</source>
        <translation>Kalender ö&amp;ffnen …</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Timed Appointments</source>
        <translation>&amp;Termine mit Uhrzeit</translation>
    </message>
    <message>
        <source>&amp;Subjects</source>
        <translation>&amp;Betreffzeilen</translation>
    </message>
    <message>
        <source>&amp;Week Numbers</source>
        <translation>&amp;Kalenderwochen</translation>
    </message>
    <message>
        <source>&amp;Day Marks...</source>
        <translation>&amp;Markierte Tage …</translation>
    </message>
    <message>
        <source>Shade public holidays and the days of other calendars</source>
        <translation>Feiertage und die Tage anderer Kalender hinterlegen</translation>
    </message>
    <message>
        <source>Show appointments that take part of a day, not only whole days</source>
        <translation>Auch Termine zeigen, die nur einen Teil des Tages dauern, nicht nur ganztägige</translation>
    </message>
    <message>
        <source>Write each appointment&apos;s subject on its bar</source>
        <translation>Den Betreff jedes Termins in seinen Balken schreiben</translation>
    </message>
    <message>
        <source>Number the weeks at their first day in each month</source>
        <translation>Die Wochen an ihrem ersten Tag in jedem Monat nummerieren</translation>
    </message>
    <message>
        <source>There is no calendar to open: %1</source>
        <translation>Es gibt keinen Kalender zum Öffnen: %1</translation>
    </message>
    <message>
        <source>The calendar opens now, but it could not be kept as the one to open next time: the settings cannot be written.</source>
        <translation>Der Kalender wird jetzt geöffnet, kann aber nicht als der beim nächsten Mal zu öffnende gespeichert werden: Die Einstellungen lassen sich nicht schreiben.</translation>
    </message>
</context>
<context>
    <name>PrintOptionsDialog</name>
    <message>
        <source>Print Options</source>
        <translation>Druckoptionen</translation>
    </message>
    <message>
        <source>Title:</source>
        <translation>Titel:</translation>
    </message>
    <message>
        <source>Margins:</source>
        <translation>Ränder:</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Links</translation>
    </message>
    <message>
        <source>Top</source>
        <translation>Oben</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Rechts</translation>
    </message>
    <message>
        <source>Bottom</source>
        <translation>Unten</translation>
    </message>
    <message>
        <source>Band:</source>
        <translation>Band:</translation>
    </message>
    <message>
        <source>Min. No. per Month</source>
        <translation>Min. Anzahl je Monat</translation>
    </message>
    <message>
        <source>Min. Height</source>
        <translation>Min. Höhe</translation>
    </message>
    <message>
        <source>Units</source>
        <translation>Einheiten</translation>
    </message>
    <message>
        <source>mm</source>
        <translation>mm</translation>
    </message>
    <message>
        <source>Inches</source>
        <translation>Zoll</translation>
    </message>
    <message>
        <source>Display Category Legend:</source>
        <translation>Kategorienlegende zeigen:</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Breite</translation>
    </message>
    <message>
        <source>Reprint on every page:</source>
        <translation>Auf jeder Seite wiederholen:</translation>
    </message>
    <message>
        <source>Display Automatic Year Heading:</source>
        <translation>Automatische Jahresüberschrift zeigen:</translation>
    </message>
    <message>
        <source>Display Subject Text:</source>
        <translation>Betreff zeigen:</translation>
    </message>
    <message>
        <source>Multiline and Crop</source>
        <translation>Mehrzeilig, abgeschnitten</translation>
    </message>
    <message>
        <source>Single Line with Ellipsis</source>
        <translation>Einzeilig mit Auslassungspunkten</translation>
    </message>
    <message>
        <source>Filter Months:</source>
        <translation>Monate auswählen:</translation>
    </message>
    <message>
        <source>From</source>
        <translation>Von</translation>
    </message>
    <message>
        <source>to end of</source>
        <translation>bis Ende</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>PrintPreviewWindow</name>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>Print year planner</source>
        <translation>Jahresplaner drucken</translation>
    </message>
    <message>
        <source>Printer</source>
        <translation>Drucker</translation>
    </message>
    <message>
        <source>Printer setup</source>
        <translation>Druckereinrichtung</translation>
    </message>
    <message>
        <source>Page Setup</source>
        <translation>Seite einrichten</translation>
    </message>
    <message>
        <source>Page setup - header, bands and margins</source>
        <translation>Seite einrichten – Kopfzeile, Bänder und Ränder</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Back one page</source>
        <translation>Eine Seite zurück</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Weiter</translation>
    </message>
    <message>
        <source>Next page</source>
        <translation>Nächste Seite</translation>
    </message>
    <message>
        <source>Print preview</source>
        <translation>Druckvorschau</translation>
    </message>
    <message>
        <source>PDF Files(*.pdf)|*.pdf|All Files(*.*)|*.*</source>
        <translation>PDF-Dateien(*.pdf)|*.pdf|Alle Dateien(*.*)|*.*</translation>
    </message>
    <message>
        <source>Print to PDF</source>
        <translation>Als PDF drucken</translation>
    </message>
    <message>
        <source>The pages could not be written to %1</source>
        <translation>Die Seiten konnten nicht nach %1 geschrieben werden</translation>
    </message>
    <message>
        <source>The pages are in %1</source>
        <translation>Die Seiten stehen in %1</translation>
    </message>
    <message>
        <source>The pages could not be printed on %1</source>
        <translation>Die Seiten konnten nicht auf %1 gedruckt werden</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Day Marks</source>
        <translation>Markierte Tage</translation>
    </message>
    <message>
        <source>Holidays...</source>
        <translation>Feiertage …</translation>
    </message>
    <message>
        <source>Public Holidays</source>
        <translation>Gesetzliche Feiertage</translation>
    </message>
    <message>
        <source>The region, as GNU gcal names it (DE_BY, US_CA, GB_EN, FR):</source>
        <translation>Die Region, wie GNU gcal sie nennt (DE_BY, US_CA, GB_EN, FR):</translation>
    </message>
    <message>
        <source>Calendar...</source>
        <translation>Kalender …</translation>
    </message>
    <message>
        <source>File...</source>
        <translation>Datei …</translation>
    </message>
    <message>
        <source>Calendar File</source>
        <translation>Kalenderdatei</translation>
    </message>
    <message>
        <source>Calendars (*.ics)</source>
        <translation>Kalender (*.ics)</translation>
    </message>
    <message>
        <source>Web Calendar...</source>
        <translation>Webkalender …</translation>
    </message>
    <message>
        <source>Subscribe to a calendar published at a web address: vdirsyncer fetches it and keeps it current</source>
        <translation>Einen unter einer Webadresse veröffentlichten Kalender abonnieren: vdirsyncer lädt ihn und hält ihn aktuell</translation>
    </message>
    <message>
        <source>Web Calendar</source>
        <translation>Webkalender</translation>
    </message>
    <message>
        <source>The address of the calendar (https://.../holidays.ics):</source>
        <translation>Die Adresse des Kalenders (https://…/feiertage.ics):</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Days to shade under the year:</source>
        <translation>Im Jahr zu hinterlegende Tage:</translation>
    </message>
    <message>
        <source>Open Calendar</source>
        <translation>Kalender öffnen</translation>
    </message>
    <message>
        <source>The calendar to show:</source>
        <translation>Der anzuzeigende Kalender:</translation>
    </message>
    <message>
        <source>This appointment repeats. The times below are those of its first occurrence, on %1; a change applies to every occurrence.</source>
        <translation>Dieser Termin wiederholt sich. Die Zeiten unten sind die seines ersten Vorkommens am %1; eine Änderung gilt für jedes Vorkommen.</translation>
    </message>
    <message>
        <source>You opened the occurrence on %1.</source>
        <translation>Sie haben das Vorkommen am %1 geöffnet.</translation>
    </message>
    <message>
        <source>Appointment</source>
        <translation>Termin</translation>
    </message>
    <message>
        <source> - Appointment</source>
        <translation> – Termin</translation>
    </message>
    <message>
        <source>All day event</source>
        <translation>Ganztägig</translation>
    </message>
    <message>
        <source>Reminder</source>
        <translation>Erinnerung</translation>
    </message>
    <message>
        <source>Subject:</source>
        <translation>Betreff:</translation>
    </message>
    <message>
        <source>Location:</source>
        <translation>Ort:</translation>
    </message>
    <message>
        <source>Start time:</source>
        <translation>Beginn:</translation>
    </message>
    <message>
        <source>End time:</source>
        <translation>Ende:</translation>
    </message>
    <message>
        <source>Categories:</source>
        <translation>Kategorien:</translation>
    </message>
    <message>
        <source>The end time you entered occurs before the start time.</source>
        <translation>Das eingegebene Ende liegt vor dem Beginn.</translation>
    </message>
    <message>
        <source>The appointment lasts more than ten years, from %1 to %2. Save it so?</source>
        <translation>Der Termin dauert mehr als zehn Jahre, vom %1 bis %2. Trotzdem so speichern?</translation>
    </message>
    <message>
        <source>Select Folder</source>
        <translation>Ordner auswählen</translation>
    </message>
    <message>
        <source>Categories</source>
        <translation>Kategorien</translation>
    </message>
    <message>
        <source>Add to List</source>
        <translation>Zur Liste hinzufügen</translation>
    </message>
</context>
<context>
    <name>SetupDialog</name>
    <message>
        <source>Quorvel Installer</source>
        <translation>Quorvel-Installer</translation>
    </message>
    <message>
        <source>About QuorvelSetup...</source>
        <translation>Über QuorvelSetup …</translation>
    </message>
    <message>
        <source>Welcome to the Quorvel Installer by Brenholt.</source>
        <translation>Willkommen beim Quorvel-Installer von Brenholt.</translation>
    </message>
    <message>
        <source>If you are installing locally for individual use, simply use the automatically generated Access String.</source>
        <translation>Wenn Sie lokal für sich selbst installieren, verwenden Sie einfach die automatisch erzeugte Zugriffszeichenfolge.</translation>
    </message>
    <message>
        <source>If you are installing remotely for multiple use, we recommend using a URL.  For detailed instructions on setting the Access String, please click the Help button.</source>
        <translation>Wenn Sie entfernt für mehrere Benutzer installieren, empfehlen wir eine URL.  Eine ausführliche Anleitung zur Zugriffszeichenfolge zeigt die Schaltfläche Hilfe.</translation>
    </message>
    <message>
        <source>Mandatory Settings</source>
        <translation>Pflichtangaben</translation>
    </message>
    <message>
        <source>Press to specify/create destination folder</source>
        <translation>Klicken, um den Zielordner anzugeben oder anzulegen</translation>
    </message>
    <message>
        <source>Press to specify outlook calendar folder</source>
        <translation>Klicken, um den Kalenderordner anzugeben</translation>
    </message>
    <message>
        <source>Installation Folder</source>
        <translation>Installationsordner</translation>
    </message>
    <message>
        <source>Calendar Folder</source>
        <translation>Kalenderordner</translation>
    </message>
    <message>
        <source>Access String</source>
        <translation>Zugriffszeichenfolge</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Install</source>
        <translation>Installieren</translation>
    </message>
    <message>
        <source>Press to install the Quorvel control</source>
        <translation>Klicken, um das Quorvel-Steuerelement zu installieren</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Press to cancel installation, and exit installer</source>
        <translation>Klicken, um die Installation abzubrechen und den Installer zu beenden</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Press to view installation notes</source>
        <translation>Klicken, um die Installationshinweise zu lesen</translation>
    </message>
    <message>
        <source>CalDAV...</source>
        <translation>CalDAV …</translation>
    </message>
    <message>
        <source>Press to connect a CalDAV account, whose calendars then open in the planner</source>
        <translation>Klicken, um ein CalDAV-Konto zu verbinden, dessen Kalender sich dann im Planer öffnen</translation>
    </message>
    <message>
        <source>Optional Settings</source>
        <translation>Optionale Einstellungen</translation>
    </message>
    <message>
        <source>(Default is checked, i.e. All Events, not just All Day Events)</source>
        <translation>(Vorgabe: angekreuzt, d. h. alle Termine, nicht nur ganztägige)</translation>
    </message>
    <message>
        <source>(Default is unchecked, i.e. event bands without text)</source>
        <translation>(Vorgabe: nicht angekreuzt, d. h. Terminbalken ohne Text)</translation>
    </message>
    <message>
        <source>(Default is unchecked, i.e. display all events regardless of category)</source>
        <translation>(Vorgabe: nicht angekreuzt, d. h. alle Termine unabhängig von der Kategorie zeigen)</translation>
    </message>
    <message>
        <source>Display All Events</source>
        <translation>Alle Termine zeigen</translation>
    </message>
    <message>
        <source>Display Subject</source>
        <translation>Betreff zeigen</translation>
    </message>
    <message>
        <source>Hide Non-categorised Events</source>
        <translation>Termine ohne Kategorie ausblenden</translation>
    </message>
    <message>
        <source>Start Month</source>
        <translation>Erster Monat</translation>
    </message>
    <message>
        <source>Please close Outlook before proceeding.</source>
        <translation>Bitte schließen Sie das Kalenderprogramm, bevor Sie fortfahren.</translation>
    </message>
    <message>
        <source>Thank you for closing outlook.</source>
        <translation>Danke, dass Sie das Kalenderprogramm geschlossen haben.</translation>
    </message>
    <message>
        <source>About QuorvelSetup</source>
        <translation>Über QuorvelSetup</translation>
    </message>
</context>
<context>
    <name>YearPlan</name>
    <message>
        <source>Update indicator</source>
        <translation>Aktualisierungsanzeige</translation>
    </message>
    <message>
        <source>Reading the calendar for the first time: the year&apos;s appointments appear as soon as it is read.</source>
        <translation>Der Kalender wird zum ersten Mal gelesen: Die Termine des Jahres erscheinen, sobald er gelesen ist.</translation>
    </message>
</context>
<context>
    <name>quorvel</name>
    <message>
        <source>Shows one calendar folder as a year planner. Without a profile of your own it opens the calendars khal and vdirsyncer are set up for, and the bundled demo calendar where there are none.</source>
        <translation>Zeigt einen Kalenderordner als Jahresplaner. Ohne eigenes Profil öffnet das Programm die Kalender, für die khal und vdirsyncer eingerichtet sind, und wo es keine gibt, den mitgelieferten Beispielkalender.</translation>
    </message>
    <message>
        <source>The profile listing the calendar stores.</source>
        <translation>Das Profil, das die Kalenderspeicher aufführt.</translation>
    </message>
    <message>
        <source>The calendar folder to show (store name and folders, separated by \).</source>
        <translation>Der anzuzeigende Kalenderordner (Speichername und Ordner, getrennt durch \).</translation>
    </message>
    <message>
        <source>The calendar folder to show, by its entry identifier.</source>
        <translation>Der anzuzeigende Kalenderordner, nach seiner Eintragskennung.</translation>
    </message>
    <message>
        <source>The planner&apos;s title: it names the category colours and the filter it uses.</source>
        <translation>Der Titel des Planers: Er benennt die Kategoriefarben und den Filter, die er verwendet.</translation>
    </message>
    <message>
        <source>The month the planner year begins with, 1-12.</source>
        <translation>Der Monat, mit dem das Planerjahr beginnt, 1–12.</translation>
    </message>
    <message>
        <source>The year to show first (the planner year that begins in it).</source>
        <translation>Das zuerst gezeigte Jahr (das Planerjahr, das in ihm beginnt).</translation>
    </message>
    <message>
        <source>Show timed appointments too, not only whole days.</source>
        <translation>Auch Termine mit Uhrzeit zeigen, nicht nur ganztägige.</translation>
    </message>
    <message>
        <source>Write the subjects into the bars.</source>
        <translation>Die Betreffzeilen in die Balken schreiben.</translation>
    </message>
    <message>
        <source>Hide appointments of no category in the table.</source>
        <translation>Termine ohne Kategorie der Tabelle ausblenden.</translation>
    </message>
    <message>
        <source>Days to mark under the year for this run: holidays:REGION (DE_BY, FR; +regional for those of parts of it), calendar:Store\Folder, file:FILE.ics or subscription:URL (a web calendar vdirsyncer has fetched), separated by commas.</source>
        <translation>Für diesen Lauf im Jahr zu markierende Tage: holidays:REGION (DE_BY, FR; +regional für die von Teilen davon), calendar:Speicher\Ordner, file:DATEI.ics oder subscription:URL (ein Webkalender, den vdirsyncer geladen hat), durch Kommas getrennt.</translation>
    </message>
    <message>
        <source>Number the weeks on the grid for this run.</source>
        <translation>Für diesen Lauf die Wochen im Raster nummerieren.</translation>
    </message>
    <message>
        <source>The window&apos;s size in pixels, e.g. 700x450.</source>
        <translation>Die Größe des Fensters in Pixeln, z. B. 700x450.</translation>
    </message>
    <message>
        <source>Save a picture of the window once the year is drawn, then quit.</source>
        <translation>Ein Bild des Fensters speichern, sobald das Jahr gezeichnet ist, dann beenden.</translation>
    </message>
    <message>
        <source>Print the milliseconds until the first year is drawn, then quit.</source>
        <translation>Die Millisekunden bis zum Zeichnen des ersten Jahres ausgeben, dann beenden.</translation>
    </message>
    <message>
        <source>Print the planner&apos;s properties as it was created (name=value lines), then quit.</source>
        <translation>Die Eigenschaften des Planers bei seiner Erstellung ausgeben (Zeilen name=wert), dann beenden.</translation>
    </message>
    <message>
        <source>--start-month is a month from 1 to 12</source>
        <translation>--start-month ist ein Monat von 1 bis 12</translation>
    </message>
    <message>
        <source>--year is a year from 100 to 9998</source>
        <translation>--year ist ein Jahr von 100 bis 9998</translation>
    </message>
    <message>
        <source>--window-size is a width and a height in pixels, e.g. 700x450</source>
        <translation>--window-size ist eine Breite und eine Höhe in Pixeln, z. B. 700x450</translation>
    </message>
    <message>
        <source>--marks cannot read %1</source>
        <translation>--marks kann %1 nicht lesen</translation>
    </message>
    <message>
        <source>Open this store directory alone (desktop: the desktop&apos;s calendars).</source>
        <translation>Nur dieses Speicherverzeichnis öffnen (desktop: die Kalender der Arbeitsumgebung).</translation>
    </message>
</context>
<context>
    <name>quorvel-cache</name>
    <message>
        <source>Writes a planner cache file from a tab-separated list of appointments (make LIST CACHE),
or loads one as the planner does and prints where each appointment lands (print CACHE).</source>
        <translation>Schreibt eine Zwischenspeicherdatei des Planers aus einer tabulatorgetrennten Terminliste (make LISTE CACHE),
oder lädt eine wie der Planer und gibt aus, wo jeder Termin landet (print CACHE).</translation>
    </message>
    <message>
        <source>make or print</source>
        <translation>make oder print</translation>
    </message>
    <message>
        <source>Selected year (default: this year).</source>
        <translation>Gewähltes Jahr (Vorgabe: dieses Jahr).</translation>
    </message>
    <message>
        <source>First month of the planner year (1-12).</source>
        <translation>Erster Monat des Planerjahres (1–12).</translation>
    </message>
</context>
<context>
    <name>quorvel-export</name>
    <message>
        <source>Exports the category table of a planner and the appointments it shows to an XML file, e.g. quorvel-export --folder &quot;Personal Folders\Calendar&quot; --from 2026-01-01 --to 2026-12-31 year.xml</source>
        <translation>Exportiert die Kategorientabelle eines Planers und die Termine, die er zeigt, in eine XML-Datei, z. B. quorvel-export --folder &quot;Personal Folders\Calendar&quot; --from 2026-01-01 --to 2026-12-31 jahr.xml</translation>
    </message>
    <message>
        <source>The XML file to write.</source>
        <translation>Die zu schreibende XML-Datei.</translation>
    </message>
    <message>
        <source>The calendar folder (store name and folders, separated by \); default: the default calendar.</source>
        <translation>Der Kalenderordner (Speichername und Ordner, getrennt durch \); Vorgabe: der Standardkalender.</translation>
    </message>
    <message>
        <source>The planner title whose category table and filter to use.</source>
        <translation>Der Planertitel, dessen Kategorientabelle und Filter verwendet werden.</translation>
    </message>
    <message>
        <source>The month the planner year begins with, 1-12.</source>
        <translation>Der Monat, mit dem das Planerjahr beginnt, 1–12.</translation>
    </message>
    <message>
        <source>Timed appointments too, not only whole days.</source>
        <translation>Auch Termine mit Uhrzeit, nicht nur ganztägige.</translation>
    </message>
    <message>
        <source>Leave out appointments of no category in the table.</source>
        <translation>Termine ohne Kategorie der Tabelle weglassen.</translation>
    </message>
    <message>
        <source>A day of the first planner year to write (YYYY-MM-DD or the user&apos;s short date).</source>
        <translation>Ein Tag des ersten zu schreibenden Planerjahres (JJJJ-MM-TT oder das kurze Datum des Benutzers).</translation>
    </message>
    <message>
        <source>A day of the last planner year to write.</source>
        <translation>Ein Tag des letzten zu schreibenden Planerjahres.</translation>
    </message>
    <message>
        <source>Write the category table alone.</source>
        <translation>Nur die Kategorientabelle schreiben.</translation>
    </message>
</context>
<context>
    <name>quorvel-import</name>
    <message>
        <source>Imports the events of an iCalendar file into a calendar folder, e.g. quorvel-import team.ics &quot;Personal Folders\Calendar\Team&quot;.</source>
        <translation>Importiert die Ereignisse einer iCalendar-Datei in einen Kalenderordner, z. B. quorvel-import team.ics &quot;Personal Folders\Calendar\Team&quot;.</translation>
    </message>
    <message>
        <source>The .ics file to import.</source>
        <translation>Die zu importierende .ics-Datei.</translation>
    </message>
    <message>
        <source>Store name and folders, separated by \.</source>
        <translation>Speichername und Ordner, getrennt durch \.</translation>
    </message>
    <message>
        <source>Create the folder, and the store&apos;s directory, when missing.</source>
        <translation>Den Ordner und das Verzeichnis des Speichers anlegen, wenn sie fehlen.</translation>
    </message>
    <message>
        <source>%1 (--create makes it)</source>
        <translation>%1 (--create legt ihn an)</translation>
    </message>
</context>
<context>
    <name>quorvel-list</name>
    <message>
        <source>Lists the appointments of a calendar folder from FROM to TO (YYYY-MM-DD, both included).</source>
        <translation>Listet die Termine eines Kalenderordners von FROM bis TO auf (JJJJ-MM-TT, beide eingeschlossen).</translation>
    </message>
    <message>
        <source>Store name and folders, separated by \.</source>
        <translation>Speichername und Ordner, getrennt durch \.</translation>
    </message>
    <message>
        <source>First day.</source>
        <translation>Erster Tag.</translation>
    </message>
    <message>
        <source>Last day.</source>
        <translation>Letzter Tag.</translation>
    </message>
    <message>
        <source>Print the category table of the planner titled TITLE instead (name|colour lines, colours 0x00BBGGRR in decimal).</source>
        <translation>Stattdessen die Kategorientabelle des Planers mit dem Titel TITLE ausgeben (Zeilen name|farbe, Farben 0x00BBGGRR dezimal).</translation>
    </message>
</context>
<context>
    <name>quorvel-render</name>
    <message>
        <source>Draws a planner year into a PNG or PDF file, or prints it over pages into a PDF file (--pages).</source>
        <translation>Zeichnet ein Planerjahr in eine PNG- oder PDF-Datei oder druckt es über Seiten in eine PDF-Datei (--pages).</translation>
    </message>
    <message>
        <source>The file to write, .png or .pdf (not with --pages).</source>
        <translation>Die zu schreibende Datei, .png oder .pdf (nicht mit --pages).</translation>
    </message>
    <message>
        <source>The calendar folder (store name and folders, separated by \); default: the default calendar.</source>
        <translation>Der Kalenderordner (Speichername und Ordner, getrennt durch \); Vorgabe: der Standardkalender.</translation>
    </message>
    <message>
        <source>Draw from this cache file instead of a folder.</source>
        <translation>Aus dieser Zwischenspeicherdatei statt aus einem Ordner zeichnen.</translation>
    </message>
    <message>
        <source>Selected year (default: the planner year of today).</source>
        <translation>Gewähltes Jahr (Vorgabe: das Planerjahr von heute).</translation>
    </message>
    <message>
        <source>First month of the planner year, 1-12 (default 1).</source>
        <translation>Erster Monat des Planerjahres, 1–12 (Vorgabe 1).</translation>
    </message>
    <message>
        <source>Image size in pixels (default 1600x900).</source>
        <translation>Bildgröße in Pixeln (Vorgabe 1600x900).</translation>
    </message>
    <message>
        <source>Write the subjects into the bars.</source>
        <translation>Die Betreffzeilen in die Balken schreiben.</translation>
    </message>
    <message>
        <source>Show timed appointments too, not only whole days.</source>
        <translation>Auch Termine mit Uhrzeit zeigen, nicht nur ganztägige.</translation>
    </message>
    <message>
        <source>Leave out the weekday and month headings.</source>
        <translation>Die Wochentags- und Monatsüberschriften weglassen.</translation>
    </message>
    <message>
        <source>The day to mark as today, YYYY-MM-DD (default: today).</source>
        <translation>Der als heute zu markierende Tag, JJJJ-MM-TT (Vorgabe: heute).</translation>
    </message>
    <message>
        <source>Month and weekday names of this locale (default: the user&apos;s).</source>
        <translation>Monats- und Wochentagsnamen dieses Gebietsschemas (Vorgabe: das des Benutzers).</translation>
    </message>
    <message>
        <source>The planner title whose category colours, filter and print settings to use (default: Default).</source>
        <translation>Der Planertitel, dessen Kategoriefarben, Filter und Druckeinstellungen verwendet werden (Vorgabe: Default).</translation>
    </message>
    <message>
        <source>Print the year into this PDF file, over pages as the print preview lays them out with the title&apos;s stored print settings.</source>
        <translation>Das Jahr in diese PDF-Datei drucken, über Seiten, wie die Druckvorschau sie mit den gespeicherten Druckeinstellungen des Titels anordnet.</translation>
    </message>
    <message>
        <source>With --pages: the paper size code instead of the stored one (8 A3, 9 A4, 1 Letter).</source>
        <translation>Mit --pages: der Code des Papierformats statt des gespeicherten (8 A3, 9 A4, 1 Letter).</translation>
    </message>
    <message>
        <source>With --pages: portrait or landscape instead of the stored orientation.</source>
        <translation>Mit --pages: portrait (Hochformat) oder landscape (Querformat) statt der gespeicherten Ausrichtung.</translation>
    </message>
    <message>
        <source>Days to mark under the year instead of the title&apos;s: holidays:REGION (DE_BY, FR; +regional for those of parts of it), calendar:Store\Folder, file:FILE.ics or subscription:URL (a web calendar vdirsyncer has fetched), separated by commas.</source>
        <translation>Im Jahr zu markierende Tage statt der des Titels: holidays:REGION (DE_BY, FR; +regional für die von Teilen davon), calendar:Speicher\Ordner, file:DATEI.ics oder subscription:URL (ein Webkalender, den vdirsyncer geladen hat), durch Kommas getrennt.</translation>
    </message>
    <message>
        <source>Number the weeks on the grid.</source>
        <translation>Die Wochen im Raster nummerieren.</translation>
    </message>
</context>
<context>
    <name>quorvel-setup</name>
    <message>
        <source>Deploys the Quorvel planner pages for a calendar folder, or connects a CalDAV account (--caldav) so that its calendars open in the planner.</source>
        <translation>Richtet die Quorvel-Planerseiten für einen Kalenderordner ein oder verbindet ein CalDAV-Konto (--caldav), sodass sich seine Kalender im Planer öffnen.</translation>
    </message>
    <message>
        <source>Where the page templates are (default: the start-up directory, else beside the program).</source>
        <translation>Wo die Seitenvorlagen liegen (Vorgabe: das Startverzeichnis, sonst neben dem Programm).</translation>
    </message>
    <message>
        <source>Save a picture of the installer window, then quit.</source>
        <translation>Ein Bild des Installer-Fensters speichern, dann beenden.</translation>
    </message>
    <message>
        <source>Connect the CalDAV account at this address: its calendars are synchronised by vdirsyncer (every five minutes, by a systemd user timer) and open in the planner.</source>
        <translation>Das CalDAV-Konto unter dieser Adresse verbinden: Seine Kalender gleicht vdirsyncer ab (alle fünf Minuten, durch einen systemd-Benutzertimer), und sie öffnen sich im Planer.</translation>
    </message>
    <message>
        <source>The user name of the CalDAV account.</source>
        <translation>Der Benutzername des CalDAV-Kontos.</translation>
    </message>
    <message>
        <source>A command that prints the account&apos;s password (default: secret-tool lookup service quorvel-caldav url URL user NAME). The password is never written down.</source>
        <translation>Ein Befehl, der das Passwort des Kontos ausgibt (Vorgabe: secret-tool lookup service quorvel-caldav url URL user NAME). Das Passwort wird nie aufgeschrieben.</translation>
    </message>
    <message>
        <source>Where the account&apos;s calendars are kept (default: ~/.local/share/quorvel/caldav/ACCOUNT). A directory that holds files already is refused, unless --upload-existing is given.</source>
        <translation>Wo die Kalender des Kontos liegen (Vorgabe: ~/.local/share/quorvel/caldav/KONTO). Ein Verzeichnis, das schon Dateien enthält, wird abgelehnt, außer mit --upload-existing.</translation>
    </message>
    <message>
        <source>Connect over a --collections directory that holds calendars already, uploading them to the server.</source>
        <translation>Über ein --collections-Verzeichnis verbinden, das schon Kalender enthält, und diese auf den Server hochladen.</translation>
    </message>
    <message>
        <source>Used by the synchronisation: settles two versions of an item (the category table merged by name, else the later one kept and the other saved as a copy in the account&apos;s calendars under DIR).</source>
        <translation>Vom Abgleich verwendet: führt zwei Fassungen eines Elements zusammen (die Kategorientabelle nach Namen, sonst bleibt die spätere und die andere wird als Kopie in den Kalendern des Kontos unter DIR gespeichert).</translation>
    </message>
</context>
<context>
    <name>store options</name>
    <message>
        <source>The profile listing the calendar stores (default: $QUORVEL_PROFILE, else ~/.config/Quorvel/profile.ini; without one, the calendars khal and vdirsyncer are set up for).</source>
        <translation>Das Profil, das die Kalenderspeicher aufführt (Vorgabe: $QUORVEL_PROFILE, sonst ~/.config/Quorvel/profile.ini; ohne eines die Kalender, für die khal und vdirsyncer eingerichtet sind).</translation>
    </message>
    <message>
        <source>Open this store directory alone instead of the profile&apos;s stores (desktop: the desktop&apos;s calendars).</source>
        <translation>Nur dieses Speicherverzeichnis statt der Speicher des Profils öffnen (desktop: die Kalender der Arbeitsumgebung).</translation>
    </message>
</context>
</TS>
