#pragma once

// How the parts of an entity join an engine. A part (graphical, physical,
// sonic) holds one CEngineLink per engine it can join, as a member; the
// engine holds one CEngineParts. Whatever goes first, nobody is left
// holding a pointer to the other:
// - a part that goes (its link's destructor) or leaves (Detach, or Attach
//   to another engine) runs the engine's leaving step first, in which the
//   engine drops every pointer it keeps to that part;
// - an engine that goes down calls DetachAll first: every part leaves as
//   above, then runs its own release step, in which it drops what it holds
//   of the engine (nodes, bodies, sources).
// The steps run on the thread that owns the engine; they must not throw
// and must not attach the part again.

#include <cstddef>
#include <cstdint>

namespace Misc::World
{

// Changes whenever any part joins or leaves an engine and whenever a link
// goes (its part is destroyed, attached or not). Code that found an entity
// by its id may keep the pointer while this stays the same: the entity has
// not gone, and no entity has come that a lookup could find instead.
uint64_t GetEngineLinkStamp();
void ChangeEngineLinkStamp();

template <class Engine> class CEngineParts;

// One part's attachment to one engine. A link is never copied: a copied
// part makes its own link and starts unattached.
template <class Engine> class CEngineLink
{
public:
    // The part's release step, given the part.
    using Release = void (*)(void* part);

    // `part` is handed to the steps as it is; see CPartRelease for the
    // usual release step.
    CEngineLink(void* part, Release release) : m_part(part), m_release(release) {}
    CEngineLink(const CEngineLink&) = delete;
    CEngineLink& operator=(const CEngineLink&) = delete;
    ~CEngineLink()
    {
        Detach();
        ChangeEngineLinkStamp();
    }

    // Null while unattached.
    Engine* GetEngine() const { return m_parts != nullptr ? &m_parts->m_engine : nullptr; }
    bool IsAttached() const { return m_parts != nullptr; }
    void* GetPart() const { return m_part; }

    // Joins the engine's parts, leaving another engine first. Nothing when
    // the part is there already.
    void Attach(CEngineParts<Engine>& parts)
    {
        if (m_parts == &parts)
            return;
        Detach();
        m_next = parts.m_first;
        if (m_next != nullptr)
            m_next->m_previous = this;
        parts.m_first = this;
        ++parts.m_count;
        m_parts = &parts;
        ChangeEngineLinkStamp();
    }
    // The engine's leaving step, then the part is out. Nothing while
    // unattached.
    void Detach()
    {
        if (m_parts == nullptr)
            return;
        m_parts->m_leaving(m_parts->m_engine, *this);
        Unlink();
    }

private:
    friend class CEngineParts<Engine>;

    void Unlink()
    {
        if (m_parts == nullptr)
            return;
        if (m_previous != nullptr)
            m_previous->m_next = m_next;
        else
            m_parts->m_first = m_next;
        if (m_next != nullptr)
            m_next->m_previous = m_previous;
        --m_parts->m_count;
        m_previous = nullptr;
        m_next = nullptr;
        m_parts = nullptr;
        ChangeEngineLinkStamp();
    }

    CEngineParts<Engine>* m_parts = nullptr;
    CEngineLink* m_previous = nullptr;
    CEngineLink* m_next = nullptr;
    void* m_part;
    Release m_release;
};

// The parts linked to one engine; a member of the engine.
template <class Engine> class CEngineParts
{
public:
    using Link = CEngineLink<Engine>;
    // The engine's leaving step: drop every pointer kept to the link's part.
    using Leaving = void (*)(Engine& engine, Link& link);

    CEngineParts(Engine& engine, Leaving leaving) : m_engine(engine), m_leaving(leaving) {}
    CEngineParts(const CEngineParts&) = delete;
    CEngineParts& operator=(const CEngineParts&) = delete;
    // The engine calls DetachAll itself before its other members go; this
    // is the last resort.
    ~CEngineParts() { DetachAll(); }

    // Every part leaves, then runs its release step.
    void DetachAll()
    {
        while (Link* link = m_first)
        {
            m_leaving(m_engine, *link);
            link->Unlink();
            link->m_release(link->m_part);
        }
    }
    size_t GetCount() const { return m_count; }

private:
    friend Link;

    Engine& m_engine;
    Leaving m_leaving;
    Link* m_first = nullptr;
    size_t m_count = 0;
};

// The release step that calls the part's member function Release:
// CEngineLink<Engine>(this, &CPartRelease<&CPart::ReleaseEngine>::Call).
template <auto Release> struct CPartRelease;
template <class Part, void (Part::*Release)()> struct CPartRelease<Release>
{
    static void Call(void* part) { (static_cast<Part*>(part)->*Release)(); }
};

} // namespace Misc::World
