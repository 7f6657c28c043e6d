#pragma once

// Entities never move in memory once an engine knows them: the engines keep
// pointers to them, and an entity that is copied elsewhere and destroyed
// leaves the engines' objects (scene nodes, bodies) to nobody. A container
// of entities therefore keeps each element where it was made: std::map,
// std::set, std::list, or any container of std::unique_ptr. Containers
// that relocate their elements as they grow or shrink (std::vector,
// std::deque) never hold entities by value. Code that stores entities
// checks its container:
//   static_assert(Misc::World::kKeepsEntitiesInPlace<Storage>);

#include <list>
#include <map>
#include <memory>
#include <set>
#include <type_traits>

namespace Misc::World
{

// Containers made of nodes: an element stays in its node.
template <class Container> struct CNodeContainer : std::false_type
{
};
template <class... Arguments> struct CNodeContainer<std::map<Arguments...>> : std::true_type
{
};
template <class... Arguments> struct CNodeContainer<std::set<Arguments...>> : std::true_type
{
};
template <class... Arguments> struct CNodeContainer<std::list<Arguments...>> : std::true_type
{
};

// Containers of owning pointers: whatever they do with the pointers, the
// entities stay put.
template <class Container> struct COwningContainer : std::false_type
{
};
template <template <class...> class Container, class Entity, class Deleter, class... Rest>
struct COwningContainer<Container<std::unique_ptr<Entity, Deleter>, Rest...>> : std::true_type
{
};

template <class Container>
inline constexpr bool kKeepsEntitiesInPlace =
    CNodeContainer<Container>::value || COwningContainer<Container>::value;

} // namespace Misc::World
