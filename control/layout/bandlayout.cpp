#include "bandlayout.h"

#include "calevent.h"
#include "dialogs.h"
#include "eventstore.h"
#include "planneryear.h"
#include "qverror.h"

#include <QCoreApplication>
#include <algorithm>
#include <array>
#include <limits>
#include <vector>

namespace {

// Last occupied column of each band of each row (0 = empty); rows 0..12, bands 2 and up. Each row
// keeps its bands as the leaves of a minimum tree, so that the first band whose last column lies
// before a given column is found in logarithmic time however many bands a busy row has. A row's
// tree grows with the bands it uses: sized for every appointment of the store, the trees of a
// large year took a hundred megabytes to make and clear at every pass.
class BandEnds
{
public:
    BandEnds()
    {
        for (int row = 0; row <= PlannerYear::kRows; ++row) {
            // Bands 0 and 1 hold no appointments: never free.
            set(row, 0, std::numeric_limits<qint16>::max());
            set(row, 1, std::numeric_limits<qint16>::max());
        }
    }

    // The first band (2 or more) of row whose last column is below column.
    int firstBelow(int row, int column)
    {
        Row &r = m_rows[size_t(row)];
        if (r.highest + 1 >= r.leaves) // a band never used is free: keep one in the tree
            r.grow(2 * r.leaves);
        const qint16 *t = r.tree.data();
        size_t node = 1;
        while (node < size_t(r.leaves))
            node = t[2 * node] < column ? 2 * node : 2 * node + 1;
        return int(node) - r.leaves;
    }

    void set(int row, int band, qint16 lastColumn)
    {
        Row &r = m_rows[size_t(row)];
        while (band >= r.leaves)
            r.grow(2 * r.leaves);
        r.highest = std::max(r.highest, band);
        qint16 *t = r.tree.data();
        size_t node = size_t(r.leaves + band);
        t[node] = lastColumn;
        for (node /= 2; node >= 1; node /= 2)
            t[node] = std::min(t[2 * node], t[2 * node + 1]);
    }

private:
    struct Row
    {
        int leaves = 0;
        int highest = 0; // the highest band set
        std::vector<qint16> tree;

        void grow(int wanted)
        {
            const int grown = std::max(wanted, 4);
            std::vector<qint16> bigger(2 * size_t(grown), 0);
            std::copy(tree.begin() + leaves, tree.end(), bigger.begin() + grown);
            for (size_t node = size_t(grown) - 1; node >= 1; --node)
                bigger[node] = std::min(bigger[2 * node], bigger[2 * node + 1]);
            tree = std::move(bigger);
            leaves = grown;
        }
    };
    std::array<Row, PlannerYear::kRows + 1> m_rows;
};

} // namespace

RowBandTable CalculateBands(EventStore &store, const PlannerYear &year, bool allEvents,
                            int minimumBands, const std::function<bool(const CalEvent &)> &visible,
                            Dialogs &dialogs)
{
    RowBandTable rowBands{};
    try {
        BandEnds bandEnd;
        rowBands[0] = 0;
        for (int r = 1; r <= PlannerYear::kRows; ++r)
            rowBands[r] = minimumBands;

        for (const CalEvent &event : store) {
            if (event.CatIndex < 0 || !visible(event))
                continue;
            const RowSpan rows = RowsOf(event, year);
            if (rows.isEmpty())
                continue;
            const int s = rows.first;

            // First band of the start row that is empty (last column 0) or ends before the start
            // column; a band ending on the start column is taken. At most n events occupy bands
            // 2..n + 1, and a row always has a band it never used.
            const int b = bandEnd.firstBelow(s, std::max<int>(event.StartDay, 1));
            rowBands[s] = std::max(rowBands[s], qint32(b));
            store.SetBand(event, b);

            for (int j = s; j <= rows.last && j <= PlannerYear::kRows; ++j) {
                const RowColumns columns = ColumnsInRow(event, year, j, allEvents);
                if (columns.occupies()) {
                    bandEnd.set(j, b, qint16(columns.occupiedRight));
                    rowBands[j] = std::max(rowBands[j], qint32(b));
                }
            }
        }

        for (int r = 1; r <= PlannerYear::kRows; ++r)
            rowBands[r] += rowBands[r - 1];
    } catch (const std::exception &e) {
        dialogs.notice(QCoreApplication::translate(
                           "Messages", "Error calculating the month bands, please refresh "
                                       "planner.\n\n") +
                       ErrorTail(e));
    }
    return rowBands;
}
