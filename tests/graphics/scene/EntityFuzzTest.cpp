// A short seeded mutation run over every kind's block reader: valid text
// and binary saves are mutated (bytes flipped, cut, repeated, tokens
// swapped) and read into a fresh entity. A read may succeed or fail with
// the archive's error; it must never crash (the sanitizers watch) or hang.

#include "EntityArchive.h"
#include "support/JoinedEntity.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>

namespace
{

using namespace EntityArchive;

const char* const kId = "00000000-0000-4000-8000-0000000000dd";

TEST(EntityFuzzTest, MutatedBlocksOfEveryKindReadSafely)
{
    const std::vector<std::function<std::unique_ptr<Graphics::Scene::CGraphicalEntity>()>> kinds = {
        [] { return std::make_unique<CTestLight>(kId); },
        [] { return std::make_unique<CTestCameraEntity>(kId); },
        [] { return std::make_unique<CTestBillboard>(kId); },
        [] { return std::make_unique<CTestCursor>(kId); },
        [] { return std::make_unique<CTestWaypoint>(kId); },
        [] { return std::make_unique<CTestTrigger>(kId); },
        [] { return std::make_unique<CTestParticleSystem>(kId); },
    };
    CTestFolder folder;
    // The valid saves, made once.
    struct SSaved
    {
        size_t kind;
        EForm form;
        std::string bytes;
    };
    std::vector<SSaved> saves;
    for (size_t kind = 0; kind < kinds.size(); ++kind)
    {
        for (EForm form : {EForm::Text, EForm::Binary})
        {
            auto saved = kinds[kind]();
            saved->GetMaterials().Resize(2);
            saved->SetMaterialType(1, 0);
            saved->SetMaterialType(2, 1);
            saved->SetMaterialTexture(L"stone wall.png", 1, 1);
            saved->SetModelName(L"model.x");
            saves.push_back({kind, form, Save(folder, *saved, form)});
        }
    }
    std::mt19937 random(20261210);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(4);
    size_t reads = 0;
    size_t accepted = 0;
    while (reads < 3000 && std::chrono::steady_clock::now() < deadline)
    {
        for (const SSaved& saved : saves)
        {
            auto read = kinds[saved.kind]();
            if (Load(folder, *read, Mutate(saved.bytes, random), saved.form).empty())
                ++accepted;
            ++reads;
            // Whatever was read stays usable, and can be saved again.
            read->GetMaterials().GetCount();
            if (reads % 64 == 0)
                Save(folder, *read, saved.form);
        }
    }
    EXPECT_GE(reads, saves.size());
    std::printf("%zu mutated blocks read, %zu accepted\n", reads, accepted);
    // Some mutations leave a readable block (a changed digit, say).
    if (reads >= 500)
    {
        EXPECT_GT(accepted, 0u);
    }
}

} // namespace
