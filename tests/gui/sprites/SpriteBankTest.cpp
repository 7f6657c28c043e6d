// The sprite bank: entries, screen sprites and their animation on a driven
// clock, the draw passes, and ".kvosprites" files in every archive form.
#include "gui/GuiFixtures.h"
#include "gui/sprites/GuiKVOSpriteBank.h"

#include "core/app/Application.h"
#include "core/events/Multicast.h"
#include "core/io/ArchiveHandle.h"
#include "core/io/File.h"

#include "gui/GuiTestDevice.h"
#include "core/app/FakeClock.h"
#include "core/io/ArchiveTestUtil.h"
#include "support/ByteMutation.h"
#include "sound/MemoryFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

using ArchiveTest::ErrorOf;
using Graphics::Sprite::CGuiKVOSpriteBank;
using GuiTest::Fixture;

namespace
{

using DrawPreGui = Misc::Multicast::CMulticast<Graphics::Multicast::CEvtGraphicsDrawPreGui>;
using DrawPostGui = Misc::Multicast::CMulticast<Graphics::Multicast::CEvtGraphicsDrawPostGui>;

class SpriteBankTest : public ::testing::Test
{
protected:
    SpriteBankTest()
    {
        textures.Add("hero.png", 64, 32);
        textures.Add("coin.png", 20, 10);
        bank = new CGuiKVOSpriteBank(device.Environment());
        bank->SetTextureLoader(textures.Loader());
        bank->SetTextureNamer(
            [](irr::video::ITexture* texture)
            {
                return std::wstring(texture->getName().getPath().c_str(),
                                    texture->getName().getPath().c_str() +
                                        texture->getName().getPath().size());
            });
    }
    ~SpriteBankTest() override { bank->drop(); }

    // Four frames of 10 x (10 + 2i) pixels at 100 ms each, so the frame
    // shown can be read off a screen sprite's height.
    void AddWalk()
    {
        ASSERT_EQ(bank->AddSpriteBankEntry(
                      L"walk", L"hero.png",
                      {{0, 0, 10, 10}, {10, 0, 20, 12}, {20, 0, 30, 14}, {30, 0, 40, 16}}, 100),
                  L"walk");
    }
    // The frame the screen sprite shows now.
    uint32_t ShownFrame(const std::wstring& id) const
    {
        const Graphics::Sprite::SScreenSprite* sprite = bank->FindScreenSprite(id);
        return sprite
                   ? bank->GetFrameNumber(sprite->spriteIndex, sprite->startTime, clock.Now(), sprite->loop)
                   : 99;
    }
    // Height of the screen sprite's destination (placed without a size, it
    // takes its start frame's size).
    float Height(const std::wstring& id) const
    {
        const CRect position = bank->GetSpritePosition(id, true);
        return position.y2 - position.y1;
    }
    bool Subscribed() const { return DrawPreGui::IsSubscribed(bank) && DrawPostGui::IsSubscribed(bank); }

