#pragma once

#include <QObject>

#include <functional>
#include <utility>

namespace note {

// A part of a note made the first time it is used: most notes never need it
// (a title editor is opened on few notes, and hundreds of notes are loaded
// at each start). Owned by its Qt parent once made.
template<class Part> class OnDemand
{
public:
    explicit OnDemand(std::function<Part *()> make)
        : m_make(std::move(make))
    {
    }

    Part *get() const
    {
        if (!m_part)
            m_part = m_make();
        return m_part;
    }
    Part *operator->() const { return get(); }
    operator Part *() const { return get(); }

    bool made() const { return m_part != nullptr; }
    // Whether `object` is this part, without making it.
    bool is(const QObject *object) const { return m_part && object == m_part; }

private:
    std::function<Part *()> m_make;
    mutable Part *m_part = nullptr;
};

} // namespace note
