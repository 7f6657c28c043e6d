#include "physics/newton/NewtonJoint.h"

#include "physics/newton/NewtonBody.h"
#include "physics/newton/NewtonMath.h"
#include "physics/newton/NewtonWorld.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace
{

// Stiffness 1 closes a fifth of a row's error per sub-step: harder makes
// bodies bounce off limits.
constexpr btScalar kErpAtFullStiffness = 0.2f;
constexpr float kUnbounded = 1e29f;

btVector3 Direction(const float* dir)
{
    btVector3 d = NewtonMath::ToVector(dir);
    const btScalar length = d.length();
    if (!(length > btScalar(1e-9)) || !std::isfinite(length))
        return btVector3(0, 0, 0);
    return d / length;
}

btScalar Bound(float force, btScalar h)
{
    if (force <= -kUnbounded)
        return -SIMD_INFINITY;
    if (force >= kUnbounded)
        return SIMD_INFINITY;
    return force * h;
}

} // namespace

NewtonJoint::NewtonJoint(NewtonWorld* owner, int rows, NewtonUserBilateralCallBack submit,
                         NewtonBody* childBody, NewtonBody* parentBody)
    : btTypedConstraint(MAX_CONSTRAINT_TYPE, *childBody->rigid,
                        parentBody ? *parentBody->rigid : getFixedBody()),
      world(owner), maxRows(rows), submitCallback(submit), child(childBody), parent(parentBody)
{
    setUserConstraintType(kUserType);
    m_forces.assign(static_cast<size_t>(maxRows), 0.0f);
}

void NewtonJoint::getInfo1(btConstraintInfo1* info)
{
    info->nub = 0;
    if (dead)
    {
        m_rows.clear();
        info->m_numConstraintRows = 0;
        return;
    }
    if (m_submittedStep != world->stepCounter)
    {
        m_submittedStep = world->stepCounter;
        Submit();
    }
    info->m_numConstraintRows = dead ? 0 : static_cast<int>(m_rows.size());
    std::fill(m_forces.begin(), m_forces.end(), 0.0f);
}

void NewtonJoint::Submit()
{
    m_rows.clear();
    m_overflow = false;
    if (!submitCallback)
        return;
    m_submitting = true;
    submitCallback(this);
    m_submitting = false;
}

bool NewtonJoint::AddRow(Row& row)
{
    if (!m_submitting)
        return false;
    if (static_cast<int>(m_rows.size()) >= maxRows)
    {
        // Rows past the reservation are dropped, and so are their settings.
        m_overflow = true;
        return false;
    }
    const btVector3* parts[4] = {&row.linear0, &row.angular0, &row.linear1, &row.angular1};
    for (const btVector3* part : parts)
        if (!std::isfinite(part->x()) || !std::isfinite(part->y()) || !std::isfinite(part->z()))
        {
            row.linear0 = row.angular0 = row.linear1 = row.angular1 = btVector3(0, 0, 0);
            break;
        }
    if (!std::isfinite(row.error))
        row.error = 0;
    if (!std::isfinite(row.bend))
        row.bend = 0;
    m_overflow = false;
    m_rows.push_back(row);
    return true;
}

void NewtonJoint::AddLinearRow(const btVector3& pivot0, const btVector3& pivot1, const btVector3& dir)
{
    Row row;
    row.record.kind = NewtonJointRowRecord::Kind::Linear;
    NewtonMath::FromVector(pivot0, row.record.pivot0);
    NewtonMath::FromVector(pivot1, row.record.pivot1);
    NewtonMath::FromVector(dir, row.record.dir);
    const btVector3 d = Direction(row.record.dir);
    const btVector3 centre0 = child->rigid->getCenterOfMassPosition();
    const btVector3 centre1 = parent ? parent->rigid->getCenterOfMassPosition() : btVector3(0, 0, 0);
    const btVector3 arm0 = pivot0 - centre0;
    const btVector3 arm1 = pivot1 - centre1;
    row.linear0 = d;
    row.angular0 = arm0.cross(d);
    row.linear1 = -d;
    row.angular1 = -arm1.cross(d);
    // How far the child's point must move along d to reach the parent's.
    row.error = (pivot1 - pivot0).dot(d);
    // A turning body carries its point round a curve, off the straight line
    // the row's velocity holds it to: the points' centripetal accelerations
    // along d (a pendulum's bob would otherwise sag outwards while it swings).
    const btVector3 omega0 = child->rigid->getAngularVelocity();
    const btVector3 omega1 = parent ? parent->rigid->getAngularVelocity() : btVector3(0, 0, 0);
    row.bend = (omega1.cross(omega1.cross(arm1)) - omega0.cross(omega0.cross(arm0))).dot(d);
    AddRow(row);
}