    CFakeClock clock{10000};
    CGuiTestDevice device;
    CFakeTextureStore textures;
    CGuiKVOSpriteBank* bank = nullptr;
};

const CColor kWhite(1.0f, 1.0f, 1.0f, 1.0f);

TEST_F(SpriteBankTest, EntriesAreNamedFramedAndReplacedById)
{
    // An empty id gets a fresh UUID text.
    const std::wstring generated = bank->AddSpriteBankEntry(L"", L"coin.png", {}, 50);
    EXPECT_EQ(generated.size(), 36u);
    EXPECT_EQ(generated[8], L'-');

    // Without rectangles: one frame over the whole texture, not animated.
    const irr::s32 coin = bank->FindSprite(generated);
    ASSERT_GE(coin, 0);
    const irr::gui::SGUISprite& sprite = bank->getSprites()[coin];
    EXPECT_EQ(sprite.frameTime, 0u);
    ASSERT_EQ(sprite.Frames.size(), 1u);
    EXPECT_EQ(bank->getPositions()[sprite.Frames[0].rectNumber], irr::core::rect<irr::s32>(0, 0, 20, 10));
    EXPECT_EQ(bank->GetSpriteTextureName(generated), L"coin.png");

    // Rectangles are truncated toward zero, one frame each.
    AddWalk();
    EXPECT_EQ(bank->GetSpriteCount(), 2u);
    const irr::s32 first = bank->FindSprite(L"walk");
    EXPECT_EQ(bank->AddSpriteBankEntry(L"walk", L"hero.png", {{1.9f, -1.9f, 5.5f, 6.99f}}, 40), L"walk");
    EXPECT_EQ(bank->GetSpriteCount(), 2u);
    const irr::s32 second = bank->FindSprite(L"walk");
    EXPECT_NE(second, first);
    EXPECT_EQ(bank->GetSpriteId(static_cast<uint32_t>(second)), L"walk");
    EXPECT_EQ(bank->GetSpriteId(static_cast<uint32_t>(first)), L"");
    const irr::gui::SGUISprite& again = bank->getSprites()[second];
    EXPECT_EQ(again.frameTime, 40u);
    EXPECT_EQ(bank->getPositions()[again.Frames[0].rectNumber], irr::core::rect<irr::s32>(1, -1, 5, 6));

    // No texture: nothing changes but the id's old mapping.
    const uint32_t textureCount = bank->getTextureCount();
    EXPECT_EQ(bank->AddSpriteBankEntry(L"ghost", L"missing.png", {}, 0), L"");
    EXPECT_FALSE(bank->SpriteExists(L"ghost"));
    EXPECT_EQ(bank->getTextureCount(), textureCount);

    EXPECT_TRUE(bank->RemoveSpriteId(L"walk"));
    EXPECT_FALSE(bank->RemoveSpriteId(L"walk"));
    EXPECT_EQ(bank->GetSpriteTextureName(L"walk"), L"");
}

TEST_F(SpriteBankTest, HostileRectanglesStayInRange)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float huge = 1e30f;
    ASSERT_EQ(bank->AddSpriteBankEntry(L"odd", L"hero.png", {{nan, -huge, huge, nan}}, 10), L"odd");
    const irr::gui::SGUISprite& sprite = bank->getSprites()[bank->FindSprite(L"odd")];
    EXPECT_EQ(bank->getPositions()[sprite.Frames[0].rectNumber],
              irr::core::rect<irr::s32>(0, std::numeric_limits<irr::s32>::min(),
                                        std::numeric_limits<irr::s32>::max(), 0));
    const std::wstring id =
        bank->AddSpriteToScreen(L"odd", {huge, nan, -huge, huge}, 0xFFFFFFFFu, true, false, 0,
                                CColor(nan, 2.0f, -1.0f, 1e9f), false, {nan, nan, huge, huge});
    EXPECT_TRUE(bank->ScreenSpriteExists(id));
    bank->GetSpritePosition(id, false);
    bank->MoveSprite(id, {-huge, huge, nan, nan});
    bank->ChangeSpriteColor(id, CColor(nan, nan, nan, nan));
    DrawPostGui::Publish({});
}

TEST_F(SpriteBankTest, LoopingSpritesCycleAndOneShotsEndAfterTheirLastFrame)
{
    AddWalk();
    const std::wstring looping =
        bank->AddSpriteToScreen(L"walk", {5, 5, 0, 0}, 0, true, false, 0, kWhite, false, {});
    const std::wstring once =
        bank->AddSpriteToScreen(L"walk", {5, 5, 0, 0}, 0, false, true, 0, kWhite, false, {});

    const uint32_t frames[] = {0, 1, 2, 3, 0, 1};
    for (int step = 0; step < 6; ++step)
    {
        SCOPED_TRACE(step);
        EXPECT_EQ(ShownFrame(looping), frames[step]);
        clock.Advance(100);
    }

    // The one-shot sprite of 4 frames at 100 ms goes at the first draw at
    // or after 400 ms, not before.
    clock.Set(10399);
    DrawPostGui::Publish({});
    EXPECT_TRUE(bank->ScreenSpriteExists(once));
    EXPECT_EQ(ShownFrame(once), 3u);
    clock.Set(10400);
    DrawPreGui::Publish({}); // the other pass leaves it alone
    EXPECT_TRUE(bank->ScreenSpriteExists(once));
    DrawPostGui::Publish({});
    EXPECT_FALSE(bank->ScreenSpriteExists(once));
    EXPECT_TRUE(bank->ScreenSpriteExists(looping));
    // A one-shot ending by itself leaves the bank listening.
    EXPECT_TRUE(Subscribed());
}

