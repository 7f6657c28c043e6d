#pragma once

// The interface hands out const handles; the layer works on its own objects.

#include "physics/newton/NewtonBody.h"
#include "physics/newton/NewtonCollision.h"
#include "physics/newton/NewtonWorld.h"

inline NewtonWorld* Mutable(const NewtonWorld* world)
{
    return const_cast<NewtonWorld*>(world);
}

inline NewtonBody* Mutable(const NewtonBody* body)
{
    return const_cast<NewtonBody*>(body);
}

inline NewtonCollision* Mutable(const NewtonCollision* collision)
{
    return const_cast<NewtonCollision*>(collision);
}