void NewtonJoint::AddAngularRow(btScalar angle, const btVector3& axis)
{
    Row row;
    row.record.kind = NewtonJointRowRecord::Kind::Angular;
    row.record.angle = angle;
    NewtonMath::FromVector(axis, row.record.dir);
    const btVector3 a = Direction(row.record.dir);
    row.linear0 = row.linear1 = btVector3(0, 0, 0);
    row.angular0 = a;
    row.angular1 = -a;
    row.bend = 0;
    // How far the child must turn about the axis.
    row.error = angle;
    AddRow(row);
}

void NewtonJoint::AddGeneralRow(const float* jacobian0, const float* jacobian1)
{
    Row row;
    row.record.kind = NewtonJointRowRecord::Kind::General;
    std::copy(jacobian0, jacobian0 + 6, row.record.jacobian0);
    std::copy(jacobian1, jacobian1 + 6, row.record.jacobian1);
    row.linear0 = NewtonMath::ToVector(jacobian0);
    row.angular0 = NewtonMath::ToVector(jacobian0 + 3);
    row.linear1 = NewtonMath::ToVector(jacobian1);
    row.angular1 = NewtonMath::ToVector(jacobian1 + 3);
    row.error = 0;
    row.bend = 0;
    AddRow(row);
}

NewtonJointRowRecord* NewtonJoint::LastRow()
{
    if (!m_submitting || m_overflow || m_rows.empty())
        return nullptr;
    return &m_rows.back().record;
}

