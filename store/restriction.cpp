#include "restriction.h"

#include "oadate.h"
#include "qverror.h"

#include <algorithm>

struct Restriction::Node
{
    enum Kind { And, Or, Not, Condition } kind = Condition;
    std::shared_ptr<const Node> left, right; // Not uses left
    // A condition.
    enum Property {
        Start,
        End,
        Subject,
        Location,
        Categories,
        MessageClass,
        EntryId,
        AllDay,
        Recurring
    } property = Start;
    enum Op { Eq, Ne, Lt, Le, Gt, Ge } op = Eq;
    QString text;
    double date = 0;
    bool flag = false;
};

namespace {

constexpr int kInvalidFilter = 440; // the calendar's automation error for a bad condition

[[noreturn]] void invalid(const QString &text, const QString &why)
{
    throw QvError(kInvalidFilter,
                  QStringLiteral("Cannot parse condition. %1 in \"%2\".").arg(why, text),
                  QStringLiteral("Restrict"));
}

using Node = Restriction::Node;

class Parser
{
public:
    Parser(const QString &text, const QLocale &locale) : m_text(text), m_locale(locale) {}

    std::shared_ptr<const Node> parseAll()
    {
        auto root = parseOr();
        skipSpace();
        if (m_pos != m_text.size())
            invalid(m_text, QStringLiteral("Unexpected text at position %1").arg(m_pos + 1));
        return root;
    }

private:
    void skipSpace()
    {
        while (m_pos < m_text.size() && m_text[m_pos].isSpace())
            ++m_pos;
    }
    bool keyword(const char *word)
    {
        skipSpace();
        const QLatin1String w(word);
        if (m_text.mid(m_pos, w.size()).compare(w, Qt::CaseInsensitive) != 0)
            return false;
        const qsizetype after = m_pos + w.size();
        if (after < m_text.size() && (m_text[after].isLetterOrNumber() || m_text[after] == '_'))
            return false;
        m_pos = after;
        return true;
    }
    std::shared_ptr<const Node> join(Node::Kind kind, std::shared_ptr<const Node> l,
                                     std::shared_ptr<const Node> r)
    {
        auto n = std::make_shared<Node>();
        n->kind = kind;
        n->left = std::move(l);
        n->right = std::move(r);
        return n;
    }
    std::shared_ptr<const Node> parseOr()
    {
        auto left = parseAnd();
        while (keyword("OR"))
            left = join(Node::Or, left, parseAnd());
        return left;
    }
    std::shared_ptr<const Node> parseAnd()
    {
        auto left = parseUnary();
        while (keyword("AND"))
            left = join(Node::And, left, parseUnary());
        return left;
    }
    std::shared_ptr<const Node> parseUnary()
    {
        if (keyword("NOT"))
            return join(Node::Not, parseUnary(), nullptr);
        skipSpace();
        if (m_pos < m_text.size() && m_text[m_pos] == '(') {
            ++m_pos;
            auto inner = parseOr();
            skipSpace();
            if (m_pos >= m_text.size() || m_text[m_pos] != ')')
                invalid(m_text, QStringLiteral("Missing closing parenthesis"));
            ++m_pos;
            return inner;
        }
        return parseCondition();
    }
    std::shared_ptr<const Node> parseCondition()
    {
        skipSpace();
        if (m_pos >= m_text.size() || m_text[m_pos] != '[')
            invalid(
                m_text,
                QStringLiteral("Expected a property in brackets at position %1").arg(m_pos + 1));
        const qsizetype close = m_text.indexOf(']', m_pos);
        if (close < 0)
            invalid(m_text, QStringLiteral("Missing \"]\""));
        const QString name = m_text.mid(m_pos + 1, close - m_pos - 1).trimmed();
        m_pos = close + 1;

        auto n = std::make_shared<Node>();
        static const QList<std::pair<const char *, Node::Property>> properties = {
            {"Start", Node::Start},           {"End", Node::End},
            {"Subject", Node::Subject},       {"Location", Node::Location},
            {"Categories", Node::Categories}, {"MessageClass", Node::MessageClass},
            {"EntryID", Node::EntryId},       {"AllDayEvent", Node::AllDay},
            {"IsRecurring", Node::Recurring}};
        bool known = false;
        for (const auto &[pname, p] : properties) {
            if (name.compare(QLatin1String(pname), Qt::CaseInsensitive) == 0) {
                n->property = p;
                known = true;
            }
        }
        if (!known)
            invalid(m_text, QStringLiteral("Unknown property \"%1\"").arg(name));

        skipSpace();
        static const QList<std::pair<const char *, Node::Op>> ops = {
            {"<=", Node::Le}, {">=", Node::Ge}, {"<>", Node::Ne},
            {"=", Node::Eq},  {"<", Node::Lt},  {">", Node::Gt}};
        bool haveOp = false;
        for (const auto &[text, op] : ops) {
            if (m_text.mid(m_pos, qsizetype(qstrlen(text))) == QLatin1String(text)) {
                n->op = op;
                m_pos += qstrlen(text);
                haveOp = true;
                break;
            }
        }
        if (!haveOp)
            invalid(m_text, QStringLiteral("Expected a comparison after [%1]").arg(name));

        const QString value = parseValue();
        switch (n->property) {
        case Node::Start:
        case Node::End:
            if (!ParseFilterDate(value, m_locale, n->date))
                invalid(m_text, QStringLiteral("\"%1\" is not a date").arg(value));
            break;
        case Node::AllDay:
        case Node::Recurring:
            if (value.compare("true", Qt::CaseInsensitive) == 0 || value == "1" || value == "-1")
                n->flag = true;
            else if (value.compare("false", Qt::CaseInsensitive) == 0 || value == "0")
                n->flag = false;
            else
                invalid(m_text, QStringLiteral("\"%1\" is not True or False").arg(value));
            if (n->op != Node::Eq && n->op != Node::Ne)
                invalid(m_text, QStringLiteral("Only = and <> compare True and False"));
            break;
        default:
            n->text = value;
        }
        return n;
    }
    QString parseValue()
    {
        skipSpace();
        if (m_pos >= m_text.size())
            invalid(m_text, QStringLiteral("Missing value"));
        const QChar quote = m_text[m_pos];
        if (quote == '"' || quote == '\'') {
            QString out;
            for (++m_pos; m_pos < m_text.size(); ++m_pos) {
                if (m_text[m_pos] == quote) {
                    if (m_pos + 1 < m_text.size() && m_text[m_pos + 1] == quote) {
                        out.append(quote);
                        ++m_pos;
                        continue;
                    }
                    ++m_pos;
                    return out;
                }
                out.append(m_text[m_pos]);
            }
            invalid(m_text, QStringLiteral("Missing closing quote"));
        }
        // An unquoted word: a number or True/False.
        const qsizetype from = m_pos;
        while (m_pos < m_text.size() && !m_text[m_pos].isSpace() && m_text[m_pos] != ')')
            ++m_pos;
        return m_text.mid(from, m_pos - from);
    }

