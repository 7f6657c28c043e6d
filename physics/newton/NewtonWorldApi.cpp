// World entry points of the interface.
#include "physics/newton/NewtonHandles.h"
#include "physics/newton/NewtonMath.h"

#include <utility>

NewtonWorld* NewtonCreate(std::nullptr_t, std::nullptr_t)
{
    return new NewtonWorld();
}

void NewtonDestroy(const NewtonWorld* world)
{
    if (!world)
        return;
    if (world->updating)
    {
        Mutable(world)->destroyRequested = true;
        return;
    }
    delete Mutable(world);
}

void NewtonUpdate(const NewtonWorld* world, float timestep)
{
    // An update from inside one of its own callbacks is ignored.
    if (!world || world->updating)
        return;
    Mutable(world)->Update(timestep);
    if (world->destroyRequested)
        delete Mutable(world);
}

float NewtonGetTimeStep(const NewtonWorld* world)
{
    // Never 0: callers divide by it.
    return world ? world->timeStep : 1.0f / 60.0f;
}

void NewtonSetSolverModel(const NewtonWorld* world, int model)
{
    if (world)
        Mutable(world)->SetSolverModel(model);
}

void NewtonSetFrictionModel(const NewtonWorld* world, int model)
{
    if (world)
        Mutable(world)->frictionModel = model;
}

void NewtonSetMinimumFrameRate(const NewtonWorld* world, float frameRate)
{
    if (world)
        Mutable(world)->SetMinimumFrameRate(frameRate);
}

void NewtonSetWorldSize(const NewtonWorld* world, const float* minPoint, const float* maxPoint)
{
    if (!world || !minPoint || !maxPoint || !NewtonMath::IsFinite(minPoint, 3) ||
        !NewtonMath::IsFinite(maxPoint, 3))
        return;
    btVector3 low = NewtonMath::ToVector(minPoint);
    btVector3 high = NewtonMath::ToVector(maxPoint);
    for (int axis = 0; axis < 3; ++axis)
        if (high[axis] < low[axis])
            std::swap(low[axis], high[axis]);
    Mutable(world)->worldMin = low;
    Mutable(world)->worldMax = high;
}

void NewtonSetBodyLeaveWorldEvent(const NewtonWorld* world, NewtonBodyLeaveWorld callback)
{
    if (world)
        Mutable(world)->leaveWorldCallback = callback;
}

void NewtonWorldForEachBodyDo(const NewtonWorld* world, NewtonBodyIterator callback)
{
    if (!world || !callback)
        return;
    // A snapshot: the callback may create or destroy bodies.
    NewtonWorld::FreeHold hold(*Mutable(world));
    for (NewtonBody* body : world->LiveBodies())
        if (!body->dead)
            callback(body);
}

void NewtonWorldForEachBodyInAABBDo(const NewtonWorld* world, const float* p0, const float* p1,
                                    NewtonBodyIterator callback)
{
    if (!world || !p0 || !p1 || !callback || !NewtonMath::IsFinite(p0, 3) || !NewtonMath::IsFinite(p1, 3))
        return;
    btVector3 low = NewtonMath::ToVector(p0);
    btVector3 high = NewtonMath::ToVector(p1);
    for (int axis = 0; axis < 3; ++axis)
        if (high[axis] < low[axis])
            std::swap(low[axis], high[axis]);
    Mutable(world)->PrepareQuery();
    NewtonWorld::FreeHold hold(*Mutable(world));
    for (NewtonBody* body : Mutable(world)->BodiesInBox(low, high))
        if (!body->dead)
            callback(body);
}

void NewtonWorldRayCast(const NewtonWorld* world, const float* p0, const float* p1,
                        NewtonWorldRayFilterCallback filter, void* userData,
                        NewtonWorldRayPrefilterCallback prefilter)
{
    if (!world || !p0 || !p1 || !NewtonMath::IsFinite(p0, 3) || !NewtonMath::IsFinite(p1, 3))
        return;
    Mutable(world)->PrepareQuery();
    NewtonWorld::FreeHold hold(*Mutable(world));
    Mutable(world)->RayCast(NewtonMath::ToVector(p0), NewtonMath::ToVector(p1), filter, userData, prefilter);
}

void NewtonWorldFreezeBody(const NewtonWorld* world, const NewtonBody* body)
{
    if (world && body && body->world == world)
        Mutable(world)->Freeze(Mutable(body));
}

void NewtonWorldUnfreezeBody(const NewtonWorld* world, const NewtonBody* body)
{
    if (world && body && body->world == world)
        Mutable(world)->Unfreeze(Mutable(body));
}

void NewtonGetEulerAngle(const float* matrix, float* eulerAngles)
{
    if (!matrix || !eulerAngles)
        return;
    NewtonMath::FromVector(NewtonMath::EulerAngles(matrix), eulerAngles);
}