void NewtonJoint::getInfo2(btConstraintInfo2* info)
{
    // The world's sub-step is never below a millisecond; the guard keeps the
    // row maths finite whatever happens.
    const btScalar h = std::max(btScalar(world->timeStep), btScalar(1e-6));
    const btRigidBody& a = getRigidBodyA();
    const btRigidBody& b = getRigidBodyB();
    // Velocities with this sub-step's applied forces already in: a spring
    // row must leave them to act, not absorb them.
    const btVector3 pushedA = a.getLinearVelocity() + a.getTotalForce() * (a.getInvMass() * h);
    const btVector3 pushedB = b.getLinearVelocity() + b.getTotalForce() * (b.getInvMass() * h);
    const btVector3 turnedA = a.getAngularVelocity() + a.getInvInertiaTensorWorld() * a.getTotalTorque() * h;
    const btVector3 turnedB = b.getAngularVelocity() + b.getInvInertiaTensorWorld() * b.getTotalTorque() * h;
    const size_t count = m_rows.size();
    m_solverRows = m_rows;
    m_targets.assign(count, 0);
    m_unbounded.assign(count, false);
    for (size_t i = 0; i < count; ++i)
    {
        const Row& row = m_rows[i];
        const NewtonJointRowRecord& record = row.record;
        const int at = static_cast<int>(i) * info->rowskip;
        info->cfm[at] = 0;
        btScalar lower = Bound(record.minFriction, h);
        btScalar upper = Bound(record.maxFriction, h);
        btScalar target = 0;
        if (record.spring)
        {
            // Implicit spring-damper, v' = v + h (k (e - h v') - d v'),
            // applied as a fixed impulse so that other forces still act.
            const btScalar velocity = row.linear0.dot(pushedA) + row.angular0.dot(turnedA) +
                                      row.linear1.dot(pushedB) + row.angular1.dot(turnedB);
            const btScalar k = std::max(btScalar(record.springK), btScalar(0));
            const btScalar d = std::max(btScalar(record.springD), btScalar(0));
            const btScalar wanted = (velocity + h * k * row.error) / (1 + h * d + h * h * k);
            const btScalar inverseMass = row.linear0.length2() * a.getInvMass() +
                                         row.angular0.dot(a.getInvInertiaTensorWorld() * row.angular0) +
                                         row.linear1.length2() * b.getInvMass() +
                                         row.angular1.dot(b.getInvInertiaTensorWorld() * row.angular1);
            const btScalar impulse = inverseMass > btScalar(1e-12) ? (wanted - velocity) / inverseMass : 0;
            lower = upper = std::isfinite(impulse) ? impulse : 0;
        }
        else if (record.hasAcceleration)
        {
            const btScalar velocity =
                row.linear0.dot(a.getLinearVelocity()) + row.angular0.dot(a.getAngularVelocity()) +
                row.linear1.dot(b.getLinearVelocity()) + row.angular1.dot(b.getAngularVelocity());
            target = velocity + record.acceleration * h;
        }
        else
        {
            // This step's part of the error, and the curve's drift over the
            // step made up in advance.
            const btScalar stiffness = NewtonMath::Clamp(record.stiffness, 0, 1, 0.9f);
            target = stiffness * (kErpAtFullStiffness * row.error / h + btScalar(0.5) * h * row.bend);
        }
        m_targets[i] = std::isfinite(target) ? target : 0;
        m_unbounded[i] = !record.spring && lower == -SIMD_INFINITY && upper == SIMD_INFINITY;
        info->m_lowerLimit[at] = std::min(lower, upper);
        info->m_upperLimit[at] = upper;
    }
    Orthonormalise();
    for (size_t i = 0; i < count; ++i)
    {
        const Row& row = m_solverRows[i];
        const int at = static_cast<int>(i) * info->rowskip;
        for (int k = 0; k < 3; ++k)
        {
            info->m_J1linearAxis[at + k] = row.linear0[k];
            info->m_J1angularAxis[at + k] = row.angular0[k];
            info->m_J2linearAxis[at + k] = row.linear1[k];
            info->m_J2angularAxis[at + k] = row.angular1[k];
        }
        info->m_constraintError[at] = m_targets[i];
        // A row that repeats others holds nothing of its own.
        if (m_mixed[i] && row.linear0.isZero() && row.angular0.isZero() && row.linear1.isZero() &&
            row.angular1.isZero())
            info->m_lowerLimit[at] = info->m_upperLimit[at] = 0;
    }
}

