// The rows each joint kind submits, its settings and units, and its
// "Joint{" block with older layouts, a fixture of each layout and damaged
// files.
#include "PhysicsTest.h"

#include "core/foundation/KVOError.h"
#include "core/io/FileVersions.h"
#include "graphics/scene/EntityArchive.h"
#include "physics/Joint.h"
#include "physics/JointBallAndSocket.h"
#include "physics/JointHinge.h"
#include "physics/newton/Newton.h"
#include "physics/newton/UserJointRows.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <functional>
#include <random>
#include <string>
#include <vector>

using EntityArchive::EForm;
namespace FileVersion = Misc::Serialization::FileVersion;
using Row = NewtonJointRowRecord;

namespace
{

class JointRowsTest : public CPhysicsTest
{
protected:
    void SetUp() override
    {
        CPhysicsTest::SetUp();
        child = &Add(1.0f, CVector(0, 0, 0));
        parent = &Add(1.0f, CVector(2, 0, 0));
    }

    // Turns a body about z, or moves it, without stepping.
    static void Place(CPhysicalEntity& entity, const CVector& position, float degreesAboutZ = 0.0f)
    {
        const float a = degreesAboutZ * CJoint::kRadiansPerDegree;
        const float m[16] = {std::cos(a), std::sin(a), 0, 0, -std::sin(a), std::cos(a), 0,          0,
                             0,           0,           1, 0, position.x,   position.y,  position.z, 1};
        NewtonBodySetMatrix(entity.GetBody(), m);
    }

    static std::string Kinds(const std::vector<Row>& rows)
    {
        std::string kinds;
        for (const Row& row : rows)
            kinds += row.kind == Row::Kind::Linear ? 'L' : row.kind == Row::Kind::Angular ? 'A' : 'G';
        return kinds;
    }

    CPhysicalTestEntity* child = nullptr;
    CPhysicalTestEntity* parent = nullptr;
};

std::vector<Row> RowsOf(const CJoint& joint)
{
    return NewtonUserJointSubmitRows(joint.GetNewtonJoint());
}

} // namespace

TEST_F(JointRowsTest, EachKindSubmitsItsRows)
{
    const CVector pivot(1, 0, 0);
    const CVector pinZ(0, 0, 1);
    const CVector pinX(1, 0, 0);
    struct SCase
    {
        const char* name;
        std::function<CJoint*()> make;
        // Where the child is when the rows are asked for.
        CVector childAt;
        float childTurn;
        const char* rows;
    };
    const SCase cases[] = {
        {"hinge", [&] { return engine.CreateJointHinge("j", pivot, pinZ, child, parent); }, {}, 0, "LLLLL"},
        {"hinge within limits",
         [&] { return engine.CreateJointHingeLimited("j", pivot, pinZ, child, parent, -45, 45); },
         {},
         30,
         "LLLLL"},
        {"hinge past a limit",
         [&] { return engine.CreateJointHingeLimited("j", pivot, pinZ, child, parent, -45, 45); },
         {},
         60,
         "LLLLLA"},
        {"hinge with a motor, past a limit",
         [&]
         {
             CJoint* joint = engine.CreateJointHingeLimited("j", pivot, pinZ, child, parent, -45, 45);
             joint->SetJointMotor(2, 0.5f);
             return joint;
         },
         {},
         60,
         "LLLLLA"},
        {"corkscrew",
         [&] { return engine.CreateJointCorkscrew("j", pivot, pinX, child, parent); },
         {},
         0,
         "LLLL"},
        {"corkscrew past a limit",
         [&] { return engine.CreateJointCorkscrewLimited("j", pivot, pinX, child, parent, -1, 1); },
         {-1.5f, 0, 0},
         0,
         "LLLLL"},
        {"slider", [&] { return engine.CreateJointSlider("j", pivot, pinX, child, parent); }, {}, 0, "LLLLL"},
        {"slider past a limit",
         [&] { return engine.CreateJointSliderLimited("j", pivot, pinX, child, parent, -1, 1); },
         {1.5f, 0, 0},
         0,
         "LLLLLL"},
        {"spring",
         [&] { return engine.CreateJointSpring("j", pivot, pinX, child, parent, -1, 1, 0.5f, 20, 2); },
         {},
         0,
         "LLLLLL"},
        {"spring past a limit: seven rows",
         [&] { return engine.CreateJointSpring("j", pivot, pinX, child, parent, -1, 1, 0.5f, 20, 2); },
         {-1.5f, 0, 0},
         0,
         "LLLLLLL"},
        {"ball and socket",
         [&] { return engine.CreateJointBallAndSocket("j", pivot, child, parent); },
         {},
         60,
         "LLL"},
        {"ball and socket inside its cone",
         [&] { return engine.CreateJointBallAndSocketLimited("j", pivot, child, parent, 30, CVector()); },
         {},
         20,
         "LLL"},
        {"ball and socket outside its cone",
         [&] { return engine.CreateJointBallAndSocketLimited("j", pivot, child, parent, 30, CVector()); },
         {},
         60,
         "LLLLL"},
        {"up vector", [&] { return engine.CreateJointUpVector("j", CVector(0, 1, 0), child); }, {}, 0, "AA"},
        {"up vector turned",
         [&] { return engine.CreateJointUpVector("j", CVector(0, 1, 0), child); },
         {},
         60,
         "AA"},
        {"gear", [&] { return engine.CreateJointGear("j", pinZ, pinZ, child, parent, 2); }, {}, 0, "G"},
        {"pulley", [&] { return engine.CreateJointPulley("j", pinX, pinX, child, parent, 2); }, {}, 0, "G"},
        {"fixed", [&] { return engine.CreateJointFixed("j", child, parent); }, {}, 0, "LLLLLL"},
    };
    for (const SCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        Place(*child, CVector());
        CJoint* joint = c.make();
        ASSERT_NE(joint, nullptr);
        Place(*child, c.childAt, c.childTurn);
        const std::vector<Row> rows = RowsOf(*joint);
        EXPECT_EQ(Kinds(rows), c.rows);
        EXPECT_LE(rows.size(), joint->GetMaxRows());
        joint->SetEnabled(false);
        EXPECT_TRUE(RowsOf(*joint).empty()) << "a disabled joint submits nothing";
        engine.DestroyJoint("j");
    }
}

