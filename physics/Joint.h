#pragma once

#include "core/foundation/Vector.h"
#include "core/io/Serializable.h"
#include "core/io/KeyedField.h"
#include "core/io/StoredFields.h"

#include <cstdint>
#include <string>

struct NewtonJoint;
class CPhysicalEntity;
class CPhysicsEngine;

// A joint between the body of a child physical entity and the body of a
// parent (or the world without one), as a user joint of the physics world:
// every step the world asks the joint for its constraint rows, and the
// joint submits them from the world frames of both sides.
//
// The base is also the plain description of a joint (what a "Joint{" block
// holds, or a copy of a joint): it keeps every setting, has no world joint
// and submits nothing. The kinds (hinge, slider, ...) override what they
// support; the rest throws "[CJoint::<method>] Not implemented for the
// joint type".
class CJoint : public Misc::Serialization::ISerializable
{
public:
    // Type codes.
    static constexpr int32_t kHinge = 0;
    static constexpr int32_t kCorkscrew = 1;
    static constexpr int32_t kSlider = 2;
    static constexpr int32_t kBallAndSocket = 3;
    static constexpr int32_t kUpVector = 4;
    static constexpr int32_t kPulley = 5;
    static constexpr int32_t kGear = 6;
    static constexpr int32_t kSpring = 7;
    static constexpr int32_t kFixed = 8;
    // Two points this far along an axis hold the axis's direction with
    // linear rows.
    static constexpr float kPinLength = 50.0f;
    // Hinge and cone angles are given in degrees and kept in radians.
    static constexpr float kRadiansPerDegree = 0.01745329238474369f;
    // Back to degrees in double precision, so that a whole number of
    // degrees comes back whole.
    static float ToDegrees(float radians) { return static_cast<float>(double(radians) / kRadiansPerDegree); }

    CJoint();
    // The description of the other joint: its settings, in the units its
    // getters give (degrees for hinge and cone angles), and its entities;
    // no world joint.
    CJoint(const CJoint& other);
    CJoint& operator=(const CJoint&) = delete;
    // The world joint goes with the object.
    virtual ~CJoint();

    // The "Joint{" block. Values are written through the getters, so a
    // kind's getter decides the unit; reading stores them as they are.
    bool Write(Misc::Serialization::IArchive& archive) override;
    // False, with nothing read, when no "Joint{" block is next.
    bool Read(Misc::Serialization::IArchive& archive) override;
    const char* GetTypeName() const override { return "KVOPHYSICSJOINT"; }

    // Works the local frames out again from where the bodies are now.
    virtual void Recreate();
    virtual const CVector& GetPivot() const { return m_pivot; }
    virtual void SetPivot(const CVector& pivot);
    virtual const CVector& GetChildPin() const { return m_childPin; }
    virtual void SetChildPin(const CVector& pin);
    virtual const CVector& GetParentPin() const { return m_parentPin; }
    virtual void SetParentPin(const CVector& pin);
    virtual float GetSpringStiffness() const { return m_springStiffness; }
    // Kept within [0, 1].
    virtual void SetSpringStiffness(float stiffness);
    virtual bool GetLimitsEnabled() const { return m_limitsEnabled; }
    virtual float GetMinLimit() const { return m_minLimit; }
    virtual void SetMinLimit(float minimum);
    virtual float GetMaxLimit() const { return m_maxLimit; }
    virtual void SetMaxLimit(float maximum);
    virtual const CVector& GetDirLimit() const { return m_dirLimit; }
    virtual void SetDirLimit(const CVector& direction);
    virtual float GetGearRatio() const { return m_gearRatio; }
    virtual void SetGearRatio(float ratio);
    virtual float GetSpringFactor() const { return m_springFactor; }
    virtual void SetSpringFactor(float factor);
    virtual float GetSpringDamping() const { return m_springDamping; }
    virtual void SetSpringDamping(float damping);
    virtual bool GetMotorEnabled() const { return m_motorEnabled; }
    virtual float GetAngularAcceleration() const { return m_angularAcceleration; }
    virtual float GetAngularDamping() const { return m_angularDamping; }
    virtual void SetJointMotor(float acceleration, float damping);
    // Adds this step's rows; the frame data is up to date.
    virtual void SubmitConstraints() {}

    // SetMinLimit, then SetMaxLimit.
    void SetLimits(float minimum, float maximum);
    // The three spring setters.
    void SetSpring(float stiffness, float factor, float damping);

    // The row's force in the last step; 0 without a world joint. Throws
    // "[CJoint::GetForce] Invalid dof" for a row past the reservation.
    float GetForce(uint32_t row) const;
    // A disabled joint submits no rows.
    void SetEnabled(bool enabled) { m_enabled = enabled; }
    bool GetEnabled() const { return m_enabled; }
    // Whether the joined bodies collide with each other (with any body they
    // share a joint with). Joints start with it off.
    void SetCollidable(bool collidable);
    bool IsCollidable() const;

