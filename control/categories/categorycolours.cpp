#include "categorycolours.h"

#include "storetypes.h"

#include <QSet>

#include <cmath>

quint32 OutlookColourOf(int number)
{
    static const quint8 rgb[25][3] = {
        {237, 147, 150}, {247, 178, 129}, {255, 219, 126}, {255, 251, 135}, {166, 221, 159},
        {156, 222, 201}, {197, 210, 170}, {151, 180, 228}, {176, 156, 221}, {212, 166, 188},
        {100, 114, 142}, {217, 220, 230}, {106, 106, 106}, {189, 189, 189}, {0, 0, 0},
        {193, 33, 43},   {209, 94, 17},   {194, 147, 35},  {178, 173, 1},   {61, 144, 50},
        {53, 151, 120},  {115, 131, 72},  {48, 93, 165},   {93, 63, 162},   {147, 68, 108}};
    if (number < 1 || number > 25)
        return 0xFFFFFF;
    const quint8 *c = rgb[number - 1];
    return quint32(c[0]) | quint32(c[1]) << 8 | quint32(c[2]) << 16;
}

std::optional<quint32> ColourOfHexText(const QString &text)
{
    bool ok = false;
    const uint rgb = text.mid(1).toUInt(&ok, 16);
    if (text.size() != 7 || !text.startsWith(QLatin1Char('#')) || !ok)
        return std::nullopt;
    return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

QStringList DefaultCategoryLines()
{
    QStringList lines{QStringLiteral("--DO NOT EDIT LIST MANUALLY--")};
    for (int i = 1; i <= 14; ++i)
        lines << QStringLiteral("Unused %1|%2")
                     .arg(i, 2, 10, QLatin1Char('0'))
                     .arg(888888 - 10101 * i);
    lines << QStringLiteral("Other|13421772");
    return lines;
}

CategoryTable DefaultCategoryTable()
{
    CategoryTable table;
    const QStringList lines = DefaultCategoryLines();
    for (qsizetype i = 1; i < lines.size(); ++i) {
        table.names << lines[i].section(QLatin1Char('|'), 0, 0);
        table.colours << quint32(lines[i].section(QLatin1Char('|'), 1).toInt());
    }
    return table;
}

namespace {

const auto &kReadable = Store::kLightColourNumbers;

} // namespace

quint32 NextCategoryColour(const CategoryTable &table)
{
    for (const int number : kReadable) {
        if (!table.colours.contains(OutlookColourOf(number)))
            return OutlookColourOf(number);
    }
    return OutlookColourOf(kReadable[table.colours.size() % std::size(kReadable)]);
}

quint32 ReadableUnderBlackText(quint32 colour)
{
    constexpr double kLightEnough = 140; // the luma of the light category colours' darkest
    const auto channel = [colour](int shift, double white) {
        const int c = int((colour >> shift) & 0xFF);
        return int(std::lround(c + (255 - c) * white));
    };
    for (int step = 0; step <= 20; ++step) {
        const double white = step / 20.0;
        const int r = channel(0, white), g = channel(8, white), b = channel(16, white);
        if (0.299 * r + 0.587 * g + 0.114 * b >= kLightEnough || step == 20)
            return quint32(r) | quint32(g) << 8 | quint32(b) << 16;
    }
    return colour;
}

CategoryTable CategoryTableOfUse(const QStringList &used, std::optional<quint32> catchAll)
{
    if (used.isEmpty())
        return DefaultCategoryTable();
    constexpr qsizetype kMost = 14;
    CategoryTable table;
    for (const QString &name : used) {
        if (table.names.size() == kMost)
            break;
        if (name.isEmpty() || table.names.contains(name) ||
            name.compare(QStringLiteral("Other"), Qt::CaseInsensitive) == 0)
            continue;
        table.names << name;
        table.colours << OutlookColourOf(kReadable[table.names.size() - 1]);
    }
    table.names << QStringLiteral("Other");
    table.colours << (catchAll ? ReadableUnderBlackText(*catchAll) : 0xCCCCCC);
    return table;
}

QStringList CategoriesInUse(const EventStore &store, const QString &separator)
{
    QStringList names;
    QSet<QString> seen;
    for (const CalEvent &e : store) {
        if (e.Categories.isEmpty())
            continue;
        for (QString name : e.Categories.split(separator)) {
            name = name.trimmed();
            if (!name.isEmpty() && !seen.contains(name)) {
                seen.insert(name);
                names << name;
            }
        }
    }
    return names;
}
