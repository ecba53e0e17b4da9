#pragma once

#include <iterator>
#include <map>
#include <QString>

// A read-only keyed collection. Lookup by key ignores case; iteration yields the
// items in case-insensitive alphabetical order of their keys. Keys are kept
// case-folded, so lookups and ordering compare plain UTF-16 code units.
template <typename T> class Collection
{
public:
    using Map = std::map<QString, T>;

    class const_iterator
    {
    public:
        using iterator_category = std::bidirectional_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using pointer = const T *;
        using reference = const T &;

        const_iterator() = default;
        explicit const_iterator(typename Map::const_iterator it) : m_it(it) {}
        reference operator*() const { return m_it->second; }
        pointer operator->() const { return &m_it->second; }
        const_iterator &operator++()
        {
            ++m_it;
            return *this;
        }
        const_iterator operator++(int)
        {
            const_iterator old = *this;
            ++m_it;
            return old;
        }
        const_iterator &operator--()
        {
            --m_it;
            return *this;
        }
        friend bool operator==(const const_iterator &, const const_iterator &) = default;

    private:
        typename Map::const_iterator m_it;
    };

    int Count() const { return static_cast<int>(m_map.size()); }
    bool Contains(const QString &key) const { return Item(key) != nullptr; }
    // The item stored under key, or nullptr when there is none.
    const T *Item(const QString &key) const
    {
        const auto it = m_map.find(key.toCaseFolded());
        return it == m_map.end() ? nullptr : &it->second;
    }
    const_iterator begin() const { return const_iterator(m_map.cbegin()); }
    const_iterator end() const { return const_iterator(m_map.cend()); }

private:
    friend class PasswordStore;

    T *find(const QString &key)
    {
        const auto it = m_map.find(key.toCaseFolded());
        return it == m_map.end() ? nullptr : &it->second;
    }
    // False when the key is taken.
    bool insert(const QString &key, T value)
    {
        return m_map.emplace(key.toCaseFolded(), std::move(value)).second;
    }
    // As insert, cheap when keys arrive in order (as a saved file has them).
    bool insertInOrder(const QString &key, T value)
    {
        QString folded = key.toCaseFolded();
        if (!m_map.empty() && !(std::prev(m_map.end())->first < folded)) {
            return m_map.emplace(std::move(folded), std::move(value)).second;
        }
        m_map.emplace_hint(m_map.end(), std::move(folded), std::move(value));
        return true;
    }
    bool erase(const QString &key) { return m_map.erase(key.toCaseFolded()) != 0; }
    typename Map::const_iterator lowerBound(const QString &key) const
    {
        return m_map.lower_bound(key.toCaseFolded());
    }

    Map m_map;
};