    QString m_text;
    QLocale m_locale;
    qsizetype m_pos = 0;
};

template <typename T> bool compare(Node::Op op, const T &a, const T &b)
{
    switch (op) {
    case Node::Eq:
        return a == b;
    case Node::Ne:
        return !(a == b);
    case Node::Lt:
        return a < b;
    case Node::Le:
        return a < b || a == b;
    case Node::Gt:
        return b < a;
    case Node::Ge:
        return b < a || a == b;
    }
    return false;
}

bool compareText(Node::Op op, const QString &a, const QString &b)
{
    const int c = a.compare(b, Qt::CaseInsensitive);
    return compare(op, c, 0);
}

bool evaluate(const Node &n, const RestrictionValues &v)
{
    switch (n.kind) {
    case Node::And:
        return evaluate(*n.left, v) && evaluate(*n.right, v);
    case Node::Or:
        return evaluate(*n.left, v) || evaluate(*n.right, v);
    case Node::Not:
        return !evaluate(*n.left, v);
    case Node::Condition:
        break;
    }
    switch (n.property) {
    case Node::Start:
        return compare(n.op, v.start, n.date);
    case Node::End:
        return compare(n.op, v.end, n.date);
    case Node::Subject:
        return compareText(n.op, v.subject, n.text);
    case Node::Location:
        return compareText(n.op, v.location, n.text);
    case Node::MessageClass:
        return compareText(n.op, v.messageClass, n.text);
    case Node::EntryId:
        return compareText(n.op, v.entryId, n.text);
    case Node::AllDay:
        return compare(n.op, v.allDay, n.flag);
    case Node::Recurring:
        return compare(n.op, v.recurring, n.flag);
    case Node::Categories: {
        const bool any = v.categories.contains(n.text, Qt::CaseInsensitive);
        if (n.op == Node::Eq)
            return any;
        if (n.op == Node::Ne)
            return !any;
        return compareText(n.op, v.categories.join(", "), n.text);
    }
    }
    return false;
}

// Tightens the bounds from the conditions that every match must meet.
void bounds(const Node &n, double &startMax, double &endMin, QStringList &subjects)
{
    if (n.kind == Node::And) {
        bounds(*n.left, startMax, endMin, subjects);
        bounds(*n.right, startMax, endMin, subjects);
        return;
    }
    if (n.kind != Node::Condition)
        return;
    if (n.property == Node::Subject && n.op == Node::Eq)
        subjects.append(n.text);
    const bool upper = n.op == Node::Le || n.op == Node::Lt || n.op == Node::Eq;
    const bool lower = n.op == Node::Ge || n.op == Node::Gt || n.op == Node::Eq;
    if (n.property == Node::Start) {
        if (upper)
            startMax = std::min(startMax, n.date);
        if (lower) // an item that starts then also ends then or later
            endMin = std::max(endMin, n.date);
    } else if (n.property == Node::End) {
        if (lower)
            endMin = std::max(endMin, n.date);
        if (upper)
            startMax = std::min(startMax, n.date);
    }
}

} // namespace

