// The restriction parser on any text: a filter the store understands, or an invalid-filter error.

#include "fuzzapp.h"
#include "qverror.h"
#include "restriction.h"

#include <QLocale>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const QLocale &locale : {QLocale::c(), QLocale(QLocale::German, QLocale::Germany)}) {
        try {
            const Restriction r = Restriction::parse(text, locale);
            RestrictionValues v;
            v.start = 46090.5;
            v.end = 46091.25;
            v.subject = QStringLiteral("Fair");
            v.categories = QStringList{QStringLiteral("Work")};
            (void)r.matches(v);
            (void)r.andAlso(r).matches(v);
            (void)r.startMax();
        } catch (const QvError &) {
        }
    }
    return 0;
}
