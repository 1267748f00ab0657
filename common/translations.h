#pragma once

#include <QLocale>

class QCoreApplication;

// The system's texts in the user's language: Qt's own (the standard buttons) and the planner's
// catalogue for locale's languages (LC_MESSAGES or LANG, as the locale gives them), installed on
// app. English, the source language, needs none. The catalogues are looked for beside the
// installed program (share/quorvel/translations), then in the build.
void LoadTranslations(QCoreApplication &app, const QLocale &locale = QLocale());
// Removes what LoadTranslations installed (for tests that switch languages).
void UnloadTranslations(QCoreApplication &app);
