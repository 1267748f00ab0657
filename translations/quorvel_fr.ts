<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>AppointmentCommands</name>
    <message>
        <source>Delete this appointment %1?</source>
        <translation>Supprimer le rendez-vous « %1 » ?</translation>
    </message>
</context>
<context>
    <name>AppointmentMenu</name>
    <message>
        <source>Edit Appointment</source>
        <translation>Modifier le rendez-vous</translation>
    </message>
    <message>
        <source>Delete Appointment</source>
        <translation>Supprimer le rendez-vous</translation>
    </message>
    <message>
        <source>Clear Selection</source>
        <translation>Effacer la sélection</translation>
    </message>
    <message>
        <source>New Appointment</source>
        <translation>Nouveau rendez-vous</translation>
    </message>
</context>
<context>
    <name>CalDavConnection</name>
    <message>
        <source>The server refused the user name or password of %1.</source>
        <translation>Le serveur a refusé le nom d’utilisateur ou le mot de passe de %1.</translation>
    </message>
    <message>
        <source>The password could not be read: the command that gives it failed.</source>
        <translation>Le mot de passe n’a pas pu être lu : la commande qui le fournit a échoué.</translation>
    </message>
    <message>
        <source>The server at %1 cannot be reached.</source>
        <translation>Le serveur à %1 est injoignable.</translation>
    </message>
    <message>
        <source>There is no calendar account at %1.</source>
        <translation>Il n’y a pas de compte de calendrier à %1.</translation>
    </message>
    <message>
        <source>The server&apos;s certificate for %1 is not trusted.</source>
        <translation>Le certificat du serveur pour %1 n’est pas approuvé.</translation>
    </message>
    <message>
        <source>%1 holds files already: connecting would upload them to the server. Choose an empty directory for the account&apos;s calendars, or ask for what is there to be uploaded.</source>
        <translation>%1 contient déjà des fichiers : la connexion les enverrait au serveur. Choisissez un répertoire vide pour les calendriers du compte, ou demandez que son contenu soit envoyé.</translation>
    </message>
    <message>
        <source>The account is in %1</source>
        <translation>Le compte est dans %1</translation>
    </message>
    <message>
        <source>%1 cannot be run: %2</source>
        <translation>%1 ne peut pas être lancé : %2</translation>
    </message>
    <message>
        <source>vdirsyncer could not %1: %2</source>
        <translation>vdirsyncer n’a pas pu exécuter %1 : %2</translation>
    </message>
    <message>
        <source>it failed</source>
        <translation>échec</translation>
    </message>
    <message>
        <source>To keep the calendars current, run &quot;vdirsyncer -c %1 sync&quot; every few minutes (from cron, say).</source>
        <translation>Pour tenir les calendriers à jour, lancez « vdirsyncer -c %1 sync » toutes les quelques minutes (par cron, par exemple).</translation>
    </message>
    <message>
        <source>The timer&apos;s units cannot be written to %1. </source>
        <translation>Les unités du minuteur ne peuvent pas être écrites dans %1. </translation>
    </message>
    <message>
        <source>systemd is not here. </source>
        <translation>systemd n’est pas présent. </translation>
    </message>
    <message>
        <source>The timer could not be started (%1). </source>
        <translation>Le minuteur n’a pas pu être démarré (%1). </translation>
    </message>
    <message>
        <source>The calendars are synchronised every five minutes (%1).</source>
        <translation>Les calendriers sont synchronisés toutes les cinq minutes (%1).</translation>
    </message>
    <message>
        <source>vdirsyncer is not installed: it keeps the calendars of a CalDAV account (Debian&apos;s package vdirsyncer).</source>
        <translation>vdirsyncer n’est pas installé : il conserve les calendriers d’un compte CalDAV (paquet Debian vdirsyncer).</translation>
    </message>
    <message>
        <source>A CalDAV account needs the server&apos;s address and a user name.</source>
        <translation>Un compte CalDAV nécessite l’adresse du serveur et un nom d’utilisateur.</translation>
    </message>
    <message>
        <source>Looking for the account&apos;s calendars at %1</source>
        <translation>Recherche des calendriers du compte à %1</translation>
    </message>
    <message>
        <source>Reading the calendars&apos; names and colours</source>
        <translation>Lecture des noms et des couleurs des calendriers</translation>
    </message>
    <message>
        <source>Synchronising the calendars into %1</source>
        <translation>Synchronisation des calendriers dans %1</translation>
    </message>
    <message>
        <source>Quorvel opens the calendar &quot;%1&quot; next.</source>
        <translation>Quorvel ouvrira ensuite le calendrier « %1 ».</translation>
    </message>
    <message>
        <source>The vdirsyncer configuration %1 cannot be written: %2</source>
        <translation>La configuration de vdirsyncer %1 ne peut pas être écrite : %2</translation>
    </message>
</context>
<context>
    <name>CalDavDialog</name>
    <message>
        <source>Connect a CalDAV Account</source>
        <translation>Connecter un compte CalDAV</translation>
    </message>
    <message>
        <source>The account&apos;s calendars are kept on this computer by vdirsyncer, synchronised every five minutes, and open in the planner.</source>
        <translation>Les calendriers du compte sont conservés sur cet ordinateur par vdirsyncer, synchronisés toutes les cinq minutes, et s’ouvrent dans le planning.</translation>
    </message>
    <message>
        <source>secret-tool lookup … (the default)</source>
        <translation>secret-tool lookup … (par défaut)</translation>
    </message>
    <message>
        <source>Server address</source>
        <translation>Adresse du serveur</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>Nom d’utilisateur</translation>
    </message>
    <message>
        <source>Password command</source>
        <translation>Commande du mot de passe</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Connecter</translation>
    </message>
    <message>
        <source>Connected: open the planner to see the account&apos;s calendars.</source>
        <translation>Connecté : ouvrez le planning pour voir les calendriers du compte.</translation>
    </message>
</context>
<context>
    <name>Calendar store</name>
    <message>
        <source>One occurrence cannot be changed here; open the series.</source>
        <translation>Une occurrence seule ne peut pas être modifiée ici ; ouvrez la série.</translation>
    </message>
    <message>
        <source>The item %1 shares the file %2 with events that cannot be read, and is not written</source>
        <translation>L’élément %1 partage le fichier %2 avec des événements illisibles, et n’est pas écrit</translation>
    </message>
    <message>
        <source>Cannot write the folder settings of %1</source>
        <translation>Impossible d’écrire les paramètres du dossier %1</translation>
    </message>
    <message>
        <source>Cannot create the folder.</source>
        <translation>Impossible de créer le dossier.</translation>
    </message>
    <message>
        <source>Cannot create the folder %1</source>
        <translation>Impossible de créer le dossier %1</translation>
    </message>
    <message>
        <source>The item %1 could not be read back: %2</source>
        <translation>L’élément %1 n’a pas pu être relu : %2</translation>
    </message>
    <message>
        <source>The imported items could not be stored on the disk</source>
        <translation>Les éléments importés n’ont pas pu être enregistrés sur le disque</translation>
    </message>
    <message>
        <source>there is no folder &quot;%1&quot;: the profile names no store that exists</source>
        <translation>il n’y a pas de dossier « %1 » : le profil ne nomme aucun magasin existant</translation>
    </message>
    <message>
        <source>there is no folder &quot;%1&quot;; the folders are: %2</source>
        <translation>il n’y a pas de dossier « %1 » ; les dossiers sont : %2</translation>
    </message>
    <message>
        <source>The calendar %1 is read-only: the change is not saved</source>
        <translation>Le calendrier %1 est en lecture seule : la modification n&apos;est pas enregistrée</translation>
    </message>
    <message>
        <source>The calendar %1 did not take the change: %2</source>
        <translation>Le calendrier %1 n&apos;a pas accepté la modification : %2</translation>
    </message>
    <message>
        <source>The calendar %1 cannot be read: %2</source>
        <translation>Le calendrier %1 ne peut pas être lu : %2</translation>
    </message>
    <message>
        <source>the desktop has no such calendar</source>
        <translation>le bureau n&apos;a pas ce calendrier</translation>
    </message>