TEST_F(SpriteBankTest, StartFramesAreReachedAtOnceAndClampedToTheLastFrame)
{
    AddWalk();
    const std::wstring second =
        bank->AddSpriteToScreen(L"walk", {0, 0, 0, 0}, 2, false, false, 0, kWhite, false, {});
    EXPECT_EQ(ShownFrame(second), 2u);
    EXPECT_EQ(Height(second), 14.0f);

    // Frame 9 of 4: the last frame, and a one-shot ends at its next draw
    // once its last frame's time is up.
    const std::wstring past =
        bank->AddSpriteToScreen(L"walk", {0, 0, 0, 0}, 9, true, true, 0, kWhite, false, {});
    EXPECT_EQ(ShownFrame(past), 3u);
    EXPECT_EQ(Height(past), 16.0f);
    clock.Advance(100);
    DrawPostGui::Publish({});
    EXPECT_FALSE(bank->ScreenSpriteExists(past));

    // Early in the application's life the start time cannot go below 0.
    clock.Set(50);
    const std::wstring early =
        bank->AddSpriteToScreen(L"walk", {0, 0, 0, 0}, 3, false, false, 0, kWhite, false, {});
    EXPECT_EQ(ShownFrame(early), 0u);
    EXPECT_EQ(Height(early), 16.0f);
}

TEST_F(SpriteBankTest, OneShotWithoutAnimationShowsOnceWithoutDividingByZero)
{
    ASSERT_FALSE(bank->AddSpriteBankEntry(L"coin", L"coin.png", {}, 0).empty());
    const std::wstring id =
        bank->AddSpriteToScreen(L"coin", {1, 1, 0, 0}, 5, false, true, 0, kWhite, true, {});
    EXPECT_TRUE(bank->ScreenSpriteExists(id));
    DrawPreGui::Publish({});
    EXPECT_FALSE(bank->ScreenSpriteExists(id));
}

TEST_F(SpriteBankTest, PositionsMovesAndColours)
{
    AddWalk();
    // 800 x 600 screen: fractions of it without the absolute flag.
    const std::wstring id =
        bank->AddSpriteToScreen(L"walk", {400, 300, 0, 0}, 0, true, false, 0, kWhite, false, {});
    const CRect fraction = bank->GetSpritePosition(id, false);
    EXPECT_FLOAT_EQ(fraction.x1, 0.5f);
    EXPECT_FLOAT_EQ(fraction.y1, 0.5f);
    EXPECT_FLOAT_EQ(fraction.x2, 410.0f / 800.0f);

    // A given size is kept; a point-like move keeps it.
    const std::wstring sized =
        bank->AddSpriteToScreen(L"walk", {10, 20, 110, 70}, 0, true, false, 0, kWhite, false, {});
    bank->MoveSprite(sized, {300, 400, 300, 400});
    const CRect moved = bank->GetSpritePosition(sized, true);
    EXPECT_EQ(moved.x1, 300.0f);
    EXPECT_EQ(moved.y1, 400.0f);
    EXPECT_EQ(moved.x2, 400.0f);
    EXPECT_EQ(moved.y2, 450.0f);
    bank->MoveSprite(sized, {1.9f, 2.9f, 11.9f, 12.9f});
    const CRect truncated = bank->GetSpritePosition(sized, true);
    EXPECT_EQ(truncated.x1, 1.0f);
    EXPECT_EQ(truncated.y2, 12.0f);

    bank->ChangeSpriteColor(sized, CColor(0.5f, 0.25f, 1.0f, 0.0f));
}

TEST_F(SpriteBankTest, UnknownIdsAreReportedByName)
{
    AddWalk();
    const struct
    {
        const char* expected;
        std::function<void()> action;
    } cases[] = {
        {"[CGuiKVOSpriteBank::AddSpriteToScreen] Sprite bank id not found:nope",
         [&] { bank->AddSpriteToScreen(L"nope", {}, 0, true, false, 0, kWhite, false, {}); }},
        {"[CGuiKVOSpriteBank::GetSpritePosition] Screen sprite id not found:gone",
         [&] { bank->GetSpritePosition(L"gone", true); }},
        {"[CGuiKVOSpriteBank::MoveSprite] Screen sprite id not found:gone",
         [&] { bank->MoveSprite(L"gone", {}); }},
        {"[CGuiKVOSpriteBank::ChangeSpriteColor] Screen sprite id not found:gone",
         [&] { bank->ChangeSpriteColor(L"gone", kWhite); }},
        {"[CGuiKVOSpriteBank::RemoveSprite] Screen sprite id not found:gone",
         [&] { bank->RemoveSprite(L"gone"); }},
    };
    for (const auto& entry : cases)
        EXPECT_EQ(ErrorOf(entry.action), entry.expected);
}