TEST_F(JointRowsTest, RowSettingsOfTheKinds)
{
    const CVector pivot(1, 0, 0);
    // Hinge: the pivot row along the pin and the two pin rows at full
    // stiffness, the others at the joint's.
    CJoint* hinge = engine.CreateJointHingeLimited("hinge", pivot, CVector(0, 0, 1), child, parent, -45, 45);
    std::vector<Row> rows = RowsOf(*hinge);
    const float stiffness[] = {1, 0.9f, 0.9f, 1, 1};
    for (size_t i = 0; i < 5; ++i)
        EXPECT_FLOAT_EQ(rows[i].stiffness, stiffness[i]) << i;
    // A limit row pushes only back into the range, from either side.
    for (const float turn : {60.0f, -60.0f})
    {
        Place(*child, CVector(), turn);
        rows = RowsOf(*hinge);
        ASSERT_EQ(rows.size(), 6u);
        const Row& limit = rows[5];
        EXPECT_NEAR(std::fabs(limit.angle), 2 * 15 * CJoint::kRadiansPerDegree, 1e-4f);
        if (limit.angle < 0)
            EXPECT_EQ(limit.maxFriction, 0.0f) << turn;
        else
            EXPECT_EQ(limit.minFriction, 0.0f) << turn;
        EXPECT_FLOAT_EQ(limit.stiffness, 1.0f);
    }
    // A motor: an acceleration row about the pin, no limit rows.
    hinge->SetJointMotor(2, 0.5f);
    rows = RowsOf(*hinge);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_TRUE(rows[5].hasAcceleration);
    EXPECT_FLOAT_EQ(rows[5].acceleration, 2.0f);
    EXPECT_FLOAT_EQ(rows[5].dir[2], 1.0f);

    // Spring: a spring row between the two pivots, which coincide where the
    // joint was made, so it rests at that length.
    Place(*child, CVector());
    CJoint* spring =
        engine.CreateJointSpring("spring", pivot, CVector(1, 0, 0), child, parent, -1, 1, 0.5f, 20, 2);
    rows = RowsOf(*spring);
    ASSERT_EQ(rows.size(), 6u);
    const Row& springRow = rows.back();
    EXPECT_TRUE(springRow.spring);
    EXPECT_FLOAT_EQ(springRow.springK, 20.0f);
    EXPECT_FLOAT_EQ(springRow.springD, 2.0f);
    for (int k = 0; k < 3; ++k)
        EXPECT_NEAR(springRow.pivot0[k], springRow.pivot1[k], 1e-5f);
    Place(*child, CVector(-1.5f, 0, 0));
    rows = RowsOf(*spring);
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[5].minFriction, 0.0f) << "below the minimum the limit only pushes out";
    EXPECT_TRUE(rows[6].spring) << "the spring row is not dropped";

    // Gear: the ratio in the acceleration, the pins in the angular parts.
    Place(*child, CVector());
    CJoint* gear = engine.CreateJointGear("gear", CVector(0, 0, 1), CVector(0, 0, 1), child, parent, 2);
    const float spin[3] = {0, 0, 3};
    NewtonBodySetOmega(parent->GetBody(), spin);
    rows = RowsOf(*gear);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_FLOAT_EQ(rows[0].jacobian0[5], 1.0f);
    EXPECT_FLOAT_EQ(rows[0].jacobian1[5], 1.0f);
    EXPECT_FLOAT_EQ(rows[0].jacobian0[2], 0.0f);
    EXPECT_NEAR(rows[0].acceleration * NewtonGetTimeStep(engine.GetWorld()), -6.0f, 1e-4f);
}

