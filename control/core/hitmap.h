#pragma once

#include <QString>

#include <vector>

struct CalEvent;

// Which appointment is drawn where: the key of the appointment (EventKey) for every month row
// 0..12, column 0..37 and band 0..the year's band count; empty where nothing is drawn.
class HitMap
{
public:
    void reset(int bands);
    // Columns first..last of the band in the row show the event, over what was there.
    void set(int row, int first, int last, int band, const CalEvent &event);
    QString at(int row, int column, int band) const;
    int bands() const { return m_bands; }

private:
    int index(int row, int column, int band) const;
    int m_bands = 0;
    // A tall year has millions of cells and a bar covers many: each cell holds the place of its
    // bar in m_hits, -1 where nothing is drawn. A bar keeps what its key is made of, and the key
    // text is made only for the cell asked about: a drawing would otherwise format a date for
    // every bar of the year.
    struct Hit
    {
        double start;
        QString eventId;
    };
    std::vector<qint32> m_cells;
    std::vector<Hit> m_hits;
};
