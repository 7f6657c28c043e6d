// The kinds with members of their own: the waypoint's connections, the
// camera's guide, and the world's sky and fog records.

#include "ManagedKinds.h"
#include "graphics/scene/EntityArchive.h"
#include "support/ErrorOf.h"
#include "support/NullGraphicsEngine.h"

#include "world/Fog.h"
#include "world/Sky.h"

#include <gtest/gtest.h>

namespace
{

using namespace EntityArchive;
using CWaypoint = CManagedEntity<Graphics::Scene::CGraphicalWaypoint>;
using CCamera = CManagedEntity<Graphics::Scene::CGraphicalCamera>;
using DrawPostScene = Misc::Multicast::CMulticastOf<Misc::Multicast::Kind::DrawPostScene>;

const EForm kForms[] = {EForm::Text, EForm::Binary, EForm::Compressed};

CWaypointConnection Connection(const char* id, const std::string& destination, float cost)
{
    CWaypointConnection connection;
    EXPECT_TRUE(connection.SetId(id));
    connection.SetWaypoint(destination);
    connection.SetCost(cost);
    return connection;
}

// The list as "destination:cost" in order.
std::vector<std::string> Listed(const CWaypoint& waypoint)
{
    std::vector<std::string> listed;
    for (const CWaypointConnection& connection : waypoint.GetConnections())
        listed.push_back(connection.GetWaypoint() + ":" + std::to_string(connection.GetCost()));
    return listed;
}

const char* const kA = "00000000-0000-4000-8000-00000000000a";
const char* const kB = "00000000-0000-4000-8000-00000000000b";
const char* const kC = "00000000-0000-4000-8000-00000000000c";

TEST(WorldRecordsTest, AConnectionWithAKnownIdIsReplacedAndMovedLast)
{
    CWaypoint waypoint;
    waypoint.AddConnection(Connection(kA, "to a", 1.0f));
    waypoint.AddConnection(Connection(kB, "to b", 2.0f));
    waypoint.AddConnection(Connection(kC, "to c", 3.0f));
    waypoint.AddConnection(Connection(kA, "to a again", 4.0f));
    EXPECT_EQ(Listed(waypoint),
              (std::vector<std::string>{"to b:2.000000", "to c:3.000000", "to a again:4.000000"}));
    // A connection of the list itself, added again.
    waypoint.AddConnection(waypoint.GetConnection(kB));
    EXPECT_EQ(Listed(waypoint),
              (std::vector<std::string>{"to c:3.000000", "to a again:4.000000", "to b:2.000000"}));

    waypoint.GetConnection(kC).SetCost(9.0f);
    EXPECT_EQ(waypoint.GetConnections().front().GetCost(), 9.0f);
    EXPECT_EQ(ErrorOf([&] { waypoint.GetConnection("no such id"); }),
              "Invalid waypoint connection id:no such id");
    waypoint.RemoveConnection("no such id");
    waypoint.RemoveConnection(kA);
    EXPECT_EQ(Listed(waypoint), (std::vector<std::string>{"to c:9.000000", "to b:2.000000"}));

    // Copies and assignments carry the type and the list, ids included.
    waypoint.SetWaypointType(L"door");
    CWaypoint copy(waypoint);
    CWaypoint assigned;
    assigned.AddConnection(Connection(kA, "lost", 0.0f));
    assigned = waypoint;
    for (const CWaypoint* other : {&copy, &assigned})
    {
        EXPECT_EQ(Listed(*other), Listed(waypoint));
        EXPECT_EQ(other->GetWaypointType(), L"door");
        EXPECT_EQ(other->GetConnections().back().GetId(), kB);
    }

    waypoint.SetName(L"gone");
    waypoint.Clear();
    EXPECT_TRUE(waypoint.GetConnections().empty());
    EXPECT_EQ(waypoint.GetWaypointType(), L"");
    EXPECT_EQ(waypoint.GetName(), L"");
}

TEST(WorldRecordsTest, WaypointBlocksKeepTheirConnectionsInOrder)
{
    CTestFolder folder;
    for (const EForm form : kForms)
    {
        SCOPED_TRACE(FormName(form));
        CWaypoint saved;
        Dress(saved);
        saved.SetWaypointType(L"door");
        saved.AddConnection(Connection(kB, kSecondId, 2.5f));
        saved.AddConnection(Connection(kA, kFirstId, 0.125f));
        const std::string bytes = Save(folder, saved, form);
        CWaypoint read;
        ASSERT_EQ(Load(folder, read, bytes, form), "");
        EXPECT_EQ(read.GetWaypointType(), L"door");
        EXPECT_EQ(Listed(read), Listed(saved));
        ASSERT_EQ(read.GetConnections().size(), 2u);
        EXPECT_EQ(read.GetConnections()[0].GetId(), kB);
        EXPECT_EQ(read.GetConnections()[1].GetId(), kA);
        EXPECT_EQ(read.GetName(), saved.GetName());
    }

    // No connections: the list's braces follow each other.
    CWaypoint empty;
    const std::string text = Save(folder, empty, EForm::Text);
    const size_t list = text.find("Connections{");
    ASSERT_NE(list, std::string::npos);
    EXPECT_EQ(text.find_first_not_of(" \t\r\n", list + 12), text.find('}', list));
    CWaypoint read;
    read.AddConnection(Connection(kA, "kept", 1.0f));
    ASSERT_EQ(Load(folder, read, text, EForm::Text), "");
    EXPECT_EQ(Listed(read), std::vector<std::string>{"kept:1.000000"});
}

TEST(WorldRecordsTest, ReadingAppendsConnectionsWithoutTheDuplicateCheck)
{
    CTestFolder folder;
    CWaypoint saved;
    saved.AddConnection(Connection(kA, "first", 1.0f));
    std::string text = Save(folder, saved, EForm::Text);
    // The same connection block twice, the second with other values.
    const size_t start = text.find("Connection{");
    const size_t end = text.find('}', start) + 1;
    const std::string block = text.substr(start, end - start);
    std::string second = block;
    second.replace(second.find("first"), 5, "again");
    text.insert(end, "\n" + second);
    CWaypoint read;
    ASSERT_EQ(Load(folder, read, text, EForm::Text), "");
    EXPECT_EQ(Listed(read), (std::vector<std::string>{"first:1.000000", "again:1.000000"}));
    EXPECT_EQ(read.GetConnections()[1].GetId(), kA);

    // A connection id that is no UUID is an error, as an entity's is.
    const std::string badId = text.substr(0, start) + ReplaceFirst(block, kA, "bad") + text.substr(end);
    CWaypoint bad;
    EXPECT_EQ(Load(folder, bad, badId, EForm::Text), "[CWaypointConnection::Read] Invalid id:bad");
}

TEST(WorldRecordsTest, TheCameraGuideFollowsItsFlagOnce)
{
    auto camera = std::make_unique<CCamera>();
    const auto subscribed = [&] { return DrawPostScene::IsSubscribed(camera.get()); };
    EXPECT_FALSE(subscribed());
    camera->SetFlags(CCamera::kGuideFlag | 1);
    camera->SetFlags(CCamera::kGuideFlag);
    EXPECT_TRUE(subscribed());
    // Hiding and showing keep what the flags ask for.
    camera->SetVisible(false);
    EXPECT_TRUE(subscribed());
    camera->SetVisible(true);
    EXPECT_TRUE(subscribed());
    EXPECT_EQ(camera->GetFlags(), CCamera::kGuideFlag);

    // One entry however often it subscribed: one removal takes it off.
    DrawPostScene::Unsubscribe(camera.get());
    EXPECT_FALSE(subscribed());
    camera->SetFlags(CCamera::kGuideFlag);
    camera->SetFlags(0);
    EXPECT_FALSE(subscribed());
    camera->SetVisible(false);
    camera->SetVisible(true);
    EXPECT_FALSE(subscribed());

    // A copy draws nothing until its flags are set; a camera that goes
    // leaves the channel.
    camera->SetFlags(CCamera::kGuideFlag);
    CCamera copy(*camera);
    EXPECT_FALSE(DrawPostScene::IsSubscribed(&copy));
    const auto* address = static_cast<DrawPostScene::Subscriber*>(camera.get());
    camera.reset();
    EXPECT_FALSE(DrawPostScene::IsSubscribed(address));
}

TEST(WorldRecordsTest, TheCameraGuideDrawsForItsOwnEngine)
{
    CNullEngine graphics;
    CNullEngine other;
    CCamera camera;
    camera.SetLookAt(CVector(0, 0, 10));
    camera.SetFlags(CCamera::kGuideFlag);
    graphics.engine.Add(&camera, nullptr, "");
    // Hidden and shown by the engine as it makes the node: still drawing.
    ASSERT_TRUE(DrawPostScene::IsSubscribed(&camera));
    // The guide never handles the event: others still receive it.
    EXPECT_FALSE(DrawPostScene::Publish({&graphics.engine}));
    EXPECT_FALSE(DrawPostScene::Publish({&other.engine}));
    EXPECT_TRUE(graphics.engine.Step());
}

TEST(WorldRecordsTest, SkyAndFogRecordsWithTheirValues)
{
    CTestFolder folder;
    CFog fog;
    CSky sky;
    EXPECT_TRUE(sky.IsEnabled());
    EXPECT_EQ(sky.GetTypeId(), 2048u);
    EXPECT_STREQ(sky.GetTypeName(), "KVOSKY");
    EXPECT_STREQ(fog.GetTypeName(), "KVOFOG");
    const std::string fogText = Save(folder, fog, EForm::Text);
    for (const char* line :
         {"Fog{", "-Start 0.000000", "-End 0.000000", "-Color 0.000000 0.000000 0.000000 0.000000", "}"})
        EXPECT_NE(fogText.find(line), std::string::npos) << line << " in\n" << fogText;
    const std::string skyText = Save(folder, sky, EForm::Text);
    EXPECT_NE(skyText.find("Sky{"), std::string::npos);
    EXPECT_NE(skyText.find("-Enabled 1"), std::string::npos);
    // Only whether it shows and how it looks: no entity record.
    for (const char* key : {"-Id", "-Name", "-Position", "Data{", "Physics{"})
        EXPECT_EQ(skyText.find(key), std::string::npos) << key;

    fog.SetStart(12.5f);
    fog.SetEnd(300.0f);
    fog.SetColor(CColor(0.25f, 0.5f, 0.75f, 1.0f));
    sky.SetEnabled(false);
    static_cast<Graphics::Scene::CGraphicalSky&>(sky).SetType(L"dome");
    sky.SetDome(L"clouds.png");
    sky.SetDomeHRes(16);
    sky.SetDomeVRes(8);
    sky.SetDomePercentage(0.5f);
    sky.SetTop(L"top.png");
    for (const EForm form : kForms)
    {
        SCOPED_TRACE(FormName(form));
        CFog readFog;
        ASSERT_EQ(Load(folder, readFog, Save(folder, fog, form), form), "");
        EXPECT_EQ(readFog.GetStart(), 12.5f);
        EXPECT_EQ(readFog.GetEnd(), 300.0f);
        EXPECT_EQ(readFog.GetColor().b, 0.75f);
        EXPECT_EQ(readFog.GetColor().a, 1.0f);
        CSky readSky;
        ASSERT_EQ(Load(folder, readSky, Save(folder, sky, form), form), "");
        EXPECT_FALSE(readSky.IsEnabled());
        EXPECT_TRUE(readSky.IsDome());
        EXPECT_EQ(readSky.GetDome(), L"clouds.png");
        EXPECT_EQ(readSky.GetDomeHRes(), 16u);
        EXPECT_EQ(readSky.GetDomeVRes(), 8u);
        EXPECT_EQ(readSky.GetDomePercentage(), 0.5f);
        EXPECT_EQ(readSky.GetTop(), L"top.png");
    }

    // A record that is not there is the archive's reading error.
    CSky notSky;
    EXPECT_NE(Load(folder, notSky, ReplaceFirst(skyText, "Sky{", "Fog{"), EForm::Text).find("Error reading:"),
              std::string::npos);
    EXPECT_TRUE(notSky.IsEnabled());
    CFog notFog;
    EXPECT_NE(Load(folder, notFog, WithoutKeys(fogText, {"-End"}), EForm::Text).find("Error reading:"),
              std::string::npos);
}

} // namespace