TEST_F(JointRowsTest, SettingsUnitsAndUnsupportedOperations)
{
    CJoint* hinge =
        engine.CreateJointHingeLimited("hinge", CVector(1, 0, 0), CVector(0, 0, 1), child, parent, -45, 45);
    EXPECT_FLOAT_EQ(hinge->GetSpringStiffness(), 0.9f) << "a new joint's stiffness";
    EXPECT_FLOAT_EQ(hinge->GetMinLimit(), -45.0f);
    EXPECT_FLOAT_EQ(hinge->GetMaxLimit(), 45.0f);
    hinge->SetMinLimit(60);
    EXPECT_FLOAT_EQ(hinge->GetMaxLimit(), 60.0f) << "the maximum follows a higher minimum";
    hinge->SetSpringStiffness(-1);
    EXPECT_EQ(hinge->GetSpringStiffness(), 0.0f);
    hinge->SetSpringStiffness(2);
    EXPECT_EQ(hinge->GetSpringStiffness(), 1.0f);
    hinge->SetJointMotor(0.0000005f, 1);
    EXPECT_FALSE(hinge->GetMotorEnabled());
    hinge->SetJointMotor(0.5f, 1);
    EXPECT_TRUE(hinge->GetMotorEnabled());
    EXPECT_THROW(hinge->GetForce(hinge->GetMaxRows()), Misc::Error::CKVOError);
    const CJoint description(*hinge);
    EXPECT_EQ(description.GetForce(5), 0.0f) << "no world joint";

    CJoint* ball =
        engine.CreateJointBallAndSocketLimited("ball", CVector(1, 0, 0), child, parent, 30, CVector());
    EXPECT_FLOAT_EQ(ball->GetMaxLimit(), 30.0f);

    CJoint* slider = engine.CreateJointSlider("slider", CVector(1, 0, 0), CVector(1, 0, 0), child, parent);
    EXPECT_EQ(slider->GetType(), CJoint::kSlider);
    EXPECT_FALSE(slider->GetLimitsEnabled());
    slider->SetSpringDamping(0.5f);
    EXPECT_EQ(slider->GetType(), CJoint::kSpring) << "any spring value makes a spring";
    EXPECT_TRUE(slider->GetLimitsEnabled());
    slider->SetSpringStiffness(3);
    EXPECT_EQ(slider->GetSpringStiffness(), 3.0f) << "unclamped on a slider";

    CJoint* fixed = engine.CreateJointFixed("fixed", child, nullptr);
    EXPECT_EQ(fixed->GetPivot().x, 0.0f) << "without a parent the pivot is the origin";
    CJoint* fixedToParent = engine.CreateJointFixed("fixed2", child, parent);
    EXPECT_EQ(fixedToParent->GetPivot().x, 2.0f) << "the parent's position";

    // What a kind does not support keeps the base's message.
    CJoint* gear = engine.CreateJointGear("gear", CVector(0, 0, 1), CVector(0, 0, 1), child, parent, 1);
    struct SCase
    {
        std::function<void()> call;
        const wchar_t* message;
    };
    const SCase cases[] = {
        {[&] { gear->SetPivot(CVector()); }, L"[CJoint::SetPivot] Not implemented for the joint type"},
        {[&] { fixed->SetGearRatio(2); }, L"[CJoint::SetGearRatio] Not implemented for the joint type"},
        {[&] { fixed->SetChildPin(CVector()); }, L"[CJoint::SetChildPin] Not implemented for the joint type"},
        {[&] { hinge->SetParentPin(CVector()); },
         L"[CJoint::SetParentPin] Not implemented for the joint type"},
        {[&] { ball->SetMinLimit(1); }, L"[CJoint::SetMinLimit] Not implemented for the joint type"},
        {[&] { gear->SetMaxLimit(1); }, L"[CJoint::SetMaxLimit] Not implemented for the joint type"},
        {[&] { slider->SetDirLimit(CVector()); },
         L"[CJoint::SetDirLimit] Not implemented for the joint type"},
        {[&] { hinge->SetSpringFactor(1); }, L"[CJoint::SetSpringFactor] Not implemented for the joint type"},
        {[&] { hinge->SetSpringDamping(1); },
         L"[CJoint::SetSpringDamping] Not implemented for the joint type"},
        {[&] { slider->SetJointMotor(1, 1); }, L"[CJoint::SetJointMotor] Not implemented for the joint type"},
        {[&] { CJoint().Recreate(); }, L"[CJoint::Recreate] Not implemented for the joint type"},
    };
    for (const SCase& c : cases)
    {
        try
        {
            c.call();
            ADD_FAILURE() << "no error for " << std::string(c.message, c.message + wcslen(c.message));
        }
        catch (const Misc::Error::CKVOError& error)
        {
            EXPECT_EQ(error.GetMessage(), c.message);
        }
    }
}

