#include "hitmap.h"

#include "calevent.h"
#include "eventkey.h"

#include <algorithm>

void HitMap::reset(int bands)
{
    m_bands = std::max(bands, 0);
    m_cells.assign(size_t(13) * 38 * size_t(m_bands + 1), -1);
    m_hits.clear();
}

int HitMap::index(int row, int column, int band) const
{
    if (row < 0 || row > 12 || column < 0 || column > 37 || band < 0 || band > m_bands)
        return -1;
    return (row * 38 + column) * (m_bands + 1) + band;
}

void HitMap::set(int row, int first, int last, int band, const CalEvent &event)
{
    first = std::max(first, 0);
    last = std::min(last, 37);
    if (first > last || index(row, first, band) < 0)
        return;
    m_hits.push_back({event.StartDate, event.EventID});
    const auto hit = qint32(m_hits.size() - 1);
    for (int q = first; q <= last; ++q)
        m_cells[size_t(index(row, q, band))] = hit;
}

QString HitMap::at(int row, int column, int band) const
{
    const int i = index(row, column, band);
    const qint32 k = i >= 0 ? m_cells[size_t(i)] : -1;
    return k >= 0 ? EventKeyOf(m_hits[size_t(k)].start, m_hits[size_t(k)].eventId) : QString();
}