</context>
<context>
    <name>DayMarks</name>
    <message>
        <source>Public holidays need GNU gcal (Debian&apos;s package gcal)</source>
        <translation>Les jours fériés nécessitent GNU gcal (paquet Debian gcal)</translation>
    </message>
    <message>
        <source>%1 has not been fetched yet (vdirsyncer sync %2)</source>
        <translation>%1 n’a pas encore été récupéré (vdirsyncer sync %2)</translation>
    </message>
    <message>
        <source>%1 is not there</source>
        <translation>%1 est introuvable</translation>
    </message>
    <message>
        <source>%1 is no web address of a calendar (https://...)</source>
        <translation>%1 n’est pas l’adresse web d’un calendrier (https://…)</translation>
    </message>
    <message>
        <source>vdirsyncer is not installed: it fetches subscribed calendars (Debian&apos;s package vdirsyncer).</source>
        <translation>vdirsyncer n’est pas installé : il récupère les calendriers abonnés (paquet Debian vdirsyncer).</translation>
    </message>
    <message>
        <source>%1 cannot be run: %2</source>
        <translation>%1 ne peut pas être lancé : %2</translation>
    </message>
    <message>
        <source>vdirsyncer could not fetch %1: %2</source>
        <translation>vdirsyncer n’a pas pu récupérer %1 : %2</translation>
    </message>
</context>
<context>
    <name>Errors</name>
    <message>
        <source>Error: %1 %2</source>
        <translation>Erreur : %1 %2</translation>
    </message>
    <message>
        <source>Invalid procedure call or argument</source>
        <translation>Appel de procédure ou argument incorrect</translation>
    </message>
    <message>
        <source>Overflow</source>
        <translation>Dépassement de capacité</translation>
    </message>
    <message>
        <source>Out of memory</source>
        <translation>Mémoire insuffisante</translation>
    </message>
    <message>
        <source>Subscript out of range</source>
        <translation>L’indice n’appartient pas à la sélection</translation>
    </message>
    <message>
        <source>Internal error</source>
        <translation>Erreur interne</translation>
    </message>
    <message>
        <source>Type mismatch</source>
        <translation>Incompatibilité de type</translation>
    </message>
    <message>
        <source>The process cannot access the file because it is being used by another process.</source>
        <translation>Le processus ne peut pas accéder au fichier car il est utilisé par un autre processus.</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>Permission refusée</translation>
    </message>
    <message>
        <source>Object variable or With block variable not set</source>
        <translation>Variable objet ou variable de bloc With non définie</translation>
    </message>
    <message>
        <source>ActiveX component can&apos;t create object</source>
        <translation>Impossible de créer l’objet</translation>
    </message>
    <message>
        <source>The remote server machine does not exist or is unavailable</source>
        <translation>Le serveur distant n’existe pas ou est indisponible</translation>
    </message>
    <message>
        <source>The operation is not allowed.</source>
        <translation>L’opération n’est pas autorisée.</translation>
    </message>
    <message>
        <source>The user profile or user identity is invalid or does not have the appropriate permissions</source>
        <translation>Le profil ou l’identité de l’utilisateur n’est pas valide ou n’a pas les autorisations nécessaires</translation>
    </message>
    <message>
        <source>The operation failed. An object could not be found.</source>
        <translation>L’opération a échoué. Un objet est introuvable.</translation>
    </message>
    <message>
        <source>Application-defined or object-defined error</source>
        <translation>Erreur définie par l’application ou par l’objet</translation>
    </message>
</context>
<context>
    <name>FileError</name>
    <message>
        <source>Bad file name or number</source>
        <translation>Nom ou numéro de fichier incorrect</translation>
    </message>
    <message>
        <source>File not found</source>
        <translation>Fichier introuvable</translation>
    </message>
    <message>
        <source>Bad file mode</source>
        <translation>Mode de fichier incorrect</translation>
    </message>
    <message>
        <source>File already open</source>
        <translation>Fichier déjà ouvert</translation>
    </message>
    <message>
        <source>Disk full</source>
        <translation>Disque plein</translation>
    </message>
    <message>
        <source>File already exists</source>
        <translation>Le fichier existe déjà</translation>
    </message>
    <message>
        <source>Input past end of file</source>
        <translation>Lecture au-delà de la fin du fichier</translation>
    </message>
    <message>
        <source>Bad file name</source>
        <translation>Nom de fichier incorrect</translation>
    </message>
    <message>
        <source>Too many files</source>
        <translation>Trop de fichiers</translation>
    </message>
    <message>
        <source>Device unavailable</source>
        <translation>Périphérique indisponible</translation>
    </message>
    <message>
        <source>Disk not ready</source>
        <translation>Disque non prêt</translation>
    </message>
    <message>
        <source>Path/File access error</source>
        <translation>Erreur d’accès au chemin ou au fichier</translation>
    </message>
    <message>
        <source>Path not found</source>
        <translation>Chemin introuvable</translation>
    </message>
    <message>
        <source>File error</source>
        <translation>Erreur de fichier</translation>
    </message>
    <message>
        <source>That filename is illegal.</source>
        <translation>Ce nom de fichier n’est pas autorisé.</translation>
    </message>
    <message>
        <source>Can&apos;t open your file for that type of access.</source>
        <translation>Impossible d’ouvrir le fichier pour ce type d’accès.</translation>
    </message>
    <message>
        <source>That file is already open.</source>
        <translation>Ce fichier est déjà ouvert.</translation>
    </message>
    <message>
        <source>The disk is full.</source>
        <translation>Le disque est plein.</translation>
    </message>
    <message>
        <source>This file has a nonstandard end-of-file marker,or an attempt was made to read beyond the end-of-file marker.</source>
        <translation>Ce fichier a une marque de fin de fichier non standard, ou une lecture au-delà de la marque de fin de fichier a été tentée.</translation>
    </message>
    <message>
        <source>That device appears to be unavailable.</source>
        <translation>Ce périphérique semble indisponible.</translation>
    </message>
    <message>
        <source>The disk is not ready.</source>
        <translation>Le disque n’est pas prêt.</translation>
    </message>
    <message>
        <source>That path doesn&apos;t exist.</source>
        <translation>Ce chemin n’existe pas.</translation>
    </message>
    <message>
        <source>File Error</source>
        <translation>Erreur de fichier</translation>
    </message>
</context>
<context>
    <name>FilterDialog</name>
    <message>
        <source>Category Filtering</source>
        <translation>Filtrer par catégories</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Effacer</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Available categories:</source>
        <translation>Catégories disponibles :</translation>
    </message>
    <message>
        <source>Item(s) belong to these categories:</source>
        <translation>Les éléments appartiennent à ces catégories :</translation>
    </message>
</context>
<context>
    <name>FilterModel</name>
    <message>
        <source>Click to define a filter</source>
        <translation>Cliquer pour définir un filtre</translation>
    </message>
    <message>
        <source>Active Filter: %1</source>
        <translation>Filtre actif : %1</translation>
    </message>
</context>
<context>
    <name>GridArea</name>
    <message>
        <source>Force refresh of current year</source>
        <translation>Relire l’année affichée</translation>
    </message>
</context>
<context>
    <name>Installer</name>
    <message>
        <source>Destination Path</source>
        <translation>Chemin de destination</translation>
    </message>
    <message>
        <source>Failed whilst initialising Outlook!</source>
        <translation>Échec de l’initialisation de l’accès au calendrier !</translation>
    </message>
    <message>
        <source>%1 is not a Calendar folder!</source>
        <translation>%1 n’est pas un dossier de calendrier !</translation>
    </message>
    <message>
        <source>An unexpected error has occurred related to Outlook!</source>
        <translation>Une erreur inattendue s’est produite lors de l’accès au calendrier !</translation>
    </message>
    <message>
        <source>Specified title contains an invalid character.  Invalid characters are: %1</source>
        <translation>Le titre indiqué contient un caractère non valide.  Les caractères non valides sont : %1</translation>
    </message>
    <message>
        <source>Source and destination appear to be the same?!: %1</source>
        <translation>La source et la destination semblent identiques ?! : %1</translation>
    </message>
    <message>
        <source>Unable to copy HTML file from source to destination!</source>
        <translation>Impossible de copier le fichier HTML de la source vers la destination !</translation>
    </message>
    <message>
        <source>Unable to copy CAB file from source to destination!</source>
        <translation>Impossible de copier le fichier CAB de la source vers la destination !</translation>
    </message>
    <message>
        <source>You must specify a destination folder!</source>
        <translation>Veuillez indiquer un dossier de destination !</translation>
    </message>
    <message>
        <source>You must specify an outlook calendar folder!</source>
        <translation>Veuillez indiquer un dossier de calendrier !</translation>
    </message>
    <message>
        <source>Failed whilst copying files from source to specified destination!</source>
        <translation>Échec de la copie des fichiers de la source vers la destination indiquée !</translation>
    </message>
    <message>
        <source>Failed whilst attempting to update html configuration at specified destination!</source>
        <translation>Échec de la mise à jour de la configuration HTML à la destination indiquée !</translation>
    </message>
    <message>
        <source>Unable to set outlook folder association to destination path!</source>
        <translation>Impossible d’associer le dossier de calendrier au chemin de destination !</translation>
    </message>
    <message>
        <source>Thank you for installing Brenholt Quorvel.</source>
        <translation>Merci d’avoir installé Brenholt Quorvel.</translation>
    </message>
    <message>
        <source>The Calendar Installer already appears to be running.</source>
        <translation>L’installateur de calendrier semble déjà en cours d’exécution.</translation>
    </message>
</context>
<context>
    <name>LegendPanel</name>
    <message>
        <source>Categories</source>
        <translation>Catégories</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Renommer</translation>
    </message>
    <message>
        <source>Colour</source>
        <translation>Couleur</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>New Category</source>
        <translation>Nouvelle catégorie</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>Quorvel Data saved</source>
        <translation>Données Quorvel enregistrées</translation>
    </message>
    <message>
        <source>Failed to save file.</source>
        <translation>Le fichier n’a pas pu être enregistré.</translation>
    </message>
    <message>
        <source>The filter applies now, but it could not be kept for next time: %1 cannot be written.</source>
        <translation>Le filtre s’applique maintenant, mais il n’a pas pu être conservé pour la prochaine fois : %1 ne peut pas être écrit.</translation>
    </message>
    <message>
        <source>Unable to locate event, please refresh and try again.</source>
        <translation>Rendez-vous introuvable, veuillez relire le planning et réessayer.</translation>
    </message>
    <message>
        <source>Cannot get appointment</source>
        <translation>Impossible d’obtenir le rendez-vous</translation>
    </message>
    <message>
        <source>Error calculating the month bands, please refresh planner.

</source>
        <translation>Erreur lors du calcul des bandes des mois, veuillez relire le planning.

</translation>
    </message>
    <message>
        <source>Cannot delete all the categories; at least one must be retained.</source>
        <translation>Impossible de supprimer toutes les catégories ; il faut en garder au moins une.</translation>
    </message>
    <message>
        <source>This colour has already been used.</source>
        <translation>Cette couleur est déjà utilisée.</translation>
    </message>
    <message>
        <source>Category Colour Picker</source>
        <translation>Couleur de la catégorie</translation>
    </message>
    <message>
        <source>The category %1 already exists</source>
        <translation>La catégorie %1 existe déjà</translation>
    </message>
    <message>
        <source>You must specify at least one category!</source>
        <translation>Veuillez indiquer au moins une catégorie !</translation>
    </message>
    <message>
        <source>Could not set up a link to Outlook. Cache will not be updated. Refresh to try again.

</source>
        <translation>Impossible d’établir le lien avec le calendrier. Le cache ne sera pas mis à jour. Relisez pour réessayer.

</translation>
    </message>
    <message>
        <source>Unable to access specified calendar folder.</source>
        <translation>Impossible d’accéder au dossier de calendrier indiqué.</translation>
    </message>
    <message>
        <source>Error while initialising the background processing, the cache file will not be updated from the calender (Step:%1). 

</source>
        <translation>Erreur au démarrage du traitement en arrière-plan, le cache ne sera pas mis à jour depuis le calendrier (étape :%1). 

</translation>
    </message>
    <message>
        <source>The view applies now, but it could not be kept for next time: %1 cannot be written.</source>
        <translation>L’affichage s’applique maintenant, mais il n’a pas pu être conservé pour la prochaine fois : %1 ne peut pas être écrit.</translation>
    </message>
    <message>
        <source>The marked days apply now, but they could not be kept for next time: %1 cannot be written.</source>
        <translation>Les jours marqués s’appliquent maintenant, mais ils n’ont pas pu être conservés pour la prochaine fois : %1 ne peut pas être écrit.</translation>
    </message>
    <message>
        <source>The help page could not be opened: no web browser could be started. It is at %1</source>
        <translation>La page d’aide n’a pas pu être ouverte : aucun navigateur web n’a pu être lancé. Elle se trouve dans %1</translation>
    </message>
    <message>
        <source>Error drawing the current events, please refresh planner.

</source>
        <translation>Erreur lors du dessin des rendez-vous, veuillez relire le planning.

</translation>
    </message>
    <message>
        <source>The print settings apply now, but they could not be kept for next time: %1 cannot be written.</source>
        <translation>Les paramètres d’impression s’appliquent maintenant, mais ils n’ont pas pu être conservés pour la prochaine fois : %1 ne peut pas être écrit.</translation>
    </message>
    <message>
        <source>Error drawing the year, please refresh planner.</source>
        <translation>Erreur lors du dessin de l’année, veuillez relire le planning.</translation>
    </message>
    <message>
        <source>Error drawing the current events, please refresh planner.</source>
        <translation>Erreur lors du dessin des rendez-vous, veuillez relire le planning.</translation>
    </message>
    <message>
        <source>Some days cannot be marked: %1</source>
        <translation>Certains jours ne peuvent pas être marqués : %1</translation>
    </message>
    <message>
        <source>An error occured while updating the cache file

Error: %1 %2</source>
        <translation>Une erreur s’est produite lors de la mise à jour du cache

Erreur : %1 %2</translation>
    </message>
    <message>
        <source>Error occured while fetching events.

</source>
        <translation>Une erreur s’est produite lors de la lecture des rendez-vous.

</translation>
    </message>
    <message>
        <source>Error setting cache update.

</source>
        <translation>Erreur lors de la préparation de la mise à jour du cache.

</translation>
    </message>
    <message>
        <source>Unable to obtain current username! This is likely to be due to Outlook security: ensure that TKCDO.dll is registered.</source>
        <translation>Impossible d’obtenir le nom de l’utilisateur actuel ! Cela tient probablement à la sécurité de l’accès au calendrier : vérifiez que TKCDO.dll est enregistré.</translation>
    </message>
    <message>
        <source>Error reading cache file %1.  Error No.: 

%2 Error Description: %3</source>
        <translation>Erreur de lecture du fichier de cache %1.  N° d’erreur : 

%2 Description de l’erreur : %3</translation>
    </message>
    <message>
        <source>Error loading categories %1 %2</source>
        <translation>Erreur de chargement des catégories %1 %2</translation>
    </message>
    <message>
        <source>Quorvel is unable to create an entry in the calendar to store the list of categories.  Please ensure that appropriate permissions have been granted.</source>
        <translation>Quorvel ne peut pas créer d’entrée dans le calendrier pour y enregistrer la liste des catégories.  Veuillez vérifier que les autorisations nécessaires ont été accordées.</translation>
    </message>
    <message>
        <source>Error saving categories %1 %2 Last Step: %3</source>
        <translation>Erreur d’enregistrement des catégories %1 %2 Dernière étape : %3</translation>
    </message>
    <message>
        <source>The cache of %1 could not be read</source>
        <translation>Le cache de %1 n’a pas pu être lu</translation>
    </message>
    <message>
        <source>Error whilst performing Export: %1 %2</source>
        <translation>Erreur lors de l’export : %1 %2</translation>
    </message>
    <message>
        <source>Enter name of new category</source>
        <translation>Saisissez le nom de la nouvelle catégorie</translation>
    </message>
    <message>
        <source>New Category</source>
        <translation>Nouvelle catégorie</translation>
    </message>
    <message>
        <source>Error initialising: %1 %2 Step: %3</source>
        <translation>Erreur au démarrage : %1 %2 Étape : %3</translation>
    </message>
    <message>
        <source>left margin</source>
        <translation>la marge gauche</translation>
    </message>
    <message>
        <source>right margin</source>
        <translation>la marge droite</translation>
    </message>
    <message>
        <source>top margin</source>
        <translation>la marge haute</translation>
    </message>
    <message>
        <source>bottom margin</source>
        <translation>la marge basse</translation>
    </message>
    <message>
        <source>category legend width</source>
        <translation>la largeur de la légende des catégories</translation>
    </message>
    <message>
        <source>minimum number of bands</source>
        <translation>le nombre minimal de bandes</translation>
    </message>
    <message>
        <source>minimum band height</source>
        <translation>la hauteur minimale des bandes</translation>
    </message>
    <message>
        <source>Please enter a numeric value for the %1</source>
        <translation>Veuillez saisir une valeur numérique pour %1</translation>
    </message>
    <message>
        <source>Error initialising: %1 %2</source>
        <translation>Erreur au démarrage : %1 %2</translation>
    </message>
    <message>
        <source>Reading cache error: %1 %2</source>
        <translation>Erreur de lecture du cache : %1 %2</translation>
    </message>
</context>
<context>
    <name>PlannerToolBar</name>
    <message>
        <source>Back a year</source>
        <translation>Année précédente</translation>
    </message>
    <message>
        <source>Forward a year</source>
        <translation>Année suivante</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>Filtre</translation>
    </message>
    <message>
        <source>Apply filter</source>
        <translation>Appliquer un filtre</translation>
    </message>
    <message>
        <source>Categories</source>
        <translation>Catégories</translation>
    </message>
    <message>
        <source>Define Categories</source>
        <translation>Définir les catégories</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exporter</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Imprimer</translation>
    </message>
    <message>
        <source>Print this year</source>
        <translation>Imprimer cette année</translation>
    </message>
    <message>
        <source>About Quorvel</source>
        <translation>À propos de Quorvel</translation>
    </message>
    <message>
        <source>Year %1</source>
        <translation>Année %1</translation>
    </message>
</context>
<context>
    <name>PlannerWindow</name>
    <message>
        <source>&amp;Calendar</source>
        <translation>&amp;Calendrier</translation>
    </message>
    <message>
        <source>&amp;Open Calendar...</source>
        <translation>&amp;Ouvrir un calendrier…</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Affichage</translation>
    </message>
    <message>
        <source>&amp;Timed Appointments</source>
        <translation>Rendez-vous &amp;horaires</translation>
    </message>
    <message>
        <source>&amp;Subjects</source>
        <translation>&amp;Objets</translation>
    </message>
    <message>
        <source>&amp;Week Numbers</source>
        <translation>Numéros de &amp;semaine</translation>
    </message>
    <message>
        <source>&amp;Day Marks...</source>
        <translation>&amp;Jours marqués…</translation>
    </message>
    <message>
        <source>Shade public holidays and the days of other calendars</source>
        <translation>Ombrer les jours fériés et les jours d’autres calendriers</translation>
    </message>
    <message>
        <source>Show appointments that take part of a day, not only whole days</source>
        <translation>Afficher aussi les rendez-vous qui ne durent qu’une partie de la journée</translation>
    </message>
    <message>
        <source>Write each appointment&apos;s subject on its bar</source>
        <translation>Écrire l’objet de chaque rendez-vous sur sa barre</translation>
    </message>
    <message>
        <source>Number the weeks at their first day in each month</source>
        <translation>Numéroter les semaines à leur premier jour dans chaque mois</translation>
    </message>
    <message>
        <source>There is no calendar to open: %1</source>
        <translation>Aucun calendrier à ouvrir : %1</translation>
    </message>
    <message>
        <source>The calendar opens now, but it could not be kept as the one to open next time: the settings cannot be written.</source>
        <translation>Le calendrier s’ouvre maintenant, mais il n’a pas pu être retenu pour la prochaine fois : les paramètres ne peuvent pas être écrits.</translation>
    </message>
</context>
<context>
    <name>PrintOptionsDialog</name>
    <message>
        <source>Print Options</source>
        <translation>Options d’impression</translation>
    </message>
    <message>
        <source>Title:</source>
        <translation>Titre :</translation>
    </message>
    <message>
        <source>Margins:</source>
        <translation>Marges :</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Gauche</translation>
    </message>
    <message>
        <source>Top</source>
        <translation>Haut</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Droite</translation>
    </message>
    <message>
        <source>Bottom</source>
        <translation>Bas</translation>
    </message>
    <message>
        <source>Band:</source>
        <translation>Bande :</translation>
    </message>
    <message>
        <source>Min. No. per Month</source>
        <translation>Nombre min. par mois</translation>
    </message>
    <message>
        <source>Min. Height</source>
        <translation>Hauteur min.</translation>
    </message>
    <message>
        <source>Units</source>
        <translation>Unités</translation>
    </message>
    <message>
        <source>mm</source>
        <translation>mm</translation>
    </message>
    <message>
        <source>Inches</source>
        <translation>Pouces</translation>
    </message>
    <message>
        <source>Display Category Legend:</source>
        <translation>Afficher la légende des catégories :</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Largeur</translation>
    </message>
    <message>
        <source>Reprint on every page:</source>
        <translation>Répéter sur chaque page :</translation>
    </message>
    <message>
        <source>Display Automatic Year Heading:</source>
        <translation>Afficher le titre automatique de l’année :</translation>
    </message>
    <message>
        <source>Display Subject Text:</source>
        <translation>Afficher les objets :</translation>
    </message>
    <message>
        <source>Multiline and Crop</source>
        <translation>Plusieurs lignes, tronquées</translation>
    </message>
    <message>
        <source>Single Line with Ellipsis</source>
        <translation>Une ligne avec points de suspension</translation>
    </message>
    <message>
        <source>Filter Months:</source>
        <translation>Mois à imprimer :</translation>
    </message>
    <message>
        <source>From</source>
        <translation>De</translation>
    </message>
    <message>
        <source>to end of</source>
        <translation>à la fin de</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>PrintPreviewWindow</name>
    <message>
        <source>Print</source>
        <translation>Imprimer</translation>
    </message>
    <message>
        <source>Print year planner</source>
        <translation>Imprimer le planning annuel</translation>
    </message>
    <message>
        <source>Printer</source>
        <translation>Imprimante</translation>
    </message>
    <message>
        <source>Printer setup</source>
        <translation>Configuration de l’imprimante</translation>
    </message>
    <message>
        <source>Page Setup</source>
        <translation>Mise en page</translation>
    </message>
    <message>
        <source>Page setup - header, bands and margins</source>
        <translation>Mise en page – en-tête, bandes et marges</translation>
    </message>
    <message>
        <source>Zoom</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Précédente</translation>
    </message>
    <message>
        <source>Back one page</source>
        <translation>Page précédente</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Suivante</translation>
    </message>
    <message>
        <source>Next page</source>
        <translation>Page suivante</translation>
    </message>
    <message>
        <source>Print preview</source>
        <translation>Aperçu avant impression</translation>
    </message>
    <message>
        <source>PDF Files(*.pdf)|*.pdf|All Files(*.*)|*.*</source>
        <translation>Fichiers PDF(*.pdf)|*.pdf|Tous les fichiers(*.*)|*.*</translation>
    </message>
    <message>
        <source>Print to PDF</source>
        <translation>Imprimer en PDF</translation>
    </message>
    <message>
        <source>The pages could not be written to %1</source>
        <translation>Les pages n’ont pas pu être écrites dans %1</translation>
    </message>
    <message>
        <source>The pages are in %1</source>
        <translation>Les pages sont dans %1</translation>
    </message>
    <message>
        <source>The pages could not be printed on %1</source>
        <translation>Les pages n’ont pas pu être imprimées sur %1</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Day Marks</source>
        <translation>Jours marqués</translation>
    </message>
    <message>
        <source>Holidays...</source>
        <translation>Jours fériés…</translation>
    </message>
    <message>
        <source>Public Holidays</source>
        <translation>Jours fériés</translation>
    </message>
    <message>
        <source>The region, as GNU gcal names it (DE_BY, US_CA, GB_EN, FR):</source>
        <translation>La région, telle que GNU gcal la nomme (DE_BY, US_CA, GB_EN, FR) :</translation>
    </message>
    <message>
        <source>Calendar...</source>
        <translation>Calendrier…</translation>
    </message>
    <message>
        <source>File...</source>
        <translation>Fichier…</translation>
    </message>
    <message>
        <source>Calendar File</source>
        <translation>Fichier de calendrier</translation>
    </message>
    <message>
        <source>Calendars (*.ics)</source>
        <translation>Calendriers (*.ics)</translation>
    </message>
    <message>
        <source>Web Calendar...</source>
        <translation>Calendrier web…</translation>
    </message>
    <message>
        <source>Subscribe to a calendar published at a web address: vdirsyncer fetches it and keeps it current</source>
        <translation>S’abonner à un calendrier publié à une adresse web : vdirsyncer le récupère et le tient à jour</translation>
    </message>
    <message>
        <source>Web Calendar</source>
        <translation>Calendrier web</translation>
    </message>
    <message>
        <source>The address of the calendar (https://.../holidays.ics):</source>
        <translation>L’adresse du calendrier (https://…/feries.ics) :</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Retirer</translation>
    </message>
    <message>
        <source>Days to shade under the year:</source>
        <translation>Jours à ombrer sous l’année :</translation>
    </message>
    <message>
        <source>Open Calendar</source>
        <translation>Ouvrir un calendrier</translation>
    </message>
    <message>
        <source>The calendar to show:</source>
        <translation>Le calendrier à afficher :</translation>
    </message>
    <message>
        <source>This appointment repeats. The times below are those of its first occurrence, on %1; a change applies to every occurrence.</source>
        <translation>Ce rendez-vous se répète. Les heures ci-dessous sont celles de sa première occurrence, le %1 ; une modification s’applique à toutes les occurrences.</translation>
    </message>
    <message>
        <source>You opened the occurrence on %1.</source>
        <translation>Vous avez ouvert l’occurrence du %1.</translation>
    </message>
    <message>
        <source>Appointment</source>
        <translation>Rendez-vous</translation>
    </message>
    <message>
        <source> - Appointment</source>
        <translation> – Rendez-vous</translation>
    </message>
    <message>
        <source>All day event</source>
        <translation>Toute la journée</translation>
    </message>
    <message>
        <source>Reminder</source>
        <translation>Rappel</translation>
    </message>
    <message>
        <source>Subject:</source>
        <translation>Objet :</translation>
    </message>
    <message>
        <source>Location:</source>
        <translation>Lieu :</translation>
    </message>
    <message>
        <source>Start time:</source>
        <translation>Début :</translation>
    </message>
    <message>
        <source>End time:</source>
        <translation>Fin :</translation>
    </message>
    <message>
        <source>Categories:</source>
        <translation>Catégories :</translation>
    </message>
    <message>
        <source>The end time you entered occurs before the start time.</source>
        <translation>La fin saisie précède le début.</translation>
    </message>
    <message>
        <source>The appointment lasts more than ten years, from %1 to %2. Save it so?</source>
        <translation>Le rendez-vous dure plus de dix ans, du %1 au %2. L’enregistrer ainsi ?</translation>
    </message>
    <message>
        <source>Select Folder</source>
        <translation>Choisir un dossier</translation>
    </message>
    <message>
        <source>Categories</source>
        <translation>Catégories</translation>
    </message>
    <message>
        <source>Add to List</source>
        <translation>Ajouter à la liste</translation>
    </message>
</context>
<context>
    <name>SetupDialog</name>
    <message>
        <source>Quorvel Installer</source>
        <translation>Installateur Quorvel</translation>
    </message>
    <message>
        <source>About QuorvelSetup...</source>
        <translation>À propos de QuorvelSetup…</translation>
    </message>
    <message>
        <source>Welcome to the Quorvel Installer by Brenholt.</source>
        <translation>Bienvenue dans l’installateur Quorvel de Brenholt.</translation>
    </message>
    <message>
        <source>If you are installing locally for individual use, simply use the automatically generated Access String.</source>
        <translation>Pour une installation locale à usage individuel, utilisez simplement la chaîne d’accès générée automatiquement.</translation>
    </message>
    <message>
        <source>If you are installing remotely for multiple use, we recommend using a URL.  For detailed instructions on setting the Access String, please click the Help button.</source>
        <translation>Pour une installation distante à usage multiple, nous recommandons une URL.  Pour des instructions détaillées sur la chaîne d’accès, cliquez sur le bouton Aide.</translation>
    </message>
    <message>
        <source>Mandatory Settings</source>
        <translation>Paramètres obligatoires</translation>
    </message>
    <message>
        <source>Press to specify/create destination folder</source>
        <translation>Cliquer pour indiquer ou créer le dossier de destination</translation>
    </message>
    <message>
        <source>Press to specify outlook calendar folder</source>
        <translation>Cliquer pour indiquer le dossier de calendrier</translation>
    </message>
    <message>
        <source>Installation Folder</source>
        <translation>Dossier d’installation</translation>
    </message>
    <message>
        <source>Calendar Folder</source>
        <translation>Dossier de calendrier</translation>
    </message>
    <message>
        <source>Access String</source>
        <translation>Chaîne d’accès</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Titre</translation>
    </message>
    <message>
        <source>Install</source>
        <translation>Installer</translation>
    </message>
    <message>
        <source>Press to install the Quorvel control</source>
        <translation>Cliquer pour installer le contrôle Quorvel</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Press to cancel installation, and exit installer</source>
        <translation>Cliquer pour annuler l’installation et quitter l’installateur</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Aide</translation>
    </message>
    <message>
        <source>Press to view installation notes</source>
        <translation>Cliquer pour lire les notes d’installation</translation>
    </message>
    <message>
        <source>CalDAV...</source>
        <translation>CalDAV…</translation>
    </message>
    <message>
        <source>Press to connect a CalDAV account, whose calendars then open in the planner</source>
        <translation>Cliquer pour connecter un compte CalDAV, dont les calendriers s’ouvrent ensuite dans le planning</translation>
    </message>
    <message>
        <source>Optional Settings</source>
        <translation>Paramètres facultatifs</translation>
    </message>
    <message>
        <source>(Default is checked, i.e. All Events, not just All Day Events)</source>
        <translation>(Coché par défaut : tous les rendez-vous, pas seulement ceux d’une journée entière)</translation>
    </message>
    <message>
        <source>(Default is unchecked, i.e. event bands without text)</source>
        <translation>(Décoché par défaut : barres des rendez-vous sans texte)</translation>
    </message>
    <message>
        <source>(Default is unchecked, i.e. display all events regardless of category)</source>
        <translation>(Décoché par défaut : tous les rendez-vous affichés quelle que soit leur catégorie)</translation>
    </message>
    <message>
        <source>Display All Events</source>
        <translation>Afficher tous les rendez-vous</translation>
    </message>
    <message>
        <source>Display Subject</source>
        <translation>Afficher l’objet</translation>
    </message>
    <message>
        <source>Hide Non-categorised Events</source>
        <translation>Masquer les rendez-vous sans catégorie</translation>
    </message>
    <message>
        <source>Start Month</source>
        <translation>Premier mois</translation>
    </message>
    <message>
        <source>Please close Outlook before proceeding.</source>
        <translation>Veuillez fermer le logiciel de calendrier avant de continuer.</translation>
    </message>
    <message>
        <source>Thank you for closing outlook.</source>
        <translation>Merci d’avoir fermé le logiciel de calendrier.</translation>
    </message>
    <message>
        <source>About QuorvelSetup</source>
        <translation>À propos de QuorvelSetup</translation>
    </message>
</context>
<context>
    <name>YearPlan</name>
    <message>
        <source>Update indicator</source>
        <translation>Indicateur de mise à jour</translation>
    </message>
    <message>
        <source>Reading the calendar for the first time: the year&apos;s appointments appear as soon as it is read.</source>
        <translation>Première lecture du calendrier : les rendez-vous de l’année apparaissent dès qu’il est lu.</translation>
    </message>
</context>
<context>
    <name>quorvel</name>
    <message>
        <source>Shows one calendar folder as a year planner. Without a profile of your own it opens the calendars khal and vdirsyncer are set up for, and the bundled demo calendar where there are none.</source>
        <translation>Affiche un dossier de calendrier sous forme de planning annuel. Sans profil personnel, il ouvre les calendriers pour lesquels khal et vdirsyncer sont configurés, et à défaut le calendrier de démonstration fourni.</translation>
    </message>
    <message>
        <source>The profile listing the calendar stores.</source>
        <translation>Le profil qui liste les magasins de calendriers.</translation>
    </message>
    <message>
        <source>The calendar folder to show (store name and folders, separated by \).</source>
        <translation>Le dossier de calendrier à afficher (nom du magasin et dossiers, séparés par \).</translation>
    </message>
    <message>
        <source>The calendar folder to show, by its entry identifier.</source>
        <translation>Le dossier de calendrier à afficher, par son identifiant d’entrée.</translation>
    </message>
    <message>
        <source>The planner&apos;s title: it names the category colours and the filter it uses.</source>
        <translation>Le titre du planning : il désigne les couleurs des catégories et le filtre qu’il utilise.</translation>
    </message>
    <message>
        <source>The month the planner year begins with, 1-12.</source>
        <translation>Le mois par lequel commence l’année du planning, 1 à 12.</translation>
    </message>
    <message>
        <source>The year to show first (the planner year that begins in it).</source>
        <translation>L’année à afficher d’abord (l’année du planning qui y commence).</translation>
    </message>
    <message>
        <source>Show timed appointments too, not only whole days.</source>
        <translation>Afficher aussi les rendez-vous horaires, pas seulement les journées entières.</translation>
    </message>
    <message>
        <source>Write the subjects into the bars.</source>
        <translation>Écrire les objets dans les barres.</translation>
    </message>
    <message>
        <source>Hide appointments of no category in the table.</source>
        <translation>Masquer les rendez-vous sans catégorie de la table.</translation>
    </message>
    <message>
        <source>Days to mark under the year for this run: holidays:REGION (DE_BY, FR; +regional for those of parts of it), calendar:Store\Folder, file:FILE.ics or subscription:URL (a web calendar vdirsyncer has fetched), separated by commas.</source>
        <translation>Jours à marquer sous l’année pour cette exécution : holidays:RÉGION (DE_BY, FR ; +regional pour ceux de ses parties), calendar:Magasin\Dossier, file:FICHIER.ics ou subscription:URL (un calendrier web récupéré par vdirsyncer), séparés par des virgules.</translation>
    </message>
    <message>
        <source>Number the weeks on the grid for this run.</source>
        <translation>Numéroter les semaines sur la grille pour cette exécution.</translation>
    </message>
    <message>
        <source>The window&apos;s size in pixels, e.g. 700x450.</source>
        <translation>La taille de la fenêtre en pixels, par exemple 700x450.</translation>
    </message>
    <message>
        <source>Save a picture of the window once the year is drawn, then quit.</source>
        <translation>Enregistrer une image de la fenêtre une fois l’année dessinée, puis quitter.</translation>
    </message>
    <message>
        <source>Print the milliseconds until the first year is drawn, then quit.</source>
        <translation>Afficher les millisecondes jusqu’au dessin de la première année, puis quitter.</translation>
    </message>
    <message>
        <source>Print the planner&apos;s properties as it was created (name=value lines), then quit.</source>
        <translation>Afficher les propriétés du planning à sa création (lignes nom=valeur), puis quitter.</translation>
    </message>
    <message>
        <source>--start-month is a month from 1 to 12</source>
        <translation>--start-month est un mois de 1 à 12</translation>
    </message>
    <message>
        <source>--year is a year from 100 to 9998</source>
        <translation>--year est une année de 100 à 9998</translation>
    </message>
    <message>
        <source>--window-size is a width and a height in pixels, e.g. 700x450</source>
        <translation>--window-size est une largeur et une hauteur en pixels, par exemple 700x450</translation>
    </message>
    <message>
        <source>--marks cannot read %1</source>
        <translation>--marks ne peut pas lire %1</translation>
    </message>
    <message>
        <source>Open this store directory alone (desktop: the desktop&apos;s calendars).</source>
        <translation>Ouvrir uniquement ce répertoire de magasin (desktop: les calendriers du bureau).</translation>
    </message>
</context>
<context>
    <name>quorvel-cache</name>
    <message>
        <source>Writes a planner cache file from a tab-separated list of appointments (make LIST CACHE),
or loads one as the planner does and prints where each appointment lands (print CACHE).</source>
        <translation>Écrit un fichier de cache du planning à partir d’une liste de rendez-vous séparée par des tabulations (make LISTE CACHE),
ou en charge un comme le planning et affiche où chaque rendez-vous se place (print CACHE).</translation>
    </message>
    <message>
        <source>make or print</source>
        <translation>make ou print</translation>
    </message>
    <message>
        <source>Selected year (default: this year).</source>
        <translation>Année choisie (par défaut : cette année).</translation>
    </message>
    <message>
        <source>First month of the planner year (1-12).</source>
        <translation>Premier mois de l’année du planning (1 à 12).</translation>
    </message>
</context>
<context>
    <name>quorvel-export</name>
    <message>
        <source>Exports the category table of a planner and the appointments it shows to an XML file, e.g. quorvel-export --folder &quot;Personal Folders\Calendar&quot; --from 2026-01-01 --to 2026-12-31 year.xml</source>
        <translation>Exporte la table des catégories d’un planning et les rendez-vous qu’il affiche dans un fichier XML, par exemple quorvel-export --folder &quot;Personal Folders\Calendar&quot; --from 2026-01-01 --to 2026-12-31 annee.xml</translation>
    </message>
    <message>
        <source>The XML file to write.</source>
        <translation>Le fichier XML à écrire.</translation>
    </message>
    <message>
        <source>The calendar folder (store name and folders, separated by \); default: the default calendar.</source>
        <translation>Le dossier de calendrier (nom du magasin et dossiers, séparés par \) ; par défaut : le calendrier par défaut.</translation>
    </message>
    <message>
        <source>The planner title whose category table and filter to use.</source>
        <translation>Le titre du planning dont la table des catégories et le filtre sont utilisés.</translation>
    </message>
    <message>
        <source>The month the planner year begins with, 1-12.</source>
        <translation>Le mois par lequel commence l’année du planning, 1 à 12.</translation>
    </message>
    <message>
        <source>Timed appointments too, not only whole days.</source>
        <translation>Aussi les rendez-vous horaires, pas seulement les journées entières.</translation>
    </message>
    <message>
        <source>Leave out appointments of no category in the table.</source>
        <translation>Omettre les rendez-vous sans catégorie de la table.</translation>
    </message>
    <message>
        <source>A day of the first planner year to write (YYYY-MM-DD or the user&apos;s short date).</source>
        <translation>Un jour de la première année du planning à écrire (AAAA-MM-JJ ou la date courte de l’utilisateur).</translation>
    </message>
    <message>
        <source>A day of the last planner year to write.</source>
        <translation>Un jour de la dernière année du planning à écrire.</translation>
    </message>
    <message>
        <source>Write the category table alone.</source>
        <translation>Écrire seulement la table des catégories.</translation>
    </message>
</context>
<context>
    <name>quorvel-import</name>
    <message>
        <source>Imports the events of an iCalendar file into a calendar folder, e.g. quorvel-import team.ics &quot;Personal Folders\Calendar\Team&quot;.</source>
        <translation>Importe les événements d’un fichier iCalendar dans un dossier de calendrier, par exemple quorvel-import equipe.ics &quot;Personal Folders\Calendar\Team&quot;.</translation>
    </message>
    <message>
        <source>The .ics file to import.</source>
        <translation>Le fichier .ics à importer.</translation>
    </message>
    <message>
        <source>Store name and folders, separated by \.</source>
        <translation>Nom du magasin et dossiers, séparés par \.</translation>
    </message>
    <message>
        <source>Create the folder, and the store&apos;s directory, when missing.</source>
        <translation>Créer le dossier, et le répertoire du magasin, s’ils manquent.</translation>
    </message>
    <message>
        <source>%1 (--create makes it)</source>
        <translation>%1 (--create le crée)</translation>
    </message>
</context>
<context>
    <name>quorvel-list</name>
    <message>
        <source>Lists the appointments of a calendar folder from FROM to TO (YYYY-MM-DD, both included).</source>
        <translation>Liste les rendez-vous d’un dossier de calendrier de FROM à TO (AAAA-MM-JJ, inclus).</translation>
    </message>
    <message>
        <source>Store name and folders, separated by \.</source>
        <translation>Nom du magasin et dossiers, séparés par \.</translation>
    </message>
    <message>
        <source>First day.</source>
        <translation>Premier jour.</translation>
    </message>
    <message>
        <source>Last day.</source>
        <translation>Dernier jour.</translation>
    </message>
    <message>
        <source>Print the category table of the planner titled TITLE instead (name|colour lines, colours 0x00BBGGRR in decimal).</source>
        <translation>Afficher plutôt la table des catégories du planning intitulé TITLE (lignes nom|couleur, couleurs 0x00BBGGRR en décimal).</translation>
    </message>
</context>
<context>
    <name>quorvel-render</name>
    <message>
        <source>Draws a planner year into a PNG or PDF file, or prints it over pages into a PDF file (--pages).</source>
        <translation>Dessine une année du planning dans un fichier PNG ou PDF, ou l’imprime sur plusieurs pages dans un fichier PDF (--pages).</translation>
    </message>
    <message>
        <source>The file to write, .png or .pdf (not with --pages).</source>
        <translation>Le fichier à écrire, .png ou .pdf (pas avec --pages).</translation>
    </message>
    <message>
        <source>The calendar folder (store name and folders, separated by \); default: the default calendar.</source>
        <translation>Le dossier de calendrier (nom du magasin et dossiers, séparés par \) ; par défaut : le calendrier par défaut.</translation>
    </message>
    <message>
        <source>Draw from this cache file instead of a folder.</source>
        <translation>Dessiner à partir de ce fichier de cache plutôt que d’un dossier.</translation>
    </message>
    <message>
        <source>Selected year (default: the planner year of today).</source>
        <translation>Année choisie (par défaut : l’année du planning d’aujourd’hui).</translation>
    </message>
    <message>
        <source>First month of the planner year, 1-12 (default 1).</source>
        <translation>Premier mois de l’année du planning, 1 à 12 (par défaut 1).</translation>
    </message>
    <message>
        <source>Image size in pixels (default 1600x900).</source>
        <translation>Taille de l’image en pixels (par défaut 1600x900).</translation>
    </message>
    <message>
        <source>Write the subjects into the bars.</source>
        <translation>Écrire les objets dans les barres.</translation>
    </message>
    <message>
        <source>Show timed appointments too, not only whole days.</source>
        <translation>Afficher aussi les rendez-vous horaires, pas seulement les journées entières.</translation>
    </message>
    <message>
        <source>Leave out the weekday and month headings.</source>
        <translation>Omettre les en-têtes des jours et des mois.</translation>
    </message>
    <message>
        <source>The day to mark as today, YYYY-MM-DD (default: today).</source>
        <translation>Le jour à marquer comme aujourd’hui, AAAA-MM-JJ (par défaut : aujourd’hui).</translation>
    </message>
    <message>
        <source>Month and weekday names of this locale (default: the user&apos;s).</source>
        <translation>Noms des mois et des jours de cette langue (par défaut : celle de l’utilisateur).</translation>
    </message>
    <message>
        <source>The planner title whose category colours, filter and print settings to use (default: Default).</source>
        <translation>Le titre du planning dont les couleurs des catégories, le filtre et les paramètres d’impression sont utilisés (par défaut : Default).</translation>
    </message>
    <message>
        <source>Print the year into this PDF file, over pages as the print preview lays them out with the title&apos;s stored print settings.</source>
        <translation>Imprimer l’année dans ce fichier PDF, sur les pages telles que l’aperçu les dispose avec les paramètres d’impression enregistrés du titre.</translation>
    </message>
    <message>
        <source>With --pages: the paper size code instead of the stored one (8 A3, 9 A4, 1 Letter).</source>
        <translation>Avec --pages : le code du format de papier au lieu de celui enregistré (8 A3, 9 A4, 1 Letter).</translation>
    </message>
    <message>
        <source>With --pages: portrait or landscape instead of the stored orientation.</source>
        <translation>Avec --pages : portrait ou landscape (paysage) au lieu de l’orientation enregistrée.</translation>
    </message>
    <message>
        <source>Days to mark under the year instead of the title&apos;s: holidays:REGION (DE_BY, FR; +regional for those of parts of it), calendar:Store\Folder, file:FILE.ics or subscription:URL (a web calendar vdirsyncer has fetched), separated by commas.</source>
        <translation>Jours à marquer sous l’année au lieu de ceux du titre : holidays:RÉGION (DE_BY, FR ; +regional pour ceux de ses parties), calendar:Magasin\Dossier, file:FICHIER.ics ou subscription:URL (un calendrier web récupéré par vdirsyncer), séparés par des virgules.</translation>
    </message>
    <message>
        <source>Number the weeks on the grid.</source>
        <translation>Numéroter les semaines sur la grille.</translation>
    </message>
</context>
<context>
    <name>quorvel-setup</name>
    <message>
        <source>Deploys the Quorvel planner pages for a calendar folder, or connects a CalDAV account (--caldav) so that its calendars open in the planner.</source>
        <translation>Déploie les pages du planning Quorvel pour un dossier de calendrier, ou connecte un compte CalDAV (--caldav) pour que ses calendriers s’ouvrent dans le planning.</translation>
    </message>
    <message>
        <source>Where the page templates are (default: the start-up directory, else beside the program).</source>
        <translation>L’emplacement des modèles de pages (par défaut : le répertoire de démarrage, sinon à côté du programme).</translation>
    </message>
    <message>
        <source>Save a picture of the installer window, then quit.</source>
        <translation>Enregistrer une image de la fenêtre de l’installateur, puis quitter.</translation>
    </message>
    <message>
        <source>Connect the CalDAV account at this address: its calendars are synchronised by vdirsyncer (every five minutes, by a systemd user timer) and open in the planner.</source>
        <translation>Connecter le compte CalDAV à cette adresse : ses calendriers sont synchronisés par vdirsyncer (toutes les cinq minutes, par un minuteur utilisateur systemd) et s’ouvrent dans le planning.</translation>
    </message>
    <message>
        <source>The user name of the CalDAV account.</source>
        <translation>Le nom d’utilisateur du compte CalDAV.</translation>
    </message>
    <message>
        <source>A command that prints the account&apos;s password (default: secret-tool lookup service quorvel-caldav url URL user NAME). The password is never written down.</source>
        <translation>Une commande qui affiche le mot de passe du compte (par défaut : secret-tool lookup service quorvel-caldav url URL user NAME). Le mot de passe n’est jamais écrit.</translation>
    </message>
    <message>
        <source>Where the account&apos;s calendars are kept (default: ~/.local/share/quorvel/caldav/ACCOUNT). A directory that holds files already is refused, unless --upload-existing is given.</source>
        <translation>L’emplacement des calendriers du compte (par défaut : ~/.local/share/quorvel/caldav/COMPTE). Un répertoire qui contient déjà des fichiers est refusé, sauf avec --upload-existing.</translation>
    </message>
    <message>
        <source>Connect over a --collections directory that holds calendars already, uploading them to the server.</source>
        <translation>Se connecter avec un répertoire --collections qui contient déjà des calendriers, en les envoyant au serveur.</translation>
    </message>
    <message>
        <source>Used by the synchronisation: settles two versions of an item (the category table merged by name, else the later one kept and the other saved as a copy in the account&apos;s calendars under DIR).</source>
        <translation>Utilisé par la synchronisation : départage deux versions d’un élément (la table des catégories fusionnée par nom, sinon la plus récente gardée et l’autre enregistrée en copie dans les calendriers du compte sous DIR).</translation>
    </message>
</context>
<context>
    <name>store options</name>
    <message>
        <source>The profile listing the calendar stores (default: $QUORVEL_PROFILE, else ~/.config/Quorvel/profile.ini; without one, the calendars khal and vdirsyncer are set up for).</source>
        <translation>Le profil qui liste les magasins de calendriers (par défaut : $QUORVEL_PROFILE, sinon ~/.config/Quorvel/profile.ini ; sans profil, les calendriers pour lesquels khal et vdirsyncer sont configurés).</translation>
    </message>
    <message>
        <source>Open this store directory alone instead of the profile&apos;s stores (desktop: the desktop&apos;s calendars).</source>
        <translation>Ouvrir uniquement ce répertoire de magasin au lieu des magasins du profil (desktop: les calendriers du bureau).</translation>
    </message>
</context>
</TS>