TEST_F(JointRowsTest, BlockRoundTripsWithOlderLayouts)
{
    CTestFolder folder;
    CJoint* hinge = engine.CreateJointHingeLimited("hinge \u00e9", CVector(1, 2, 3), CVector(0, 0, 1), child,
                                                   parent, -30, 60);
    hinge->SetJointMotor(1.5f, 0.25f);
    hinge->SetSpringStiffness(0.5f);
    hinge->SetEnabled(false);
    for (const EForm form : {EForm::Text, EForm::Binary})
        for (const uint32_t version : {1016u, 1017u, 1030u})
        {
            SCOPED_TRACE(std::string(EntityArchive::FormName(form)) + " " + std::to_string(version));
            const std::string bytes = EntityArchive::Save(folder, *hinge, form, version);
            if (form == EForm::Text && version == 1030u)
            {
                EXPECT_NE(bytes.find("-MinLimit -30.0000"), std::string::npos) << "degrees, 6 decimals\n"
                                                                               << bytes;
            }
            CJoint loaded;
            ASSERT_EQ(EntityArchive::Load(folder, loaded, bytes, form), "");
            EXPECT_EQ(loaded.GetId(), "hinge \u00e9");
            EXPECT_EQ(loaded.GetType(), CJoint::kHinge);
            EXPECT_EQ(loaded.GetPivot().z, 3.0f);
            EXPECT_EQ(loaded.GetChildPin().z, 1.0f);
            EXPECT_EQ(loaded.GetChildId(), child->GetId());
            EXPECT_EQ(loaded.GetParentId(), parent->GetId());
            EXPECT_TRUE(loaded.GetLimitsEnabled());
            EXPECT_FLOAT_EQ(loaded.GetMinLimit(), -30.0f);
            EXPECT_FLOAT_EQ(loaded.GetMaxLimit(), 60.0f);
            EXPECT_TRUE(loaded.GetMotorEnabled());
            EXPECT_FLOAT_EQ(loaded.GetAngularAcceleration(), 1.5f);
            EXPECT_FLOAT_EQ(loaded.GetAngularDamping(), 0.25f);
            EXPECT_FLOAT_EQ(loaded.GetSpringStiffness(), version >= 1017 ? 0.5f : 0.0f);
            EXPECT_EQ(loaded.GetEnabled(), version < 1018) << "older files keep the joint enabled";
            EXPECT_EQ(loaded.GetNewtonJoint(), nullptr);
        }
}

// A damaged block reads or fails with an error; what it leaves is only a
// description and can be made into a joint or refused, never a crash.
TEST_F(JointRowsTest, DamagedBlocksNeverCrash)
{
    CTestFolder folder;
    CJoint* spring = engine.CreateJointSpring("spring", CVector(1, 0, 0), CVector(1, 0, 0), child, parent, -1,
                                              1, 0.5f, 20, 2);
    std::mt19937 random(41);
    for (const EForm form : {EForm::Text, EForm::Binary})
    {
        const std::string original = EntityArchive::Save(folder, *spring, form);
        for (int round = 0; round < 100; ++round)
        {
            const std::string bytes = Damaged(original, random);
            CJoint loaded;
            EntityArchive::Load(folder, loaded, bytes, form);
            loaded.SetEntities(child, parent);
            try
            {
                std::unique_ptr<CJoint> made = engine.CreateJointFromParams(loaded);
                Run(1);
            }
            catch (const Misc::Error::CKVOError&)
            {
            }
        }
    }
}