TEST_F(SpriteBankTest, TheBankListensOnlyWhileScreenSpritesExist)
{
    AddWalk();
    EXPECT_FALSE(Subscribed());
    const std::wstring a = bank->AddSpriteToScreen(L"walk", {}, 0, true, false, 0, kWhite, false, {});
    const std::wstring b = bank->AddSpriteToScreen(L"walk", {}, 0, true, false, 0, kWhite, true, {});
    EXPECT_NE(a, b);
    EXPECT_TRUE(Subscribed());
    bank->RemoveSprite(a);
    EXPECT_TRUE(Subscribed());
    bank->RemoveSprite(b);
    EXPECT_FALSE(Subscribed());
    bank->AddSpriteToScreen(L"walk", {}, 0, true, false, 0, kWhite, false, {});
    EXPECT_TRUE(Subscribed());
    bank->RemoveAllScreenSprites();
    EXPECT_FALSE(Subscribed());
    EXPECT_EQ(bank->GetScreenSpriteCount(), 0u);

    // Clear takes everything, screen sprites included.
    bank->AddSpriteToScreen(L"walk", {}, 0, true, false, 0, kWhite, false, {});
    bank->Clear();
    EXPECT_FALSE(Subscribed());
    EXPECT_EQ(bank->GetSpriteCount(), 0u);
    EXPECT_EQ(bank->getTextureCount(), 0u);
    EXPECT_EQ(bank->getSprites().size(), 0u);
}

TEST_F(SpriteBankTest, IrrlichtSideOfTheBank)
{
    irr::video::ITexture* coin = textures.Get(L"coin.png");
    EXPECT_EQ(bank->addTextureAsSprite(nullptr), -1);
    const irr::s32 index = bank->addTextureAsSprite(coin);
    ASSERT_EQ(index, 0);
    EXPECT_EQ(bank->getTexture(0), coin);
    EXPECT_EQ(bank->getTexture(7), nullptr);
    bank->setTexture(3, coin);
    EXPECT_EQ(bank->getTextureCount(), 4u);
    EXPECT_EQ(bank->getTexture(2), nullptr);
    bank->setTexture(3, nullptr);
    // Indices out of range and frame-less sprites draw nothing.
    bank->getSprites().push_back(irr::gui::SGUISprite());
    bank->draw2DSprite(1, {0, 0});
    bank->draw2DSprite(99, {0, 0});
    bank->draw2DSpriteInRect(99, {0, 0, 1, 1}, nullptr, {}, 0, 0, true);
    irr::core::array<irr::u32> indices;
    indices.push_back(0);
    indices.push_back(5);
    irr::core::array<irr::core::position2di> positions;
    positions.push_back({1, 1});
    bank->draw2DSpriteBatch(indices, positions);
    bank->clear();
    EXPECT_EQ(bank->getTextureCount(), 0u);
}

// Saving writes ascending ids; reading re-adds each entry with its frames.
void ExpectSameEntries(const CGuiKVOSpriteBank& saved, const CGuiKVOSpriteBank& loaded)
{
    ASSERT_EQ(loaded.GetSpriteCount(), saved.GetSpriteCount());
    auto& savedBank = const_cast<CGuiKVOSpriteBank&>(saved);
    auto& loadedBank = const_cast<CGuiKVOSpriteBank&>(loaded);
    for (const auto& [id, index] : saved.GetSpriteIds())
    {
        SCOPED_TRACE(std::string(id.begin(), id.end()));
        const irr::s32 other = loaded.FindSprite(id);
        ASSERT_GE(other, 0);
        const irr::gui::SGUISprite& a = savedBank.getSprites()[index];
        const irr::gui::SGUISprite& b = loadedBank.getSprites()[other];
        EXPECT_EQ(a.frameTime, b.frameTime);
        ASSERT_EQ(a.Frames.size(), b.Frames.size());
        for (irr::u32 f = 0; f < a.Frames.size(); ++f)
            EXPECT_EQ(savedBank.getPositions()[a.Frames[f].rectNumber],
                      loadedBank.getPositions()[b.Frames[f].rectNumber]);
        EXPECT_EQ(saved.GetSpriteTextureName(id), loaded.GetSpriteTextureName(id));
    }
}

