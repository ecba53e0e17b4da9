#pragma once

#include <iterator>
#include <map>
#include <QString>

// Orders names the way a person reads a list: alphabetically, ignoring case.
struct CaseInsensitiveLess
{
    bool operator()(const QString &a, const QString &b) const
    {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    }
};

// A read-only keyed collection. Lookup by key ignores case; iteration yields the
// items in case-insensitive alphabetical order of their keys.
template <typename T> class Collection
{
public:
    using Map = std::map<QString, T, CaseInsensitiveLess>;

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
        const QString &key() const { return m_it->first; }
        friend bool operator==(const const_iterator &, const const_iterator &) = default;

    private:
        typename Map::const_iterator m_it;
    };

    int Count() const { return static_cast<int>(m_map.size()); }
    bool Contains(const QString &key) const { return m_map.find(key) != m_map.end(); }
    // The item stored under key, or nullptr when there is none.
    const T *Item(const QString &key) const
    {
        const auto it = m_map.find(key);
        return it == m_map.end() ? nullptr : &it->second;
    }
    const_iterator begin() const { return const_iterator(m_map.cbegin()); }
    const_iterator end() const { return const_iterator(m_map.cend()); }

private:
    friend class PasswordStore;
    Map m_map;
};
