// Every kind's block written to text, binary and compressed archives and
// read back; blocks of another kind, ids that are no UUIDs, and a seeded
// run of damaged blocks.

#include "ManagedKinds.h"
#include "graphics/scene/EntityArchive.h"

#include "world/Fog.h"
#include "world/Sky.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <random>

namespace
{

using namespace EntityArchive;

const EForm kForms[] = {EForm::Text, EForm::Binary, EForm::Compressed};

// Two connections, so that their order shows.
void Connect(IEntityInterface& entity)
{
    auto* waypoint = dynamic_cast<CManagedEntity<Graphics::Scene::CGraphicalWaypoint>*>(&entity);
    if (waypoint == nullptr)
        return;
    waypoint->SetWaypointType(L"door");
    for (const char* destination : {kSecondId, kFirstId})
    {
        CWaypointConnection connection;
        connection.SetWaypoint(destination);
        connection.SetCost(destination == kFirstId ? 0.5f : 7.25f);
        waypoint->AddConnection(connection);
    }
}

TEST(ManagedEntityPersistenceTest, EveryKindsBlockComesBackInEveryForm)
{
    CTestFolder folder;
    for (const SManagedKind& kind : ManagedKinds())
    {
        for (const EForm form : kForms)
        {
            SCOPED_TRACE(std::string(kind.name) + " " + FormName(form));
            const auto saved = kind.make();
            Dress(*saved);
            Connect(*saved);
            const std::string bytes = Save(folder, *saved, form);
            // An entity file names its kind, so that the kind's loader opens it.
            if (form == EForm::Text)
            {
                EXPECT_EQ(bytes.find(kind.tag), bytes.find_first_not_of("\xEF\xBB\xBF"));
            }

            const auto read = kind.make();
            ASSERT_EQ(Load(folder, *read, bytes, form), "");
            EXPECT_STREQ(read->GetId(), kFirstId);
            EXPECT_EQ(read->GetName(), saved->GetName());
            EXPECT_EQ(read->GetPosition().y, -2.0f);
            EXPECT_EQ(read->GetRotation().z, 30.0f);
            EXPECT_EQ(read->GetScale().x, 2.0f);
            EXPECT_EQ(read->GetScript(), L"scripts/gate.lua");
            EXPECT_EQ(read->GetData().GetCount(), 2u);
            // The sky keeps only how it looks: no model.
            if (kind.typeId != Misc::World::kTypeIdSky)
            {
                EXPECT_EQ(read->GetGraphicalPart()->GetModelName(), L"models/gate.x");
            }
            EXPECT_EQ(read->GetPhysicalPart()->GetMass(), 2.5f);
            // Everything saved came back: saved again, the bytes are the same.
            EXPECT_EQ(Save(folder, *read, form), bytes);
        }
    }
}

TEST(ManagedEntityPersistenceTest, TheTextBlockReadsAsWritten)
{
    CTestFolder folder;
    CManagedEntity<Graphics::Scene::CGraphicalUnit> unit;
    Dress(unit);
    const std::string text = Save(folder, unit, EForm::Text);
    // The block, then the record's fields in their order.
    size_t at = 0;
    for (const char* field :
         {"Unit{", "-Id 00000000-0000-4000-8000-0000000000a1", "-Name ",
          "-Position 1.500000 -2.000000 3.250000", "-Rotation 10.000000 20.000000 30.000000",
          "-Scale 2.000000 3.000000 4.000000", "-Script ", "Data{", "-Model", "Physics{", "Sounds{"})
    {
        const size_t found = text.find(field, at);
        ASSERT_NE(found, std::string::npos) << field << " after " << at << " in\n" << text;
        at = found;
    }
}

TEST(ManagedEntityPersistenceTest, AnotherKindsBlockIsLeftAfterItsFirstToken)
{
    CTestFolder folder;
    const std::vector<SManagedKind> kinds = ManagedKinds();
    for (size_t index = 0; index < kinds.size(); ++index)
    {
        const SManagedKind& kind = kinds[index];
        const SManagedKind& other = kinds[(index + 1) % kinds.size()];
        for (const EForm form : {EForm::Text, EForm::Binary})
        {
            SCOPED_TRACE(std::string(kind.name) + " reading a " + other.name + " in " + FormName(form));
            const auto written = other.make();
            Dress(*written);
            const std::string bytes = Save(folder, *written, form);
            folder.Write("other", bytes);
            const auto reader = kind.make();
            auto check = [&](Misc::Serialization::IArchive& archive)
            {
                EXPECT_FALSE(reader->Read(archive));
                EXPECT_EQ(archive.GetString(), "-Id");
            };
            if (form == EForm::Text)
            {
                Misc::Serialization::CArchiveText archive(folder.Wide("other"), false, other.tag, 1);
                check(archive);
            }
            else
            {
                Misc::Serialization::CArchiveBin archive(folder.Wide("other"), false, other.tag, 1);
                check(archive);
            }
            EXPECT_STRNE(reader->GetId(), kFirstId);
        }
    }
}

TEST(ManagedEntityPersistenceTest, AnIdThatIsNoUuidIsAnError)
{
    CTestFolder folder;
    for (const SManagedKind& kind : ManagedKinds())
    {
        SCOPED_TRACE(kind.name);
        const auto saved = kind.make();
        Dress(*saved);
        for (const EForm form : {EForm::Text, EForm::Binary})
        {
            const std::string bytes = Save(folder, *saved, form);
            // The same length, so that the binary form stays whole.
            const std::string bad = "zzzzzzzz-0000-4000-8000-0000000000a1";
            const auto read = kind.make();
            const std::string readId = read->GetId();
            // The binary form keeps a narrow string's bytes inverted.
            const auto stored = [form](std::string text)
            {
                if (form == EForm::Binary)
                    for (char& c : text)
                        c = static_cast<char>(~c);
                return text;
            };
            EXPECT_EQ(Load(folder, *read, ReplaceFirst(bytes, stored(kFirstId), stored(bad)), form),
                      "[CManagedEntity::Read] Invalid id:" + bad);
            EXPECT_EQ(read->GetId(), readId);
        }
        const std::string text = Save(folder, *saved, EForm::Text);
        const auto read = kind.make();
        EXPECT_EQ(Load(folder, *read, ReplaceFirst(text, kFirstId, "\"\""), EForm::Text),
                  "[CManagedEntity::Read] Invalid id:");
        EXPECT_NE(Load(folder, *read, WithoutKeys(text, {"-Name"}), EForm::Text).find("Error reading:"),
                  std::string::npos);
    }
}

TEST(ManagedEntityPersistenceTest, DamagedBlocksReadSafely)
{
    CTestFolder folder;
    struct SSaved
    {
        std::function<std::shared_ptr<Misc::Serialization::ISerializable>()> make;
        EForm form;
        std::string bytes;
    };
    std::vector<SSaved> saves;
    std::vector<std::function<std::shared_ptr<Misc::Serialization::ISerializable>()>> makers;
    for (const SManagedKind& kind : ManagedKinds())
    {
        const std::string name = kind.name;
        if (name == "waypoint" || name == "camera" || name == "light" || name == "terrain")
            makers.push_back([make = kind.make] { return std::shared_ptr<IEntityInterface>(make()); });
    }
    makers.push_back([] { return std::make_shared<CSky>(); });
    makers.push_back([] { return std::make_shared<CFog>(); });
    for (const auto& make : makers)
    {
        for (const EForm form : kForms)
        {
            auto saved = make();
            if (auto* entity = dynamic_cast<IEntityInterface*>(saved.get()))
            {
                Dress(*entity);
                Connect(*entity);
            }
            saves.push_back({make, form, Save(folder, *saved, form)});
        }
    }
    std::mt19937 random(20261211);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    size_t reads = 0;
    size_t accepted = 0;
    while (reads < 2500 && std::chrono::steady_clock::now() < deadline)
    {
        for (const SSaved& saved : saves)
        {
            auto read = saved.make();
            if (Load(folder, *read, Mutate(saved.bytes, random), saved.form).empty())
                ++accepted;
            ++reads;
            // Whatever was read can be saved again.
            if (reads % 32 == 0)
                Save(folder, *read, saved.form);
        }
    }
    std::printf("%zu damaged blocks read, %zu accepted\n", reads, accepted);
    EXPECT_GE(reads, saves.size());
    if (reads >= 500)
    {
        EXPECT_GT(accepted, 0u);
    }
}

} // namespace