TEST_F(SpriteBankTest, RoundTripsThroughEveryArchiveForm)
{
    CTestFolder folder;
    AddWalk();
    ASSERT_FALSE(bank->AddSpriteBankEntry(L"a coin", L"coin.png", {}, 0).empty());
    ASSERT_FALSE(bank->AddSpriteBankEntry(L"Ünïcödé \"quoted\"", L"coin.png", {{1, 2, 3, 4}}, 7).empty());
    for (const char* mode : {"UTF8", "utf16", "UTF16BE", "ANSI", "BINARY", "COMPRESSED"})
    {
        SCOPED_TRACE(mode);
        const std::wstring path = folder.Wide(std::string("bank_") + mode + ".kvosprites");
        ASSERT_TRUE(bank->SaveFile(path, mode));
        auto* loaded = new CGuiKVOSpriteBank(device.Environment());
        loaded->SetTextureLoader(textures.Loader());
        loaded->SetTextureNamer(
            [](irr::video::ITexture* t)
            {
                return std::wstring(t->getName().getPath().c_str(),
                                    t->getName().getPath().c_str() + t->getName().getPath().size());
            });
        CApplication application;
        EXPECT_TRUE(loaded->LoadFile(application, path.substr(0, path.size() - 11))); // without ".kvosprites"
        ExpectSameEntries(*bank, *loaded);
        loaded->drop();
    }
    // Text saves list the sprites in ascending id order.
    const std::string text = folder.Read("bank_UTF8.kvosprites");
    const size_t coin = text.find("-Id \"a coin\"");
    const size_t walk = text.find("-Id walk");
    ASSERT_NE(coin, std::string::npos);
    ASSERT_NE(walk, std::string::npos);
    EXPECT_LT(coin, walk);
    EXPECT_NE(text.find("\t\t-FrameRect 10.000000 0.000000 20.000000 12.000000\r\n\t\t\r\n\t}"),
              std::string::npos);

    // A save that cannot be put in place reports it.
    EXPECT_FALSE(bank->SaveFile(folder.Wide("missing/folder/bank.kvosprites"), "BINARY"));
    CApplication application;
    EXPECT_FALSE(bank->LoadFile(application, folder.Wide("nothing-here")));
}

TEST_F(SpriteBankTest, HandWrittenFilesAcrossVersions)
{
    CTestFolder folder;
    folder.Write("hand.kvosprites", Fixture("sprites_v1030.kvosprites"));
    CApplication application;
    ASSERT_TRUE(bank->LoadFile(application, folder.Wide("hand")));
    EXPECT_EQ(bank->GetSpriteCount(), 2u); // the entry with a missing texture is skipped
    const irr::gui::SGUISprite& walk = bank->getSprites()[bank->FindSprite(L"walk")];
    EXPECT_EQ(walk.frameTime, 100u);
    ASSERT_EQ(walk.Frames.size(), 2u);
    EXPECT_EQ(bank->getPositions()[walk.Frames[1].rectNumber], irr::core::rect<irr::s32>(16, 0, 32, 32));
    const irr::gui::SGUISprite& coin = bank->getSprites()[bank->FindSprite(L"big coin")];
    EXPECT_EQ(coin.frameTime, 0u); // no frames given: the whole texture, not animated
    EXPECT_EQ(bank->getPositions()[coin.Frames[0].rectNumber], irr::core::rect<irr::s32>(0, 0, 20, 10));

    // Bodies older than version 1019 are not read as part of other files.
    for (const auto& [fixture, expected] : {std::pair<const char*, bool>{"sprites_v1018.kvosprites", false},
                                            {"sprites_v1030.kvosprites", true}})
    {
        SCOPED_TRACE(fixture);
        CMemoryFile file(Fixture(fixture));
        Misc::Serialization::CArchiveHandle archive(&file, false, "KVOSPRITEBANK", 1);
        ASSERT_TRUE(archive.IsOpen());
        auto* other = new CGuiKVOSpriteBank(device.Environment());
        other->SetTextureLoader(textures.Loader());
        EXPECT_EQ(other->LoadFromArchive(archive), expected);
        EXPECT_EQ(other->GetSpriteCount(), expected ? 2u : 0u);
        other->drop();
    }
}

// A seeded mutation run: every mutant of a text and a binary bank is read;
// only the archive's errors may come out.
TEST_F(SpriteBankTest, MutatedFilesAreReadSafely)
{
    CTestFolder folder;
    AddWalk();
    ASSERT_FALSE(bank->AddSpriteBankEntry(L"coin", L"coin.png", {}, 0).empty());
    ASSERT_TRUE(bank->SaveFile(folder.Wide("seed.bin"), "COMPRESSED"));
    const std::string seeds[] = {Fixture("sprites_v1030.kvosprites"), folder.Read("seed.bin")};
    std::mt19937 random(20240521);
    int read = 0;
    for (int round = 0; round < 1500; ++round)
    {
        std::string bytes = seeds[round % 2];
        MutateBytes(bytes, random, {6, 8, 40});
        CMemoryFile file(bytes);
        auto* target = new CGuiKVOSpriteBank(device.Environment());
        target->SetTextureLoader(textures.Loader());
        try
        {
            Misc::Serialization::CArchiveHandle archive(&file, false, "KVOSPRITEBANK", 1);
            if (archive.IsOpen() && target->Read(archive))
                ++read;
        }
        catch (const Misc::Error::CKVOError&)
        {
        }
        target->drop();
    }
    EXPECT_GT(read, 0);
}

} // namespace