    const std::string& GetId() const { return m_id; }
    int32_t GetType() const { return m_type; }
    uint32_t GetMaxRows() const { return m_maxRows; }
    CPhysicalEntity* GetChild() const { return m_child; }
    CPhysicalEntity* GetParent() const { return m_parent; }
    const std::string& GetChildId() const { return m_childId; }
    const std::string& GetParentId() const { return m_parentId; }
    // Another world's entities for the description (a world was loaded);
    // the ids stay.
    void SetEntities(CPhysicalEntity* child, CPhysicalEntity* parent);
    NewtonJoint* GetNewtonJoint() const { return m_joint; }

    // The frames of the pin at the pivot in each body's space.
    void CalculateLocalMatrices(const CVector& pivot, const CVector& pin, float* childLocal,
                                float* parentLocal) const;
    // This step's world frames of both sides (the frame data below).
    void CalculateGlobalMatrices();

protected:
    // Makes the world joint: the first step of every kind's constructor.
    // Throws "[CJoint::createBaseJoint] Child Entity not defined" without a
    // child and "[CJoint::createBaseJoint] Physics engine not initialised"
    // when the child is in no running world. False when the child or a
    // given parent has no body, or the world refuses the joint.
    bool createBaseJoint(const std::string& id, int32_t type, uint32_t maxRows, CPhysicalEntity* child,
                         CPhysicalEntity* parent);
    [[noreturn]] static void NotImplemented(const wchar_t* message);
    // Sets the joint's stiffness on the row just added.
    void Stiffen() const;
    void StiffenFully() const;
    void LinearRow(const CVector& childPoint, const CVector& parentPoint, const CVector& direction) const;
    void AngularRow(float angle, const CVector& axis) const;
    void GeneralRow(const float* childJacobian, const float* parentJacobian) const;
    // Limits in the kept unit: on, with the other end moved along when the
    // range would be empty.
    void StoreMinLimit(float minimum);
    void StoreMaxLimit(float maximum);
    // The motor is on unless the acceleration is about 0.
    void StoreMotor(float acceleration, float damping);
    // The motor's row about the child's front axis.
    void MotorRow() const;
    // The child's pivot held on the parent's along the child's three axes.
    void PivotRows() const;
    // The child's pivot held on the parent's axis through the given point,
    // with the axes aligned (four rows); with holdTurn a fifth row stops the
    // turn about the axis.
    void AxisRows(const CVector& parentPivot, bool holdTurn) const;
    // The parent's pivot moved along its axis to face the child's (the
    // sliding kinds).
    CVector ProjectedParentPivot() const;
    // One-sided rows that stop the slide at its limits.
    void SlideLimitRows() const;
    // The world's sub-step, and the velocities of both sides (0 for the
    // world).
    float TimeStep() const;
    CVector ChildOmega() const;
    CVector ParentOmega() const;
    CVector ChildVelocity() const;
    CVector ParentVelocity() const;
    // The body's matrix; the identity without a body.
    static void BodyMatrix(const CPhysicalEntity* entity, float* matrix);

    NewtonJoint* m_joint = nullptr;
    uint32_t m_maxRows = 0;
    CPhysicalEntity* m_child = nullptr;
    CPhysicalEntity* m_parent = nullptr;
    int32_t m_type = 0;
    std::string m_id;
    CVectorField m_pivot{0.0f, 0.0f, 0.0f, "-Pivot"};
    CVectorField m_childPin{0.0f, 0.0f, 0.0f, "-PinChild"};
    CVectorField m_parentPin{0.0f, 0.0f, 0.0f, "-PinParent"};
    std::string m_childId;
    std::string m_parentId;
    float m_springStiffness = 0.0f;
    bool m_enabled = true;
    bool m_limitsEnabled = false;
    float m_minLimit = 0.0f;
    float m_maxLimit = 0.0f;
    CVectorField m_dirLimit{0.0f, 0.0f, 0.0f, "-Dir"};
    float m_gearRatio = 0.0f;
    float m_springFactor = 0.0f;
    float m_springDamping = 0.0f;
    bool m_motorEnabled = false;
    float m_angularAcceleration = 0.0f;
    float m_angularDamping = 0.0f;
    float m_childLocal[16];
    float m_parentLocal[16];
    // This step's frame data, in world space.
    CVector m_childPivot;
    CVector m_parentPivot;
    CVector m_childFront;
    CVector m_parentFront;
    CVector m_childUp;
    CVector m_parentUp;
    CVector m_childRight;
    CVector m_parentRight;

private:
    // The block's fields, in file order; Write and Read run over them.
    // Written through the getters, which a kind answers from its own
    // state; read into the members.
    static const Misc::Serialization::SStoredField<CJoint> kStoredFields[];

    static void Submit(const NewtonJoint* joint);
    static void Destroyed(const NewtonJoint* joint);
};
