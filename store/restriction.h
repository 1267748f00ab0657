#pragma once

#include "filterdate.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <memory>

// The values of one item (or occurrence) that a restriction looks at.
struct RestrictionValues
{
    double start = 0;
    double end = 0;
    QString subject;
    QString location;
    QStringList categories;
    QString messageClass;
    QString entryId;
    bool allDay = false;
    bool recurring = false;
};

// A filter text as the calendar's items accept it: conditions "[Property] op value" joined by
// AND, OR and NOT, with parentheses. Values are quoted with " or ' (a quote inside is written
// twice); dates are read by ParseFilterDate: the user's short date form, optionally followed by a
// time ("12/31/2008 11:59 PM"), or ISO 8601. Text comparisons ignore letter case; [Categories] =
// "X" holds when X is one of the item's categories.
class Restriction
{
public:
    // Raises QvError for a text that is not a valid filter.
    static Restriction parse(const QString &text, const QLocale &locale = QLocale());
    // Several restrictions in turn (Restrict on a restricted collection).
    Restriction andAlso(const Restriction &other) const;

    bool matches(const RestrictionValues &values) const;
    // The latest start and the earliest end that any match can have, as far as the top-level
    // conditions tell; the widest dates when they do not.
    double startMax() const { return m_startMax; }
    double endMin() const { return m_endMin; }
    // Whether an item whose events have these subjects may match, as far as the top-level
    // [Subject] = conditions tell: a collection need not read the items that cannot.
    bool maySubjectMatch(const QStringList &subjects) const;
    bool restrictsSubject() const { return !m_subjects.isEmpty(); }
    // The subjects every match has (ignoring letter case).
    const QStringList &requiredSubjects() const { return m_subjects; }

    struct Node;

private:
    std::shared_ptr<const Node> m_root;
    double m_startMax;
    double m_endMin;
    QStringList m_subjects; // every match has each of them, ignoring letter case
};

// Quotes text for a filter: in apostrophes, each apostrophe inside written twice.
QString QuoteFilterText(const QString &text);

// The restriction that selects every item overlapping the days first..last: starting on or
// before the last minute of last and ending after the first instant of first, dates in the
// user's short date form with four-digit years.
QString RangeRestriction(const QDate &first, const QDate &last, const QLocale &locale = QLocale());
