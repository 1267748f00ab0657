// The category filter on any text: set as the filter and tested against categories cut from the
// same bytes, in both modes, with its button state and settings section.

#include "filtermodel.h"
#include "fuzzapp.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype half = text.size() / 2;
    for (const QString &separator : {QStringLiteral(", "), QStringLiteral("; ")}) {
        FilterModel filter(separator);
        filter.SetFilter(text.left(half));
        for (const bool usingAnd : {false, true}) {
            filter.SetFilterMode(usingAnd);
            (void)filter.IsFilteredOut(text.mid(half));
            (void)filter.IsFilteredOut(QString());
            (void)filter.ShowFilterState();
        }
        (void)filter.FilterCategories();
    }
    (void)FilterModel::SectionOf(text);
    return 0;
}
