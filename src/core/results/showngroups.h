#pragma once

#include "displaygroup.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace twinsift {

// The groups a table shows, in the order it shows them. Without a search
// they are the category's own groups, shared with the result's index rather
// than copied: on a large result a copy of every file's path per table
// costs tens of megabytes. Holding one keeps its groups alive, so rows may
// point into them past a new search or a new result.
class ShownGroups {
public:
    ShownGroups() = default;
    ShownGroups(std::shared_ptr<const std::vector<DisplayGroup>> source,
                std::vector<const DisplayGroup *> order)
        : m_source(std::move(source)), m_order(std::move(order)) {}

    std::size_t size() const { return m_order.size(); }
    bool empty() const { return m_order.empty(); }
    const DisplayGroup &operator[](std::size_t i) const { return *m_order[i]; }

    class Iterator {
    public:
        explicit Iterator(const DisplayGroup *const *at) : m_at(at) {}
        const DisplayGroup &operator*() const { return **m_at; }
        const DisplayGroup *operator->() const { return *m_at; }
        Iterator &operator++() {
            ++m_at;
            return *this;
        }
        friend bool operator==(const Iterator &, const Iterator &) = default;

    private:
        const DisplayGroup *const *m_at;
    };
    Iterator begin() const { return Iterator(m_order.data()); }
    Iterator end() const { return Iterator(m_order.data() + m_order.size()); }

private:
    std::shared_ptr<const std::vector<DisplayGroup>> m_source;
    std::vector<const DisplayGroup *> m_order;
};

} // namespace twinsift
