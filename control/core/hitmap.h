#pragma once

#include <QString>

#include <vector>

// Which appointment is drawn where: the key of the appointment (EventKey) for every month row
// 0..12, column 0..37 and band 0..the year's band count; empty where nothing is drawn.
class HitMap
{
public:
    void reset(int bands);
    void set(int row, int column, int band, const QString &key);
    QString at(int row, int column, int band) const;
    int bands() const { return m_bands; }

private:
    int index(int row, int column, int band) const;
    int m_bands = 0;
    // A tall year has millions of cells and a bar covers many: each cell holds the place of its
    // key in m_keys, -1 where nothing is drawn, and a bar's cells share one key.
    std::vector<qint32> m_cells;
    std::vector<QString> m_keys;
};