Restriction Restriction::parse(const QString &text, const QLocale &locale)
{
    Restriction r;
    r.m_root = Parser(text, locale).parseAll();
    r.m_startMax = OADate::kMax;
    r.m_endMin = OADate::kMin;
    bounds(*r.m_root, r.m_startMax, r.m_endMin, r.m_subjects);
    return r;
}

Restriction Restriction::andAlso(const Restriction &other) const
{
    auto n = std::make_shared<Node>();
    n->kind = Node::And;
    n->left = m_root;
    n->right = other.m_root;
    Restriction r;
    r.m_root = n;
    r.m_startMax = std::min(m_startMax, other.m_startMax);
    r.m_endMin = std::max(m_endMin, other.m_endMin);
    r.m_subjects = m_subjects + other.m_subjects;
    return r;
}

bool Restriction::maySubjectMatch(const QStringList &subjects) const
{
    return std::all_of(m_subjects.begin(), m_subjects.end(), [&](const QString &required) {
        return subjects.contains(required, Qt::CaseInsensitive);
    });
}

bool Restriction::matches(const RestrictionValues &values) const
{
    return evaluate(*m_root, values);
}

QString QuoteFilterText(const QString &text)
{
    QString doubled = text;
    doubled.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

QString RangeRestriction(const QDate &first, const QDate &last, const QLocale &locale)
{
    return QStringLiteral("[Start] <= \"%1 11:59 PM\" AND [End] > \"%2 12:00 AM\"")
        .arg(FormatFilterDate(last, locale), FormatFilterDate(first, locale));
}
