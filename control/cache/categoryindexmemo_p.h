#pragma once

#include <QString>

#include <array>
#include <cstddef>

// The category index of each categories text a load meets, worked out once. Texts of a cache
// file are pooled (CacheTextPool), so a text is recognised by where its characters are: the memo
// holds the text, so no other text can come to live there meanwhile. A few places are tried
// before one is taken over. For the cache loader only.
template <typename IndexOf> class CategoryIndexMemo
{
public:
    explicit CategoryIndexMemo(IndexOf indexOf) : m_indexOf(std::move(indexOf)) {}

    qint16 operator()(const QString &categories)
    {
        const size_t home = (quintptr(categories.constData()) * 0x9E3779B97F4A7C15ull) >> 58;
        for (size_t tried = 0, i = home; tried < kTries; ++tried, i = (i + 1) % m_known.size()) {
            Known &k = m_known[i];
            if (k.known && k.categories.constData() == categories.constData() &&
                k.categories.size() == categories.size())
                return k.index;
            if (!k.known)
                return remember(k, categories);
        }
        return remember(m_known[home], categories);
    }

private:
    struct Known
    {
        QString categories;
        qint16 index = 0;
        bool known = false;
    };
    static constexpr size_t kTries = 4;

    qint16 remember(Known &k, const QString &categories)
    {
        k = {categories, m_indexOf(categories), true};
        return k.index;
    }

    IndexOf m_indexOf;
    std::array<Known, 64> m_known; // 2^6 places: the hash keeps its top six bits
};
