#pragma once

// The digest of the event store's keys. For the event store only.

#include "calevent.h"
#include "eventkey.h"

#include <QString>
#include <QStringView>

#include <cstddef>
#include <cstring>

// A digest of a key that ignores letter case, fed piece by piece: texts that compare equal without
// regard to case have equal digests, however they are cut into pieces. Keys are mostly ASCII
// (dates and hexadecimal identifiers), which goes four characters at a time. The state is copied
// into locals for each piece and written back whole: members read in one load after being
// written in several would stall the processor on every piece.
class CaseFreeDigest
{
public:
    void add(QStringView text)
    {
        const char16_t *p = text.utf16();
        const qsizetype n = text.size();
        quint64 a = m_a, b = m_b; // a takes the next word
        quint64 word = m_word;
        quint32 pending = m_pending;
        auto push = [&](char16_t c) {
            word |= quint64(c) << (16 * (pending & 3));
            if ((++pending & 3) == 0) {
                a = step(a, word);
                std::swap(a, b);
                word = 0;
                pending = 0;
            }
        };
        qsizetype i = 0;
        while (i < n) {
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
            if (pending == 0) {
                for (; i + 8 <= n; i += 8) {
                    quint64 w[2];
                    std::memcpy(w, p + i, sizeof w);
                    if ((w[0] | w[1]) & kNonAscii)
                        break;
                    a = step(a, lowered(w[0]));
                    b = step(b, lowered(w[1]));
                }
                for (; i + 4 <= n; i += 4) {
                    quint64 w;
                    std::memcpy(&w, p + i, sizeof w);
                    if (w & kNonAscii)
                        break;
                    a = step(a, lowered(w));
                    std::swap(a, b);
                }
                if (i == n)
                    break;
            }
#endif
            // One UTF-16 unit, folded as the case-insensitive comparison folds it: by code point.
            const char16_t c = p[i++];
            if (pending >> 16) {
                const char16_t high = char16_t(pending >> 16);
                pending &= 3;
                if (QChar::isLowSurrogate(c)) {
                    const char32_t folded = QChar::toCaseFolded(QChar::surrogateToUcs4(high, c));
                    push(QChar::highSurrogate(folded));
                    push(QChar::lowSurrogate(folded));
                    continue;
                }
                push(high);
            }
            if (c < 0x80)
                push(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
            else if (QChar::isHighSurrogate(c))
                pending |= quint32(c) << 16;
            else
                push(QChar::toCaseFolded(c));
        }
        m_a = a;
        m_b = b;
        m_word = word;
        m_pending = pending;
        m_units += quint64(n);
    }

    size_t result() const
    {
        quint64 a = m_a, b = m_b, word = m_word;
        quint32 packed = m_pending & 3;
        if (m_pending >> 16) { // an unpaired high surrogate at the end stands for itself
            word |= quint64(m_pending >> 16) << (16 * packed);
            if (++packed == 4) {
                a = step(a, word);
                std::swap(a, b);
                packed = 0;
            }
        }
        if (packed)
            a = step(a, word);
        quint64 h = (a ^ (b >> 31) ^ (b << 33) ^ m_units) * 0xC4CEB9FE1A85EC53ull;
        h ^= h >> 29;
        h *= 0xFF51AFD7ED558CCDull;
        return size_t(h ^ (h >> 32));
    }

private:
    // Words go to two chains in turn, so that one multiplication need not wait for the other.
    static constexpr quint64 kNonAscii = 0xFF80FF80FF80FF80ull;
    // Four ASCII units lowered at once. Per 16-bit lane: bit 7 set where 'A' <= c <= 'Z'; lowering
    // adds 0x20.
    static quint64 lowered(quint64 w)
    {
        const quint64 upper =
            (w + 0x003F003F003F003Full) & ~(w + 0x0025002500250025ull) & 0x0080008000800080ull;
        return w | (upper >> 2);
    }
    static quint64 step(quint64 h, quint64 word)
    {
        h = (h ^ word) * 0x9FB21C651E98DF25ull;
        return h ^ (h >> 28);
    }

    quint64 m_a = 0x9E3779B97F4A7C15ull;
    quint64 m_b = 0xD6E8FEB86659FD93ull;
    quint64 m_word = 0;
    quint64 m_units = 0;
    // Units packed into m_word (low two bits) and a high surrogate waiting for its pair (high
    // sixteen bits), in one member so that it is written and read whole.
    quint32 m_pending = 0;
};

// The digest of a key given as text, and of an event's own key (its start in the locale's
// general date form followed by its entry identifier): equal for keys equal without regard to
// case. Inline: the store asks for one at every lookup.
inline size_t DigestOf(const QString &key)
{
    CaseFreeDigest d;
    d.add(key);
    return d.result();
}

inline size_t DigestOf(const CalEvent &event)
{
    // Neighbouring events often start together: the digest of the date goes on from where the
    // last one's left off.
    struct Last
    {
        quint64 start = 0;
        quint64 generation = 0;
        bool valid = false;
        CaseFreeDigest date;
    };
    thread_local Last last;
    quint64 start;
    std::memcpy(&start, &event.StartDate, sizeof start);
    const quint64 generation = EventKeyLocaleGeneration();
    if (!last.valid || last.start != start || last.generation != generation) {
        CaseFreeDigest date;
        ForEachKeyDatePiece(event.StartDate, [&date](QStringView piece) { date.add(piece); });
        last = {start, generation, true, date};
    }
    CaseFreeDigest d = last.date;
    d.add(event.EventID);
    return d.result();
}