namespace
{

std::string JointFixture(uint32_t version)
{
    const std::filesystem::path path = std::filesystem::path(HALVANE_TEST_DATA_DIR) / "fixtures" /
                                       ("joint-" + std::to_string(version) + ".kvojoint");
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

} // namespace

// A block of each layout joints were stored in (before the spring, with
// it, with the enabled switch): each fixture reads with the fields its
// version holds and is what the writer writes for that version, byte for
// byte, from the joint the newest one holds.
TEST(JointFileVersionsTest, EachLayoutReadsAndIsWrittenByteForByte)
{
    CTestFolder folder;
    CJoint newest;
    ASSERT_EQ(EntityArchive::Load(folder, newest, JointFixture(FileVersion::kJointEnabled), EForm::Text), "");
    for (const uint32_t version :
         {FileVersion::kJointSpring - 1, FileVersion::kJointSpring, FileVersion::kJointEnabled})
    {
        SCOPED_TRACE("version " + std::to_string(version));
        const std::string fixture = JointFixture(version);
        ASSERT_FALSE(fixture.empty());
        EXPECT_EQ(EntityArchive::Save(folder, newest, EForm::Text, version), fixture);
        CJoint loaded;
        ASSERT_EQ(EntityArchive::Load(folder, loaded, fixture, EForm::Text), "");
        EXPECT_EQ(loaded.GetId(), "hinge");
        EXPECT_EQ(loaded.GetType(), CJoint::kHinge);
        EXPECT_EQ(loaded.GetPivot().y, 2.0f);
        EXPECT_EQ(loaded.GetParentPin().z, 1.0f);
        EXPECT_EQ(loaded.GetChildId(), "00000000-0000-4000-8000-000000000001");
        EXPECT_EQ(loaded.GetParentId(), "00000000-0000-4000-8000-000000000002");
        EXPECT_TRUE(loaded.GetLimitsEnabled());
        EXPECT_EQ(loaded.GetMinLimit(), -30.0f);
        EXPECT_EQ(loaded.GetMaxLimit(), 60.0f);
        EXPECT_TRUE(loaded.GetMotorEnabled());
        EXPECT_EQ(loaded.GetAngularDamping(), 0.25f);
        // Older blocks keep what a new joint has: no stiffness, enabled.
        EXPECT_EQ(loaded.GetSpringStiffness(), version >= FileVersion::kJointSpring ? 0.5f : 0.0f);
        EXPECT_EQ(loaded.GetEnabled(), version < FileVersion::kJointEnabled);
    }
}

// A value that does not read ends the block with the joint's own error,
// naming the key; a missing key throws the archive's reading error.
TEST(JointFileVersionsTest, AnUnreadableValueNamesItsKey)
{
    CTestFolder folder;
    const std::string fixture = JointFixture(FileVersion::kJointEnabled);
    struct SCase
    {
        const char* from;
        const char* to;
        const char* error;
    };
    const SCase cases[] = {
        {"-MinLimit -30.000000", "-MinLimit x", "[CJoint::Read] Value of -MinLimit unreadable"},
        {"-Pivot 1.000000", "-Pivot x", "[CJoint::Read] Value of -Pivot unreadable"},
        {"-Enabled 0", "-Enabled x", "[CJoint::Read] Value of -Enabled unreadable"},
    };
    for (const SCase& c : cases)
    {
        SCOPED_TRACE(c.to);
        std::string bytes = fixture;
        const size_t at = bytes.find(c.from);
        ASSERT_NE(at, std::string::npos);
        bytes.replace(at, std::string(c.from).size(), c.to);
        CJoint loaded;
        EXPECT_EQ(EntityArchive::Load(folder, loaded, bytes, EForm::Text), c.error);
    }
    std::string missing = fixture;
    missing.erase(missing.find("\t-GearRatio"),
                  missing.find("\t-MotorEnabled") - missing.find("\t-GearRatio"));
    CJoint loaded;
    EXPECT_NE(EntityArchive::Load(folder, loaded, missing, EForm::Text).find("Error reading:"),
              std::string::npos);
}