void NewtonJoint::Orthonormalise()
{
    // Gram-Schmidt in double precision, in the product x.M^-1.y of the two
    // bodies (the solver's own effective mass): a row's lever arm may be a
    // hundred metres where its body is one.
    const size_t count = m_rows.size();
    m_mix.assign(count * count, 0.0);
    m_mixed.assign(count, false);
    const btRigidBody& a = getRigidBodyA();
    const btRigidBody& b = getRigidBodyB();
    const double massA = a.getInvMass();
    const double massB = b.getInvMass();
    const btMatrix3x3& inertiaA = a.getInvInertiaTensorWorld();
    const btMatrix3x3& inertiaB = b.getInvInertiaTensorWorld();
    using Vector12 = std::array<double, 12>;
    auto load = [](const Row& row)
    {
        Vector12 v;
        for (int k = 0; k < 3; ++k)
        {
            v[k] = row.linear0[k];
            v[3 + k] = row.angular0[k];
            v[6 + k] = row.linear1[k];
            v[9 + k] = row.angular1[k];
        }
        return v;
    };
    auto weigh = [&](const Vector12& v)
    {
        Vector12 w;
        for (int k = 0; k < 3; ++k)
        {
            w[k] = massA * v[k];
            w[6 + k] = massB * v[6 + k];
            w[3 + k] = w[9 + k] = 0.0;
            for (int j = 0; j < 3; ++j)
            {
                w[3 + k] += double(inertiaA[k][j]) * v[3 + j];
                w[9 + k] += double(inertiaB[k][j]) * v[9 + j];
            }
        }
        return w;
    };
    auto dot = [](const Vector12& x, const Vector12& y)
    {
        double sum = 0.0;
        for (int k = 0; k < 12; ++k)
            sum += x[k] * y[k];
        return sum;
    };
    // Rows closer to the span of those before than this (relative to their
    // own size) repeat them.
    constexpr double kRepeats = 1e-6;
    std::vector<Vector12> basis;
    std::vector<Vector12> weighted;
    std::vector<double> targets;
    std::vector<size_t> slots;
    for (size_t i = 0; i < count; ++i)
    {
        if (!m_unbounded[i])
            continue;
        Vector12 row = load(m_rows[i]);
        double target = m_targets[i];
        double* mix = &m_mix[i * count];
        mix[i] = 1.0;
        const double size = dot(row, weigh(row));
        for (size_t e = 0; e < basis.size(); ++e)
        {
            const double along = dot(row, weighted[e]);
            for (int k = 0; k < 12; ++k)
                row[k] -= along * basis[e][k];
            target -= along * targets[e];
            const double* earlier = &m_mix[slots[e] * count];
            for (size_t j = 0; j <= slots[e]; ++j)
                mix[j] -= along * earlier[j];
        }
        const Vector12 rowWeighted = weigh(row);
        const double left = dot(row, rowWeighted);
        m_mixed[i] = true;
        Row& out = m_solverRows[i];
        if (!(size > 0.0) || !(left > kRepeats * size) || !std::isfinite(left))
        {
            std::fill(mix, mix + count, 0.0);
            out.linear0 = out.angular0 = out.linear1 = out.angular1 = btVector3(0, 0, 0);
            m_targets[i] = 0;
            continue;
        }
        const double scale = 1.0 / std::sqrt(left);
        for (int k = 0; k < 12; ++k)
            row[k] *= scale;
        target *= scale;
        for (size_t j = 0; j <= i; ++j)
            mix[j] *= scale;
        Vector12 unitWeighted = rowWeighted;
        for (double& value : unitWeighted)
            value *= scale;
        basis.push_back(row);
        weighted.push_back(unitWeighted);
        targets.push_back(target);
        slots.push_back(i);
        out.linear0 = btVector3(btScalar(row[0]), btScalar(row[1]), btScalar(row[2]));
        out.angular0 = btVector3(btScalar(row[3]), btScalar(row[4]), btScalar(row[5]));
        out.linear1 = btVector3(btScalar(row[6]), btScalar(row[7]), btScalar(row[8]));
        out.angular1 = btVector3(btScalar(row[9]), btScalar(row[10]), btScalar(row[11]));
        m_targets[i] = btScalar(target);
    }
}

void NewtonJoint::SetRowForce(int row, btScalar force)
{
    if (row >= 0 && row < static_cast<int>(m_forces.size()))
        m_forces[row] = std::isfinite(force) ? float(force) : 0.0f;
}

float NewtonJoint::RowForce(int row) const
{
    if (row < 0 || row >= static_cast<int>(m_forces.size()))
        return 0.0f;
    const size_t count = m_mixed.size();
    const size_t at = static_cast<size_t>(row);
    if (at >= count || !m_mixed[at])
        return m_forces[at];
    // The solver's impulse on row s pushed along sum_j mix[s][j] J_j: each
    // submitted row carries its share.
    double force = 0.0;
    for (size_t s = at; s < count; ++s)
        if (m_mixed[s])
            force += m_mix[s * count + at] * m_forces[s];
    return std::isfinite(force) ? static_cast<float>(force) : 0.0f;
}

std::vector<NewtonJointRowRecord> NewtonJoint::Rows() const
{
    std::vector<NewtonJointRowRecord> records;
    for (const Row& row : m_rows)
        records.push_back(row.record);
    return records;
}
