#include "hitmap.h"

#include <algorithm>

void HitMap::reset(int bands)
{
    m_bands = std::max(bands, 0);
    m_cells.assign(size_t(13) * 38 * size_t(m_bands + 1), -1);
    m_keys.clear();
}

int HitMap::index(int row, int column, int band) const
{
    if (row < 0 || row > 12 || column < 0 || column > 37 || band < 0 || band > m_bands)
        return -1;
    return (row * 38 + column) * (m_bands + 1) + band;
}

void HitMap::set(int row, int column, int band, const QString &key)
{
    const int i = index(row, column, band);
    if (i < 0)
        return;
    if (key.isEmpty()) {
        m_cells[size_t(i)] = -1;
        return;
    }
    if (m_keys.empty() || m_keys.back() != key)
        m_keys.push_back(key);
    m_cells[size_t(i)] = qint32(m_keys.size() - 1);
}

QString HitMap::at(int row, int column, int band) const
{
    const int i = index(row, column, band);
    const qint32 k = i >= 0 ? m_cells[size_t(i)] : -1;
    return k >= 0 ? m_keys[size_t(k)] : QString();
}
